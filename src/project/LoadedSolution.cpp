// The state a project system keeps of its loaded solution, and the
// accessors that answer from it.

#include "project/ProjectSystem.h"

#include "project/BuildSystem.h"
#include "project/LoadedSolution.h"

void ProjectSystem::LoadedSolutionDeleter::operator()(LoadedSolution *loaded) const
{
    delete loaded;
}

ProjectSystem::LoadedSolution &ProjectSystem::loaded() const
{
    if (!m_loaded)
        m_loaded.reset(new LoadedSolution);
    return *m_loaded;
}

ProjectNode *ProjectSystem::solution() const
{
    return loaded().solution.get();
}

const QStringList &ProjectSystem::projectNames() const
{
    return loaded().projectNames;
}

const QStringList &ProjectSystem::solutionNames() const
{
    return loaded().solutionNames;
}

ProjectNode *ProjectSystem::findSolution(const QString &key) const
{
    return loaded().solutionIndex.value(key);
}

void ProjectSystem::setBuildSystem(BuildSystem *buildSystem)
{
    m_buildSystem = buildSystem;
    if (buildSystem)
        buildSystem->setProjectSystem(this);
}

void ProjectSystem::upgradeSolution(ProjectNode *)
{
}

void ProjectSystem::resetSolution()
{
    // The new state replaces the old one whole, and the old tree goes with it.
    m_loaded.reset(new LoadedSolution);
}
