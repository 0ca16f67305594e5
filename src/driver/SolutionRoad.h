#pragma once

class Diagnostics;
struct ToolState;

// Packages the solution named in the tool state; returns the exit status.
int runSolutionRoad(const ToolState &state, Diagnostics &diagnostics);
