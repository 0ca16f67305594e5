// Generates a solution of 50 000 file nodes in nested folders spread over
// imported solution files, loads it several times and reports the best load
// time, and the time to resolve the location of every file node.

#include "platform/FileSystem.h"
#include "project/ProjectNode.h"
#include "targets/ARMBuildSystem.h"
#include "targets/ARMProjectSystem.h"

#include <QByteArray>
#include <QElapsedTimer>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>

namespace {

constexpr int importedFiles = 10;
constexpr int projectsPerFile = 5;
constexpr int foldersPerLevel = 4;
constexpr int folderDepth = 3;          // 4 + 16 + 64 folders per project
constexpr int filesPerFolder = 12;      // 84 folders * 12 = 1008 files per project
constexpr int runs = 5;

void writeFile(const QString &path, const QByteArray &contents)
{
    std::FILE *file = std::fopen(nativeName(path).constData(), "wb");
    if (!file || std::fwrite(contents.constData(), 1, contents.size(), file) != size_t(contents.size())) {
        std::fprintf(stderr, "bench_project: cannot write %s\n", nativeName(path).constData());
        std::exit(1);
    }
    std::fclose(file);
}

void writeFolder(QByteArray &out, int depth, const QByteArray &path, int &files)
{
    for (int f = 0; f < foldersPerLevel; ++f) {
        const QByteArray name = path + "/d" + QByteArray::number(f);
        out += "<folder Name=\"" + name + "\" filter=\"c;h\">\n";
        for (int i = 0; i < filesPerFolder; ++i, ++files)
            out += "<file file_name=\"src" + name + "/f" + QByteArray::number(i) + ".c\"/>\n";
        if (depth > 1)
            writeFolder(out, depth - 1, name, files);
        out += "<configuration Name=\"Debug\" c_preprocessor_definitions=\"LEVEL" + QByteArray::number(depth) + "\"/>\n";
        out += "</folder>\n";
    }
}

QByteArray solutionText(const QByteArray &name, const QByteArray &body)
{
    return "<!DOCTYPE Lanternwick_Project_File>\n<solution Name=\"" + name + "\" version=\"2\">\n" + body + "</solution>\n";
}

int generate(const QString &directory)
{
    int files = 0;
    QByteArray imports;
    for (int s = 0; s < importedFiles; ++s) {
        QByteArray body;
        for (int p = 0; p < projectsPerFile; ++p) {
            body += "<project Name=\"p" + QByteArray::number(s) + "_" + QByteArray::number(p) + "\">\n"
                    "<configuration Name=\"Common\" project_type=\"Library\" project_directory=\"p" + QByteArray::number(p) + "\"/>\n";
            writeFolder(body, folderDepth, QByteArray(), files);
            body += "<configuration Name=\"Release\" build_debug_information=\"No\"/>\n</project>\n";
        }
        const QByteArray fileName = "part" + QByteArray::number(s) + ".hzp";
        writeFile(directory + u'/' + QString::fromLatin1(fileName), solutionText("part" + QByteArray::number(s), body));
        imports += "<import file_name=\"" + fileName + "\"/>\n";
    }
    writeFile(directory + QStringLiteral("/main.hzp"),
              solutionText("main", imports + "<configuration Name=\"ARM Debug\" inherited_configurations=\"ARM;Debug\"/>\n"));
    return files;
}

int countAndResolve(ProjectNode *node)
{
    int files = 0;
    for (ProjectNode *child = node->firstChild(); child; child = child->nextSibling()) {
        if (child->kind() == NodeKind::File) {
            child->resolveFileInfo();
            ++files;
        }
        files += countAndResolve(child);
    }
    return files;
}

} // namespace

int main()
{
    QTemporaryDir directory;
    if (!directory.isValid())
        return 1;
    const QString path = nameFromNative(directory.path().toLocal8Bit());
    const int generated = generate(path);

    ARMProjectSystem projects;
    ARMBuildSystem builds;
    projects.setBuildSystem(&builds);
    qint64 bestLoad = -1;
    qint64 bestResolve = -1;
    int resolved = 0;
    for (int run = 0; run < runs; ++run) {
        QElapsedTimer timer;
        timer.start();
        projects.loadSolution(path + QStringLiteral("/main.hzp"));
        const qint64 load = timer.nsecsElapsed();
        timer.restart();
        resolved = countAndResolve(projects.solution());
        const qint64 resolve = timer.nsecsElapsed();
        bestLoad = bestLoad < 0 ? load : std::min(bestLoad, load);
        bestResolve = bestResolve < 0 ? resolve : std::min(bestResolve, resolve);
    }
    std::printf("solution of %d file nodes (%d resolved) in %d imported files\n", generated, resolved, importedFiles);
    std::printf("load: %.1f ms (best of %d)\n", bestLoad / 1e6, runs);
    std::printf("resolve every file location: %.1f ms\n", bestResolve / 1e6);
    return resolved == generated ? 0 : 1;
}
