#include "targets/ARMProjectSystem.h"

#include "properties/PropertyClass.h"

ARMProjectSystem::ARMProjectSystem() : GCCProjectSystem(QStringLiteral(".elf"))
{
    // The platform of every project; its macro is the lower-cased "arm".
    propertyClass(PlatformName)->setDefaultValue(QStringLiteral("ARM"));
}
