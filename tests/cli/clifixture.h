#pragma once

#include "qserctlrunner.h"

#include <cstdint>
#include <gtest/gtest.h>
#include <initializer_list>
#include <nlohmann/json.hpp>
#include <string>
#include <vector>

// A temporary folder with a registry file path in it (the file is made by the first command
// that writes), and short hands for running the built qserctl on it.
class CCliFixture : public ::testing::Test {
public:
    // A .reg file text: the REGEDIT4 header, then each line followed by CRLF.
    static std::string Reg(std::initializer_list<std::string> lines);

protected:
    CCliFixture();
    ~CCliFixture() override;

    const std::string& Folder() const { return m_folder; }
    std::string RegistryPath() const { return m_folder + "/registry.db"; }
    std::string WriteFile(const std::string& name, const std::string& bytes) const;
    static std::string ReadFile(const std::string& path);
    bool Exists(const std::string& name) const;

    // qserctl --registry <file> args..., on the fixture's file or another.
    SQserCtlRun Ctl(std::vector<std::string> args, const std::string& input = {}) const;
    SQserCtlRun CtlOn(const std::string& registry, std::vector<std::string> args,
                      const std::string& input = {}) const;
    // The same, failing the test unless it exits with 0.
    SQserCtlRun Ok(std::vector<std::string> args) const;
    nlohmann::json ShowJson() const;
    // Installs the Windows NT serial service (its key with a DWORD Type) through an import, as an
    // administrator's .reg file would.
    void InstallSerialService() const;
    std::string Export(const std::string& key = {}) const;

    // What a refused or failed command must leave alone: the export and the file's bytes
    // (with its write-ahead log).
    struct SSnapshot {
        std::string exported;
        std::string bytes;
        bool operator==(const SSnapshot&) const = default;
    };
    SSnapshot Snapshot() const;

private:
    std::string m_folder;
    CQserCtlRunner m_runner;
};
