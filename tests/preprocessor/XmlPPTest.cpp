#include <gtest/gtest.h>

#include <QStringList>

#include <initializer_list>

#include "TempDir.h"
#include "XmlTestSupport.h"
#include "preprocessor/XmlPP.h"

namespace {

// The start of every message of a pass.
const QString passError = QStringLiteral("XmlPP::processConditionals(): ");

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
void expectPasses(std::initializer_list<PassCase> cases, const TempDir &dir = TempDir(), bool expand = false)
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

const QString oneCondition = passError + "one condition required for <if[not]>";
const QString forForm = "<for index=\"i\" start=\"0\" end=\"32\" incr=\"1\">";

// A directory of files to include, preprocessed from its main.xml.
struct IncludeFiles : TempDir {
    IncludeFiles()
    {
        write("env.xml", "<envelope><x/><y/></envelope>");
        write("plain.xml", "<box a=\"1\"><x/></box>");
        write("macros.xml", "<m a=\"$(A)\"><c b=\"$(B)\"/></m>");
        write("bad.xml", "<a b='x'/>");
        write("late.xml", "<ok/>\n<a b='x'/>");
        write("defines.xml", "<envelope><define name=\"X\" value=\"1\"/><ifdef name=\"X\"><in/></ifdef></envelope>");
        write("sub/inner.xml", "<inner><include filename=\"leaf.xml\"/></inner>");
        write("sub/leaf.xml", "<leaf/>");
        write("ping.xml", "<ping><include filename=\"pong.xml\"/></ping>");
        write("pong.xml", "<pong><include filename=\"ping.xml\"/></pong>");
        write("fragment.xml", "<envelope><xmldef name=\"F\"><f/></xmldef></envelope>");
    }
    QString path(const char *name) const { return qpath() + '/' + name; }
};

} // namespace

TEST(XmlPP, conditionsSpliceTheirBodyOrDisappear)
{
    expectPasses({
        {"Target=thumb", "<r><if Target=\"arm,thumb\"><a/><b/></if><c/></r>", "r(a b c)"},
        {"Target= thumb", "<r><if Target=\"arm,thumb\"><a/></if></r>", "r"},
        // Reading an undefined name defines it, empty.
        {"", "<r><if Target=\"arm\"><a/></if><ifdef name=\"Target\"><b/></ifdef></r>", "r(b)"},
        {"", "<r><if Target=\"\"><a/></if></r>", "r(a)"},
        {"T=1", "<r><ifnot T=\"1\"><a/></ifnot><ifnot T=\"2,3\"><b/></ifnot></r>", "r(b)"},
        {"", "<r><if A=\"1\" B=\"2\"><a/></if></r>", "r(if[A=1,B=2](a))", oneCondition},
        {"", "<r><ifnot><a/></ifnot></r>", "r(ifnot(a))", oneCondition},
        {"Size=4096", "<r><ifex expression=\"$(Size) > 0x100\"><a/></ifex></r>", "r(a)"},
        {"", "<r><ifex expression=\"1 + 1\"><a/></ifex><ifex expression=\"X\"><b/></ifex></r>", "r"},
        {"", "<r><ifex><a/></ifex><ifex expression=\"\"/></r>", "r(ifex(a) ifex[expression=])"},
        {"D=", "<r><ifdef name=\"D\"><a/></ifdef><ifndef name=\"D\"><b/></ifndef>"
               "<ifndef name=\"E\"><c/></ifndef></r>", "r(a c)"},
        {"M=b", "<r><switch name=\"M\"><case value=\"a,b\"><x/></case><default><y/></default>"
                "<case value=\"b\"><z/></case></switch></r>", "r(x)"},
        {"M=q", "<r><switch name=\"M\"><default><w/></default><case value=\"a\"><x/></case>"
                "<default><y/></default></switch></r>", "r(y)"},
        {"M=q", "<r><switch name=\"M\"><case value=\"a\"><x/></case></switch><after/></r>", "r(after)"},
        // Every case is processed, the chosen one is spliced in.
        {"M=a", "<r><switch name=\"M\"><case value=\"b\"><xmldef name=\"F\"><f/></xmldef></case>"
                "<case value=\"a\"><xmlput name=\"F\"/></case></switch></r>", "r(f)"},
        {"", "<r><![CDATA[kept]]><if A=\"\"><![CDATA[body]]></if></r>", "r([kept] [body])"},
        {"", "<r><plain a=\"$(A)\"><if x=\"\"><in/></if></plain></r>", "r(plain[a=$(A)](in))"},
    });
}

