#include <gtest/gtest.h>

#include <QByteArray>

#include <thread>
#include <unistd.h>

#include "XmlTestSupport.h"
#include "xml/QXMLDocument.h"

#include "TempDir.h"

namespace {

// The outline of a document's root, "" when it has none.
QByteArray rootOutline(const XMLDocument &document)
{
    return document.root() ? outline(document.root()) : QByteArray();
}

} // namespace

TEST(XMLParser, acceptsTheSuitesSubsetOfXml)
{
    const struct { const char *input; bool keepText; const char *tree; } cases[] = {
        {"<a/>", false, "a"},
        {"<a></>", false, "a"},
        {"<a></a>", false, "a"},
        {"<a b/>", false, "a"},                        // an attribute without '=' is dropped
        {"<a b = \"x\">\n</a>", false, "a[b=x]"},
        {"<a b=\"1\" c=\"2\" b=\"3\"/>", false, "a[b=3,c=2]"}, // a repeated name replaces in place
        {"<a b=\"line\none\"/>", false, "a[b=line\none]"},
        {"<a b=\"cr\r\"/>", false, "a[b=cr\r]"},         // attribute values keep carriage returns
        {"<a b=x/>", false, "a"},                      // an unquoted value is skipped byte by byte
        {"<a:b-c_d e:f=\"1\"/>", false, "a:b-c_d[e:f=1]"},
        {"<a><b/><c><d/></c></a>", false, "a(b c(d))"},
        {"<a>text<!--c--><![CDATA[d]]></a>", false, "a([d])"},
        {"<a>text<!--c--><![CDATA[d]]></a>", true, "a(\"text\" <!c> \"\" [d] \"\")"},
        {"<a><b/></a>", true, "a(\"\" b \"\")"},
        {"<a> x\r\ny </a>", true, "a(\" x\ny \")"},   // character data loses carriage returns
        {"<a><!-- x -- y --></a>", true, "a(\"\" <! x -- y > \"\")"},
        {"<a><!---></a>", true, ""},                   // the comment never ends
        {"<a><![CDATA[<b>&amp;]]></a>", false, "a([<b>&amp;])"},
        {"<!--top--><a/>", true, "a"},
        {"<a/><b/>", false, "b"},                      // a later top-level element wins
        {"<a><b></b>", false, ""},                     // never closed
        {"", false, ""},
        {" \n\t ", false, ""},
        {"text<a/>", false, ""},                       // the first byte must open markup
        {"<a><?pi data?><b/></a>", true, "a(\"\" \" data?>\" b \"\")"},
        {"<a></a junk></a>", true, "a(\"\" \"junk>\")"}, // an end tag without '>' leaves a open
        {"</x><a/>", false, "a"},                      // an end tag with nothing open is ignored
        {"<a><!foo bar><b/></a>", true, "a(\"\" \" bar>\" b \"\")"},
    };
    for (const auto &c : cases) {
        XMLDocument document(c.keepText);
        EXPECT_TRUE(document.parseText(c.input)) << c.input;
        EXPECT_EQ(rootOutline(document), QByteArray(c.tree)) << c.input;
    }
}

TEST(XMLParser, syntaxErrorsGiveTheirMessageAndLineAndKeepAnEarlierRoot)
{
    const struct { const char *input; const char *message; int line; const char *root; } cases[] = {
        {"<a b='x'/>", "bad tagName", 0, ""},
        {"<a\n\n b='x'/>", "bad tagName", 2, ""},
        {"<a 1=\"x\"/>", "bad tagName", 0, ""},
        {"<a.b/>", "bad tagName", 0, ""},                   // '.' ends a name
        {"<a><b></a>", "tagName mismatch", 0, ""},
        {"<abc></ab>", "tagName mismatch", 0, ""},
        {"<a>\n<b>\n</bc>", "tagName mismatch", 2, ""},
        {"<a/x>", "tagName mismatch", 0, ""},
        {"<a>\n</b", "tagName mismatch", 1, ""},            // found at the very end of the input
        {"<?xml version=\"1\" ! ?><a/>", "bad tagName", 0, ""},
        {"<done/><a b='x'/>", "bad tagName", 0, "done"},
    };
    for (const auto &c : cases) {
        XMLDocument document;
        EXPECT_FALSE(document.parseText(c.input)) << c.input;
        EXPECT_STREQ(document.errorMessage(), c.message) << c.input;
        EXPECT_EQ(document.errorLine(), c.line) << c.input;
        EXPECT_EQ(rootOutline(document), QByteArray(c.root)) << c.input;
    }
}

