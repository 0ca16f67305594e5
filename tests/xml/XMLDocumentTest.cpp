#include <gtest/gtest.h>

#include <QByteArray>

#include <cstdio>

#include "XmlTestSupport.h"
#include "xml/QXMLDocument.h"

#include "TempDir.h"

TEST(XMLParser, readsTheSuitesSubsetOfXmlAndReportsSyntaxErrorsWithTheirLine)
{
    // The outline of the root ("" for none) and, for a syntax error, its
    // message and line; a root read before the error stays.
    const struct { const char *input; bool keepText; const char *tree, *message = nullptr; int line = 0; } cases[] = {
        {"<a></>", false, "a"},
        {"<a b/>", false, "a"},                        // an attribute without '=' is dropped
        {"<a b = \"x\">\n</a>", false, "a[b=x]"},
        {"<a b=\"1\" c=\"2\" b=\"3\"/>", false, "a[b=3,c=2]"}, // a repeated name replaces in place
        {"<a b=\"cr\r\"/>", false, "a[b=cr\r]"},         // attribute values keep carriage returns
        {"<a b=x/>", false, "a"},                      // an unquoted value is skipped byte by byte
        {"<a:b-c_d e:f=\"1\"/>", false, "a:b-c_d[e:f=1]"},
        // Names of one length, alike in their first eight bytes and their last, stay apart.
        {"<a the_name_X_alike=\"1\" the_name_Y_alike=\"2\"/>", false, "a[the_name_X_alike=1,the_name_Y_alike=2]"},
        {"<a>text<!--c--><![CDATA[d]]></a>", false, "a([d])"},
        {"<a>text<!--c--><![CDATA[d]]></a>", true, "a(\"text\" <!c> \"\" [d] \"\")"},
        {"<a> x\r\ny </a>", true, "a(\" x\ny \")"},   // character data loses carriage returns
        {"<a><!-- x -- y --></a>", true, "a(\"\" <! x -- y > \"\")"},
        {"<a><!---></a>", true, ""},                   // the comment never ends
        {"<a><![CDATA[<b>&amp;]]></a>", false, "a([<b>&amp;])"},
        {"<!--top--><a/>", true, "a"},
        {"<a/><b/>", false, "b"},                      // a later top-level element wins
        {"<a><b></b>", false, ""},                     // never closed
        {" \n\t ", false, ""},
        {"text<a/>", false, ""},                       // the first byte must open markup
        {"<a><?pi data?><b/></a>", true, "a(\"\" \" data?>\" b \"\")"},
        {"<a></a junk></a>", true, "a(\"\" \"junk>\")"}, // an end tag without '>' leaves a open
        {"</x><a/>", false, "a"},                      // an end tag with nothing open is ignored
        {"<a><!foo bar><b/></a>", true, "a(\"\" \" bar>\" b \"\")"},
        {"<a\n\n b='x'/>", false, "", "bad tagName", 2},
        {"<a 1=\"x\"/>", false, "", "bad tagName"},
        {"<a.b/>", false, "", "bad tagName"},                   // '.' ends a name
        {"<abc></ab>", false, "", "tagName mismatch"},
        {"<a>\n<b>\n</bc>", false, "", "tagName mismatch", 2},
        {"<a/x>", false, "", "tagName mismatch"},
        {"<a>\n</b", false, "", "tagName mismatch", 1},        // found at the very end of the input
        {"<?xml version=\"1\" ! ?><a/>", false, "", "bad tagName"},
        {"<done/><a b='x'/>", false, "done", "bad tagName"},
    };
    for (const auto &c : cases) {
        XMLDocument document(c.keepText);
        EXPECT_EQ(document.parseText(c.input), !c.message) << c.input;
        EXPECT_EQ(outline(document.root()), QByteArray(c.tree)) << c.input;
        if (c.message) {
            EXPECT_STREQ(document.errorMessage(), c.message) << c.input;
            EXPECT_EQ(document.errorLine(), c.line) << c.input;
        }
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
    // The doctype and the declaration's version (null: none), and whether a
    // root was read. A whole declaration is read back in the writer's tests.
    const struct { const char *input, *doctype, *version; bool hasRoot; } cases[] = {
        {"<!DOC Short><a/>", "Short", nullptr, true},               // a leading part of the keyword
        {"<!DOCTYPE Foo SYSTEM \"x\"><a/>", nullptr, nullptr, true}, // external identifiers are not read
        {"<!DOCTYPEX Foo><a/>", nullptr, nullptr, true},
        {"<?x version=\"1\"?><a/>", nullptr, "1", true},           // a leading part of "xml"
        {"<?xml version='1'?><a/>", nullptr, nullptr, false},      // an unquoted value ends the parse
        {"<a/><?xml version='1'?>", nullptr, nullptr, false},
    };
    for (const auto &c : cases) {
        XMLDocument document;
        EXPECT_TRUE(document.parseText(c.input)) << c.input;
        EXPECT_EQ(QByteArray(document.doctype()), QByteArray(c.doctype)) << c.input;
        EXPECT_EQ(QByteArray(document.version()), QByteArray(c.version)) << c.input;
        EXPECT_EQ(document.root() != nullptr, c.hasRoot) << c.input;
    }
}

TEST(XMLParser, nodesRecordTheLineWhereTheyBegin)
{
    XMLDocument document(true);
    // The first byte is never stepped onto, so a newline there does not
    // count; the text after <b/> starts at the newline byte, already counted.
    ASSERT_TRUE(document.parseText("\n<a>\n  <b/>\n\n<c x=\"1\n2\"/>\n<!--\n-->\n<d/></a>"));
    XMLElement *a = document.root();
    EXPECT_EQ(QList<int>({a->line(), a->firstChildElement("b")->line(), a->firstChildElement("c")->line(),
                          a->firstChildElement("d")->line(), a->firstChildElement("b")->nextSibling()->line()}),
              QList<int>({0, 1, 3, 7, 2}));

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

TEST(XMLParser, everyPrefixOfADocumentParsesInAnOrderlyWay)
{
    // Only an end tag cut off right after its '/' is an error (an empty name).
    const QByteArray full = "<?xml version=\"1.0\" encoding=\"x\"?><!DOCTYPE D><r a=\"&#x41;&lt;\">"
                            "t<!--c--><![CDATA[d]]><e/></r>";
    for (qsizetype n = 0; n <= full.size(); ++n) {
        const QByteArray prefix = full.left(n);
        XMLDocument document(true);
        EXPECT_EQ(document.parseBytes(prefix.constData(), prefix.size()), !prefix.endsWith('/')) << prefix.constData();
        EXPECT_EQ(document.root() != nullptr, n == full.size()) << prefix.constData();
    }
    XMLDocument embeddedNul;
    EXPECT_TRUE(embeddedNul.parseBytes("<a/>\0<b b='x'>", 14)); // the text ends at the NUL
    EXPECT_STREQ(embeddedNul.root()->name(), "a");
}

TEST(XMLDocumentFiles, loadFileLoadsIntoTheSamePoolAndSaveFileWritesOrReportsTheFile)
{
    TempDir dir;
    QXMLDocument document;
    dir.write("first.xml", "<?xml version=\"1.0\"?><first/>");
    dir.write("second \xe9.xml", "<!DOCTYPE S>\n<second/>");
    ASSERT_TRUE(document.loadFile(dir.qpath() + "/first.xml"));
    XMLElement *first = document.root();
    ASSERT_TRUE(document.loadFile(QString::fromLatin1(dir.file("second \xe9.xml"))));
    EXPECT_STREQ(document.root()->name(), "second");
    EXPECT_STREQ(first->name(), "first");       // the earlier tree lives on in the pool
    EXPECT_STREQ(document.version(), "1.0");    // not reset by the second load
    EXPECT_STREQ(document.doctype(), "S");

    QXMLDocument saved;
    ASSERT_TRUE(saved.parseText("<a><b/></a>"));
    ASSERT_TRUE(saved.saveFile(dir.qpath() + "/out.xml", 1));
    EXPECT_EQ(dir.read("out.xml"), "<a>\n <b/>\n</a>\n");
    const QString bad = dir.qpath() + "/no/such/dir/out.xml";
    EXPECT_FALSE(saved.saveFile(bad, 1));
    EXPECT_EQ(QString::fromLatin1(saved.errorMessage()), "couldn't write " + bad);
}

TEST(XMLDocumentFiles, streamsOfUnknownLengthAreReadWholeUpToTheirFirstNul)
{
    // A pipe tells no length: the reader grows its buffer until the end.
    std::FILE *pipe = ::popen("echo '<big>'; yes '<e/>' | head -n 20000; echo '</big>'", "r");
    ASSERT_NE(pipe, nullptr);
    XMLDocument piped;
    EXPECT_TRUE(piped.loadFile(("/dev/fd/" + QByteArray::number(fileno(pipe))).constData()));
    ::pclose(pipe);
    EXPECT_EQ(outline(piped.root()), "big(" + QByteArray("e ").repeated(20000).chopped(1) + ")");

    // An endless stream of NUL bytes holds an empty text: reading stops.
    XMLDocument zeros;
    EXPECT_TRUE(zeros.loadFile("/dev/zero"));
    EXPECT_EQ(zeros.root(), nullptr);
}

TEST(XMLWriter, writesDeclarationDoctypeEscapedValuesAndIndentedTree)
{
    const char *tree = "<?xml version=\"1.0\" standalone encoding=\"UTF-8\"?><!DOCTYPE P>"
                       "<p a=\"1\"><c><d/></c><t>x&amp;y<!--n--><![CDATA[<&>]]></t></p>";
    const char *declaration = "<?xml  version=\"1.0\" encoding=\"UTF-8\" ?>\n<!DOCTYPE P>\n";
    const struct { const char *input; bool keepText; int indent; QByteArray expected; } cases[] = {
        // Every byte outside printable ASCII is escaped.
        {"<r v=\"a&quot;b&amp;c&lt;d&gt;e'f&#x9;g&#xe9;&#x1;~&#x7f;\"/>", false, 0,
         "<r v=\"a&quot;b&amp;c&lt;d&gt;e'f&#x9;g&#xe9;&#x1;~&#x7f;\"/>"},
        {tree, false, 2, QByteArray(declaration) + "<p a=\"1\">\n  <c>\n    <d/>\n  </c>\n  <t>\n"
                                                   "    <![CDATA[<&>]]>  </t>\n</p>\n"},
        // Every node is indented, the empty text nodes that the reader keeps too.
        {tree, true, 1, QByteArray(declaration) + "<p a=\"1\">\n  <c>\n    <d/>\n   </c>\n  <t>\n"
                                                  "  x&amp;y  <!--n-->    <![CDATA[<&>]]>   </t>\n </p>\n"},
        {tree, true, 0, QByteArray(declaration) + "<p a=\"1\"><c><d/></c><t>x&amp;y<!--n--><![CDATA[<&>]]></t></p>"},
        {"<?xml version=\"2\"?><a/>", false, 1, "<?xml  version=\"2\" ?>\n<a/>\n"},
        {"", false, 4, ""},
    };
    for (const auto &c : cases) {
        XMLDocument document(c.keepText);
        document.parseText(c.input);
        EXPECT_EQ(written(document, c.indent), c.expected) << c.input;
    }

    // An attribute without a value is written empty.
    XMLDocument built;
    PoolScope scope(&built);
    built.setRoot(built.createElement(Pool::copyString("r")));
    built.root()->setAttribute(Pool::copyString("empty"), nullptr);
    EXPECT_EQ(written(built, 0), "<r empty=\"\"/>");
}
