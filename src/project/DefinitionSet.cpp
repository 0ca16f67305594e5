#include "project/DefinitionSet.h"

namespace {

QString text(const char *utf8)
{
    return utf8 ? QString::fromUtf8(utf8) : QString();
}

// A Boolean row that gives no default defaults to "No".
PropertyDefault defaultOf(const DefinitionRow &row)
{
    if (row.type == PropertyClass::Boolean && row.defaultValue.text(row.type, row.range.maximum).isEmpty())
        return false;
    return row.defaultValue;
}

PropertyClass::Definition definitionOf(const DefinitionRow &row)
{
    return PropertyClass::Definition(text(row.name), row.type, text(row.page), text(row.group),
                                     text(row.shortTitle), text(row.longText), defaultOf(row), row.choices,
                                     row.range.minimum, row.range.maximum, text(row.range.suffix),
                                     text(row.specialValue), (row.flags & ReadOnly) != 0,
                                     (row.flags & NotPerConfiguration) == 0);
}

} // namespace

DefinitionSet::~DefinitionSet()
{
    PropertyClassList &global = PropertyClassList::global();
    for (PropertyClass *propertyClass : std::as_const(m_classes)) {
        global.removeOne(propertyClass);
        delete propertyClass;
    }
}

QList<PropertyClass *> DefinitionSet::define(const QList<DefinitionRow> &rows)
{
    QList<PropertyClass *> byId(rows.size(), nullptr);
    for (const DefinitionRow &row : rows) {
        Q_ASSERT_X(row.id >= 0 && row.id < rows.size() && !byId[row.id], "DefinitionSet::define",
                   "row ids must number the rows of a table");
        auto *propertyClass = new PropertyClass(definitionOf(row));
        m_classes.append(propertyClass);
        PropertyClassList::global().append(propertyClass);
        byId[row.id] = propertyClass;
    }
    return byId;
}
