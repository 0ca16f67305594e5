#pragma once

#include <QString>

// Thrown by the expression engine for every syntax, lookup and evaluation
// error; the public evaluation operations turn it into a failure flag.
class ParserException {
public:
    explicit ParserException(const QString &message) : m_message(message) {}
    const QString &message() const { return m_message; }

private:
    QString m_message;
};
