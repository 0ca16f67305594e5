#pragma once

#include <QDateTime>
#include <QList>
#include <QMap>
#include <QString>
#include <QStringList>

// The kind of a node of the project tree; it follows from the tag of the
// element that the node was read from.
enum class NodeKind { Solution, Configuration, Project, Folder, File };

// One node of a loaded solution: a solution file, a configuration, a project,
// a folder or a file. A node holds the attributes of its element as text
// properties and owns its children, which form a singly linked list in
// document order. Nodes are created by the solution reader, by templates and
// by the tree operations of the project system.
class ProjectNode {
public:
    explicit ProjectNode(NodeKind kind);
    ~ProjectNode();
    ProjectNode(const ProjectNode &) = delete;
    ProjectNode &operator=(const ProjectNode &) = delete;

    NodeKind kind() const { return m_kind; }
    ProjectNode *parent() const { return m_parent; }
    ProjectNode *firstChild() const { return m_firstChild; }
    ProjectNode *nextSibling() const { return m_nextSibling; }

    // Properties: the value of an absent name is the null text.
    QString getProperty(const QString &name) const { return m_properties.value(name); }
    bool hasProperty(const QString &name) const { return m_properties.contains(name); }
    // The property's value without copying it, or null when absent.
    const QString *findProperty(const QString &name) const;
    const QMap<QString, QString> &properties() const { return m_properties; }
    // Records the flag and the time of the change and marks the node modified.
    void setProperty(const QString &name, const QString &value, bool flag = false);
    void removeProperty(const QString &name);
    // Stores a value as it was read from a file: no change is recorded.
    void storeProperty(const QString &name, const QString &value) { m_properties.insert(name, value); }
    // Sets file_name and makes the location be resolved again.
    void setFileName(const QString &name, bool flag);

    // Appends child (which must have no parent) at the end of the children; a
    // configuration child is also indexed by its name.
    void addChild(ProjectNode *child);
    ProjectNode *findConfiguration(const QString &name) const { return m_configurationIndex.value(name); }
    const QMap<QString, ProjectNode *> &configurationIndex() const { return m_configurationIndex; }

    // Name if present and not empty; else the file name of the resolved
    // location when the node names a file; else "<NULL>".
    QString nodeName();

    // The nearest node of the kind among this node and its ancestors.
    ProjectNode *ancestorOrSelf(NodeKind kind);

    // Computes the project directory and, for nodes that name a file, the
    // file's location; done once until setFileName.
    void resolveFileInfo();
    bool locationValid() const { return m_locationValid; }
    // Records the location of a solution file read from disk.
    void setSolutionFile(const QString &absolutePath, const QDateTime &lastModified);
    // The resolved location: an absolute path (solution and file nodes).
    const QString &filePath() const { return m_filePath; }
    // The last component and the directory of filePath().
    QString fileName() const;
    QString fileDirectory() const;
    // The absolute directory of the enclosing project (for projects and files).
    const QString &projectDirectory() const { return m_projectDirectory; }
    // The expanded file name when relative, else its absolute path.
    const QString &localName() const { return m_localName; }
    bool inProjectDirectory() const { return m_inProjectDirectory; }
    bool underProjectDirectory() const { return m_underProjectDirectory; }
    const QDateTime &lastModified() const { return m_lastModified; }

    bool isModified() const { return m_modified; }
    void setModified(bool modified) { m_modified = modified; }
    const QMap<QString, QDateTime> &changeTimes() const { return m_changeTimes; }
    void clearChangeTimes() { m_changeTimes.clear(); }
    bool propertyFlag(const QString &name) const { return m_propertyFlags.value(name); }

    bool isImported() const { return m_imported; }
    void setImported(bool imported) { m_imported = imported; }
    bool createdFlag() const { return m_createdFlag; }
    void setCreatedFlag(bool flag) { m_createdFlag = flag; }

    // Solution nodes: projects by key, and for each configuration the names
    // of the configurations it inherits from.
    QMap<QString, ProjectNode *> &projectIndex() { return m_projectIndex; }
    const QMap<QString, ProjectNode *> &projectIndex() const { return m_projectIndex; }
    QMap<QString, QStringList> &inheritedConfigurations() { return m_inheritedConfigurations; }
    const QMap<QString, QStringList> &inheritedConfigurations() const { return m_inheritedConfigurations; }

private:
    void resolveProjectDirectory();
    void resolveFileLocation();

    NodeKind m_kind;
    ProjectNode *m_parent = nullptr;
    ProjectNode *m_nextSibling = nullptr;
    ProjectNode *m_firstChild = nullptr;
    ProjectNode *m_lastChild = nullptr;
    QMap<QString, QString> m_properties;
    QMap<QString, ProjectNode *> m_configurationIndex;
    QMap<QString, QDateTime> m_changeTimes;
    QMap<QString, bool> m_propertyFlags;
    QString m_filePath;
    QString m_projectDirectory;
    QString m_localName;
    QMap<QString, ProjectNode *> m_projectIndex;
    QMap<QString, QStringList> m_inheritedConfigurations;
    QDateTime m_lastModified;
    bool m_modified = false;
    bool m_locationValid = false;
    bool m_inProjectDirectory = false;
    bool m_underProjectDirectory = false;
    bool m_imported = false;
    bool m_createdFlag = false;
};

// Where a looked-up value came from: one record for every configuration that
// supplied a value, and one for the default (empty configuration, no node).
struct ValueTraceEntry {
    QString value;
    QString configuration;
    const ProjectNode *node = nullptr;
};
class ValueTrace : public QList<ValueTraceEntry> {};
