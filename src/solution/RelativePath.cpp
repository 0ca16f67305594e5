#include "solution/RelativePath.h"

#include "platform/FileSystem.h"

#include <QStringList>

namespace {

// Whether every part of a "/"-separated text is a name: none is empty, "."
// or "..", so cleaning the text would leave it as it is.
bool namesOnly(QStringView parts)
{
    for (qsizetype start = 0;;) {
        qsizetype end = parts.indexOf(u'/', start);
        if (end < 0)
            end = parts.size();
        const QStringView part = parts.sliced(start, end - start);
        if (part.isEmpty() || part == u"." || part == u"..")
            return false;
        if (end == parts.size())
            return true;
        start = end + 1;
    }
}

} // namespace

bool relativePath(const QString &baseDir, const QString &path, QString &result)
{
    // Most files lie below the base directory, with clean absolute paths:
    // their relative path is the rest of the text.
    const qsizetype rest = baseDir.size() + 1;
    if (path.size() > rest && path[rest - 1] == u'/' && path.startsWith(baseDir) && baseDir.startsWith(u'/')
        && namesOnly(QStringView(baseDir).sliced(1)) && namesOnly(QStringView(path).sliced(rest))) {
        result = path.sliced(rest);
        return true;
    }
    QString directory;
    if (!relativeDirectory(baseDir, absoluteDirectory(path), directory))
        return false;
    const QString name = fileNameOf(path);
    result = directory.isEmpty() ? name : directory + u'/' + name;
    return true;
}

bool relativeDirectory(const QString &baseDir, const QString &targetDir, QString &result)
{
    result = QString();
    if (targetDir == u".")
        return true;
    const QStringList base = absoluteFilePath(baseDir).split(u'/', Qt::SkipEmptyParts);
    const QStringList target = absoluteFilePath(targetDir).split(u'/', Qt::SkipEmptyParts);
    qsizetype shared = 0;
    while (shared < base.size() && shared < target.size() && base[shared] == target[shared])
        ++shared;
    if (shared == 0)
        return false;
    QString relative;
    for (qsizetype i = shared; i < base.size(); ++i)
        relative += QStringLiteral("../");
    for (qsizetype i = shared; i < target.size(); ++i)
        relative += target[i] + u'/';
    result = relative.left(relative.size() - 1);
    return true;
}
