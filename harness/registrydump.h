#pragma once

#include <string>

// What a harness finds in a hive file after a run, read without the hive's code (a plain
// read-only connection on the unix VFS), so that a fault in the hive cannot hide itself.
struct SFileVerdict {
    bool opens = false;    // CHive::Open accepts the file
    std::string openError; // its reason when it does not
    std::string integrity; // PRAGMA integrity_check (or quick_check), "ok" when sound
    std::string dump;      // every key path with its values and the service states, sorted
};

class CRegistryDump {
public:
    // The canonical dump of a file: one line per key and value ("path\tname\ttype\thex\tseq"),
    // ordered by path and name, then one per service. Ids are left out: a rolled-back
    // transaction may leave them different, and nobody reads them.
    static std::string Dump(const std::string& path);
    // Opens the file through CHive first (which also recovers a write-ahead log), then checks
    // and dumps it. quick selects quick_check instead of integrity_check.
    static SFileVerdict Inspect(const std::string& path, bool quick = false);
};
