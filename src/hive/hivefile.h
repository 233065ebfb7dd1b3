#pragma once

#include "hive.h"

#include <string>

// What the file system says about a store's file, in the words every refusal uses: each store
// checks its own content, and all of them name the file and the cause alike.
class CHiveFile {
public:
    // The error for a refused file: names the file and the reason.
    static CHiveError Refusal(const std::string& path, const std::string& reason);
    // What a system error means for the user: "the disk is full", "permission denied", ...
    static std::string SystemReason(int error);
    // Why the file itself cannot be written; empty when it can.
    static std::string FileWriteRefusal(const std::string& path);
    // Why no file can be made or renamed in the file's folder; empty when they can.
    static std::string FolderWriteRefusal(const std::string& path);
};
