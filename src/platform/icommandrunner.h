#pragma once

#include <string>
#include <vector>

// What a program run to its end left behind.
struct SCommandResult {
    // The exit status; 127 when the program could not be started, -1 when a signal ended it.
    int exitCode = 127;
    // Standard output and standard error together.
    std::string output;
};

// Runs a program of the system (looked up on PATH) with its arguments and waits for it.
class ICommandRunner {
public:
    virtual ~ICommandRunner() = default;
    virtual SCommandResult Run(const std::vector<std::string>& argv) = 0;
};
