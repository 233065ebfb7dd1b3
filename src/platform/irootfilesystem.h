#pragma once

#include <string>
#include <sys/types.h>
#include <vector>

// The files of a Linux system, reached under one root folder: "/" for the system this process
// runs on, or the folder where another system's disk is mounted (and, in tests, a temporary
// folder). Paths are absolute within the root ("/etc/serial.conf"). Failures are errno values;
// 0 is success. Nothing here knows what the files mean.
class IRootFileSystem {
public:
    virtual ~IRootFileSystem() = default;

    // The root folder as given, and a path of the root as the person reads it.
    virtual const std::string& Root() const = 0;
    virtual std::string HostPath(const std::string& path) const = 0;
    // Whether the root is the system this process runs on, whose services can be asked.
    virtual bool IsRunningSystem() const = 0;

    // The whole content of a file; ENOENT when it does not exist.
    virtual int Read(const std::string& path, std::string& bytes) const = 0;
    // The names in a folder, in no order, without "." and ".."; ENOENT when it does not exist.
    virtual int List(const std::string& folder, std::vector<std::string>& names) const = 0;
    virtual bool Exists(const std::string& path) const = 0;

    // Replaces a file by bytes so that a reader sees either the old file or the new one whole:
    // a temporary file in the same folder, synced, renamed over it, the folder synced. An
    // existing file keeps its mode and owner; a new one gets newMode (and missing folders
    // 0755). A symbolic link is refused (ELOOP) rather than replaced or followed out of the
    // root. On failure the old file is as it was.
    virtual int Replace(const std::string& path, const std::string& bytes, mode_t newMode) = 0;
    // Removes a file; 0 also when there was none.
    virtual int Remove(const std::string& path) = 0;
};
