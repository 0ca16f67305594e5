#include "platform/WarningChannel.h"

#include <QByteArray>
#include <QString>
#include <QtGlobal>

#include <cstdio>
#include <cstdlib>

#include "platform/ProgressLine.h"

namespace {

void writeMessage(QtMsgType type, const QMessageLogContext &, const QString &message)
{
    std::fflush(stdout); // keep listings and messages in the order they were made
    ProgressLine::clearShown();
    const QByteArray line = message.toLatin1() + '\n';
    std::fwrite(line.constData(), 1, size_t(line.size()), stderr);
    std::fflush(stderr);
    if (type == QtFatalMsg)
        std::abort();
}

} // namespace

void installWarningChannel()
{
    qInstallMessageHandler(writeMessage);
}
