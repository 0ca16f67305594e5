#include "settings/SettingsStore.h"

#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <optional>
#include <sys/stat.h>
#include <unistd.h>

#include "platform/FileHandle.h"
#include "platform/FileSystem.h"

namespace {

qint64 modificationTime(const QString &path)
{
    struct stat status;
    if (stat(nativeName(path).constData(), &status) != 0)
        return -1;
    return qint64(status.st_mtim.tv_sec) * 1000000000 + status.st_mtim.tv_nsec;
}

std::optional<QByteArray> readWholeFile(const QString &path)
{
    const int descriptor = open(nativeName(path).constData(), O_RDONLY);
    if (descriptor < 0)
        return std::nullopt;
    QByteArray contents;
    char buffer[65536];
    ssize_t step;
    while ((step = read(descriptor, buffer, sizeof buffer)) != 0) {
        if (step < 0 && errno == EINTR)
            continue;
        if (step < 0) {
            close(descriptor);
            return std::nullopt;
        }
        contents.append(buffer, step);
    }
    close(descriptor);
    return contents;
}

bool writeWholeFile(const QString &path, const QByteArray &contents)
{
    const QByteArray name = nativeName(path);
    const int descriptor = open(name.constData(), O_WRONLY | O_CREAT | O_TRUNC, 0666);
    if (descriptor < 0)
        return false;
    const bool complete = writeFully(descriptor, contents.constData(), contents.size());
    const bool closed = close(descriptor) == 0;
    if (complete && closed)
        return true;
    unlink(name.constData());
    return false;
}

std::optional<SettingsMap> readSettings(const QString &path)
{
    const std::optional<QByteArray> contents = readWholeFile(path);
    SettingsMap settings;
    if (!contents || !parseSettingsFile(*contents, settings))
        return std::nullopt;
    return settings;
}

} // namespace

void SettingsStore::setFile(const NormalizedPath &path)
{
    m_file = path;
    load();
}

bool SettingsStore::load()
{
    const qint64 modified = modificationTime(m_file.text());
    const std::optional<SettingsMap> settings = readSettings(m_file.text());
    if (!settings)
        return false;
    m_entries.clear();
    for (auto setting = settings->constBegin(); setting != settings->constEnd(); ++setting)
        m_entries.insert(setting.key(), Entry{setting.value(), Unchanged});
    m_modified = modified;
    m_dirty = false;
    return true;
}

QString SettingsStore::lookup(const QString &name, const QString &fallback) const
{
    const auto entry = m_entries.constFind(name);
    return entry == m_entries.constEnd() || entry->state == Removed ? fallback : entry->text;
}

void SettingsStore::set(const QString &name, const QString &text)
{
    const auto entry = m_entries.constFind(name);
    if (entry != m_entries.constEnd() && entry->state != Removed && entry->text == text)
        return;
    m_entries.insert(name, Entry{text, Changed});
    m_dirty = true;
}

void SettingsStore::remove(const QString &name)
{
    const auto entry = m_entries.find(name);
    if (entry == m_entries.end())
        return;
    entry->state = Removed;
    m_dirty = true;
}

void SettingsStore::sync()
{
    if (modificationTime(m_file.text()) == m_modified) {
        if (m_dirty)
            write();
        return;
    }
    if (!m_dirty) {
        load();
        return;
    }
    // Another process rewrote the file: its entries, then this one's changes.
    // When its new contents cannot be read, everything held here is kept.
    if (const std::optional<SettingsMap> settings = readSettings(m_file.text())) {
        QMap<QString, Entry> merged;
        for (auto setting = settings->constBegin(); setting != settings->constEnd(); ++setting)
            merged.insert(setting.key(), Entry{setting.value(), Unchanged});
        for (auto entry = m_entries.constBegin(); entry != m_entries.constEnd(); ++entry) {
            if (entry->state == Changed)
                merged.insert(entry.key(), Entry{entry->text, Changed});
            else if (entry->state == Removed)
                merged.remove(entry.key());
        }
        m_entries = merged;
    }
    write();
}

bool SettingsStore::write()
{
    const QString path = m_file.text();
    makeDirectories(absoluteDirectory(path));
    SettingsMap settings;
    for (auto entry = m_entries.constBegin(); entry != m_entries.constEnd(); ++entry) {
        if (entry->state != Removed)
            settings.insert(entry.key(), entry->text);
    }
    const QString fresh = path + QStringLiteral(".new");
    const QString backup = path + QStringLiteral(".bak");
    if (!writeWholeFile(fresh, formatSettingsFile(settings)))
        return false;
    unlink(nativeName(backup).constData());
    const bool keptBackup = rename(nativeName(path).constData(), nativeName(backup).constData()) == 0;
    if (rename(nativeName(fresh).constData(), nativeName(path).constData()) != 0) {
        if (keptBackup)
            rename(nativeName(backup).constData(), nativeName(path).constData());
        unlink(nativeName(fresh).constData());
        return false;
    }
    // Memory now matches the file: changes are written, removals are gone.
    QMap<QString, Entry> written;
    for (auto setting = settings.constBegin(); setting != settings.constEnd(); ++setting)
        written.insert(setting.key(), Entry{setting.value(), Unchanged});
    m_entries = written;
    m_modified = modificationTime(path);
    m_dirty = false;
    return true;
}
