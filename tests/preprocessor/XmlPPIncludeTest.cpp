#include <gtest/gtest.h>

#include "PreprocessSupport.h"
#include "macros/MacroTable.h"

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

    Preprocessed run(const char *text, const char *definitions = "", bool expand = false)
    {
        m_dir.write("main.xml", text);
        RecordingDocument document;
        if (!XmlPP::preprocessFile(document, path("main.xml"), QString::fromLatin1(definitions), expand))
            return {"(not loaded)", {}};
        return {outline(document.root()), document.messages};
    }

private:
    TempDir m_dir;
};

} // namespace

TEST(XmlPPInclude, includedRootsTakeTheIncludesPlace)
{
    IncludeFiles files;
    const struct {
        const char *text;
        const char *tree;
    } cases[] = {
        {"<r><a/><include filename=\"env.xml\"/><b/></r>", "r(a x y b)"},
        {"<r><include filename=\"plain.xml\"/></r>", "r(box[a=1](x))"},
        {"<r><include filename=\"plain.xml\" no_root=\"1\"/></r>", "r(x)"},
        {"<r><include filename=\"sub/inner.xml\"/></r>", "r(inner(leaf))"},
        {"<r><include filename=\"plain.xml\" inherit_attributes=\"n;;missing\" n=\"N\"/></r>",
         "r(box[a=1,n=N,missing=(none)](x))"},
        {"<r><include filename=\"macros.xml\"/></r>", "r(m[a=$(A)](c[b=$(B)]))"},
        {"<r><include filename=\"macros.xml\" expand_macros=\"1\"/></r>", "r(m[a=$(A)](c[b=$(B)]))"},
        {"<r><include filename=\"macros.xml\" expand_macros=\"1\" macros=\"A=1;\nB=2\"/></r>",
         "r(m[a=1](c[b=2]))"},
        // Definitions made in an included file stay there.
        {"<r><include filename=\"defines.xml\"/><ifdef name=\"X\"><out/></ifdef></r>", "r(in)"},
        // Fragments defined in an included file can be pasted later.
        {"<r><include filename=\"fragment.xml\"/><xmlput name=\"F\"/></r>", "r(f)"},
        // The document's own root may be an include.
        {"<include filename=\"plain.xml\"/>", "box[a=1](x)"},
        {"<include filename=\"env.xml\"/>", "x y"},
    };
    for (const auto &c : cases) {
        const Preprocessed result = files.run(c.text);
        EXPECT_EQ(result.tree, QByteArray(c.tree)) << c.text;
        EXPECT_TRUE(result.messages.isEmpty()) << c.text << result.messages.join('|').toStdString();
    }

    // With expansion on, the root's attributes see the current definitions.
    EXPECT_EQ(files.run("<r><include filename=\"macros.xml\"/></r>", "A=5", true).tree,
              "r(m[a=5](c[b=$(B)]))");
    EXPECT_EQ(files.run("<r><include filename=\"macros.xml\" macros=\"B=3\"/></r>", "A=5", true).tree,
              "r(m[a=5](c[b=3]))");
}

TEST(XmlPPInclude, theUsersTemplateFileIncludesTheInstallationsList)
{
    IncludeFiles files;
    TempDir studio;
    studio.write("targets/project_templates.xml",
                 "<!DOCTYPE Project_Templates_File>\n<projects>\n"
                 "  <project name=\"Executable\"/>\n  <project name=\"Library\"/>\n</projects>\n");
    MacroTable::instance().setMacro("StudioDir", studio.qpath());
    const Preprocessed result = files.run(
        "<!DOCTYPE Project_Templates_File>\n<projects>\n"
        "  <include filename=\"$(StudioDir)/targets/project_templates.xml\" no_root=\"1\" />\n"
        "</projects>\n");
    EXPECT_EQ(result.tree, "projects(project[name=Executable] project[name=Library])");
    EXPECT_TRUE(result.messages.isEmpty());
}

TEST(XmlPPInclude, failedIncludesAreReportedAndKept)
{
    IncludeFiles files;
    const QString prefix = "XmlPP::processConditionals(): ";
    const struct {
        const char *text;
        const char *tree;
        QString message;
    } cases[] = {
        {"<r><include filename=\"missing.xml\"><c/></include></r>", "r(include[filename=missing.xml](c))",
         prefix + "error \"couldn't read " + files.path("missing.xml") + "\" in include file "
             + files.path("missing.xml") + " line:0"},
        {"<r><include filename=\"missing.xml\" no_root=\"\"><c/></include></r>", "r(c)",
         prefix + "error \"couldn't read " + files.path("missing.xml") + "\" in include file "
             + files.path("missing.xml") + " line:0"},
        {"<r><include filename=\"bad.xml\"/></r>", "r(include[filename=bad.xml])",
         prefix + "error: include file '" + files.path("bad.xml") + "' is empty"},
        {"<r><include filename=\"late.xml\"/></r>", "r(include[filename=late.xml])",
         prefix + "error \"bad tagName\" in include file " + files.path("late.xml") + " line:1"},
        {"<r><include/></r>", "r(include)", prefix + "missing filename in <include>"},
        {"<r><include filename=\"self.xml\"/></r>", "r(s(include[filename=self.xml]))",
         prefix + "error: include file '" + files.path("self.xml") + "' is already being included"},
        {"<r><include filename=\"ping.xml\"/></r>", "r(ping(pong(include[filename=ping.xml])))",
         prefix + "error: include file '" + files.path("ping.xml") + "' is already being included"},
        {"<r><include filename=\"main.xml\"/></r>", "r(include[filename=main.xml])",
         prefix + "error: include file '" + files.path("main.xml") + "' is already being included"},
    };
    for (const auto &c : cases) {
        const Preprocessed result = files.run(c.text);
        EXPECT_EQ(result.tree, QByteArray(c.tree)) << c.text;
        EXPECT_EQ(result.messages, QStringList{c.message}) << c.text;
    }
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
