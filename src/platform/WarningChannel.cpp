#include "platform/WarningChannel.h"

#include <QString>
#include <QtGlobal>

#include <cstdio>
#include <cstdlib>

#include "platform/Diagnostics.h"

namespace {

void writeMessage(QtMsgType type, const QMessageLogContext &, const QString &message)
{
    Diagnostics::writeLine(stderr, message.toLatin1() + '\n');
    if (type == QtFatalMsg)
        std::abort();
}

} // namespace

void installWarningChannel()
{
    qInstallMessageHandler(writeMessage);
}