TEST(XmlPP, definitionsReachFollowingSiblingsAndTheirContentOnly)
{
    expectPasses({
        {"", "<r><define name=\"A\" value=\"1\"/>"
             "<if A=\"1\"><define name=\"B\" value=\"2\"/><ifdef name=\"B\"><in/></ifdef></if>"
             "<ifdef name=\"B\"><out/></ifdef>"
             "<s><define name=\"C\" value=\"1\"/><t><ifdef name=\"C\"><deep/></ifdef></t></s>"
             "<ifdef name=\"C\"><leaked/></ifdef><ifdef name=\"A\"><a/></ifdef></r>",
         "r(in s(t(deep)) a)"},
        {"", "<r><define value=\"1\"/></r>", "r", passError + "missing name in <define>"},
        {"", "<r><define name=\"x\"/></r>", "r", passError + "missing value or expression in <define>"},
    });

    // With expansion on, attributes show the definitions' values.
    expectPasses({
        {"", "<r><define name=\"H\" hex_expression=\"255\"/><define name=\"D\" expression=\"-1\"/>"
             "<define name=\"E\" expression=\"$(H) + 1\"/><define name=\"D\" expression=\"1/0\"/>"
             "<define name=\"Z\" hex_expression=\"0x1234567890\"/><define name=\"V\" value=\"$(H)\"/>"
             "<v h=\"$(H)\" d=\"$(D)\" e=\"$(E)\" z=\"$(Z)\" v=\"$(V)\" u=\"$(U)\"/></r>",
         "r(v[h=0xFF,d=4294967295,e=256,z=0x34567890,v=0xFF,u=$(U)])"},
        {"A=1;B=x=y;;C", "<r a=\"$(A)\" b=\"$(B)\" c=\"[$(C)]\" h=\"$(HostOS)\"/>", "r[a=1,b=x=y,c=[],h=linux]"},
    }, TempDir(), true);
}

