#pragma once

#include "hive.h"
#include "temphive.h"

#include <cstdint>
#include <gtest/gtest.h>
#include <initializer_list>
#include <string>
#include <vector>

// A fresh hive for .reg file tests, with short hands for filling it and for exporting and
// importing .reg text (given as a string of bytes).
class CRegFileFixture : public ::testing::Test {
protected:
    explicit CRegFileFixture(ETestStore store = ETestStore::Sqlite) : m_temp(store) {}

    static std::vector<std::uint8_t> Bytes(const std::string& text) {
        return {text.begin(), text.end()};
    }
    // Each line followed by CRLF, as an exported file is laid out.
    static std::string CrlfLines(std::initializer_list<std::string> lines);
    // Latin-1 text with its terminating zero, as a text value is stored.
    static std::vector<std::uint8_t> Text(const std::string& text);
    static std::vector<std::uint8_t> FileBytes(const std::string& path);

    CHive& Hive() { return m_temp.Hive(); }
    HiveKeyId Key(const std::string& path);
    void Put(const std::string& path, const std::string& name, std::uint32_t type,
             const std::vector<std::uint8_t>& data);
    // The value, or a value of type 0xdead with no data when it cannot be read.
    SHiveValue Get(const std::string& path, const std::string& name);
    bool HasKey(const std::string& path);
    std::string Export(const std::string& path = "");
    // Imports under the file name "t.reg"; the error text lands in m_error.
    bool Import(const std::string& text);
    // The file and (for our own) its write-ahead log, to prove that nothing was written.
    std::vector<std::uint8_t> DatabaseBytes() const;

    CTempHive m_temp;
    std::string m_error;
};
