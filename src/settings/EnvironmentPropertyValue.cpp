#include "settings/EnvironmentPropertyValue.h"

#include "settings/EnvironmentSettings.h"

EnvironmentPropertyValue::EnvironmentPropertyValue(PropertyClass *propertyClass, EnvironmentSettings *settings)
    : PropertyValue(propertyClass), m_settings(settings)
{
}

QString EnvironmentPropertyValue::value() const
{
    if (!m_loaded) {
        m_text = m_settings->settingValue(propertyClass());
        m_loaded = true;
    }
    return m_text;
}

void EnvironmentPropertyValue::setValue(const QString &text)
{
    if (text == value())
        return;
    m_text = text;
    m_settings->setSettingValue(propertyClass(), text);
    emit valueChanged(text);
}