TEST(XmlPP, forRepeatsItsChildrenWithTheCounter)
{
    const QString form = passError + forForm;
    const QString tooMany = passError + "<for> would make more than 65536 copies: " + forForm;
    expectPasses({
        {"", "<r><for index=\"k\" start=\"0\" end=\"3\" incr=\"1\" add=\"16\">"
             "<a n=\"$(k)\" l=\"$(k_alpha)\" h=\"$(k_ap_hex)\"/><b x=\"$(k_hex)\" o=\"$(HostOS)\"/></for>"
             "<after/></r>",
         "r(a[n=0,l=A,h=0x10] b[x=0x0,o=linux] a[n=1,l=B,h=0x11] b[x=0x1,o=linux] "
         "a[n=2,l=C,h=0x12] b[x=0x2,o=linux] after)"},
        {"S=1", "<r><for index=\"i\" start=\"10\" end=\"0x1E\" incr=\"8\" mul=\"2\" sub=\"$(S)\">"
                "<e v=\"$(i):$(i_ap)\"><in w=\"$(i_hex)\"/></e></for></r>",
         "r(e[v=10:19](in[w=0xA]) e[v=18:35](in[w=0x12]) e[v=26:51](in[w=0x1A]))"},
        {"", "<r><for index=\"i\" start=\"0\" end=\"2\" incr=\"1\" sub=\"1\"><e v=\"$(i_ap)\"/></for></r>",
         "r(e[v=4294967295] e[v=0])"},
        {"", "<r><for index=\"i\" start=\"3\" end=\"3\" incr=\"1\"><e/></for></r>", "r"},
        {"", "<r><for index=\"i\" start=\"X\" end=\"2\" incr=\"1\"><e v=\"$(i)\"/></for></r>",
         "r(e[v=0] e[v=1])"}, // a bound that fails to evaluate counts as 0
        {"", "<r><for index=\"i\" start=\"0\" end=\"2\"><e/></for></r>", "r", form},
        {"", "<r><for index=\"i\" start=\"0\" end=\"2\" incr=\"1\"/></r>", "r", form},
        {"", "<r><for index=\"i\" start=\"0\" end=\"2\" incr=\"0\"><e/></for></r>", "r",
         passError + "<for> with incr=\"0\" never ends: " + forForm},
        {"", "<r><for index=\"i\" start=\"0xFFFFFFF0\" end=\"0xFFFFFFFF\" incr=\"0x80000000\"><e v=\"$(i_hex)\"/></for></r>",
         "r(e[v=0xFFFFFFF0])"}, // no wrap-around
        // The progression wraps around instead of overflowing.
        {"", "<r><for index=\"i\" start=\"0\" end=\"2\" incr=\"1\" mul=\"0x7FFFFFFFFFFFFFFF\" add=\"1\">"
             "<e v=\"$(i_ap)\"/></for></r>", "r(e[v=1] e[v=0])"},
        {"", "<r><for index=\"i\" start=\"0\" end=\"2\" incr=\"1\" sub=\"0x8000000000000000\">"
             "<e v=\"$(i_ap_hex)\"/></for></r>", "r(e[v=0x0] e[v=0x1])"},
        // Iterations times element children may not exceed 65536.
        {"", "<r><for index=\"i\" start=\"0\" end=\"0xFFFFFFFF\" incr=\"1\"><e/></for><after/></r>", "r(after)", tooMany},
        {"", "<r><for index=\"i\" start=\"1\" end=\"0x8002\" incr=\"1\"><e/><f/></for></r>", "r", tooMany},
        // Only elements are copied, up to the first child that is not one.
        {"", "<r><for index=\"i\" start=\"0\" end=\"1\" incr=\"1\"><a><![CDATA[x]]><b/></a>"
             "<![CDATA[y]]><c/></for></r>", "r(a(b))"},
        // Copies are processed afterwards with the surrounding definitions.
        {"T=1", "<r><for index=\"i\" start=\"0\" end=\"2\" incr=\"1\"><if T=\"1\"><x v=\"$(i)\"/></if>"
                "<ifdef name=\"i\"><leaked/></ifdef></for></r>", "r(x[v=0] x[v=1])"},
    });
}

TEST(XmlPP, xmlputPastesStoredFragments)
{
    expectPasses({
        {"", "<r><xmlput name=\"F\"/><xmldef name=\"F\"><p v=\"1\"/><![CDATA[c]]><q/></xmldef>"
             "<xmlput name=\"F\"/><xmlput name=\"F\"/></r>",
         "r(xmlput[name=F] p[v=1] [c] q p[v=1] [c] q)", passError + "xmlput cannot fine xmldef named F"},
        {"", "<r><xmldef><k/></xmldef><xmlput><k/></xmlput></r>", "r(xmldef(k) xmlput(k))"},
        {"V=0", "<r><xmldef name=\"F\"><p v=\"$(V)\"/></xmldef>"
                "<xmlput name=\"F\" expand_macros=\"1\" macros=\"V=7\"/><xmlput name=\"F\"/></r>",
         "r(p[v=7] p[v=$(V)])"},
        {"", "<r><xmldef name=\"S\"><s/><xmlput name=\"S\"/></xmldef><xmlput name=\"S\"/></r>", "r(s xmlput[name=S])",
         passError + "xmlput of xmldef named S inside its own fragment is not pasted"},
        // A fragment's directives are processed where it is pasted.
        {"", "<r><xmldef name=\"F\"><ifdef name=\"W\"><w/></ifdef></xmldef>"
             "<xmlput name=\"F\"/><define name=\"W\" value=\"\"/><xmlput name=\"F\"/></r>", "r(w)"},
    });
}

// The reader, the pass and the writer each walk the tree without recursion.
TEST(XmlPP, deepDocumentsAreReadPreprocessedAndWrittenWithoutRecursion)
{
    const int depth = 50000;
    TempDir dir;
    dir.write("deep.xml", QByteArray("<e><if A=\"\">").repeated(depth)
                              + "<define name=\"X\" value=\"1\"/><ifdef name=\"X\"><leaf/></ifdef>"
                              + QByteArray("</if></e>").repeated(depth));
    RecordingDocument document;
    ASSERT_TRUE(XmlPP::preprocessFile(document, dir.qpath() + "/deep.xml", "", false));
    EXPECT_EQ(written(document, 0), QByteArray("<e>").repeated(depth) + "<leaf/>" + QByteArray("</e>").repeated(depth));
    EXPECT_TRUE(document.messages.isEmpty());
}

