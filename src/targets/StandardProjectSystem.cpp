#include "targets/StandardProjectSystem.h"

namespace {

QStringList standardProjectTypes()
{
    return {"Executable", "Library", "Object file", "Staging", "Combining", "Externally Built Executable"};
}

QStringList standardFileTypes()
{
    return {"C",          "C++",           "Basic",        "Assembly",      "Section Placement",
            "Memory Map", "Target Definitions", "Threads Script", "Target Script", "Reset Script",
            "Linker Script", "Executable", "Library",      "Object file"};
}

} // namespace

StandardProjectSystem::StandardProjectSystem() : ProjectSystem(standardProjectTypes(), standardFileTypes())
{
}
