#pragma once

#include <QByteArray>
#include <QList>

#include <functional>
#include <map>

class Diagnostics;

// A table-driven command-line parser. Options are registered with an action
// or with a flag and an argument to set; everything else goes to
// handleArgument(), except "@file", which reads more arguments from an
// indirect option file in place (nested up to 100 files deep, and at most
// 1000 files in one run; past either limit no further file is read).
class ArgParse {
public:
    enum ArgumentKind {
        NoArgument = 0,       // the option stands alone
        NextArgument = 1,     // the next element of the vector is its argument
        AttachedArgument = 2, // the rest of the same element is its argument; matches by prefix
    };
    // Called with the option text and its argument (null when it takes none).
    using Action = std::function<void(const QByteArray &option, const QByteArray *argument)>;

    struct OptionDefinition {
        ArgumentKind kind = NoArgument;
        bool isAction = false;
        Action action;
        QByteArray *argumentTarget = nullptr; // receives the argument (null for NoArgument)
        bool *flagTarget = nullptr;           // set to true
        int pass = 1;
    };

    explicit ArgParse(Diagnostics &diagnostics) : m_diagnostics(diagnostics) {}
    virtual ~ArgParse() = default;

    // Registers an option; registering the same text again replaces it.
    void addOption(const QByteArray &option, const OptionDefinition &definition) { m_options[option] = definition; }
    void parse(const QList<QByteArray> &arguments, int pass);
    void parseIndirectFile(const QByteArray &path, int pass);
    // Splits one line of an indirect file at spaces, with "quoted" arguments;
    // on a malformed line reports it and leaves out empty.
    void tokenize(const QByteArray &path, int line, const char *text, QList<QByteArray> &out);

    int indirectDepth() const { return m_indirectDepth; }

protected:
    virtual void handleArgument(const QByteArray &argument) = 0;
    Diagnostics &diagnostics() { return m_diagnostics; }

private:
    void act(const QByteArray &option, const OptionDefinition &definition, const QByteArray *argument, int pass);

    std::map<QByteArray, OptionDefinition> m_options; // in byte order of the option texts
    int m_indirectDepth = 0;
    int m_indirectFilesRead = 0;
    bool m_indirectLimitReached = false;
    Diagnostics &m_diagnostics;
};
