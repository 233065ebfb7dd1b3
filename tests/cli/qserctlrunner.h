#pragma once

#include <map>
#include <string>
#include <vector>

// The outcome of one run of the built qserctl.
struct SQserCtlRun {
    int status = -1; // the exit status; -1 when the process did not exit normally
    std::string out;
    std::string err;
};

// Runs the built qserctl as its own process, without a shell: arguments as given, standard
// input from a text (never a terminal), standard output and error captured. The child's
// environment is the test's without any QSER_ variable, plus the given variables.
class CQserCtlRunner {
public:
    explicit CQserCtlRunner(std::string folder) : m_folder(std::move(folder)) {}

    SQserCtlRun Run(const std::vector<std::string>& args, const std::string& input = {},
                    const std::map<std::string, std::string>& environment = {}) const;

private:
    std::vector<std::string> Environment(const std::map<std::string, std::string>& extra) const;

    std::string m_folder; // where the captured streams are kept while the child runs
};
