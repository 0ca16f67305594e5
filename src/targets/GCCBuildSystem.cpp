#include "targets/GCCBuildSystem.h"

namespace {

QList<DefinitionRow> gccDefinitions()
{
    using B = GCCBuildSystem;
    using enum PropertyClass::Type;
    const QStringList optimizationLevels{"None", "Level 1", "Level 2", "Level 3", "Optimize For Size"};
    return {
        // id                     name                      type         page     group                      short title           default       choices             description
        {B::GccOptimizationLevel, "gcc_optimization_level", Enumeration, "C/C++",  "Code Generation Options", "Optimization Level", "None",       optimizationLevels, "How much the compiler optimises the code it generates."},
        {B::GccOmitFramePointer,  "gcc_omit_frame_pointer", Boolean,     "C/C++",  "Code Generation Options", "Omit Frame Pointer", false,        {},                 "Do not keep a frame pointer in functions that need none."},
        {B::GccEntryPoint,        "gcc_entry_point",        String,      "Linker", "Linker Options",          "Entry Point",        "0x00000000", {},                 "The symbol or address at which the program starts."},
        {B::GccStripSymbols,      "gcc_strip_symbols",      Boolean,     "Linker", "Linker Options",          "Strip Symbols",      false,        {},                 "Remove the symbol table from the linked output."},
        {B::GccEmitAssemblerCfi,  "gcc_emit_assembler_cfi", Boolean,     "C/C++",  "Code Generation Options", "Emit Assembler CFI", false,        {},                 "Have the assembler produce the call frame information that unwinding needs."},
    };
}

} // namespace

GCCBuildSystem::GCCBuildSystem(const QString &toolDirectory) : m_toolDirectory(toolDirectory)
{
    m_classes = define(gccDefinitions());
}