TEST(XmlPPInclude, includedRootsTakeTheIncludesPlace)
{
    IncludeFiles files;
    expectPasses({
        {"", "<r><a/><include filename=\"env.xml\"/><b/></r>", "r(a x y b)"},
        {"", "<r><include filename=\"plain.xml\"/></r>", "r(box[a=1](x))"},
        {"", "<r><include filename=\"plain.xml\" no_root=\"1\"/></r>", "r(x)"},
        {"", "<r><include filename=\"sub/inner.xml\"/></r>", "r(inner(leaf))"},
        {"", "<r><include filename=\"plain.xml\" inherit_attributes=\"n;;missing\" n=\"N\"/></r>",
         "r(box[a=1,n=N,missing=(none)](x))"},
        {"", "<r><include filename=\"macros.xml\"/></r>", "r(m[a=$(A)](c[b=$(B)]))"},
        {"", "<r><include filename=\"macros.xml\" expand_macros=\"1\" macros=\"A=1;\nB=2\"/></r>", "r(m[a=1](c[b=2]))"},
        // Definitions made in an included file stay there.
        {"", "<r><include filename=\"defines.xml\"/><ifdef name=\"X\"><out/></ifdef></r>", "r(in)"},
        // Fragments defined in an included file can be pasted later.
        {"", "<r><include filename=\"fragment.xml\"/><xmlput name=\"F\"/></r>", "r(f)"},
        // The document's own root may be an include.
        {"", "<include filename=\"plain.xml\"/>", "box[a=1](x)"},
        {"", "<include filename=\"env.xml\"/>", "x y"},
    }, files);

    // With expansion on, the root's attributes see the current definitions.
    expectPasses({
        {"A=5", "<r><include filename=\"macros.xml\"/></r>", "r(m[a=5](c[b=$(B)]))"},
        {"A=5", "<r><include filename=\"macros.xml\" macros=\"B=3\"/></r>", "r(m[a=5](c[b=3]))"},
    }, files, true);
}

TEST(XmlPPInclude, failedIncludesAreReportedAndKeptAndAFailedMainFileFailsThePass)
{
    IncludeFiles files;
    const QString missing = files.path("missing.xml");
    const QString unreadable = passError + "error \"couldn't read " + missing + "\" in include file " + missing
        + " line:0";
    const auto included = [&files](const char *name) {
        return passError + "error: include file '" + files.path(name) + "' is already being included";
    };
    expectPasses({
        {"", "<r><include filename=\"missing.xml\"><c/></include></r>", "r(include[filename=missing.xml](c))",
         unreadable},
        {"", "<r><include filename=\"missing.xml\" no_root=\"\"><c/></include></r>", "r(c)", unreadable},
        {"", "<r><include filename=\"bad.xml\"/></r>", "r(include[filename=bad.xml])",
         passError + "error: include file '" + files.path("bad.xml") + "' is empty"},
        {"", "<r><include filename=\"late.xml\"/></r>", "r(include[filename=late.xml])",
         passError + "error \"bad tagName\" in include file " + files.path("late.xml") + " line:1"},
        {"", "<r><include/></r>", "r(include)", passError + "missing filename in <include>"},
        {"", "<r><include filename=\"ping.xml\"/></r>", "r(ping(pong(include[filename=ping.xml])))",
         included("ping.xml")},
        {"", "<r><include filename=\"main.xml\"/></r>", "r(include[filename=main.xml])", included("main.xml")},
    }, files);

    // A main file that cannot be loaded fails the whole pass.
    RecordingDocument document;
    EXPECT_FALSE(XmlPP::preprocessFile(document, files.path("none.xml"), "", false));
    EXPECT_EQ(QString::fromLatin1(document.errorMessage()), "couldn't read " + files.path("none.xml"));
}
