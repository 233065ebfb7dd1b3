#pragma once

#include "icommandrunner.h"

// Runs programs as child processes, without a shell, with standard input from /dev/null.
class CProcessRunner : public ICommandRunner {
public:
    SCommandResult Run(const std::vector<std::string>& argv) override;
};
