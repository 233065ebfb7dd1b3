#pragma once

#include <functional>
#include <string>
#include <vector>

// What a child process reported and how it ended.
struct SChildReport {
    bool exited = false; // ended by _exit or a return, not by a signal
    int status = -1;     // its exit status, or the signal that ended it
    std::vector<std::string> lines;

    bool Has(const std::string& line) const;
    // The lines that begin with prefix, without it.
    std::vector<std::string> With(const std::string& prefix) const;
};

// Runs a harness step in a child process of its own, so that a crash, an abort or a lost power
// supply ends only the child, and whatever the step's process held (locks, caches, connections)
// is gone, as after a real end of a program, when the parent looks at the file.
class CForkedRun {
public:
    using Body = std::function<void(int reportFd)>;

    // Runs body in a child; the child exits 0 when body returns, 70 on an exception.
    static SChildReport Run(const Body& body);
    // Starts body in a child and returns its pid; reportFd receives the read end of its pipe.
    static int Start(const Body& body, int& reportFd);
    // Reads the child's lines until the pipe closes, then reaps it. alreadyRead is what the
    // caller read from the pipe before (it may end inside a line).
    static SChildReport Finish(int pid, int reportFd, const std::string& alreadyRead = {});

    // One line to the parent; it arrives as given, newlines and all.
    static void Report(int reportFd, const std::string& line);
};
