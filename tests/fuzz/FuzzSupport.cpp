#include "FuzzSupport.h"

#include <QCoreApplication>

#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>

namespace {

void require(bool condition, const char *what)
{
    if (!condition) {
        std::perror(what);
        std::abort();
    }
}

} // namespace

const TempDir &scratch()
{
    static const TempDir directory;
    return directory;
}

InScratchDirectory::InScratchDirectory() : m_previous(::open(".", O_RDONLY | O_DIRECTORY | O_CLOEXEC))
{
    require(m_previous >= 0 && ::chdir(scratch().path().constData()) == 0, "chdir");
}

InScratchDirectory::~InScratchDirectory()
{
    require(::fchdir(m_previous) == 0, "fchdir");
    ::close(m_previous);
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
    // Beside the inputs lie a directory and a FIFO, for inputs that name
    // them where a file is expected.
    for (const char *name : {"home", "root", "dir"})
        require(::mkdir(scratch().file(name).constData(), 0700) == 0, "mkdir");
    require(::mkfifo(scratch().file("fifo").constData(), 0600) == 0, "mkfifo");
    ::setenv("HOME", scratch().file("home").constData(), 1);
    ::setenv("FERNHOLLOW_ROOT_USER_DIR", scratch().file("root").constData(), 1);
    static int argc = 1;
    static char name[] = "mkpkg-fuzz";
    static char *argv[] = {name, nullptr};
    new QCoreApplication(argc, argv);
    prepareFuzzTarget();
    return 0;
}
