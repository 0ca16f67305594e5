#pragma once

#include "TempDir.h"

#include "project/ProjectNode.h"
#include "project/SolutionLoadError.h"
#include "targets/ARMBuildSystem.h"
#include "targets/ARMProjectSystem.h"

#include <gtest/gtest.h>

#include <memory>

// The first child of node whose name is name, or null.
inline ProjectNode *childNamed(ProjectNode *node, const QString &name)
{
    for (ProjectNode *child = node->firstChild(); child; child = child->nextSibling()) {
        if (child->nodeName() == name)
            return child;
    }
    return nullptr;
}

// The tool's project and build systems and a temporary directory to write
// solution files into.
class SolutionFixture : public ::testing::Test {
protected:
    SolutionFixture()
    {
        QObject::connect(system.get(), &ProjectSystem::solutionLoaded, [this] { ++loadedSignals; });
    }

    // Loads a solution (a name relative to the directory, or absolute) and
    // answers its root; null, with the failure recorded, when loading fails.
    ProjectNode *load(const QString &name)
    {
        try {
            system->loadSolution(name.startsWith(u'/') ? name : dir.qpath() + u'/' + name);
        } catch (const SolutionLoadError &error) {
            ADD_FAILURE() << "loading " << qPrintable(name) << " failed: " << qPrintable(error.message());
            return nullptr;
        }
        return system->solution();
    }

    // The failure of loading a solution that must not load.
    SolutionLoadError loadError(const QString &name)
    {
        try {
            system->loadSolution(name);
        } catch (const SolutionLoadError &error) {
            return error;
        }
        ADD_FAILURE() << "loading " << qPrintable(name) << " succeeded";
        return {};
    }

    TempDir dir;
    std::unique_ptr<ARMProjectSystem> system = std::make_unique<ARMProjectSystem>();
    std::unique_ptr<ARMBuildSystem> buildSystem = std::make_unique<ARMBuildSystem>();
    int loadedSignals = 0;
};
