#pragma once

#include <QHash>
#include <QList>
#include <QPair>
#include <QString>

#include <vector>

#include "macros/MacroMap.h"
#include "preprocessor/XMLPP2.h"

// One preprocessing pass over a sibling chain and everything below it. The
// pass keeps its own stack of chains being walked instead of recursing, so
// deeply nested documents cannot exhaust the program's stack. A chain that
// must be finished before its directive is completed (an if body spliced in
// place of the if, an included root's content) carries that completion.
class XmlPPPass {
public:
    explicit XmlPPPass(XMLPP2 &document) : m_document(document) {}

    // Walks first (which has a parent) and its following siblings.
    void run(XMLNode *first, const QString &file, const MacroMap &definitions, bool expand);

private:
    using Attributes = QList<QPair<const char *, const char *>>;

    // What happens once a chain of children has been processed.
    struct Completion {
        enum Kind { Nothing, Splice, IncludedRoot } kind = Nothing;
        XMLElement *target = nullptr;  // Splice: the element replaced by source's children
        XMLElement *source = nullptr;  // Splice: whose children; IncludedRoot: the root
        bool spliceRoot = false;       // IncludedRoot: replace the root by its children
        Attributes inherited;          // IncludedRoot: attributes copied onto the root
    };

    struct Frame {
        XMLNode *cursor;               // the next node of the chain to examine
        MacroMap definitions;
        QString file;
        bool expand;
        Completion completion;
        QString activeInclude;         // released when the chain is done
        QString activePaste;
    };

    // How the content an include or xmlput brings in is processed.
    struct ContentSettings {
        MacroMap definitions;
        bool expand;
        bool expandRoot;
    };

    void visit(XMLElement *element);
    Frame &top() { return m_frames.back(); }
    void finish(Completion &completion);

    // The outcomes of a directive.
    void keep(XMLElement *element);
    void remove(XMLElement *element);
    void splice(XMLElement *element, XMLElement *source);
    void descend(XMLElement *parent, const MacroMap &definitions, const QString &file, bool expand,
                 Completion completion, const QString &activeInclude = {},
                 const QString &activePaste = {});
    static void spliceChildren(XMLElement *target, XMLElement *source);

    // Directives.
    void ifCondition(XMLElement *element, bool inverted);
    void ifExpression(XMLElement *element);
    void ifDefined(XMLElement *element, bool inverted);
    void switchCase(XMLElement *element);
    void include(XMLElement *element);
    void define(XMLElement *element);
    void forLoop(XMLElement *element);
    void xmlDefinition(XMLElement *element);
    void xmlPut(XMLElement *element);
    ContentSettings contentSettings(const XMLElement *element);

    // Expansion with the system macros overlaid by definitions.
    static QString expanded(const char *text, const MacroMap &definitions);
    void expandAttributes(XMLElement *element, const MacroMap &definitions);
    // The current value of a definition, made empty when it does not exist.
    QString definitionValue(const QString &name);
    void error(const QString &message) { m_document.error(message); }
    // Whether the pass may still make copies, pastes, includes and
    // expansions: it may add only so much to the document. The first refusal
    // is reported.
    bool mayGrow();

    XMLPP2 &m_document;
    std::vector<Frame> m_frames;
    QHash<QString, int> m_activeIncludes;
    QHash<QString, int> m_activePastes;
    std::size_t m_growthLimit = 0;
    bool m_growthReported = false;
};

// Text of an attribute (empty for a missing attribute or one without value).
QString attributeText(const XMLElement *element, const char *name);
// What identifies a file among the files being included: its canonical
// path, or the path itself when it does not exist.
QString includeKey(const QString &path);
