#include "solution/RelativePath.h"

#include "platform/FileSystem.h"

#include <QStringList>

bool relativePath(const QString &baseDir, const QString &path, QString &result)
{
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
