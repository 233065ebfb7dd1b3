#pragma once

#include "irootfilesystem.h"

// The file-system interface over the real files under a root folder (POSIX calls).
class CRootFileSystem : public IRootFileSystem {
public:
    // root "" means "/".
    explicit CRootFileSystem(const std::string& root);

    const std::string& Root() const override { return m_root; }
    std::string HostPath(const std::string& path) const override;
    bool IsRunningSystem() const override;
    int Read(const std::string& path, std::string& bytes) const override;
    int List(const std::string& folder, std::vector<std::string>& names) const override;
    bool Exists(const std::string& path) const override;
    int Replace(const std::string& path, const std::string& bytes, mode_t newMode) override;
    int Remove(const std::string& path) override;

private:
    int MakeFolders(const std::string& folder) const;

    std::string m_root;
};
