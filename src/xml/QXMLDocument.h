#pragma once

#include <QString>

#include "xml/XMLDocument.h"

// A document whose file operations take file names as the tool holds them:
// QStrings whose characters are the name's bytes (Latin-1).
class QXMLDocument : public XMLDocument {
public:
    using XMLDocument::XMLDocument;
    using XMLDocument::loadFile;
    using XMLDocument::saveFile;

    bool loadFile(const QString &path);
    bool saveFile(const QString &path, int indent);
};
