#include "qserctl.h"

#include "checkcommand.h"
#include "clienvironment.h"
#include "climessagebox.h"
#include "desiredstatecommands.h"
#include "documentcommands.h"
#include "platformfamily.h"
#include "regfilecommands.h"
#include "servicecommands.h"
#include "showcommand.h"

#include <algorithm>
#include <ostream>

namespace {
constexpr const char* kDescription =
    "qserctl: the QSER configuration utility from the command line. One invocation is one "
    "session of the utility on the registry file, applied whole or not at all.";
constexpr const char* kFooter =
    "Exit status: 0 success; 1 an error message was shown or the command failed; 2 a usage\n"
    "error, an unknown board, port or key, or a refused pick; 3 a question was answered No;\n"
    "4 check found errors, or apply found errors in the result; 5 diff found differences,\n"
    "or apply --detailed-exitcode changed something.\n"
    "Environment: QSER_REGISTRY and QSER_PLATFORM stand in for --registry and --platform.\n"
    "On Linux (--platform linux) save also registers the ports in DIR/etc/serial.conf, a udev\n"
    "rules file and, when needed, a GRUB drop-in; see qserctl(1).";
} // namespace

CQserCtl::CQserCtl(std::istream& in, std::ostream& out, std::ostream& err, bool interactive)
    : m_in(in), m_out(out), m_err(err), m_bInteractive(interactive),
      m_app(kDescription, "qserctl") {
    m_app.footer(kFooter);
    m_app.set_version_flag("--version", kVersion, "Print the version and exit");
    m_app
        .add_option("--registry", m_registry,
                    "the registry file (default: QSER_REGISTRY, else "
                    "$XDG_DATA_HOME/qser/registry.db)")
        ->type_name("FILE");
    m_app
        .add_option("--platform", m_platform,
                    "the platform family: nt, 9x or linux (default: QSER_PLATFORM, else nt)")
        ->type_name("nt|9x|linux");
    m_app
        .add_option("--root", m_root,
                    "linux: the folder under which the Linux system's files are read and "
                    "written (default: /)")
        ->type_name("DIR");
    m_app.add_flag("--yes", m_bYes, "answer Yes to every question");
    m_app.require_subcommand(1);
    m_app.fallthrough();

    m_groups.push_back(std::make_unique<CShowCommand>());
    m_groups.push_back(std::make_unique<CDocumentCommands>());
    m_groups.push_back(std::make_unique<CRegFileCommands>());
    m_groups.push_back(std::make_unique<CServiceCommands>());
    m_groups.push_back(std::make_unique<CCheckCommand>());
    m_groups.push_back(std::make_unique<CDesiredStateCommands>());
    for (auto& group : m_groups) {
        group->Register(m_app);
    }
}

int CQserCtl::Run(int argc, const char* const* argv) {
    try {
        m_app.parse(argc, argv);
    } catch (const CLI::ParseError& error) {
        // Without this, a misspelt command reads as a missing one.
        if (m_app.get_subcommands().empty() && !m_app.remaining().empty()) {
            return static_cast<int>(Usage("unknown command '" + m_app.remaining().front() + "'"));
        }
        int code = m_app.exit(error, m_out, m_err);
        return code == static_cast<int>(CLI::ExitCodes::Success)
                   ? 0
                   : static_cast<int>(ECliExit::Refused);
    }
    return static_cast<int>(RunParsed());
}

ECliExit CQserCtl::Usage(const std::string& reason) {
    m_err << "qserctl: " << reason << "\nRun with --help for more information.\n";
    return ECliExit::Refused;
}

ECliExit CQserCtl::RunParsed() {
    std::optional<std::string> platformOption;
    if (m_app.count("--platform") != 0) {
        platformOption = m_platform;
    }
    std::optional<EPlatformFamily> family = CPlatformFamily::Resolve(platformOption);
    if (!family) {
        return Usage("the platform family must be nt, 9x or linux");
    }
    auto group = std::find_if(m_groups.begin(), m_groups.end(),
                              [](const auto& candidate) { return candidate->Parsed(); });
    if (!(*group)->UsesRegistry(*family)) {
        return (*group)->RunAlone({*family, m_root}, m_out, m_err);
    }
    CCliMessageBox messages(m_bYes, m_bInteractive, m_in, m_err);
    try {
        CCliEnvironment environment({*family, m_root}, CHive::ResolvePath(m_registry),
                                    (*group)->OpenMode(), messages, m_out, m_err);
        const CHive& hive = environment.Hive();
        if ((*group)->Writes() && hive.IsReadOnly()) {
            m_err << "qserctl: Cannot use registry file '" << hive.Path()
                  << "' for writing: " << hive.ReadOnlyReason() << "; nothing was changed\n";
            return ECliExit::Failed;
        }
        return (*group)->Run(environment);
    } catch (const CHiveError& error) {
        m_err << "qserctl: " << error.what() << '\n';
        return ECliExit::Failed;
    }
}
