#pragma once

#include <QList>
#include <QString>

class PropertyClass;

// An ordered list of property classes. The list does not own its classes.
class PropertyClassList : public QList<PropertyClass *> {
public:
    // Appends the class unless the list already holds it (pointer identity).
    void appendUnique(PropertyClass *propertyClass);
    // The first class with this name, in list order, or null.
    PropertyClass *find(const QString &name) const;
    // Removes the first class with this name; false when there is none.
    bool removeFirst(const QString &name);

    // The process-wide list that every definition table appends its classes
    // to, in creation order. It only forgets its entries at exit.
    static PropertyClassList &global();
};
