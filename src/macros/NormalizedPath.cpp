#include "macros/NormalizedPath.h"

struct NormalizedPath::Record {
    QString text;
    QString original;
    bool normalized = false;
    bool statusRead = false;
    std::optional<FileStatus> status;
};

NormalizedPath::NormalizedPath() : NormalizedPath(QString()) {}

NormalizedPath::NormalizedPath(const QString &path) : m_record(std::make_shared<Record>())
{
    m_record->text = path;
    m_record->original = path;
}

const QString &NormalizedPath::text() const
{
    if (!m_record->normalized) {
        normalize(m_record->text);
        m_record->normalized = true;
    }
    return m_record->text;
}

const QString &NormalizedPath::original() const
{
    return m_record->original;
}

NormalizedPath NormalizedPath::operator+(const QString &suffix) const
{
    return NormalizedPath(text() + suffix);
}

bool NormalizedPath::exists() const
{
    if (!m_record->statusRead) {
        m_record->status = fileStatus(text());
        m_record->statusRead = true;
    }
    return m_record->status.has_value();
}

bool NormalizedPath::isDirectory() const
{
    return exists() && m_record->status->directory;
}

void NormalizedPath::normalize(QString &path)
{
    qsizetype i = 0;
    while (i + 1 < path.size()) {
        if (path.at(i) != u'/' || path.at(i + 1) != u'.') {
            ++i;
            continue;
        }
        const qsizetype dot = i + 1;
        const bool atEnd = dot + 1 >= path.size();
        if (!atEnd && path.at(dot + 1) == u'.') {
            // "/..": drop it together with the component before it. That
            // component is taken to be at least one character long.
            const qsizetype from = dot - 3;
            const qsizetype start = from >= 0 ? path.lastIndexOf(u'/', from) : -1;
            if (start < 0) {
                i = dot + 1;
                continue;
            }
            path.remove(start, dot + 2 - start);
            i = start;
        } else if (atEnd || path.at(dot + 1) == u'/') {
            path.remove(i, 2);
        } else {
            i = dot + 1;  // a name that begins with '.', such as "/.hidden"
        }
    }
    QString collapsed;
    collapsed.reserve(path.size());
    for (const QChar c : std::as_const(path)) {
        if (c != u'/' || !collapsed.endsWith(u'/'))
            collapsed.append(c);
    }
    path = collapsed;
}