TEST(XMLParser, decodesEntitiesInValuesAndText)
{
    const struct { const char *encoded; QByteArray decoded; } cases[] = {
        {"1 &lt; 2 &amp; &#65;&#x4A;&apos;", "1 < 2 & AJ&apos;"},
        {"&quot;&gt;&amp;amp;", "\">&amp;"},
        {"&#321;", "A"},                    // only the low 8 bits are kept
        {"&#xe9;&#xE9;", "\xe9\xe9"},
        {"&#12", "&#12"},                   // no ';' before the end
        {"&#1a;", "&#1a;"},                 // only digits may stand before the ';'
        {"&#x;tail", ""},                   // a zero byte ends the text
        {"&unknown; & &", "&unknown; & &"},
        {"&lt", "&lt"},
    };
    for (const auto &c : cases) {
        XMLDocument document(true);
        const QByteArray input = QByteArray("<a v=\"") + c.encoded + "\">" + c.encoded + "</a>";
        ASSERT_TRUE(document.parseText(input.constData())) << c.encoded;
        ASSERT_NE(document.root(), nullptr) << c.encoded;
        EXPECT_EQ(QByteArray(document.root()->attribute("v")), c.decoded) << c.encoded;
        EXPECT_EQ(QByteArray(static_cast<const XMLTextNode *>(document.root()->firstChild())->text()), c.decoded);
    }
}

TEST(XMLParser, declarationAndDoctypeAreRecorded)
{
    XMLDocument document;
    ASSERT_TRUE(document.parseText("<?xml version=\"1.0\" standalone encoding=\"UTF-8\"?>\n<!DOCTYPE Foo>\n<a/>"));
    EXPECT_STREQ(document.version(), "1.0");
    EXPECT_STREQ(document.encoding(), "UTF-8");
    EXPECT_STREQ(document.doctype(), "Foo");

    const struct { const char *input; const char *doctype; bool hasRoot; } cases[] = {
        {"<!DOC Short><a/>", "Short", true},              // a leading part of the keyword
        {"<!DOCTYPE Foo SYSTEM \"x\"><a/>", nullptr, true}, // external identifiers are not read
        {"<!DOCTYPEX Foo><a/>", nullptr, true},
        {"<?x version=\"1\"?><a/>", nullptr, true},         // a leading part of "xml"
        {"<?xml version='1'?><a/>", nullptr, false},        // an unquoted value ends the parse
        {"<a/><?xml version='1'?>", nullptr, false},
    };
    for (const auto &c : cases) {
        XMLDocument other;
        EXPECT_TRUE(other.parseText(c.input)) << c.input;
        EXPECT_EQ(QByteArray(other.doctype()), QByteArray(c.doctype)) << c.input;
        EXPECT_EQ(other.root() != nullptr, c.hasRoot) << c.input;
    }
}

TEST(XMLParser, nodesRecordTheLineWhereTheyBegin)
{
    XMLDocument document(true);
    ASSERT_TRUE(document.parseText("<a>\n  <b/>\n\n<c x=\"1\n2\"/>\n<!--\n-->\n<d/></a>"));
    XMLElement *a = document.root();
    EXPECT_EQ(a->line(), 0);
    EXPECT_EQ(a->firstChildElement("b")->line(), 1);
    EXPECT_EQ(a->firstChildElement("c")->line(), 3);
    EXPECT_EQ(a->firstChildElement("d")->line(), 7);
    // The text after <b/> starts at the newline byte, already counted.
    EXPECT_EQ(a->firstChildElement("b")->nextSibling()->line(), 2);

    XMLDocument leadingNewline;
    ASSERT_TRUE(leadingNewline.parseText("\n<a/>"));
    EXPECT_EQ(leadingNewline.root()->line(), 0); // the first byte is never stepped onto

    // Decoding shortens text and values where they stand; the newlines they
    // held still count for the nodes after them.
    XMLDocument decoded(true);
    ASSERT_TRUE(decoded.parseText("<a>\r\n&amp;\r\n<b v=\"&lt;\n\n&gt;\"/>\n<c/></a>"));
    const XMLElement *b = decoded.root()->firstChildElement("b");
    EXPECT_EQ(b->line(), 2);
    EXPECT_STREQ(b->attribute("v"), "<\n\n>");
    EXPECT_STREQ(static_cast<const XMLTextNode *>(decoded.root()->firstChild())->text(), "\n&\n");
    EXPECT_EQ(decoded.root()->firstChildElement("c")->line(), 5);
}

TEST(XMLParser, namesAlikeInLengthAndEndsAreKeptApart)
{
    // Names of one length with the same first and last bytes, differing only
    // deep inside, and names of every length around a word and a block.
    QByteArray text = "<a long_name_with_X_in_the_middle_z=\"1\" long_name_with_Y_in_the_middle_z=\"2\" n=\"0\"";
    for (int length = 1; length <= 40; ++length)
        text += " n" + QByteArray(length, 'x') + "=\"" + QByteArray::number(length) + "\"";
    XMLDocument document;
    ASSERT_TRUE(document.parseText((text + "/>").constData()));
    const XMLElement *a = document.root();
    EXPECT_STREQ(a->attribute("long_name_with_X_in_the_middle_z"), "1");
    EXPECT_STREQ(a->attribute("long_name_with_Y_in_the_middle_z"), "2");
    EXPECT_STREQ(a->attribute("n"), "0");
    for (int length = 1; length <= 40; ++length)
        EXPECT_EQ(QByteArray(a->attribute("n" + QByteArray(length, 'x'))), QByteArray::number(length));
    int count = 0;
    for (const XMLAttribute *attribute = a->attributes(); attribute; attribute = attribute->next)
        ++count;
    EXPECT_EQ(count, 43);
}

