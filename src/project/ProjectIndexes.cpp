// The indexes of a loaded solution: its projects and its solution files by
// key, and the sorted name lists built from them.

#include "project/ProjectSystem.h"

#include "project/LoadedSolution.h"
#include "project/ProjectNode.h"

#include <algorithm>
#include <map>

namespace {

// A project below a solution node, with the names of the imported solutions
// on the way down to it.
struct Reached {
    QStringList solutions;
    ProjectNode *node;
};

using NodeMap = QMap<QString, ProjectNode *>;
// What each imported solution's own walk enters in the solution index.
using OwnSolutionKeys = std::map<ProjectNode *, NodeMap>;

// Fills the solution node's project index, keyed as seen from that node: a
// project as its name followed by the solution names in parentheses.
void enterProjectIndex(ProjectNode *solution, const QList<Reached> &projects)
{
    NodeMap &projectIndex = solution->projectIndex();
    projectIndex.clear();
    for (const Reached &project : projects) {
        const QString name = project.node->nodeName();
        projectIndex.insert(project.solutions.isEmpty() ? name : name + u'(' + project.solutions.join(u',') + u')',
                            project.node);
    }
    ProjectSystem::rebuildInheritedConfigurations(solution);
}

// Collects the projects among the direct children of a solution node and,
// through each imported solution, below it, in document order. Every
// imported solution is walked once: its own project index is made from what
// its walk found, which is then passed up with its name in front. Projects
// inside folders are not indexed.
void collectProjects(ProjectNode *solution, QList<Reached> &projects)
{
    for (ProjectNode *child = solution->firstChild(); child; child = child->nextSibling()) {
        if (child->kind() == NodeKind::Project) {
            projects.append(Reached{{}, child});
        } else if (child->kind() == NodeKind::Solution) {
            QList<Reached> innerProjects;
            collectProjects(child, innerProjects);
            enterProjectIndex(child, innerProjects);
            for (Reached &project : innerProjects) {
                project.solutions.prepend(child->nodeName());
                projects.append(std::move(project));
            }
        }
    }
}

const NodeMap &ownSolutionKeys(ProjectNode *solution, OwnSolutionKeys &own);

// Enters the solutions imported below a solution node in the solution index
// as the walk over the tree does: each imported solution, in document order,
// under its name after prefix and a comma; then the solutions below it with
// that key in front; then those below it again as its own walk keys them. A
// later entry of a key replaces an earlier one. Each imported solution's own
// entries are worked out once, so a chain of imports costs no more than its
// keys.
void enterSolutionKeys(const QString &prefix, ProjectNode *solution, NodeMap &index, OwnSolutionKeys &own)
{
    for (ProjectNode *child = solution->firstChild(); child; child = child->nextSibling()) {
        if (child->kind() != NodeKind::Solution)
            continue;
        const QString key = prefix.isEmpty() ? child->nodeName() : prefix + u',' + child->nodeName();
        index.insert(key, child);
        enterSolutionKeys(key, child, index, own);
        const NodeMap &childKeys = ownSolutionKeys(child, own);
        for (auto entry = childKeys.cbegin(); entry != childKeys.cend(); ++entry)
            index.insert(entry.key(), entry.value());
    }
}

const NodeMap &ownSolutionKeys(ProjectNode *solution, OwnSolutionKeys &own)
{
    if (const auto found = own.find(solution); found != own.end())
        return found->second;
    NodeMap index;
    enterSolutionKeys(QString(), solution, index, own);
    return own.emplace(solution, std::move(index)).first->second;
}

} // namespace

void ProjectSystem::rebuildIndexes()
{
    LoadedSolution &state = loaded();
    state.solutionIndex.clear();
    state.projectNames.clear();
    state.solutionNames.clear();
    ProjectNode *root = state.solution.get();
    if (!root)
        return;
    QList<Reached> projects;
    collectProjects(root, projects);
    enterProjectIndex(root, projects);
    OwnSolutionKeys own;
    enterSolutionKeys(QString(), root, state.solutionIndex, own);
    state.solutionIndex.insert(root->nodeName(), root);
    // Map keys come in ascending order already.
    state.projectNames = root->projectIndex().keys();
    state.solutionNames = state.solutionIndex.keys();
}
