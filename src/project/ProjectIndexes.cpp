// The indexes of a loaded solution: its projects and its solution files by
// key, and the sorted name lists built from them.

#include "project/ProjectSystem.h"

#include "project/LoadedSolution.h"
#include "project/ProjectNode.h"

#include <algorithm>

namespace {

// A project or an imported solution below a solution node, with the names
// of the imported solutions on the way down to it (a solution's own name
// last).
struct Reached {
    QStringList solutions;
    ProjectNode *node;
};

using NodeMap = QMap<QString, ProjectNode *>;

// Fills the solution node's project index and enters the solutions below it
// in the solution index, both keyed as seen from that node: a project as its
// name followed by the solution names in parentheses, a solution by the
// names joined with commas.
void enterIndexes(ProjectNode *solution, const QList<Reached> &projects, const QList<Reached> &solutions,
                  NodeMap &solutionIndex)
{
    NodeMap &projectIndex = solution->projectIndex();
    projectIndex.clear();
    for (const Reached &project : projects) {
        const QString name = project.node->nodeName();
        projectIndex.insert(project.solutions.isEmpty() ? name : name + u'(' + project.solutions.join(u',') + u')',
                            project.node);
    }
    for (const Reached &found : solutions)
        solutionIndex.insert(found.solutions.join(u','), found.node);
    ProjectSystem::rebuildInheritedConfigurations(solution);
}

// Collects the projects and imported solutions among the direct children of
// a solution node and, through each imported solution, below it. Every
// imported solution is walked once: its own indexes are made from what its
// walk found, which is then passed up with its name in front. Projects
// inside folders are not indexed.
void collect(ProjectNode *solution, QList<Reached> &projects, QList<Reached> &solutions, NodeMap &solutionIndex)
{
    for (ProjectNode *child = solution->firstChild(); child; child = child->nextSibling()) {
        if (child->kind() == NodeKind::Project) {
            projects.append(Reached{{}, child});
        } else if (child->kind() == NodeKind::Solution) {
            QList<Reached> innerProjects;
            QList<Reached> innerSolutions;
            collect(child, innerProjects, innerSolutions, solutionIndex);
            enterIndexes(child, innerProjects, innerSolutions, solutionIndex);
            const QString name = child->nodeName();
            solutions.append(Reached{{name}, child});
            for (Reached &found : innerSolutions) {
                found.solutions.prepend(name);
                solutions.append(std::move(found));
            }
            for (Reached &project : innerProjects) {
                project.solutions.prepend(name);
                projects.append(std::move(project));
            }
        }
    }
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
    QList<Reached> solutions;
    collect(root, projects, solutions, state.solutionIndex);
    enterIndexes(root, projects, solutions, state.solutionIndex);
    state.solutionIndex.insert(root->nodeName(), root);
    // Map keys come in ascending order already.
    state.projectNames = root->projectIndex().keys();
    state.solutionNames = state.solutionIndex.keys();
}
