#include "settings/EnvironmentSettings.h"

#include "settings/EnvironmentPropertyValue.h"
#include "settings/SettingsCatalogue.h"
#include "macros/SystemDirectories.h"

namespace {

EnvironmentSettings *currentSettings = nullptr;

constexpr int savePeriod = 60000;  // milliseconds

} // namespace

EnvironmentSettings::EnvironmentSettings()
{
    const QString root = rootUserDirectory();
    m_primary.setFile(NormalizedPath(root + QStringLiteral("/Fernhollow for ARM/settings.xml")));
    m_shared.setFile(NormalizedPath(root + QStringLiteral("/settings.xml")));
    m_saveTimer.setObjectName(QStringLiteral("environment-settings-save-timer"));
    connect(&m_saveTimer, &QTimer::timeout, this, &EnvironmentSettings::saveSettings);
    m_saveTimer.start(savePeriod);
}

EnvironmentSettings::~EnvironmentSettings()
{
    if (currentSettings == this)
        currentSettings = nullptr;
    qDeleteAll(m_settings);
}

void EnvironmentSettings::defineProperties()
{
    defineEntries(environmentCatalogue());
}

void EnvironmentSettings::defineEntries(std::span<const PropertyClass::Definition> rows)
{
    for (const PropertyClass::Definition &row : rows) {
        m_classes.push_back(std::make_unique<PropertyClass>(row));
        auto *setting = new EnvironmentPropertyValue(m_classes.back().get(), this);
        m_settings.append(setting);
        m_byName.insert(row.name, setting);
    }
}

EnvironmentPropertyValue *EnvironmentSettings::setting(const QString &name) const
{
    return m_byName.value(name);
}

QString EnvironmentSettings::settingValue(const PropertyClass *propertyClass) const
{
    return m_primary.lookup(propertyClass->name(), propertyClass->defaultValue());
}

void EnvironmentSettings::setSettingValue(const PropertyClass *propertyClass, const QString &text)
{
    if (text == propertyClass->defaultValue())
        m_primary.remove(propertyClass->name());
    else
        m_primary.set(propertyClass->name(), text);
    emit settingChanged(propertyClass->name());
}

void EnvironmentSettings::saveSettings()
{
    if (!m_saveEnabled)
        return;
    m_primary.sync();
    m_shared.sync();
}

EnvironmentSettings *EnvironmentSettings::current()
{
    return currentSettings;
}

void EnvironmentSettings::setCurrent(EnvironmentSettings *settings)
{
    currentSettings = settings;
}

void LanternwickEnvironmentSettings::defineProperties()
{
    EnvironmentSettings::defineProperties();
    defineEntries(lanternwickCatalogue());
}

void ARMLanternwickEnvironmentSettings::defineProperties()
{
    LanternwickEnvironmentSettings::defineProperties();
    defineEntries(armLanternwickCatalogue());
}
