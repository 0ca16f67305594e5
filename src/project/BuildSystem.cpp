#include "project/BuildSystem.h"

#include "project/StandardDefinitions.h"

BuildSystem::BuildSystem()
{
    m_classes = define(buildSystemDefinitions());
}

BuildSystem::~BuildSystem() = default;

PropertyClass *BuildSystem::findPropertyClass(const QString &name)
{
    return PropertyClassList::global().find(name);
}
