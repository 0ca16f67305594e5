#pragma once

#include <QByteArray>
#include <QString>

#include <exception>

// The failure of a start-up step that cannot go on, carrying its text.
class HException : public std::exception {
public:
    explicit HException(const QString &text) : m_text(text), m_bytes(text.toLocal8Bit()) {}

    const QString &text() const { return m_text; }
    const char *what() const noexcept override { return m_bytes.constData(); }

private:
    QString m_text;
    QByteArray m_bytes;
};
