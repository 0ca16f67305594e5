#pragma once

#include <QStringList>

#include "XmlTestSupport.h"
#include "preprocessor/XmlPP.h"

#include "TempDir.h"

// A preprocessed document that keeps the messages of the pass.
class RecordingDocument : public XMLPP2 {
public:
    void error(const QString &message) override { messages << message; }
    QStringList messages;
};

// Preprocesses text written to a file of a fresh directory and gives the
// outline of the resulting root and its siblings.
struct Preprocessed {
    QByteArray tree;
    QStringList messages;
};

inline Preprocessed preprocess(const char *text, const char *definitions = "", bool expand = false)
{
    TempDir dir;
    dir.write("main.xml", text);
    RecordingDocument document;
    const bool loaded = XmlPP::preprocessFile(document, dir.qpath() + "/main.xml",
                                              QString::fromLatin1(definitions), expand);
    if (!loaded)
        return {"(not loaded)", {}};
    return {outline(document.root()), document.messages};
}
