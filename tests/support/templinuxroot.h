#pragma once

#include "processscope.h"
#include "rootfilesystem.h"

#include <optional>
#include <string>

// A Linux system's files in a temporary folder, installed as the root the Linux family reads
// and writes, with the Linux family, for as long as the object lives; the folder is removed
// on destruction.
class CTempLinuxRoot {
public:
    CTempLinuxRoot();
    ~CTempLinuxRoot();
    CTempLinuxRoot(const CTempLinuxRoot&) = delete;
    CTempLinuxRoot& operator=(const CTempLinuxRoot&) = delete;

    const std::string& Folder() const { return m_folder; }
    CRootFileSystem& Files() { return m_files; }
    // Writes a file under the root (its folders made), or reads one: nothing when missing.
    void Put(const std::string& path, const std::string& bytes) const;
    std::optional<std::string> Get(const std::string& path) const;
    // A serial line the machine has: /sys/class/tty/ttySn/port and irq.
    void PutLine(int number, unsigned port, unsigned irq) const;

private:
    std::string m_folder;
    CRootFileSystem m_files;
    std::optional<CProcessScope> m_scope;
};
