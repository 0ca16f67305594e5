#include "StoredPackage.h"

#include "CliPackages.h"

#include <cstring>

namespace {

quint32 little(const QByteArray &bytes, qsizetype at)
{
    const auto *p = reinterpret_cast<const unsigned char *>(bytes.constData() + at);
    return quint32(p[0]) | quint32(p[1]) << 8 | quint32(p[2]) << 16 | quint32(p[3]) << 24;
}

} // namespace

std::optional<QList<StoredEntry>> decodeCompressedPackage(const QByteArray &file)
{
    return decodePlainPackage(expandedPackage(file));
}

std::optional<QList<StoredEntry>> decodePlainPackage(const QByteArray &plain)
{
    if (plain.size() < 8 || little(plain, 0) != 0x4152C3C8u)
        return std::nullopt;
    const qint32 count = qint32(little(plain, 4));
    if (count < 0 || plain.size() < 8 + qsizetype(count) * 1040)
        return std::nullopt;
    QList<StoredEntry> entries;
    for (qint32 i = 0; i < count; ++i) {
        const qsizetype record = 8 + qsizetype(i) * 1040;
        StoredEntry entry;
        entry.name = QByteArray(plain.constData() + record, qsizetype(strnlen(plain.constData() + record, 1024)));
        entry.offset = little(plain, record + 1024);
        entry.size = little(plain, record + 1028);
        entry.readOnly = little(plain, record + 1032);
        entry.modified = little(plain, record + 1036);
        if (qsizetype(entry.offset) + entry.size > plain.size())
            return std::nullopt;
        entry.data = plain.mid(entry.offset, entry.size);
        entries.append(entry);
    }
    return entries;
}

QList<QByteArray> entryNames(const QList<StoredEntry> &entries)
{
    QList<QByteArray> names;
    for (const StoredEntry &entry : entries)
        names.append(entry.name);
    return names;
}
