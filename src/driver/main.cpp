#include <csignal>

#include "driver/Banner.h"
#include "platform/Diagnostics.h"
#include "driver/HarArgParse.h"
#include "driver/PackageRoad.h"
#include "driver/SolutionRoad.h"
#include "driver/ToolState.h"

int main(int argc, char **argv)
{
    // Under a file size limit, writes fail with EFBIG and are reported and
    // cleaned up like a full disk instead of killing the program mid-write.
    std::signal(SIGXFSZ, SIG_IGN);
    Diagnostics diagnostics(argv[0]);
    ToolState state;
    state.programPath = argv[0];
    HarArgParse parser(state, diagnostics);
    parser.registerToolOptions();
    parser.registerInformationOptions();

    state.command = PackageCommand::List;
    state.verbose = false;
    if (argc == 1)
        printUsage();
    QList<QByteArray> arguments;
    for (int i = 1; i < argc; ++i)
        arguments.append(QByteArray(argv[i]));
    parser.parse(arguments, 1);

    if (state.verbose)
        printBanner(stdout);
    if (state.packageName.isNull())
        return 0;
    return state.solutionMode ? runSolutionRoad(state, diagnostics) : runPackageRoad(state, diagnostics);
}
