#pragma once

#include <QList>
#include <QMap>
#include <QObject>
#include <QString>
#include <QTimer>

#include <memory>
#include <span>
#include <vector>

#include "settings/SettingsStore.h"
#include "properties/PropertyClass.h"

class EnvironmentPropertyValue;

// The user's environment settings: a fixed catalogue of typed settings whose
// values live in the settings file of the product's user directory (the
// primary store) and in the one shared by the family's products. Changed
// stores are saved every minute while an event loop runs.
class EnvironmentSettings : public QObject {
    Q_OBJECT

public:
    // Creates and loads both stores and starts the save timer.
    EnvironmentSettings();
    ~EnvironmentSettings() override;

    // Creates the catalogue; derived settings add their entries after the
    // base's.
    virtual void defineProperties();

    // The setting of this name, or null when the catalogue has none.
    EnvironmentPropertyValue *setting(const QString &name) const;
    // Every setting, in catalogue order.
    const QList<EnvironmentPropertyValue *> &settings() const { return m_settings; }

    // Store access for the setting values.
    QString settingValue(const PropertyClass *propertyClass) const;
    void setSettingValue(const PropertyClass *propertyClass, const QString &text);

    void setSaveEnabled(bool enabled) { m_saveEnabled = enabled; }
    const QTimer &saveTimer() const { return m_saveTimer; }

    // The settings object of the process, when one has been made current.
    static EnvironmentSettings *current();
    static void setCurrent(EnvironmentSettings *settings);

public slots:
    // Syncs the primary and then the shared store, unless saving is off.
    void saveSettings();

signals:
    void settingChanged(const QString &name);

protected:
    // Creates one class and one setting value for each row.
    void defineEntries(std::span<const PropertyClass::Definition> rows);

private:
    SettingsStore m_primary;
    SettingsStore m_shared;
    bool m_saveEnabled = true;
    QTimer m_saveTimer;
    std::vector<std::unique_ptr<PropertyClass>> m_classes;
    QList<EnvironmentPropertyValue *> m_settings;
    QMap<QString, EnvironmentPropertyValue *> m_byName;
};

// The settings of the development environment: adds the target connection.
class LanternwickEnvironmentSettings : public EnvironmentSettings {
    Q_OBJECT

public:
    void defineProperties() override;
};

// The settings of the ARM development environment: adds the ARM settings.
class ARMLanternwickEnvironmentSettings : public LanternwickEnvironmentSettings {
    Q_OBJECT

public:
    void defineProperties() override;
};
