#include "regfilefixture.h"

#include "regfileimporter.h"
#include "regfilewriter.h"

#include <fstream>
#include <iterator>

std::string CRegFileFixture::CrlfLines(std::initializer_list<std::string> lines) {
    std::string text;
    for (const std::string& line : lines) {
        text += line + "\r\n";
    }
    return text;
}

std::vector<std::uint8_t> CRegFileFixture::Text(const std::string& text) {
    std::vector<std::uint8_t> data(text.begin(), text.end());
    data.push_back(0);
    return data;
}

std::vector<std::uint8_t> CRegFileFixture::FileBytes(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}

HiveKeyId CRegFileFixture::Key(const std::string& path) {
    HiveKeyId key = 0;
    EXPECT_EQ(Hive().CreateKey(path, key), ERROR_SUCCESS) << path;
    return key;
}

void CRegFileFixture::Put(const std::string& path, const std::string& name, std::uint32_t type,
                          const std::vector<std::uint8_t>& data) {
    EXPECT_EQ(Hive().WriteValue(Key(path), name, type, data), ERROR_SUCCESS) << path << name;
}

SHiveValue CRegFileFixture::Get(const std::string& path, const std::string& name) {
    HiveKeyId key = 0;
    SHiveValue value;
    if (Hive().FindKey(path, key) != ERROR_SUCCESS ||
        Hive().ReadValue(key, name, value) != ERROR_SUCCESS) {
        return {name, 0xdead, {}};
    }
    return value;
}

bool CRegFileFixture::HasKey(const std::string& path) {
    HiveKeyId key = 0;
    return Hive().FindKey(path, key) == ERROR_SUCCESS;
}

std::string CRegFileFixture::Export(const std::string& path) {
    std::string out;
    EXPECT_EQ(CRegFileWriter(Hive()).Write(path, out), ERROR_SUCCESS);
    return out;
}

bool CRegFileFixture::Import(const std::string& text) {
    CRegFileImporter importer(Hive());
    const bool imported = importer.Import("t.reg", Bytes(text));
    m_error = importer.Error();
    return imported;
}

std::vector<std::uint8_t> CRegFileFixture::DatabaseBytes() const {
    std::vector<std::uint8_t> bytes = FileBytes(m_temp.FilePath());
    const std::vector<std::uint8_t> log = FileBytes(m_temp.FilePath() + "-wal");
    bytes.insert(bytes.end(), log.begin(), log.end());
    return bytes;
}
