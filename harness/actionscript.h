#pragma once

#include "harnesssession.h"
#include "platformfamily.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

// A run of user actions that a writer process replays step by step, each step one user action
// written as text ("add-board", "add-port Board001", "pick Board001/Port002 PortIRQ=5",
// "delete Board001", "new", "save", "close", "import FILE"), with the registry after each step.
// "close" runs the close sequence and starts the utility again, as a person closing and
// reopening the window does.
class CActionScript {
public:
    // Chooses length steps at random (seeded) among what each state offers, applying them to
    // the file as it goes and keeping the registry's dump after each. importFile, when not
    // empty, is imported now and then.
    static CActionScript Record(const std::string& file, EPlatformFamily family, std::size_t length,
                                std::uint32_t seed, const std::string& importFile);

    // Applies one step to the running utility on file.
    static void Apply(std::unique_ptr<CHarnessSession>& session, const std::string& file,
                      EPlatformFamily family, const std::string& step);

    const std::vector<std::string>& Steps() const { return m_steps; }
    // States()[k] is the registry after the first k steps; States()[0] the starting one.
    const std::vector<std::string>& States() const { return m_states; }

private:
    static std::string Choose(CHarnessSession& session, std::uint32_t roll,
                              const std::string& importFile);

    std::vector<std::string> m_steps;
    std::vector<std::string> m_states;
};
