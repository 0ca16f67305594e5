#pragma once

#include <cstdio>

// The tool's banner line with its release, then a flush.
void printBanner(std::FILE *stream);
// The banner and the command summary: on standard error when the command line
// is empty, on standard output when asked for with --help.
void printUsage(std::FILE *stream = stderr);
