#include "TempDir.h"

#include <ftw.h>
#include <sys/stat.h>
#include <unistd.h>
#include <utime.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <stdexcept>

namespace {

int removeEntry(const char *path, const struct stat *, int, struct FTW *)
{
    // Read-only files and directories must not keep a test's debris alive.
    chmod(path, 0700);
    return ::remove(path);
}

} // namespace

TempDir::TempDir()
{
    const char *base = std::getenv("TMPDIR");
    m_path = QByteArray(base && *base ? base : "/tmp") + "/mkpkg-test-XXXXXX";
    if (!mkdtemp(m_path.data()))
        throw std::runtime_error("cannot create a temporary directory");
}

TempDir::~TempDir()
{
    // Directories are made writable before their contents go.
    chmod(m_path.constData(), 0700);
    nftw(m_path.constData(), removeEntry, 16, FTW_DEPTH | FTW_PHYS);
}

bool TempDir::exists(const QByteArray &name) const
{
    struct stat st;
    return lstat(file(name).constData(), &st) == 0;
}

mode_t modeOf(const QByteArray &path)
{
    struct stat info;
    return ::stat(path.constData(), &info) == 0 ? info.st_mode & 07777 : mode_t(-1);
}

qint64 mtimeOf(const QByteArray &path)
{
    struct stat info;
    return ::stat(path.constData(), &info) == 0 ? qint64(info.st_mtime) : -1;
}

void setMtime(const QByteArray &path, qint64 time)
{
    const utimbuf times{time_t(time), time_t(time)};
    ::utime(path.constData(), &times);
}

bool isA(mode_t type, const QByteArray &path)
{
    struct stat info;
    return ::lstat(path.constData(), &info) == 0 && (info.st_mode & S_IFMT) == type;
}

void writeFile(const QByteArray &path, const QByteArray &contents)
{
    for (qsizetype slash = path.indexOf('/', 1); slash > 0; slash = path.indexOf('/', slash + 1))
        mkdir(path.left(slash).constData(), 0777);
    std::ofstream file(path.constData(), std::ios::binary);
    if (!file.write(contents.constData(), contents.size()))
        throw std::runtime_error("cannot write " + path.toStdString());
}

QByteArray readFile(const QByteArray &path)
{
    std::ifstream file(path.constData(), std::ios::binary);
    return QByteArray::fromStdString(std::string(std::istreambuf_iterator<char>(file), {}));
}

QList<QByteArray> namesIn(const QByteArray &directory)
{
    QList<QByteArray> names;
    std::error_code error;
    for (const auto &entry : std::filesystem::directory_iterator(directory.constData(), error))
        names.append(QByteArray::fromStdString(entry.path().filename().native()));
    std::sort(names.begin(), names.end());
    return names;
}
