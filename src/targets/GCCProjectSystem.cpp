#include "targets/GCCProjectSystem.h"

GCCProjectSystem::GCCProjectSystem(const QString &executableExtension)
    : m_executableExtension(executableExtension)
{
}
