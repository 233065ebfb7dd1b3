#include "forkedrun.h"

#include <algorithm>
#include <cstdio>
#include <stdexcept>
#include <sys/wait.h>
#include <unistd.h>

namespace {
std::string Unescaped(const std::string& line) {
    std::string text;
    for (std::size_t at = 0; at < line.size(); ++at) {
        if (line[at] == '\\' && at + 1 < line.size()) {
            text += line[++at] == 'n' ? '\n' : line[at];
        } else {
            text += line[at];
        }
    }
    return text;
}
} // namespace

bool SChildReport::Has(const std::string& line) const {
    return std::find(lines.begin(), lines.end(), line) != lines.end();
}

std::vector<std::string> SChildReport::With(const std::string& prefix) const {
    std::vector<std::string> found;
    for (const std::string& line : lines) {
        if (line.compare(0, prefix.size(), prefix) == 0) {
            found.push_back(line.substr(prefix.size()));
        }
    }
    return found;
}

void CForkedRun::Report(int reportFd, const std::string& line) {
    std::string text;
    for (char c : line) {
        text += c == '\n'   ? std::string("\\n")
                : c == '\\' ? std::string("\\\\")
                            : std::string(1, c);
    }
    text += '\n';
    // One write per line: a line is all there or not at all when the child is killed.
    if (write(reportFd, text.data(), text.size()) < 0) {
        _exit(71);
    }
}

int CForkedRun::Start(const Body& body, int& reportFd) {
    int fds[2];
    if (pipe(fds) != 0) {
        throw std::runtime_error("harness: no pipe");
    }
    std::fflush(nullptr);
    int pid = fork();
    if (pid < 0) {
        throw std::runtime_error("harness: no fork");
    }
    if (pid == 0) {
        close(fds[0]);
        int status = 0;
        try {
            body(fds[1]);
        } catch (const std::exception& error) {
            Report(fds[1], std::string("exception ") + error.what());
            status = 70;
        }
        // No destructors of the parent's statics in the child: they are the parent's.
        _exit(status);
    }
    close(fds[1]);
    reportFd = fds[0];
    return pid;
}

SChildReport CForkedRun::Finish(int pid, int reportFd, const std::string& alreadyRead) {
    SChildReport report;
    std::string pending = alreadyRead;
    char buffer[4096];
    ssize_t count = 0;
    while ((count = read(reportFd, buffer, sizeof buffer)) > 0) {
        pending.append(buffer, static_cast<std::size_t>(count));
    }
    close(reportFd);
    std::size_t start = 0;
    for (std::size_t end = pending.find('\n'); end != std::string::npos;
         start = end + 1, end = pending.find('\n', start)) {
        report.lines.push_back(Unescaped(pending.substr(start, end - start)));
    }
    int status = 0;
    waitpid(pid, &status, 0);
    report.exited = WIFEXITED(status);
    report.status = report.exited ? WEXITSTATUS(status) : WTERMSIG(status);
    return report;
}

SChildReport CForkedRun::Run(const Body& body) {
    int reportFd = -1;
    int pid = Start(body, reportFd);
    return Finish(pid, reportFd);
}
