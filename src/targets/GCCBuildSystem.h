#pragma once

#include "targets/StandardBuildSystem.h"

#include <QList>
#include <QString>

// The build system of a GNU tool chain: optimisation, frame pointer, entry
// point, symbol stripping and assembler call-frame information.
class GCCBuildSystem : public StandardBuildSystem {
public:
    // The classes this layer defines, in definition order.
    enum GCCProperty {
        GccOptimizationLevel,
        GccOmitFramePointer,
        GccEntryPoint,
        GccStripSymbols,
        GccEmitAssemblerCfi,
        GCCBuildSystemPropertyCount
    };

    // toolDirectory is the directory of the tool chain's programs; it may
    // hold macros, expanded when the tools are run.
    explicit GCCBuildSystem(const QString &toolDirectory);

    const QString &toolDirectory() const { return m_toolDirectory; }

    using StandardBuildSystem::propertyClass;
    PropertyClass *propertyClass(GCCProperty property) const { return m_classes.at(property); }

private:
    QString m_toolDirectory;
    QList<PropertyClass *> m_classes;
};
