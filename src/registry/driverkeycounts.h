#pragma once

// The number of boards and ports the driver key holds: its board keys and their port keys, by
// the key-name rules of the load, whatever any record or counter believes.
struct SDriverKeyCounts {
    int boards = 0;
    int ports = 0;

    // Counts what the driver key holds now; false (counts unchanged) when it cannot be opened.
    bool Count();
};
