#pragma once

#include "SolutionFiles.h"
#include "TempDir.h"

#include "project/LoadHandlers.h"
#include "project/ProjectNode.h"
#include "project/SolutionLoadError.h"
#include "targets/ARMBuildSystem.h"
#include "targets/ARMProjectSystem.h"

#include <gtest/gtest.h>

#include <memory>

// A compact picture of the nodes below node: each as kind:name (a file's
// name is its file_name), with its other properties as [name=value,...] when
// asked, followed by its own children in parentheses.
inline QByteArray outline(ProjectNode *node, bool properties = false)
{
    static const char *kinds[] = {"solution", "configuration", "project", "folder", "file"};
    QByteArrayList children;
    for (ProjectNode *child = node->firstChild(); child; child = child->nextSibling()) {
        const QString nameKey = child->kind() == NodeKind::File ? "file_name" : "Name";
        const QString name = child->kind() == NodeKind::File ? child->getProperty(nameKey) : child->nodeName();
        QByteArray text = kinds[int(child->kind())] + (':' + name.toLatin1());
        QByteArrayList values;
        for (auto p = child->properties().cbegin(); properties && p != child->properties().cend(); ++p) {
            if (p.key() != nameKey)
                values.append((p.key() + '=' + p.value()).toLatin1());
        }
        const QByteArray inner = outline(child, properties);
        text += (values.isEmpty() ? "" : '[' + values.join(',') + ']') + (inner.isEmpty() ? "" : '(' + inner + ')');
        children.append(text);
    }
    return children.join(' ');
}

// The tool's project and build systems and a temporary directory to write
// solution files into.
class SolutionFixture : public ::testing::Test {
protected:
    SolutionFixture() { QObject::connect(system.get(), &ProjectSystem::solutionLoaded, [this] { ++loadedSignals; }); }

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
    SolutionLoadError loadError(const QString &name, ProjectFileNotFoundErrorHandler *handler = nullptr)
    {
        try {
            system->loadSolution(name, handler);
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
