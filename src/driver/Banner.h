#pragma once

#include <cstdio>

// The tool's banner line with its release, then a flush.
void printBanner(std::FILE *stream);
// The banner and the command summary, on standard error.
void printUsage();
