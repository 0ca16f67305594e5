// The indexes of a loaded solution: its projects and its solution files by
// key, and the sorted name lists built from them.

#include "project/ProjectSystem.h"

#include "project/LoadedSolution.h"
#include "project/ProjectNode.h"

#include <algorithm>

void ProjectSystem::indexSolutionChildren(QMap<QString, ProjectNode *> &projects, const QString &prefix,
                                          ProjectNode *solution)
{
    for (ProjectNode *child = solution->firstChild(); child; child = child->nextSibling()) {
        if (child->kind() == NodeKind::Project) {
            const QString name = child->nodeName();
            projects.insert(prefix.isEmpty() ? name : name + u'(' + prefix + u')', child);
        } else if (child->kind() == NodeKind::Solution) {
            const QString name = child->nodeName();
            const QString key = prefix.isEmpty() ? name : prefix + u',' + name;
            loaded().solutionIndex.insert(key, child);
            indexSolutionChildren(projects, key, child);
            // An imported solution also knows its own projects, keyed as if
            // it were the top of the tree.
            child->projectIndex().clear();
            indexSolutionChildren(child->projectIndex(), QString(), child);
            rebuildInheritedConfigurations(child);
        }
    }
}

void ProjectSystem::rebuildIndexes()
{
    LoadedSolution &state = loaded();
    state.solutionIndex.clear();
    state.projectNames.clear();
    state.solutionNames.clear();
    ProjectNode *root = state.solution.get();
    if (!root)
        return;
    root->projectIndex().clear();
    indexSolutionChildren(root->projectIndex(), QString(), root);
    state.solutionIndex.insert(root->nodeName(), root);
    rebuildInheritedConfigurations(root);
    // Map keys come in ascending order already.
    state.projectNames = root->projectIndex().keys();
    state.solutionNames = state.solutionIndex.keys();
}
