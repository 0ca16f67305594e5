#pragma once

#include "properties/PropertyClass.h"
#include "properties/PropertyClassList.h"

#include <QList>
#include <QStringList>

// Which of the two class flags a definition changes from its initial state
// (writable, kept per configuration).
enum DefinitionFlags {
    DefaultFlags = 0,
    ReadOnly = 1,                // computed by the system, never edited
    NotPerConfiguration = 2,     // always kept under the configuration "Common"
};

// The inclusive range of an IntegerRange or IntegerHex definition and the
// unit shown after its value.
struct DefinitionRange {
    int minimum = 0;
    int maximum = 0;
    const char *suffix = nullptr;
};

// One row of a definition table. `id` is the row's position among the
// classes of its layer, by which the layer keeps a direct reference to it.
struct DefinitionRow {
    int id;
    const char *name;
    PropertyClass::Type type;
    const char *page;
    const char *group;
    const char *shortTitle;
    PropertyDefault defaultValue;
    QStringList choices;
    const char *longText;
    DefinitionRange range = {};
    int flags = DefaultFlags;
    const char *specialValue = nullptr;
};

// The property classes that one project system or build system defines, in
// creation order across all of its layers. Each class is created from one
// table row, appended to the process-wide class list and owned here; when the
// set ends, its classes leave the process-wide list and are destroyed.
class DefinitionSet {
public:
    DefinitionSet() = default;
    ~DefinitionSet();

    DefinitionSet(const DefinitionSet &) = delete;
    DefinitionSet &operator=(const DefinitionSet &) = delete;

    // Creates one class per row, in row order, and answers them indexed by
    // row id (each id from 0 to rows.size() - 1 appears once).
    QList<PropertyClass *> define(const QList<DefinitionRow> &rows);

    // Every class of the set, in creation order.
    const PropertyClassList &classes() const { return m_classes; }

private:
    PropertyClassList m_classes;
};
