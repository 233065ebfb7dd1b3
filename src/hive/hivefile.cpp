#include "hivefile.h"

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <sys/stat.h>
#include <unistd.h>

namespace fs = std::filesystem;

CHiveError CHiveFile::Refusal(const std::string& path, const std::string& reason) {
    return CHiveError("Cannot use registry file '" + path + "': " + reason);
}

std::string CHiveFile::SystemReason(int error) {
    switch (error) {
    case ENOSPC:
    case EDQUOT:
        return "the disk is full";
    case EACCES:
    case EPERM:
        return "permission denied";
    case EROFS:
        return "the file system is read-only";
    case EIO:
        return "an I/O error occurred";
    default:
        return std::strerror(error);
    }
}

std::string CHiveFile::FileWriteRefusal(const std::string& path) {
    if (access(path.c_str(), W_OK) == 0) {
        return {};
    }
    if (errno == EROFS) {
        return "the file system is read-only";
    }
    struct stat info {};
    const bool noWriteBits = stat(path.c_str(), &info) == 0 && (info.st_mode & 0222) == 0;
    return noWriteBits ? "the file is read-only" : "permission to write it is denied";
}

std::string CHiveFile::FolderWriteRefusal(const std::string& path) {
    const fs::path folder = fs::path(path).parent_path();
    if (access(folder.empty() ? "." : folder.c_str(), W_OK) == 0) {
        return {};
    }
    return errno == EROFS ? "the file system is read-only" : "its folder cannot be written";
}
