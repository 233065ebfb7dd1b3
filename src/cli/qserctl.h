#pragma once

#include "cliresult.h"
#include "iclicommandgroup.h"

#include <CLI/CLI.hpp>
#include <iosfwd>
#include <memory>
#include <string>
#include <vector>

// The command line of qserctl: the options every command shares, the commands of each group,
// and one run of the command given. Exit statuses as ECliExit; --help and --version give 0.
class CQserCtl {
public:
    // interactive: a person answers questions on in (standard input is a terminal).
    CQserCtl(std::istream& in, std::ostream& out, std::ostream& err, bool interactive);
    CQserCtl(const CQserCtl&) = delete;
    CQserCtl& operator=(const CQserCtl&) = delete;

    int Run(int argc, const char* const* argv);

    static constexpr const char* kVersion = "qserctl 1.10";

private:
    ECliExit RunParsed();
    ECliExit Usage(const std::string& reason);

    std::istream& m_in;
    std::ostream& m_out;
    std::ostream& m_err;
    bool m_bInteractive;
    CLI::App m_app;
    std::string m_registry;
    std::string m_platform;
    std::string m_root = "/";
    bool m_bYes = false;
    std::vector<std::unique_ptr<ICliCommandGroup>> m_groups;
};
