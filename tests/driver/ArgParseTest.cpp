#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>

#include "TempDir.h"
#include "driver/ArgParse.h"
#include "platform/Diagnostics.h"

// The parser under the tool's options; what the tool makes of its command
// line is tested by running it (tests/cli).

namespace {

// Records what the parser does, as one readable line per event, and the
// diagnostics it writes.
class RecordingParser : public ArgParse {
public:
    RecordingParser() : ArgParse(m_diagnostics)
    {
        OptionDefinition plain;
        plain.isAction = true;
        plain.action = [this](const QByteArray &option, const QByteArray *argument) {
            events.append("action " + option + (argument ? " [" + *argument + "]" : QByteArray()));
        };
        addOption("-x", plain);
        addOption("-o", {NextArgument, true, plain.action});
        addOption("-D", {AttachedArgument, true, plain.action});
        addOption("-late", {NoArgument, true, plain.action, nullptr, nullptr, 2});
        addOption("-f", {NextArgument, false, {}, &flagArgument, &flagSet});
    }
    ~RecordingParser() override
    {
        std::fclose(m_stream);
        std::free(m_text);
    }
    QByteArray diagnosed()
    {
        std::fflush(m_stream);
        return QByteArray(m_text, qsizetype(m_size));
    }

    QList<QByteArray> events;
    bool flagSet = false;
    QByteArray flagArgument;

protected:
    void handleArgument(const QByteArray &argument) override { events.append("argument " + argument); }

private:
    char *m_text = nullptr;
    size_t m_size = 0;
    std::FILE *m_stream = open_memstream(&m_text, &m_size);
    Diagnostics m_diagnostics{"mkpkg", m_stream};
};

} // namespace

TEST(ArgParse, tokenizesIndirectLinesAtSpacesWithQuotesAndDropsMalformedOnes)
{
    const QByteArray many = QByteArray("a ").repeated(256);
    const struct {
        QByteArray line;
        QList<QByteArray> arguments;
    } rows[] = {
        {"-v \"a b\" c", {"-v", "a b", "c"}},
        {"   lead  and trail   \n", {"lead", "and", "trail"}},
        {"\"a\"b", {"a", "b"}},
        {"x\"y\"z", {"x\"y\"z"}},
        {"\"\" \"\"", {"", ""}},
        {"tab\there cr\r\n", {"tab\there", "cr\r"}},
        {" # -x", {"#", "-x"}},
        {"stops\nat newline", {"stops"}},
        {"   ", {}},
        {"before \"never closed", {}},
        {many, QList<QByteArray>(256, "a")},
        {many + "one-too-many", {}},
    };
    RecordingParser parser;
    int line = 0;
    for (const auto &row : rows) {
        QList<QByteArray> out{"left over"};
        parser.tokenize("f", ++line, row.line.constData(), out);
        EXPECT_EQ(out, row.arguments) << row.line.constData();
    }
    EXPECT_EQ(parser.diagnosed(), "mkpkg: error: unterminated string in indirect file f(10)\n"
                                  "mkpkg: error: more than 256 arguments on one line of indirect file f(12)\n");
}

TEST(ArgParse, matchesOptionsByKindAndPass)
{
    RecordingParser parser;
    parser.parse({"-x", "-o", "-x", "-Dname=1", "-D", "-late", "file", "-q", "-", "-f", "value"}, 1);
    EXPECT_EQ(parser.events, (QList<QByteArray>{"action -x", "action -o [-x]", "action -D [name=1]", "action -D []",
                                                "argument file"}));
    EXPECT_TRUE(parser.flagSet);
    EXPECT_EQ(parser.flagArgument, "value");

    parser.events.clear();
    parser.parse({"-late", "ignored-in-pass-2", "-o"}, 2);
    EXPECT_EQ(parser.events, QList<QByteArray>{"action -late"}) << "positional arguments act in pass 1 only";
    EXPECT_TRUE(parser.diagnosed().endsWith("mkpkg: error: expected argument for option -o\n"));
}

TEST(ArgParse, readsIndirectFilesInPlaceWithCommentsNestedFilesAndLinePieces)
{
    TempDir dir;
    const QByteArray longLine = QByteArray(1023, 'L') + QByteArray("tail");
    dir.write("opts", "# -x comment\n-x first \"two words\"\n\n@" + dir.file("inner") + "\n" + longLine + "\nlast   ");
    dir.write("inner", "-o\nnested\n-o from-inner\n");
    RecordingParser parser;
    parser.parse({"before", "@" + dir.file("opts"), "after"}, 1);
    EXPECT_EQ(parser.events,
              (QList<QByteArray>{"argument before", "action -x", "argument first", "argument two words",
                                 "argument nested", "action -o [from-inner]", "argument " + QByteArray(1023, 'L'),
                                 "argument tail", "argument last", "argument after"}));
    EXPECT_EQ(parser.diagnosed(), "mkpkg: error: expected argument for option -o\n");
    EXPECT_EQ(parser.indirectDepth(), 0);
}
