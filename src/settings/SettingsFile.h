#pragma once

#include <QByteArray>
#include <QMap>
#include <QString>

// The settings file: a "Fernhollow_Settings_File" document with one
// <setting name="...">value</setting> line per entry, in name order.
using SettingsMap = QMap<QString, QString>;

// The whole file for the given entries.
QByteArray formatSettingsFile(const SettingsMap &settings);

// Reads every "setting" element of any XML document; later elements of the
// same name win. False when the text is not XML.
bool parseSettingsFile(const QByteArray &contents, SettingsMap &settings);

// The escaping of values in the file, and its inverse.
QString escapeSettingValue(const QString &value);
QString unescapeSettingValue(const QString &text);
