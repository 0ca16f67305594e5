#include "xml/QXMLDocument.h"

#include "platform/FileSystem.h"

bool QXMLDocument::loadFile(const QString &path)
{
    return XMLDocument::loadFile(nativeName(path).constData());
}

bool QXMLDocument::saveFile(const QString &path, int indent)
{
    return XMLDocument::saveFile(nativeName(path).constData(), indent);
}
