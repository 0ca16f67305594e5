#include "FuzzSupport.h"

#include <QCoreApplication>

#include <fcntl.h>
#include <ftw.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>

namespace {

QByteArray scratch;

int removeOne(const char *path, const struct stat *, int, struct FTW *)
{
    return ::remove(path);
}

void removeScratch()
{
    if (!scratch.isEmpty())
        ::nftw(scratch.constData(), removeOne, 16, FTW_DEPTH | FTW_PHYS);
}

void require(bool condition, const char *what)
{
    if (!condition) {
        std::perror(what);
        std::abort();
    }
}

} // namespace

void prepareFuzzProcess()
{
    if (!scratch.isEmpty())
        return;
    const char *base = std::getenv("TMPDIR");
    QByteArray pattern = QByteArray(base && *base ? base : "/tmp") + "/mkpkg-fuzz-XXXXXX";
    require(::mkdtemp(pattern.data()) != nullptr, "mkdtemp");
    scratch = pattern;
    std::atexit(removeScratch);
    // Beside the inputs lie a directory and a FIFO, for inputs that name
    // them where a file is expected.
    for (const char *name : {"/home", "/root", "/dir"})
        require(::mkdir((scratch + name).constData(), 0700) == 0, "mkdir");
    require(::mkfifo((scratch + "/fifo").constData(), 0600) == 0, "mkfifo");
    ::setenv("HOME", (scratch + "/home").constData(), 1);
    ::setenv("FERNHOLLOW_ROOT_USER_DIR", (scratch + "/root").constData(), 1);

    static int argc = 1;
    static char name[] = "mkpkg-fuzz";
    static char *argv[] = {name, nullptr};
    static auto *application = new QCoreApplication(argc, argv);
    Q_UNUSED(application);
}

InScratchDirectory::InScratchDirectory() : m_previous(::open(".", O_RDONLY | O_DIRECTORY | O_CLOEXEC))
{
    require(m_previous >= 0 && ::chdir(scratch.constData()) == 0, "chdir");
}

InScratchDirectory::~InScratchDirectory()
{
    require(::fchdir(m_previous) == 0, "fchdir");
    ::close(m_previous);
}

const QByteArray &scratchDirectory()
{
    return scratch;
}

void writeScratchFile(const QByteArray &name, const uint8_t *data, std::size_t size)
{
    const QByteArray path = scratch + '/' + name;
    FileHandle file(::open(path.constData(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600));
    require(file.isOpen() && writeFully(file.fd(), reinterpret_cast<const char *>(data), qint64(size)),
            path.constData());
}

FileHandle inputFile(const uint8_t *data, std::size_t size)
{
    FileHandle file(::memfd_create("fuzz-input", MFD_CLOEXEC));
    require(file.isOpen() && writeFully(file.fd(), reinterpret_cast<const char *>(data), qint64(size)),
            "memfd");
    return file;
}

__attribute__((weak)) void prepareFuzzTarget() {}

// Both libFuzzer and the replay runner call this once before the first input.
extern "C" int LLVMFuzzerInitialize(int *, char ***)
{
    prepareFuzzProcess();
    prepareFuzzTarget();
    return 0;
}
