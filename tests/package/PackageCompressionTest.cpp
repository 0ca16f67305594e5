#include <gtest/gtest.h>

#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <optional>
#include <thread>
#include <vector>

#include "PackageBytes.h"
#include "TempDir.h"
#include "package/PackageCompression.h"
#include "package/ParallelDeflate.h"

namespace {

constexpr qint64 Block = ParallelDeflate::BlockSize;

// The zlib stream ParallelDeflate makes of input, handed over in pieces of
// step bytes.
QByteArray deflateInParallel(const QByteArray &input, int workers, qint64 step)
{
    FileHandle file = createAnonymousFile();
    ParallelDeflate deflate(file.fd(), workers);
    bool written = deflate.begin();
    for (qint64 done = 0; written && done < input.size(); done += step)
        written = deflate.write(input.constData() + done, qMin(step, input.size() - done));
    return written && deflate.finish() ? readFile("/proc/self/fd/" + QByteArray::number(file.fd())) : "failed";
}

// A compressed package expanded by the program's reader; nothing when the
// reader refuses it.
std::optional<QByteArray> expandedByReader(const QByteArray &package)
{
    const FileHandle file = fileHolding(package);
    CompressedPackageReader reader(file.fd());
    MemorySink sink;
    if (!reader.begin())
        return std::nullopt;
    const bool expanded = expandPackage(reader, sink);
    EXPECT_EQ(reader.failed(), !expanded);
    return expanded ? std::optional(sink.bytes) : std::nullopt;
}

} // namespace

TEST(ParallelDeflate, streamsReadBackByZlibAloneStoreWhatDoesNotCompressAndAreIndependentOfTheWorkers)
{
    const QByteArray random = noise(2 * Block + 321, 42);
    const QByteArray repeated = random.left(8 * 1024).repeated(2 * Block / (8 * 1024));
    QByteArray withText = random.left(2 * Block);
    for (qsizetype at = 0; at < withText.size(); at += 4096)
        withText.replace(at, 24, "int counter = counter+1;");
    // Stored data costs 5 bytes per 64 KiB at most beyond the zlib frame.
    struct Case {
        std::string what;
        QByteArray input;
        qint64 largest;
    };
    QList<Case> cases = {
        {"random", random, 2 * Block + 321 + 240},
        {"random, repeating within 32 KiB", repeated, repeated.size() / 50},
        {"random, a little text every 4 KiB", withText, compressedPackage(withText).size() - 12},
    };
    // Mixed data up to, at and across block boundaries: beyond two blocks as
    // small as zlib's default level makes it, short of that within the few
    // bytes that close a block.
    for (qint64 size : {qint64(0), qint64(1), qint64(8), Block - 1, Block, Block + 1, 2 * Block, 3 * Block + 4321}) {
        const QByteArray input = mixedBytes(size, unsigned(size));
        const qint64 slack = size > 2 * Block ? 0 : 10;
        cases.append({"mixed, size " + std::to_string(size), input, compressedPackage(input).size() - 12 + slack});
    }
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        const QByteArray reference = deflateInParallel(c.input, 1, 1 << 16);
        EXPECT_EQ(expandedPackage(compressedHead(quint32(c.input.size())) + reference), c.input);
        EXPECT_EQ(quint8(reference[0]), 0x78) << "a zlib header";
        EXPECT_LE(reference.size(), c.largest);
        // Neither the number of workers nor how the input is handed over
        // changes a byte.
        for (const auto &[workers, step] : {std::pair{2, qint64(1) << 16}, {3, 777}, {8, Block}, {0, 3 * Block}})
            EXPECT_EQ(deflateInParallel(c.input, workers, step), reference) << workers << " workers, step " << step;
    }
}

