#include <gtest/gtest.h>

#include "XmlTestSupport.h"
#include "xml/QXMLDocument.h"

#include "TempDir.h"

TEST(XMLWriter, escapesEveryByteOutsidePrintableAscii)
{
    XMLDocument document;
    PoolScope scope(&document);
    XMLElement *root = document.createElement(Pool::copyString("r"));
    root->setAttribute(Pool::copyString("v"), Pool::copyString("a\"b&c<d>e'f\tg\xe9\x01~"));
    root->setAttribute(Pool::copyString("empty"), nullptr);
    document.setRoot(root);
    EXPECT_EQ(written(document, 0),
              "<r v=\"a&quot;b&amp;c&lt;d&gt;e'f&#x9;g&#xe9;&#x1;~\" empty=\"\"/>");
}

TEST(XMLWriter, writesDeclarationDoctypeAndIndentedTree)
{
    const char *text = "<?xml version=\"1.0\" encoding=\"UTF-8\"?><!DOCTYPE P>"
                       "<p a=\"1\"><c><d/></c><t>x&amp;y<!--n--><![CDATA[<&>]]></t></p>";
    XMLDocument document;
    ASSERT_TRUE(document.parseText(text));
    EXPECT_EQ(written(document, 2),
              "<?xml  version=\"1.0\" encoding=\"UTF-8\" ?>\n"
              "<!DOCTYPE P>\n"
              "<p a=\"1\">\n"
              "  <c>\n"
              "    <d/>\n"
              "  </c>\n"
              "  <t>\n"
              "    <![CDATA[<&>]]>  </t>\n"
              "</p>\n");
    // Every node is indented, the empty text nodes that the reader keeps too.
    XMLDocument withText(true);
    ASSERT_TRUE(withText.parseText(text));
    EXPECT_EQ(written(withText, 1),
              "<?xml  version=\"1.0\" encoding=\"UTF-8\" ?>\n<!DOCTYPE P>\n"
              "<p a=\"1\">\n  <c>\n    <d/>\n   </c>\n  <t>\n"
              "  x&amp;y  <!--n-->    <![CDATA[<&>]]>   </t>\n </p>\n");
    EXPECT_EQ(written(withText, 0),
              "<?xml  version=\"1.0\" encoding=\"UTF-8\" ?>\n<!DOCTYPE P>\n"
              "<p a=\"1\"><c><d/></c><t>x&amp;y<!--n--><![CDATA[<&>]]></t></p>");

    XMLDocument versionOnly;
    ASSERT_TRUE(versionOnly.parseText("<?xml version=\"2\"?><a/>"));
    EXPECT_EQ(written(versionOnly, 1), "<?xml  version=\"2\" ?>\n<a/>\n");
    XMLDocument empty;
    EXPECT_EQ(written(empty, 4), "");
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
