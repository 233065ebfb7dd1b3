#include "configurationsource.h"

#include "configurationreport.h"
#include "configurationschema.h"
#include "headlesssession.h"
#include "hive.h"
#include "hivepath.h"
#include "recordingmessagebox.h"
#include "regfileimporter.h"
#include "useraction.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fstream>
#include <iterator>
#include <string_view>

namespace {
using Json = nlohmann::ordered_json;

std::string Named(const std::string& path) {
    return CHivePath::Printable(path, true);
}

std::vector<std::uint8_t> ReadAll(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    if (!file) {
        throw CSourceError("cannot read " + Named(path) + ": " + std::strerror(errno));
    }
    std::vector<std::uint8_t> bytes((std::istreambuf_iterator<char>(file)),
                                    std::istreambuf_iterator<char>());
    if (file.bad()) {
        throw CSourceError("cannot read " + Named(path) + ": " + std::strerror(errno));
    }
    return bytes;
}

bool StartsWith(std::span<const std::uint8_t> bytes, std::string_view prefix) {
    return bytes.size() >= prefix.size() && std::equal(prefix.begin(), prefix.end(), bytes.begin());
}

// The head of a text in UTF-16LE as the ASCII it starts with.
std::string AsciiOfUtf16(std::span<const std::uint8_t> bytes) {
    std::string text;
    for (std::size_t at = 0; at + 1 < bytes.size() && bytes[at + 1] == 0; at += 2) {
        text += static_cast<char>(bytes[at]);
    }
    return text;
}

bool IsRegFileHeader(std::string_view head) {
    return head.starts_with("REGEDIT4") || head.starts_with("Windows Registry Editor Version 5.00");
}
} // namespace

std::optional<ESourceKind> CConfigurationSource::KindOf(std::span<const std::uint8_t> head) {
    if (StartsWith(head, "regf")) {
        return ESourceKind::HiveFile;
    }
    if (StartsWith(head, std::string_view("SQLite format 3\0", 16))) {
        return ESourceKind::RegistryFile;
    }
    if (StartsWith(head, "\xFF\xFE")) {
        return IsRegFileHeader(AsciiOfUtf16(head.subspan(2))) ? std::optional(ESourceKind::RegFile)
                                                              : std::nullopt;
    }
    std::span<const std::uint8_t> text = StartsWith(head, "\xEF\xBB\xBF") ? head.subspan(3) : head;
    const auto first = std::find_if(text.begin(), text.end(), [](std::uint8_t byte) {
        return byte != ' ' && byte != '\t' && byte != '\r' && byte != '\n';
    });
    if (first != text.end() && *first == '{') {
        return ESourceKind::Configuration;
    }
    const std::string_view ascii(reinterpret_cast<const char*>(text.data()), text.size());
    return IsRegFileHeader(ascii) ? std::optional(ESourceKind::RegFile) : std::nullopt;
}

Json CConfigurationSource::Read(const std::string& path, EPlatformFamily family) {
    std::vector<std::uint8_t> bytes = ReadAll(path);
    const std::optional<ESourceKind> kind = KindOf(bytes);
    if (!kind) {
        throw CSourceError(Named(path) + (bytes.empty() ? " is empty" : "") +
                           (bytes.empty() ? ""
                                          : " is neither a registry file, a Windows hive "
                                            "file, a .reg file nor a configuration file"));
    }
    switch (*kind) {
    case ESourceKind::Configuration:
        return FromConfiguration(path, std::string(bytes.begin(), bytes.end()));
    case ESourceKind::RegFile:
        return FromRegFile(path, bytes, family);
    case ESourceKind::RegistryFile:
    case ESourceKind::HiveFile:
        break;
    }
    bytes = {};
    try {
        std::unique_ptr<CHive> hive = CHive::Open(path, EHiveOpen::ForReading);
        hive->CheckFamily(family);
        return FromRegistry(*hive, family);
    } catch (const CHiveError& error) {
        throw CSourceError(error.what());
    }
}

Json CConfigurationSource::FromRegistry(CHive& hive, EPlatformFamily family) {
    // What the load would write (a missing driver key) stays in this action, which is never
    // committed.
    CUserAction action(&hive);
    return Load(hive, family);
}

Json CConfigurationSource::Loaded() {
    return Load(*CHive::Current(), CPlatformFamily::Get());
}

Json CConfigurationSource::Load(CHive& hive, EPlatformFamily family) {
    CRecordingMessageBox messages;
    CHeadlessSession session({.hive = &hive,
                              .messageBox = &messages,
                              .serviceControlManager = nullptr,
                              .platformFamily = family});
    if (!session.Start()) {
        std::string reason = "cannot load the configuration of " + Named(hive.Path());
        for (const std::string& text : messages.Texts()) {
            reason += ": " + text;
        }
        throw CSourceError(reason);
    }
    return CConfigurationReport::Json(session.Doc());
}

Json CConfigurationSource::FromRegFile(const std::string& path,
                                       const std::vector<std::uint8_t>& bytes,
                                       EPlatformFamily family) {
    std::unique_ptr<CHive> scratch;
    try {
        scratch = CHive::OpenInMemory();
    } catch (const CHiveError& error) {
        throw CSourceError(error.what());
    }
    CUserAction action(scratch.get());
    CRegFileImporter importer(*scratch);
    if (!importer.Import(path, bytes)) {
        throw CSourceError(importer.Error());
    }
    return FromRegistry(*scratch, family);
}

Json CConfigurationSource::FromConfiguration(const std::string& name, const std::string& text) {
    Json configuration;
    try {
        configuration = Json::parse(text);
    } catch (const Json::parse_error& error) {
        throw CSourceError(Named(name) + " is not JSON: " + error.what(), true);
    }
    const std::vector<std::string> problems = CConfigurationSchema::Problems(configuration);
    if (!problems.empty()) {
        std::string reason = Named(name) + " does not fit the configuration schema:";
        for (const std::string& problem : problems) {
            reason += "\n  " + problem;
        }
        throw CSourceError(reason, true);
    }
    return configuration;
}