TEST(ParallelDeflate, whereNoThreadCanBeStartedTheCallerWritesTheSameStreamAlone)
{
    const QByteArray input = mixedBytes(2 * Block + 99, 5);
    const QByteArray reference = deflateInParallel(input, 2, Block);
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        // A process limit of nothing leaves no thread to start; root is held
        // to it only once it has given up its user.
        const rlimit nothing{0, 0};
        if (::getuid() == 0
            && (::setenv("TMPDIR", "/tmp", 1) != 0 || ::setgid(65534) != 0 || ::setuid(65534) != 0))
            ::_exit(2);
        if (::setrlimit(RLIMIT_NPROC, &nothing) != 0)
            ::_exit(2);
        try {
            std::thread([] {}).join();
            ::_exit(3);
        } catch (const std::system_error &) {
        }
        ::_exit(deflateInParallel(input, 2, Block) == reference ? 0 : 1);
    }
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status));
    if (WEXITSTATUS(status) == 3)
        GTEST_SKIP() << "threads start here whatever the process limit";
    EXPECT_EQ(WEXITSTATUS(status), 0) << "1: another stream; 2: the process limit could not be set";
}

TEST(PackageCompression, readsIndependentZlibStreamsTakingTheDeclaredLengthAsAHintAndRefusesCorruptOrTruncatedOnes)
{
    const QByteArray plain = plainPackage({{"one", QByteArray(5000, 'x')}, {"two", "tail"}});
    const QByteArray good = compressedPackage(plain);
    const auto changed = [](QByteArray bytes, qsizetype at, char bits) {
        bytes[at] = char(bytes[at] ^ bits);
        return bytes;
    };
    const QByteArray mixed = mixedBytes(4 * Block - 100, 11);
    const QByteArray blocks = compressedHead(0) + deflateInParallel(mixed, 2, Block);
    struct Case {
        std::string what;
        QByteArray bytes;
        std::optional<QByteArray> expanded;
    };
    QList<Case> cases = {
        {"zlib level 0", compressedPackage(plain, 0), plain},
        {"empty package", compressedPackage(plainPackage({})), plainPackage({})},
        {"length too large", compressedPackage(plain, 6, plain.size() + 1), plain},
        {"length too small", compressedPackage(plain, 6, plain.size() - 1), plain},
        {"length 0xFFFFFFFF", compressedPackage(plain, 6, 0xFFFFFFFFu), plain},
        {"bytes after the stream", good + "trailing", plain},
        {"only magic and length", good.left(12), {}},
        {"flipped byte", changed(good, good.size() / 2, 0x55), {}},
        {"bad checksum", changed(good, good.size() - 1, 1), {}},
        {"stream of four blocks", blocks, mixed},
    };
    // A changed byte in any of the four blocks, in the final block or in the
    // checksum, and a stream cut at any point.
    for (int part = 1; part <= 8; ++part) {
        const qsizetype at = 12 + (blocks.size() - 12) * part / 9;
        cases.append({"four blocks, byte " + std::to_string(at) + " changed", changed(blocks, at, 0x10), {}});
        cases.append({"four blocks cut at " + std::to_string(at), blocks.left(at), {}});
    }
    for (qsizetype at : {qsizetype(13), blocks.size() - 7, blocks.size() - 1})
        cases.append({"four blocks, byte " + std::to_string(at) + " of " + std::to_string(blocks.size()),
                      changed(blocks, at, 1), {}});
    for (const Case &c : cases)
        EXPECT_EQ(expandedByReader(c.bytes), c.expanded) << c.what;
}

TEST(PackageCompression, aStreamExpandingToFourGiBOrMoreIsRefused)
{
    // A complete, valid stream of 4 GiB and 32 MiB of zeros declared as 100 bytes.
    constexpr int Chunk = 1 << 20;
    const QByteArray stream = repeatingPackage({}, QByteArray(Chunk, '\0'), 4096 + 32, 100);
    const FileHandle file = fileHolding(stream);
    CompressedPackageReader reader(file.fd());
    ASSERT_TRUE(reader.begin());
    std::vector<char> buffer(Chunk);
    quint64 total = 0;
    qint64 got;
    while ((got = reader.read(buffer.data(), qint64(buffer.size()))) > 0)
        total += quint64(got);
    EXPECT_EQ(got, -1);
    EXPECT_TRUE(reader.failed());
    EXPECT_GE(total, quint64(0xFFFFFFFFu) - buffer.size()) << "expanded up to the limit";
    EXPECT_LE(total, quint64(0xFFFFFFFFu) + buffer.size()) << "and no further";
}
