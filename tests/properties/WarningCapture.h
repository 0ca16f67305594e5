#pragma once

#include <QStringList>
#include <QtGlobal>

// Collects the messages sent to the warning channel while it lives.
class WarningCapture {
public:
    WarningCapture() : m_previous(qInstallMessageHandler(&WarningCapture::collect)) { current() = this; }
    ~WarningCapture()
    {
        qInstallMessageHandler(m_previous);
        current() = nullptr;
    }
    const QStringList &warnings() const { return m_warnings; }

private:
    static WarningCapture *&current()
    {
        static WarningCapture *capture = nullptr;
        return capture;
    }
    static void collect(QtMsgType, const QMessageLogContext &, const QString &text) { current()->m_warnings << text; }

    QtMessageHandler m_previous;
    QStringList m_warnings;
};
