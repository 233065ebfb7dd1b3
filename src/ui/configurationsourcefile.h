#pragma once

#include <QString>
#include <nlohmann/json.hpp>
#include <optional>
#include <string>

class QWidget;

// The other configuration of File Compare With and Apply Configuration: a file of any kind a
// configuration is read from (our registry file, a Windows SYSTEM hive file, a .reg file or a
// configuration file as show --json prints it), recognised by its content.
class CConfigurationSourceFile {
public:
    // Asks for the file; an empty name when the person cancelled.
    static QString AskFileName(QWidget* parent, const QString& title);
    // The configuration the file holds, read with the family in use; nothing when it cannot be
    // read, after a message that names the reason.
    static std::optional<nlohmann::ordered_json> Read(const QString& fileName);
    // The file's name as the system's messages show it.
    static std::string Shown(const QString& fileName);
    // UTF-8 text as the system's messages take it.
    static std::string ForMessage(const std::string& utf8);
};
