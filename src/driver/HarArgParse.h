#pragma once

#include <sys/types.h>

#include <utility>
#include <vector>

#include "driver/ArgParse.h"

struct ToolState;

// The tool's parser: registers the tool's options and decides what its
// positional arguments mean (package name, output name, files to store).
class HarArgParse : public ArgParse {
public:
    HarArgParse(ToolState &state, Diagnostics &diagnostics);

    // The command options, -hzr, -V, -v, and -P (extract names as they are).
    void registerToolOptions();
    // --help and --version, as users of other archivers expect them: the
    // usage text or the banner on standard output, then the run ends with
    // status 0 wherever the option stands.
    void registerInformationOptions();

    // Device and inode: what a directory is, whatever path leads to it.
    using FileIdentity = std::pair<dev_t, ino_t>;

protected:
    void handleArgument(const QByteArray &argument) override;

private:
    void addFiles(const QByteArray &argument);
    // Appends every non-hidden plain file below directory, depth first, each
    // level in name order ignoring case. A link back to a directory being
    // walked is not followed again, so a loop of links ends.
    void walkDirectory(const QByteArray &directory, FileIdentity identity);

    ToolState &m_state;
    std::vector<FileIdentity> m_walking; // the directories being walked
};
