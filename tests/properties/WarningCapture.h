#pragma once

#include <QStringList>
#include <QtGlobal>

// Collects the messages sent to the warning channel while it lives.
class WarningCapture {
public:
    WarningCapture() : m_previous(qInstallMessageHandler(&collect)) { collected.clear(); }
    ~WarningCapture() { qInstallMessageHandler(m_previous); }
    const QStringList &warnings() const { return collected; }

private:
    static void collect(QtMsgType, const QMessageLogContext &, const QString &text) { collected << text; }
    static inline QStringList collected;

    QtMessageHandler m_previous;
};