TEST(XMLParser, everyPrefixAndStrayByteParsesInAnOrderlyWay)
{
    // Only an end tag cut off right after its '/' is an error (an empty name);
    // the sanitizer build checks the reads of every stray byte.
    const QByteArray full = "<?xml version=\"1.0\" encoding=\"x\"?><!DOCTYPE D><r a=\"&#x41;&lt;\">"
                            "t<!--c--><![CDATA[d]]><e/></r>";
    for (qsizetype n = 0; n <= full.size(); ++n) {
        const QByteArray prefix = full.left(n);
        XMLDocument document(true);
        EXPECT_EQ(document.parseBytes(prefix.constData(), prefix.size()), !prefix.endsWith('/')) << prefix.constData();
        EXPECT_EQ(document.root() != nullptr, n == full.size()) << prefix.constData();
    }
    for (int byte = 0; byte < 256; ++byte) {
        for (const char *form : {"<a%c/>", "<a %c>", "<%c", "<!%c", "<?%c", "</%c", "<a b=\"%c"}) {
            const QByteArray text = QByteArray(form).replace("%c", QByteArray(1, char(byte)));
            XMLDocument document(true);
            document.parseBytes(text.constData(), text.size());
        }
    }
    XMLDocument embeddedNul;
    EXPECT_TRUE(embeddedNul.parseBytes("<a/>\0<b b='x'>", 14)); // the text ends at the NUL
    EXPECT_STREQ(embeddedNul.root()->name(), "a");
}

TEST(XMLParser, deepNestingIsBuiltWithoutRecursion)
{
    const int depth = 100000;
    QByteArray text = QByteArray("<e>").repeated(depth) + QByteArray("</e>").repeated(depth);
    XMLDocument document;
    ASSERT_TRUE(document.parseBytes(text.constData(), text.size()));
    int levels = 0;
    for (const XMLNode *node = document.root(); node; node = node->firstChild())
        ++levels;
    EXPECT_EQ(levels, depth);
    EXPECT_EQ(written(document, 0), text.replace("<e></e>", "<e/>"));
}

TEST(XMLDocumentFiles, loadFileReportsUnreadableFilesAndLoadsIntoTheSamePool)
{
    TempDir dir;
    QXMLDocument document;
    const QString missing = dir.qpath() + "/missing.xml";
    EXPECT_FALSE(document.loadFile(missing));
    EXPECT_EQ(QString::fromLatin1(document.errorMessage()), "couldn't read " + missing);
    EXPECT_EQ(document.errorLine(), 0);

    dir.write("first.xml", "<?xml version=\"1.0\"?><first/>");
    dir.write("second \xe9.xml", "<!DOCTYPE S>\n<second/>");
    ASSERT_TRUE(document.loadFile(dir.qpath() + "/first.xml"));
    XMLElement *first = document.root();
    ASSERT_TRUE(document.loadFile(QString::fromLatin1(dir.file("second \xe9.xml"))));
    EXPECT_STREQ(document.root()->name(), "second");
    EXPECT_STREQ(first->name(), "first");       // the earlier tree lives on in the pool
    EXPECT_STREQ(document.version(), "1.0");    // not reset by the second load
    EXPECT_STREQ(document.doctype(), "S");
}

TEST(XMLDocumentFiles, streamsOfUnknownLengthAreReadWholeUpToTheirFirstNul)
{
    // A pipe tells no length: the reader grows its buffer until the end.
    int ends[2];
    ASSERT_EQ(::pipe(ends), 0);
    const int children = 20000;
    std::thread writer([&] {
        const QByteArray text = "<big>" + QByteArray("<e/>").repeated(children) + "</big>";
        for (qsizetype done = 0, n = 0; done < text.size(); done += n) {
            if ((n = ::write(ends[1], text.constData() + done, size_t(text.size() - done))) <= 0)
                break;
        }
        ::close(ends[1]);
    });
    XMLDocument piped;
    const bool loaded = piped.loadFile(("/dev/fd/" + QByteArray::number(ends[0])).constData());
    writer.join();
    ::close(ends[0]);
    ASSERT_TRUE(loaded);
    ASSERT_NE(piped.root(), nullptr);
    int count = 0;
    for (const XMLNode *e = piped.root()->firstChild(); e; e = e->nextSibling())
        ++count;
    EXPECT_EQ(count, children);

    // An endless stream of NUL bytes holds an empty text: reading stops.
    XMLDocument zeros;
    EXPECT_TRUE(zeros.loadFile("/dev/zero"));
    EXPECT_EQ(zeros.root(), nullptr);
}
