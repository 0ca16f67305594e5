#pragma once

class Diagnostics;
struct ToolState;

// Reads the package named in the tool state (plain or compressed) and runs
// its package command; returns the exit status. A package whose header or
// table of contents is bad ends the process with status 1.
int runPackageRoad(ToolState &state, Diagnostics &diagnostics);
