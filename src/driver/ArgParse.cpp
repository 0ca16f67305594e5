#include "driver/ArgParse.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>

#include "platform/Diagnostics.h"
#include "platform/FileHandle.h"

namespace {

constexpr int MaximumIndirectDepth = 100;
// Files that name each other more than once multiply the reads at every
// level (a file holding "@in @in" under the name "in" alone would make 2^100
// of them), so the files read in one run are counted as well.
constexpr int MaximumIndirectFiles = 1000;
constexpr int MaximumArgumentsPerLine = 256;
constexpr int LineBufferSize = 1024;

} // namespace

void ArgParse::parse(const QList<QByteArray> &arguments, int pass)
{
    for (qsizetype i = 0; i < arguments.size(); ++i) {
        const QByteArray &element = arguments[i];
        auto found = m_options.find(element);
        if (found != m_options.end()) {
            const OptionDefinition &definition = found->second;
            QByteArray argument;
            if (definition.kind == NextArgument) {
                if (++i == arguments.size()) {
                    m_diagnostics.error("expected argument for option " + arguments.last());
                    return;
                }
                argument = arguments[i];
            } else if (definition.kind == AttachedArgument) {
                argument = QByteArray("");
            }
            act(element, definition, definition.kind == NoArgument ? nullptr : &argument, pass);
            continue;
        }
        auto prefixed = std::find_if(m_options.begin(), m_options.end(), [&](const auto &option) {
            return option.second.kind == AttachedArgument && element.startsWith(option.first);
        });
        if (prefixed != m_options.end()) {
            const QByteArray argument = element.mid(prefixed->first.size());
            act(prefixed->first, prefixed->second, &argument, pass);
        } else if (element.startsWith('@')) {
            parseIndirectFile(element.mid(1), pass);
        } else if (element.startsWith('-')) {
            m_diagnostics.error("unrecognised option " + element);
        } else if (pass == 1) {
            handleArgument(element);
        }
    }
}

void ArgParse::act(const QByteArray &option, const OptionDefinition &definition, const QByteArray *argument, int pass)
{
    if (definition.pass != pass)
        return;
    if (definition.isAction) {
        definition.action(option, argument);
        return;
    }
    if (definition.flagTarget)
        *definition.flagTarget = true;
    if (definition.argumentTarget)
        *definition.argumentTarget = argument ? *argument : QByteArray();
}

void ArgParse::parseIndirectFile(const QByteArray &path, int pass)
{
    // Once a limit is met it is reported once and holds for the rest of the
    // run: every later indirect file is passed over.
    if (m_indirectLimitReached)
        return;
    if (m_indirectDepth == MaximumIndirectDepth || m_indirectFilesRead == MaximumIndirectFiles) {
        m_indirectLimitReached = true;
        m_diagnostics.error("too many indirect files");
        return;
    }
    std::FILE *file = std::fopen(path.constData(), "rt");
    if (!file) {
        m_diagnostics.error("can't open indirect file " + path + ": " + errorText(errno));
        return;
    }
    ++m_indirectDepth;
    ++m_indirectFilesRead;
    char buffer[LineBufferSize];
    int piece = 0;
    while (std::fgets(buffer, sizeof buffer, file)) {
        ++piece;
        if (buffer[0] == '#')
            continue;
        QList<QByteArray> arguments;
        tokenize(path, piece, buffer, arguments);
        if (!arguments.isEmpty())
            parse(arguments, pass);
    }
    std::fclose(file);
    --m_indirectDepth;
}

void ArgParse::tokenize(const QByteArray &path, int line, const char *text, QList<QByteArray> &out)
{
    out.clear();
    const char *end = text;
    while (*end && *end != '\n')
        ++end;
    const char *p = text;
    for (;;) {
        while (p < end && *p == ' ')
            ++p;
        if (p == end)
            return;
        const char *start = p;
        if (*p == '"') {
            const char *close = static_cast<const char *>(std::memchr(p + 1, '"', size_t(end - p - 1)));
            if (!close) {
                m_diagnostics.error("unterminated string in indirect file " + path + '(' + QByteArray::number(line)
                                    + ')');
                out.clear();
                return;
            }
            out.append(QByteArray(start + 1, close - start - 1));
            p = close + 1;
        } else {
            while (p < end && *p != ' ')
                ++p;
            out.append(QByteArray(start, p - start));
        }
        if (out.size() > MaximumArgumentsPerLine) {
            m_diagnostics.error("more than 256 arguments on one line of indirect file " + path + '('
                                + QByteArray::number(line) + ')');
            out.clear();
            return;
        }
    }
}
