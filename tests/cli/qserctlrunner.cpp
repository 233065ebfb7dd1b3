#include "qserctlrunner.h"

#include <fcntl.h>
#include <fstream>
#include <iterator>
#include <spawn.h>
#include <stdexcept>
#include <sys/wait.h>

extern char** environ;

namespace {
std::string ReadAll(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}

std::vector<char*> Pointers(std::vector<std::string>& texts) {
    std::vector<char*> pointers;
    for (std::string& text : texts) {
        pointers.push_back(text.data());
    }
    pointers.push_back(nullptr);
    return pointers;
}

// posix_spawn's file actions, released however the spawn ends.
class CFileActions {
public:
    CFileActions() { posix_spawn_file_actions_init(&m_actions); }
    ~CFileActions() { posix_spawn_file_actions_destroy(&m_actions); }
    CFileActions(const CFileActions&) = delete;
    CFileActions& operator=(const CFileActions&) = delete;
    void Open(int fd, const std::string& path, int flags) {
        posix_spawn_file_actions_addopen(&m_actions, fd, path.c_str(), flags, 0600);
    }
    const posix_spawn_file_actions_t* Get() const { return &m_actions; }

private:
    posix_spawn_file_actions_t m_actions;
};
} // namespace

std::vector<std::string>
CQserCtlRunner::Environment(const std::map<std::string, std::string>& extra) const {
    std::vector<std::string> variables;
    for (char** variable = environ; *variable != nullptr; ++variable) {
        std::string text = *variable;
        if (text.rfind("QSER_", 0) != 0 && text.rfind("XDG_DATA_HOME=", 0) != 0) {
            variables.push_back(text);
        }
    }
    // The default registry file must never be the user's own.
    variables.push_back("XDG_DATA_HOME=" + m_folder + "/xdg");
    for (const auto& [name, value] : extra) {
        variables.push_back(name + "=" + value);
    }
    return variables;
}

SQserCtlRun CQserCtlRunner::Run(const std::vector<std::string>& args, const std::string& input,
                                const std::map<std::string, std::string>& environment) const {
    const std::string inPath = m_folder + "/stdin";
    const std::string outPath = m_folder + "/stdout";
    const std::string errPath = m_folder + "/stderr";
    std::ofstream(inPath, std::ios::binary | std::ios::trunc) << input;

    CFileActions actions;
    actions.Open(0, inPath, O_RDONLY);
    actions.Open(1, outPath, O_WRONLY | O_CREAT | O_TRUNC);
    actions.Open(2, errPath, O_WRONLY | O_CREAT | O_TRUNC);

    std::vector<std::string> argv = {QSERCTL_PATH};
    argv.insert(argv.end(), args.begin(), args.end());
    std::vector<std::string> envp = Environment(environment);
    std::vector<char*> argPointers = Pointers(argv);
    std::vector<char*> envPointers = Pointers(envp);

    pid_t child = 0;
    if (posix_spawn(&child, QSERCTL_PATH, actions.Get(), nullptr, argPointers.data(),
                    envPointers.data()) != 0) {
        throw std::runtime_error("cannot start " + std::string(QSERCTL_PATH));
    }
    int waitStatus = 0;
    if (waitpid(child, &waitStatus, 0) != child) {
        throw std::runtime_error("cannot wait for qserctl");
    }
    SQserCtlRun run;
    run.status = WIFEXITED(waitStatus) ? WEXITSTATUS(waitStatus) : -1;
    run.out = ReadAll(outPath);
    run.err = ReadAll(errPath);
    return run;
}
