// Running the outside programs the generator relies on (fc-match, espeak-ng).
#pragma once

#include <string>
#include <vector>

struct ProgramResult {
    bool started = false; // false when the program could not be run at all (not installed)
    int exitStatus = -1;
    std::string output; // what it wrote to its standard output
};

// Runs `arguments[0]` (looked up on PATH) with the rest as its arguments, no shell involved.
ProgramResult runProgram(const std::vector<std::string>& arguments);
