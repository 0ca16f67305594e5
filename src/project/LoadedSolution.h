#pragma once

#include <QList>
#include <QMap>
#include <QString>
#include <QStringList>

#include <memory>

#include "project/ProjectNode.h"
#include "project/ProjectSystem.h"

// What a project system knows of its loaded solution: the tree, its
// indexes, and while loading the files being read and the nodes that wait
// for their template or their directory.
struct ProjectSystem::LoadedSolution {
    std::unique_ptr<ProjectNode> solution;
    QStringList projectNames;
    QStringList solutionNames;
    QMap<QString, ProjectNode *> solutionIndex;
    QStringList loadingStack;                 // absolute paths, innermost last
    QStringList loadingFiles;                 // the same files, links resolved
    QList<ProjectNode *> pendingTemplateProjects;
    QList<ProjectNode *> pendingDynamicFolders;
};
