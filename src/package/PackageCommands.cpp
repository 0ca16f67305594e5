#include "package/PackageCommands.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <ctime>

#include "package/InflatingPackageData.h"
#include "platform/Diagnostics.h"
#include "package/PackageArchive.h"
#include "package/PackageWriter.h"
#include "platform/ProgressLine.h"

namespace {

QByteArray localTimeText(quint32 seconds)
{
    const time_t time = time_t(seconds);
    char text[64];
    if (!ctime_r(&time, text))
        return {};
    QByteArray line(text);
    if (line.endsWith('\n'))
        line.chop(1);
    return line;
}

// Whether the open package holds the whole data area the entry claims.
bool dataPresent(const PackageEntry &entry)
{
    struct stat info;
    return entry.size == 0 || (entry.source && entry.source->inflating && entry.source->inflating->holds(entry))
        || (entry.source && entry.source->file && ::fstat(entry.source->file->fd(), &info) == 0
            && quint64(info.st_size) >= quint64(entry.offset) + entry.size);
}

// Writes the entry's data into its new file with its time and read-only
// state; on failure the file goes and the message names path.
bool writeEntry(const PackageEntry &entry, EntryFile &file, const QByteArray &path, ProgressLine &progress,
                QByteArray &error)
{
    FileSink fileSink(file.fd());
    CountingSink sink(fileSink, progress);
    const timespec times[2] = {{time_t(entry.modificationTime), 0}, {time_t(entry.modificationTime), 0}};
    struct stat info;
    bool written = PackageArchive::copyEntryData(entry, sink, path, error);
    if (written && (::futimens(file.fd(), times) != 0 || ::fstat(file.fd(), &info) != 0
                    || (entry.isReadOnly() && ::fchmod(file.fd(), info.st_mode & 07777 & ~S_IWUSR) != 0))) {
        error = "can't set the attributes of " + path + ": " + errorText(errno);
        written = false;
    }
    if (written && !file.close()) {
        error = "write error on " + path + ": " + errorText(errno);
        written = false;
    }
    if (!written) {
        file.discard();
        return false;
    }
    file.keep();
    return true;
}

} // namespace

void listPackage(const PackageArchive &package, std::FILE *out)
{
    quint64 bytes = 0;
    for (const PackageEntry &entry : package.entries()) {
        std::fprintf(out, "%s  %8lu  %s  ", entry.isReadOnly() ? "ro" : "rw", static_cast<unsigned long>(entry.size),
                     localTimeText(entry.modificationTime).constData());
        std::fwrite(entry.name.constData(), 1, size_t(entry.name.size()), out);
        std::fputc('\n', out);
        bytes += entry.size;
    }
    if (!package.entries().isEmpty())
        std::fprintf(out, "%lld Files, %llu Bytes\n", static_cast<long long>(package.entries().size()),
                     static_cast<unsigned long long>(bytes));
    std::fflush(out);
}

void modifyPackage(PackageCommand command, PackageArchive &input, PackageArchive &output,
                   const QList<QByteArray> &fileList, const QByteArray &outputName, bool verbose,
                   Diagnostics &diagnostics)
{
    bool failed = false;
    if (command == PackageCommand::Delete || command == PackageCommand::Replace) {
        for (const QByteArray &name : fileList) {
            if (PackageEntry *entry = input.findEntry(name)) {
                entry->markRemoved();
            } else if (command == PackageCommand::Delete) {
                diagnostics.warning(name + " not in archive.");
                failed = true;
            }
        }
        for (const PackageEntry &entry : input.entries()) {
            if (!entry.isRemoved())
                output.addEntry(entry);
        }
    }
    if (command == PackageCommand::Create || command == PackageCommand::Replace) {
        for (const QByteArray &name : fileList) {
            QByteArray error;
            if (!output.addDiskFile(name, name, error)) {
                diagnostics.error(error);
                failed = true;
                continue;
            }
            if (verbose) {
                std::fputs("adding ", stdout);
                std::fwrite(name.constData(), 1, size_t(name.size()), stdout);
                std::fputc('\n', stdout);
            }
        }
    }
    QByteArray error;
    if (!failed && !writeCompressedPackage(output, outputName, error))
        diagnostics.error(error);
    output.clear();
}

void extractPackage(const PackageArchive &input, const QByteArray &outputName, ExtractPaths paths,
                    Diagnostics &diagnostics)
{
    if (outputName.isEmpty()) {
        diagnostics.error("output directory not specified");
        return;
    }
    ExtractionDirectory directory(outputName, paths);
    quint64 total = 0;
    for (const PackageEntry &entry : input.entries())
        total += entry.size;
    ProgressLine progress(total);
    for (const PackageEntry &entry : input.entries()) {
        const QByteArray path = outputName + '/' + entry.name;
        if (!dataPresent(entry)) {
            diagnostics.error("can't extract " + entry.name + ": the package's data ends before its end");
            continue;
        }
        EntryFile file;
        QByteArray error;
        switch (directory.create(entry.name, file, error)) {
        case ExtractionDirectory::Outcome::Refused:
            diagnostics.error("can't extract " + entry.name + ": " + error);
            continue;
        case ExtractionDirectory::Outcome::Failed:
            diagnostics.error("can't open " + path + " for writing");
            return;
        case ExtractionDirectory::Outcome::Created:
            break;
        }
        if (!writeEntry(entry, file, path, progress, error)) {
            diagnostics.error(error);
            return;
        }
    }
}
