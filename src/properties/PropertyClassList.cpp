#include "properties/PropertyClassList.h"

#include "properties/PropertyClass.h"

void PropertyClassList::appendUnique(PropertyClass *propertyClass)
{
    if (!contains(propertyClass))
        append(propertyClass);
}

PropertyClass *PropertyClassList::find(const QString &name) const
{
    for (PropertyClass *propertyClass : *this) {
        if (propertyClass->name() == name)
            return propertyClass;
    }
    return nullptr;
}

bool PropertyClassList::removeFirst(const QString &name)
{
    for (qsizetype i = 0; i < size(); ++i) {
        if (at(i)->name() == name) {
            removeAt(i);
            return true;
        }
    }
    return false;
}

PropertyClassList &PropertyClassList::global()
{
    static PropertyClassList classes;
    return classes;
}
