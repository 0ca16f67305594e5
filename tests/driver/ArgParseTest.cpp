#include <gtest/gtest.h>

#include "CapturedDiagnostics.h"
#include "TempDir.h"
#include "driver/ArgParse.h"

namespace {

// Records what the parser does, as one readable line per event.
class RecordingParser : public ArgParse {
public:
    explicit RecordingParser(Diagnostics &diagnostics) : ArgParse(diagnostics)
    {
        OptionDefinition plain;
        plain.isAction = true;
        plain.action = [this](const QByteArray &option, const QByteArray *argument) {
            events.append("action " + option + (argument ? " [" + *argument + "]" : QByteArray()));
        };
        addOption("-x", plain);
        OptionDefinition next = plain;
        next.kind = NextArgument;
        addOption("-o", next);
        OptionDefinition attached = plain;
        attached.kind = AttachedArgument;
        addOption("-D", attached);
        OptionDefinition laterPass = plain;
        laterPass.pass = 2;
        addOption("-late", laterPass);
        OptionDefinition flag;
        flag.flagTarget = &flagSet;
        flag.argumentTarget = &flagArgument;
        flag.kind = NextArgument;
        addOption("-f", flag);
    }
    QList<QByteArray> events;
    bool flagSet = false;
    QByteArray flagArgument;

protected:
    void handleArgument(const QByteArray &argument) override { events.append("argument " + argument); }
};

} // namespace

TEST(ArgParse, tokenizesIndirectLinesAtSpacesWithQuotes)
{
    struct Row {
        const char *line;
        QList<QByteArray> arguments;
    } rows[] = {
        {"-x pkg outdir\n", {"-x", "pkg", "outdir"}},
        {"-v \"a b\" c", {"-v", "a b", "c"}},
        {"   lead  and trail   \n", {"lead", "and", "trail"}},
        {"\"a\"b", {"a", "b"}},
        {"x\"y\"z", {"x\"y\"z"}},
        {"\"\" \"\"", {"", ""}},
        {"tab\there cr\r\n", {"tab\there", "cr\r"}},
        {" # -x", {"#", "-x"}},
        {"stops\nat newline", {"stops"}},
        {"", {}},
        {"   ", {}},
    };
    CapturedDiagnostics captured;
    RecordingParser parser(captured.diagnostics);
    for (const Row &row : rows) {
        QList<QByteArray> out;
        parser.tokenize("f", 1, row.line, out);
        EXPECT_EQ(out, row.arguments) << row.line;
    }
    EXPECT_EQ(captured.text(), "") << "well-formed lines report nothing";
}

TEST(ArgParse, dropsMalformedLinesWithAnError)
{
    CapturedDiagnostics captured;
    RecordingParser parser(captured.diagnostics);
    QList<QByteArray> out;
    parser.tokenize("f", 3, "before \"never closed", out);
    EXPECT_TRUE(out.isEmpty());
    QByteArray many;
    for (int i = 0; i < 256; ++i)
        many += "a ";
    parser.tokenize("f", 4, many.constData(), out);
    EXPECT_EQ(out.size(), 256) << "256 arguments fit on a line";
    parser.tokenize("f", 5, (many + "one-too-many").constData(), out);
    EXPECT_TRUE(out.isEmpty());
    EXPECT_EQ(captured.text(), "mkpkg: error: unterminated string in indirect file f(3)\n"
                               "mkpkg: error: more than 256 arguments on one line of indirect file f(5)\n");
    EXPECT_EQ(captured.diagnostics.errors(), 2);
}

TEST(ArgParse, matchesOptionsByKindAndPass)
{
    CapturedDiagnostics captured;
    RecordingParser parser(captured.diagnostics);
    parser.parse({"-x", "-o", "-x", "-Dname=1", "-D", "-late", "file", "-q", "-", "-f", "value"}, 1);
    EXPECT_EQ(parser.events, (QList<QByteArray>{"action -x", "action -o [-x]", "action -D [name=1]", "action -D []",
                                                "argument file"}));
    EXPECT_TRUE(parser.flagSet);
    EXPECT_EQ(parser.flagArgument, "value");
    EXPECT_EQ(captured.text(), "mkpkg: error: unrecognised option -q\nmkpkg: error: unrecognised option -\n");

    parser.events.clear();
    parser.parse({"-late", "ignored-in-pass-2", "-o"}, 2);
    EXPECT_EQ(parser.events, QList<QByteArray>{"action -late"}) << "positional arguments act in pass 1 only";
    EXPECT_TRUE(captured.text().endsWith("mkpkg: error: expected argument for option -o\n"));

    parser.events.clear();
    parser.parse({"a", "-o"}, 1);
    parser.parse({"-o", "b", "c"}, 1);
    EXPECT_EQ(parser.events, (QList<QByteArray>{"argument a", "action -o [b]", "argument c"}));
}

TEST(ArgParse, readsIndirectFilesInPlaceWithCommentsAndLinePieces)
{
    TempDir dir;
    const QByteArray longLine = QByteArray(1023, 'L') + QByteArray("tail");
    dir.write("opts", "# -x comment\n-x first \"two words\"\n\n@" + dir.file("inner") + "\n" + longLine
                          + "\nlast   ");
    dir.write("inner", "-o\nnested\n-o from-inner\n");
    CapturedDiagnostics captured;
    RecordingParser parser(captured.diagnostics);
    parser.parse({"before", "@" + dir.file("opts"), "after", "@" + dir.file("missing")}, 1);
    EXPECT_EQ(parser.events,
              (QList<QByteArray>{"argument before", "action -x", "argument first", "argument two words",
                                 "argument nested", "action -o [from-inner]", "argument " + QByteArray(1023, 'L'),
                                 "argument tail", "argument last", "argument after"}));
    EXPECT_EQ(captured.text(), "mkpkg: error: expected argument for option -o\n"
                               "mkpkg: error: can't open indirect file "
                                   + dir.file("missing") + ": No such file or directory\n");
    EXPECT_EQ(parser.indirectDepth(), 0);
}

TEST(ArgParse, stopsNestingIndirectFilesAtOneHundred)
{
    TempDir dir;
    dir.write("self", "x\n@" + dir.file("self") + "\n");
    CapturedDiagnostics captured;
    RecordingParser parser(captured.diagnostics);
    parser.parse({"@" + dir.file("self")}, 1);
    EXPECT_EQ(parser.events.size(), 100) << "each of the 100 open levels reads its first line";
    EXPECT_EQ(captured.text(), "mkpkg: error: too many indirect files\n");
    EXPECT_EQ(parser.indirectDepth(), 0);
}
