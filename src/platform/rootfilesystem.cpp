#include "rootfilesystem.h"

#include <cerrno>
#include <cstdlib>
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {
std::string FolderOf(const std::string& path) {
    const std::size_t slash = path.rfind('/');
    return slash == std::string::npos || slash == 0 ? "/" : path.substr(0, slash);
}

// Closes a descriptor when it goes out of scope.
class CDescriptor {
public:
    explicit CDescriptor(int fd) : m_fd(fd) {}
    ~CDescriptor() {
        if (m_fd >= 0) {
            ::close(m_fd);
        }
    }
    CDescriptor(const CDescriptor&) = delete;
    CDescriptor& operator=(const CDescriptor&) = delete;
    int Get() const { return m_fd; }
    // errno of the close, which is where some file systems report a failed write.
    int Close() {
        const int result = ::close(m_fd);
        m_fd = -1;
        return result == 0 ? 0 : errno;
    }

private:
    int m_fd;
};

int WriteAll(int fd, const std::string& bytes) {
    std::size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t written = ::write(fd, bytes.data() + done, bytes.size() - done);
        if (written < 0) {
            if (errno == EINTR) {
                continue;
            }
            return errno;
        }
        done += static_cast<std::size_t>(written);
    }
    return 0;
}

int SyncFolder(const std::string& folder) {
    CDescriptor fd(::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (fd.Get() < 0) {
        return errno;
    }
    return ::fsync(fd.Get()) == 0 ? 0 : errno;
}

// Fills the temporary file and gives it the mode and owner the file is to have.
int FillTemporary(int fd, const std::string& bytes, const struct stat* old, mode_t newMode) {
    if (int error = WriteAll(fd, bytes); error != 0) {
        return error;
    }
    const mode_t mode = old != nullptr ? (old->st_mode & 07777) : newMode;
    if (::fchmod(fd, mode) != 0) {
        return errno;
    }
    if (old != nullptr && ::fchown(fd, old->st_uid, old->st_gid) != 0 && errno != EPERM) {
        return errno;
    }
    return ::fsync(fd) == 0 ? 0 : errno;
}
} // namespace

namespace {
std::string WithoutTrailingSlashes(const std::string& root) {
    const std::size_t last = root.find_last_not_of('/');
    return last == std::string::npos ? std::string("/") : root.substr(0, last + 1);
}
} // namespace

CRootFileSystem::CRootFileSystem(const std::string& root) : m_root(WithoutTrailingSlashes(root)) {}

std::string CRootFileSystem::HostPath(const std::string& path) const {
    return m_root == "/" ? path : m_root + path;
}

bool CRootFileSystem::IsRunningSystem() const {
    char* resolved = ::realpath(m_root.c_str(), nullptr);
    const bool running = resolved != nullptr && std::string(resolved) == "/";
    std::free(resolved);
    return running;
}

int CRootFileSystem::Read(const std::string& path, std::string& bytes) const {
    CDescriptor fd(::open(HostPath(path).c_str(), O_RDONLY | O_CLOEXEC));
    if (fd.Get() < 0) {
        return errno;
    }
    bytes.clear();
    char buffer[8192];
    for (;;) {
        const ssize_t got = ::read(fd.Get(), buffer, sizeof buffer);
        if (got < 0) {
            if (errno == EINTR) {
                continue;
            }
            return errno;
        }
        if (got == 0) {
            return 0;
        }
        bytes.append(buffer, static_cast<std::size_t>(got));
    }
}

int CRootFileSystem::List(const std::string& folder, std::vector<std::string>& names) const {
    DIR* dir = ::opendir(HostPath(folder).c_str());
    if (dir == nullptr) {
        return errno;
    }
    names.clear();
    while (const dirent* entry = ::readdir(dir)) {
        const std::string name = entry->d_name;
        if (name != "." && name != "..") {
            names.push_back(name);
        }
    }
    ::closedir(dir);
    return 0;
}

bool CRootFileSystem::Exists(const std::string& path) const {
    struct stat info {};
    return ::lstat(HostPath(path).c_str(), &info) == 0;
}

int CRootFileSystem::MakeFolders(const std::string& folder) const {
    struct stat info {};
    if (::stat(HostPath(folder).c_str(), &info) == 0) {
        return S_ISDIR(info.st_mode) ? 0 : ENOTDIR;
    }
    if (errno != ENOENT || folder == "/") {
        return errno;
    }
    if (int error = MakeFolders(FolderOf(folder)); error != 0) {
        return error;
    }
    return ::mkdir(HostPath(folder).c_str(), 0755) == 0 || errno == EEXIST ? 0 : errno;
}

int CRootFileSystem::Replace(const std::string& path, const std::string& bytes, mode_t newMode) {
    const std::string target = HostPath(path);
    struct stat old {};
    const bool exists = ::lstat(target.c_str(), &old) == 0;
    if (!exists && errno != ENOENT) {
        return errno;
    }
    if (exists && !S_ISREG(old.st_mode)) {
        return S_ISLNK(old.st_mode) ? ELOOP : EISDIR;
    }
    const std::string folder = FolderOf(path);
    if (int error = MakeFolders(folder); error != 0) {
        return error;
    }
    std::string temporary = HostPath(folder) + "/.qser-XXXXXX";
    CDescriptor fd(::mkostemp(temporary.data(), O_CLOEXEC));
    if (fd.Get() < 0) {
        return errno;
    }
    int error = FillTemporary(fd.Get(), bytes, exists ? &old : nullptr, newMode);
    if (error == 0) {
        error = fd.Close();
    }
    if (error == 0 && ::rename(temporary.c_str(), target.c_str()) != 0) {
        error = errno;
    }
    if (error != 0) {
        ::unlink(temporary.c_str());
        return error;
    }
    return SyncFolder(HostPath(folder));
}

int CRootFileSystem::Remove(const std::string& path) {
    const std::string target = HostPath(path);
    if (::unlink(target.c_str()) != 0) {
        return errno == ENOENT ? 0 : errno;
    }
    return SyncFolder(HostPath(FolderOf(path)));
}
