#pragma once

#include <string>

// The hive's Latin-1 text as UTF-8, for JSON and the terminal.
std::string Latin1ToUtf8(const std::string& latin1);
