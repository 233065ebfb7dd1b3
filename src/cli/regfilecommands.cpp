#include "regfilecommands.h"

#include "clienvironment.h"
#include "hivepath.h"
#include "regfileimporter.h"
#include "regfilewriter.h"

#include <CLI/CLI.hpp>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <memory>
#include <strings.h>
#include <sys/stat.h>
#include <vector>

namespace {
constexpr const char* kRootName = "HKEY_LOCAL_MACHINE";

// Where a reason goes on over several lines, each of which begins as the first one does.
constexpr const char* kReasonBreak = "\nqserctl: ";

std::string Joined(const std::vector<std::string>& lines, const std::string& prefix,
                   const char* separator) {
    std::string joined;
    for (const std::string& line : lines) {
        joined += (joined.empty() ? "" : separator) + prefix + line;
    }
    return joined;
}

std::string SystemReason() {
    return std::strerror(errno);
}

// C streams report a read error (a folder, a device) as a result rather than an exception. The
// buffer is sized once, so that a large file is not held twice while it grows.
bool ReadBytes(const std::string& path, std::vector<std::uint8_t>& bytes) {
    std::unique_ptr<std::FILE, int (*)(std::FILE*)> file(std::fopen(path.c_str(), "rb"),
                                                         &std::fclose);
    if (file == nullptr) {
        return false;
    }
    struct stat info {};
    if (fstat(fileno(file.get()), &info) == 0 && S_ISREG(info.st_mode)) {
        bytes.reserve(static_cast<std::size_t>(info.st_size));
    }
    std::uint8_t buffer[65536];
    std::size_t count = 0;
    while ((count = std::fread(buffer, 1, sizeof buffer, file.get())) > 0) {
        bytes.insert(bytes.end(), buffer, buffer + count);
    }
    return std::ferror(file.get()) == 0;
}
} // namespace

void CRegFileCommands::Register(CLI::App& app) {
    m_pExport = app.add_subcommand(
        "export", "Write KEY's subtree (default: the whole hive) as a REGEDIT4 .reg file");
    m_pExport->add_option("KEY", m_key, "a key path, with or without HKEY_LOCAL_MACHINE\\");
    m_pExport->add_option("-o,--output", m_outputFile, "the file to write (default: stdout)")
        ->type_name("FILE");

    m_pImport = app.add_subcommand(
        "import", "Merge a .reg file into the hive, all or nothing, and list the changes");
    m_pImport->add_option("FILE", m_inputFile, "a REGEDIT4 or version 5.00 .reg file")->required();
    m_pImport->add_flag("--dry-run", m_bDryRun,
                        "print what the import would change (keys added and deleted, values set "
                        "and deleted) and change nothing");
}

bool CRegFileCommands::Parsed() const {
    return m_pExport->parsed() || m_pImport->parsed();
}

EHiveOpen CRegFileCommands::OpenMode() const {
    return m_pExport->parsed() || m_bDryRun ? EHiveOpen::ForReading : EHiveOpen::CreateIfMissing;
}

bool CRegFileCommands::Writes() const {
    return m_pImport->parsed() && !m_bDryRun;
}

std::string CRegFileCommands::KeyPath(const std::string& key) {
    const std::size_t rootLength = std::strlen(kRootName);
    if (strncasecmp(key.c_str(), kRootName, rootLength) != 0) {
        return key;
    }
    if (key.size() == rootLength) {
        return {};
    }
    return key[rootLength] == '\\' ? key.substr(rootLength + 1) : key;
}

ECliExit CRegFileCommands::Run(CCliEnvironment& environment) {
    CHive& hive = environment.Hive();
    if (m_pExport->parsed()) {
        return environment.RunBatch(EBatchEnd::Discard, [this, &hive] { return Export(hive); });
    }
    return environment.RunBatch(m_bDryRun ? EBatchEnd::Discard : EBatchEnd::Keep,
                                [this, &hive] { return Import(hive); });
}

// Every key and value that could be written is; the others are named, one line each.
SCliResult CRegFileCommands::Export(CHive& hive) const {
    std::string path = KeyPath(m_key);
    std::string text;
    CRegFileWriter writer(hive);
    Win32Status status = writer.Write(path, text);
    if (status == ERROR_FILE_NOT_FOUND) {
        return SCliResult::Refuse(std::string("there is no key ") + kRootName + "\\" +
                                  CHivePath::Printable(path));
    }
    if (status != ERROR_SUCCESS) {
        return SCliResult::Fail("the registry cannot be read (error " + std::to_string(status) +
                                ")");
    }
    const std::string leftOut = Joined(writer.LeftOut(), "not exported: ", kReasonBreak);
    if (!m_outputFile.empty()) {
        std::ofstream file(m_outputFile, std::ios::binary | std::ios::trunc);
        if (!file || !file.write(text.data(), static_cast<std::streamsize>(text.size())).flush()) {
            return SCliResult::Fail("cannot write " + CHivePath::Printable(m_outputFile, true) +
                                    ": " + SystemReason());
        }
        text.clear();
    }
    return leftOut.empty() ? SCliResult::Output(text) : SCliResult::Partial(text, leftOut);
}

SCliResult CRegFileCommands::Import(CHive& hive) const {
    std::vector<std::uint8_t> bytes;
    if (!ReadBytes(m_inputFile, bytes)) {
        return SCliResult::Fail("cannot read " + CHivePath::Printable(m_inputFile, true) + ": " +
                                SystemReason());
    }
    CRegFileImporter importer(hive);
    if (!importer.Import(m_inputFile, bytes)) {
        return SCliResult::Fail(importer.Error());
    }
    const std::vector<std::string> lines = importer.Changes().Lines();
    if (m_bDryRun) {
        return SCliResult::Output(Joined(lines, "", "\n") + "\n");
    }
    SCliResult done;
    done.reason = Joined(lines, "", kReasonBreak);
    return done;
}
