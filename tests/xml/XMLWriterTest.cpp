#include <gtest/gtest.h>

#include "XmlTestSupport.h"
#include "xml/QXMLDocument.h"

#include "TempDir.h"

TEST(XMLWriter, writesDeclarationDoctypeEscapedValuesAndIndentedTree)
{
    const char *tree = "<?xml version=\"1.0\" encoding=\"UTF-8\"?><!DOCTYPE P>"
                       "<p a=\"1\"><c><d/></c><t>x&amp;y<!--n--><![CDATA[<&>]]></t></p>";
    const char *declaration = "<?xml  version=\"1.0\" encoding=\"UTF-8\" ?>\n<!DOCTYPE P>\n";
    const struct { const char *input; bool keepText; int indent; QByteArray expected; } cases[] = {
        // Every byte outside printable ASCII is escaped.
        {"<r v=\"a&quot;b&amp;c&lt;d&gt;e'f&#x9;g&#xe9;&#x1;~\"/>", false, 0,
         "<r v=\"a&quot;b&amp;c&lt;d&gt;e'f&#x9;g&#xe9;&#x1;~\"/>"},
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

TEST(XMLWriter, saveFileWritesOrReportsTheFile)
{
    TempDir dir;
    QXMLDocument document;
    ASSERT_TRUE(document.parseText("<a><b/></a>"));
    ASSERT_TRUE(document.saveFile(dir.qpath() + "/out.xml", 1));
    EXPECT_EQ(dir.read("out.xml"), "<a>\n <b/>\n</a>\n");
    const QString bad = dir.qpath() + "/no/such/dir/out.xml";
    EXPECT_FALSE(document.saveFile(bad, 1));
    EXPECT_EQ(QString::fromLatin1(document.errorMessage()), "couldn't write " + bad);
}
