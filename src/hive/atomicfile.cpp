#include "atomicfile.h"

#include "iregistrystore.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <stdlib.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {
namespace fs = std::filesystem;

[[noreturn]] void Fail(const std::string& what, const std::string& path, int error) {
    throw CRegistryStoreError(what + " '" + path + "': " + std::strerror(error), error);
}

std::string FolderOf(const std::string& path) {
    const fs::path folder = fs::path(path).parent_path();
    return folder.empty() ? "." : folder.string();
}

// Removes a file that must not stay, keeping the errno of the failure being reported.
void RemoveQuietly(const std::string& path) {
    const int saved = errno;
    unlink(path.c_str());
    errno = saved;
}
} // namespace

std::string CAtomicFile::MakeTemporary(const std::string& path) {
    std::string name = path + ".qser-tmp-XXXXXX";
    const int fd = mkostemp(name.data(), O_CLOEXEC);
    if (fd < 0) {
        Fail("cannot create a temporary file beside", path, errno);
    }
    close(fd);
    return name;
}

void CAtomicFile::SyncFile(const std::string& path) {
    const int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        Fail("cannot open", path, errno);
    }
    const int result = fsync(fd);
    const int error = errno;
    close(fd);
    if (result != 0) {
        Fail("cannot sync", path, error);
    }
}

void CAtomicFile::SyncFolder(const std::string& path) {
    const std::string folder = FolderOf(path);
    const int fd = open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) {
        Fail("cannot open the folder", folder, errno);
    }
    const int result = fsync(fd);
    const int error = errno;
    close(fd);
    if (result != 0) {
        Fail("cannot sync the folder", folder, error);
    }
}

void CAtomicFile::Install(const std::string& temporary, const std::string& path) {
    try {
        SyncFile(temporary);
        struct stat original {};
        if (stat(path.c_str(), &original) != 0) {
            Fail("cannot look at", path, errno);
        }
        // The owner can only be kept by a privileged process; the permissions always.
        if (chown(temporary.c_str(), original.st_uid, original.st_gid) != 0 && errno != EPERM) {
            Fail("cannot set the owner of", temporary, errno);
        }
        if (chmod(temporary.c_str(), original.st_mode & 07777) != 0) {
            Fail("cannot set the permissions of", temporary, errno);
        }
        if (rename(temporary.c_str(), path.c_str()) != 0) {
            Fail("cannot replace", path, errno);
        }
    } catch (const CRegistryStoreError&) {
        RemoveQuietly(temporary);
        throw;
    }
    // The new file is in place now: a folder that cannot be synced loses no data of the old one.
    try {
        SyncFolder(path);
    } catch (const CRegistryStoreError&) {
    }
}

void CAtomicFile::CopyOnce(const std::string& path, const std::string& copy) {
    std::error_code error;
    if (fs::exists(copy, error)) {
        return;
    }
    const std::string temporary = MakeTemporary(copy);
    try {
        if (!fs::copy_file(path, temporary, fs::copy_options::overwrite_existing, error)) {
            Fail("cannot copy", path, error.value());
        }
        SyncFile(temporary);
        // link() never replaces: a copy that another process made meanwhile is kept.
        if (link(temporary.c_str(), copy.c_str()) != 0 && errno != EEXIST) {
            Fail("cannot create", copy, errno);
        }
    } catch (const CRegistryStoreError&) {
        RemoveQuietly(temporary);
        throw;
    }
    unlink(temporary.c_str());
    SyncFolder(copy);
}
