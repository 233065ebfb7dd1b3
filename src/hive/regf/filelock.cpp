#include "filelock.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>

namespace {
constexpr std::chrono::milliseconds kPoll{10};
}

int CFileLock::TryOnce(const std::string& path) {
    const int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        return errno;
    }
    if (flock(fd, LOCK_EX | LOCK_NB) != 0) {
        const int error = errno; // EWOULDBLOCK, which is EAGAIN, while another holds it
        close(fd);
        return error;
    }
    struct stat locked {};
    struct stat named {};
    if (fstat(fd, &locked) != 0 || stat(path.c_str(), &named) != 0) {
        const int error = errno;
        close(fd);
        return error;
    }
    if (locked.st_dev != named.st_dev || locked.st_ino != named.st_ino) {
        close(fd);
        return EAGAIN;
    }
    m_fd = fd;
    return 0;
}

int CFileLock::Acquire(const std::string& path, std::chrono::milliseconds wait) {
    Release();
    const auto deadline = std::chrono::steady_clock::now() + wait;
    while (true) {
        const int error = TryOnce(path);
        if (error != EAGAIN) {
            return error;
        }
        if (std::chrono::steady_clock::now() >= deadline) {
            return EWOULDBLOCK;
        }
        std::this_thread::sleep_for(kPoll);
    }
}

void CFileLock::Release() {
    if (m_fd >= 0) {
        close(m_fd); // closing the last descriptor of the open file releases the lock
        m_fd = -1;
    }
}
