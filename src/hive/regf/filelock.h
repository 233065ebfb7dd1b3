#pragma once

#include <chrono>
#include <string>

// An exclusive lock (flock) on the file that a path names, for one writing transaction. Commits
// rename a new file over the path, so a lock granted on a file that the path no longer names is
// given up and taken again on the new one.
class CFileLock {
public:
    CFileLock() = default;
    ~CFileLock() { Release(); }
    CFileLock(const CFileLock&) = delete;
    CFileLock& operator=(const CFileLock&) = delete;

    // 0 when granted; EWOULDBLOCK when another holder kept it for longer than wait; otherwise
    // the errno of the failed call.
    int Acquire(const std::string& path, std::chrono::milliseconds wait);
    void Release();
    bool Held() const { return m_fd >= 0; }

private:
    // 0, EAGAIN for a lock held elsewhere or a path that now names another file, or an errno.
    int TryOnce(const std::string& path);
    int m_fd = -1;
};
