#include "clifixture.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <stdexcept>

namespace {
std::string MakeFolder() {
    std::string pattern = (std::filesystem::temp_directory_path() / "qserctl-test-XXXXXX").string();
    if (mkdtemp(pattern.data()) == nullptr) {
        throw std::runtime_error("cannot create a temporary folder");
    }
    return pattern;
}
} // namespace

CCliFixture::CCliFixture() : m_folder(MakeFolder()), m_runner(m_folder) {}

CCliFixture::~CCliFixture() {
    std::error_code ignored;
    std::filesystem::remove_all(m_folder, ignored);
}

std::string CCliFixture::WriteFile(const std::string& name, const std::string& bytes) const {
    std::string path = m_folder + "/" + name;
    std::ofstream(path, std::ios::binary | std::ios::trunc) << bytes;
    return path;
}

std::string CCliFixture::ReadFile(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}

bool CCliFixture::Exists(const std::string& name) const {
    return std::filesystem::exists(m_folder + "/" + name);
}

SQserCtlRun CCliFixture::Ctl(std::vector<std::string> args, const std::string& input) const {
    return CtlOn(RegistryPath(), std::move(args), input);
}

SQserCtlRun CCliFixture::CtlOn(const std::string& registry, std::vector<std::string> args,
                               const std::string& input) const {
    args.insert(args.begin(), {"--registry", registry});
    return m_runner.Run(args, input);
}

SQserCtlRun CCliFixture::Ok(std::vector<std::string> args) const {
    SQserCtlRun run = Ctl(args);
    EXPECT_EQ(run.status, 0) << "qserctl " << ::testing::PrintToString(args) << "\n" << run.err;
    return run;
}

void CCliFixture::InstallSerialService() const {
    Ok({"import",
        WriteFile("serial.reg",
                  Reg({"[HKEY_LOCAL_MACHINE\\SYSTEM\\CurrentControlSet\\Services\\Serial]",
                       "\"Type\"=dword:00000001"}))});
}

nlohmann::json CCliFixture::ShowJson() const {
    return nlohmann::json::parse(Ok({"show", "--json"}).out);
}

std::string CCliFixture::Export(const std::string& key) const {
    std::vector<std::string> args = {"export"};
    if (!key.empty()) {
        args.push_back(key);
    }
    return Ok(args).out;
}

CCliFixture::SSnapshot CCliFixture::Snapshot() const {
    std::string bytes = ReadFile(RegistryPath()) + ReadFile(RegistryPath() + "-wal");
    return {Export(), bytes};
}

std::string CCliFixture::Reg(std::initializer_list<std::string> lines) {
    std::string text = "REGEDIT4\r\n\r\n";
    for (const std::string& line : lines) {
        text += line + "\r\n";
    }
    return text;
}
