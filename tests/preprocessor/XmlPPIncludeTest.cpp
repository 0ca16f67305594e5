#include <gtest/gtest.h>

#include "PreprocessSupport.h"

namespace {

// A directory of files to include, preprocessed from its main.xml.
class IncludeFiles {
public:
    IncludeFiles()
    {
        m_dir.write("env.xml", "<envelope><x/><y/></envelope>");
        m_dir.write("plain.xml", "<box a=\"1\"><x/></box>");
        m_dir.write("macros.xml", "<m a=\"$(A)\"><c b=\"$(B)\"/></m>");
        m_dir.write("bad.xml", "<a b='x'/>");
        m_dir.write("late.xml", "<ok/>\n<a b='x'/>");
        m_dir.write("defines.xml", "<envelope><define name=\"X\" value=\"1\"/><ifdef name=\"X\"><in/></ifdef></envelope>");
        m_dir.write("sub/inner.xml", "<inner><include filename=\"leaf.xml\"/></inner>");
        m_dir.write("sub/leaf.xml", "<leaf/>");
        m_dir.write("self.xml", "<s><include filename=\"self.xml\"/></s>");
        m_dir.write("ping.xml", "<ping><include filename=\"pong.xml\"/></ping>");
        m_dir.write("pong.xml", "<pong><include filename=\"ping.xml\"/></pong>");
        m_dir.write("fragment.xml", "<envelope><xmldef name=\"F\"><f/></xmldef></envelope>");
    }

    QString path(const char *name) const { return m_dir.qpath() + '/' + name; }
    const TempDir &dir() const { return m_dir; }

private:
    TempDir m_dir;
};

} // namespace

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
        {"", "<r><include filename=\"macros.xml\" expand_macros=\"1\"/></r>", "r(m[a=$(A)](c[b=$(B)]))"},
        {"", "<r><include filename=\"macros.xml\" expand_macros=\"1\" macros=\"A=1;\nB=2\"/></r>", "r(m[a=1](c[b=2]))"},
        // Definitions made in an included file stay there.
        {"", "<r><include filename=\"defines.xml\"/><ifdef name=\"X\"><out/></ifdef></r>", "r(in)"},
        // Fragments defined in an included file can be pasted later.
        {"", "<r><include filename=\"fragment.xml\"/><xmlput name=\"F\"/></r>", "r(f)"},
        // The document's own root may be an include.
        {"", "<include filename=\"plain.xml\"/>", "box[a=1](x)"},
        {"", "<include filename=\"env.xml\"/>", "x y"},
    }, files.dir());

    // With expansion on, the root's attributes see the current definitions.
    expectPasses({
        {"A=5", "<r><include filename=\"macros.xml\"/></r>", "r(m[a=5](c[b=$(B)]))"},
        {"A=5", "<r><include filename=\"macros.xml\" macros=\"B=3\"/></r>", "r(m[a=5](c[b=3]))"},
    }, files.dir(), true);
}

TEST(XmlPPInclude, failedIncludesAreReportedAndKept)
{
    IncludeFiles files;
    const auto unreadable = [&files](const char *name) {
        return passError + "error \"couldn't read " + files.path(name) + "\" in include file " + files.path(name)
            + " line:0";
    };
    const auto included = [&files](const char *name) {
        return passError + "error: include file '" + files.path(name) + "' is already being included";
    };
    expectPasses({
        {"", "<r><include filename=\"missing.xml\"><c/></include></r>", "r(include[filename=missing.xml](c))",
         unreadable("missing.xml")},
        {"", "<r><include filename=\"missing.xml\" no_root=\"\"><c/></include></r>", "r(c)", unreadable("missing.xml")},
        {"", "<r><include filename=\"bad.xml\"/></r>", "r(include[filename=bad.xml])",
         passError + "error: include file '" + files.path("bad.xml") + "' is empty"},
        {"", "<r><include filename=\"late.xml\"/></r>", "r(include[filename=late.xml])",
         passError + "error \"bad tagName\" in include file " + files.path("late.xml") + " line:1"},
        {"", "<r><include/></r>", "r(include)", passError + "missing filename in <include>"},
        {"", "<r><include filename=\"self.xml\"/></r>", "r(s(include[filename=self.xml]))", included("self.xml")},
        {"", "<r><include filename=\"ping.xml\"/></r>", "r(ping(pong(include[filename=ping.xml])))",
         included("ping.xml")},
        {"", "<r><include filename=\"main.xml\"/></r>", "r(include[filename=main.xml])", included("main.xml")},
    }, files.dir());
}

TEST(XmlPPInclude, aFileThatCannotBeLoadedFailsThePass)
{
    IncludeFiles files;
    RecordingDocument document;
    EXPECT_FALSE(XmlPP::preprocessFile(document, files.path("none.xml"), "", false));
    EXPECT_EQ(QString::fromLatin1(document.errorMessage()), "couldn't read " + files.path("none.xml"));
    EXPECT_FALSE(XmlPP::preprocessFile(document, files.path("bad.xml"), "", false));
    EXPECT_STREQ(document.errorMessage(), "bad tagName");
}
