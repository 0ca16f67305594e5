#pragma once

#include <QObject>
#include <QString>

#include "properties/PropertyValue.h"

class EnvironmentSettings;

// The value of one environment setting. It reads its text from the
// settings store on first use and keeps it; a new text goes back to the
// store, which keeps only texts that differ from the default.
class EnvironmentPropertyValue : public QObject, public PropertyValue {
    Q_OBJECT

public:
    EnvironmentPropertyValue(PropertyClass *propertyClass, EnvironmentSettings *settings);

    using PropertyValue::setValue;
    void setValue(const QString &text) override;
    QString value() const override;

signals:
    void valueChanged(const QString &text);

private:
    EnvironmentSettings *m_settings;
    mutable QString m_text;
    mutable bool m_loaded = false;
};
