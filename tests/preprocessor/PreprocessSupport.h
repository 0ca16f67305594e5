#pragma once

#include <QStringList>

#include <initializer_list>

#include "XmlTestSupport.h"
#include "preprocessor/XmlPP.h"

#include "TempDir.h"

// The start of every message of a pass.
inline const QString passError = QStringLiteral("XmlPP::processConditionals(): ");

// A preprocessed document that keeps the messages of the pass.
class RecordingDocument : public XMLPP2 {
public:
    void error(const QString &message) override { messages << message; }
    QStringList messages;
};

// A text preprocessed with definitions, the outline of the resulting root
// and its siblings, and the one message of the pass (null for none).
struct PassCase {
    const char *definitions;
    const char *text;
    const char *tree;
    QString message = QString();
};

// Preprocesses the text of each case as main.xml of a directory and checks
// what it became.
inline void expectPasses(std::initializer_list<PassCase> cases, const TempDir &dir = TempDir(), bool expand = false)
{
    for (const PassCase &c : cases) {
        dir.write("main.xml", c.text);
        RecordingDocument document;
        const QString path = dir.qpath() + "/main.xml";
        ASSERT_TRUE(XmlPP::preprocessFile(document, path, QString::fromLatin1(c.definitions), expand)) << c.text;
        EXPECT_EQ(outline(document.root()), QByteArray(c.tree)) << c.text << " with " << c.definitions;
        EXPECT_EQ(document.messages, c.message.isNull() ? QStringList() : QStringList{c.message}) << c.text;
    }
}
