#pragma once

#include <string>
#include <vector>

// How names read from the registry appear in messages: a hand-edited name may hold anything, and
// a message reaches a terminal or a message box.

// The name with every control character (C0, DEL, C1) written as \xNN and, past 40 characters,
// cut short with "...".
std::string PrintableName(const std::string& name);

// "a", "a and b", "a, b and c".
std::string JoinedList(const std::vector<std::string>& items);
