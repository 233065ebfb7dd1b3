#pragma once

#include <string>

// Replacing a file whole: the new content goes to a temporary file in the same folder, is
// synced, and is renamed over the original, so a crash leaves the old file or the new one.
// Every failure throws CRegistryStoreError carrying the errno, removes what it made, and leaves
// the original as it was.
class CAtomicFile {
public:
    // A new empty file beside path, with a name of its own.
    static std::string MakeTemporary(const std::string& path);
    // Syncs temporary, gives it the original's permissions and owner, renames it over path and
    // syncs the folder. temporary is removed when it cannot be put in place.
    static void Install(const std::string& temporary, const std::string& path);
    // A synced copy of path at copy, unless copy exists already: it is never overwritten.
    static void CopyOnce(const std::string& path, const std::string& copy);

private:
    static void SyncFile(const std::string& path);
    static void SyncFolder(const std::string& path);
};
