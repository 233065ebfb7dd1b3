#pragma once

#include "platformfamily.h"

#include <functional>
#include <string>

class CHarnessSession;

// One user action as a harness repeats it: the state it starts from (built once, through the
// utility itself, into a file every trial starts from a copy of), what is done before the
// action without faults (a selection, a change left pending), and the action itself.
struct SHarnessAction {
    using Step = std::function<void(CHarnessSession&)>;

    std::string name;
    EPlatformFamily family = EPlatformFamily::WindowsNT;
    std::string base; // the name of the starting state; actions that share it share its file
    Step prepare;     // builds the starting state on an empty hive, as user actions
    Step setup;       // runs in each trial before the faults are armed; may be empty
    Step act;         // the action under test
};
