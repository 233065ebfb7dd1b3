#pragma once

#include <QCommandLineOption>
#include <QCommandLineParser>
#include <QStringList>
#include <optional>
#include <string>

// The options of qser: --registry, --platform, --root, --help and --version. Parsing needs no
// window system, so that help and version can be answered, and a missing display reported, before
// the GUI application is created.
class CQSERCommandLine {
public:
    CQSERCommandLine();

    // false for an unknown option, a missing value or a positional argument; ErrorText() says
    // which.
    bool Parse(const QStringList& arguments);
    QString ErrorText() const { return m_error; }

    // --help or --help-all.
    bool WantsHelp() const {
        return m_parser.isSet(m_help) || m_parser.isSet(QStringLiteral("help-all"));
    }
    bool WantsVersion() const { return m_parser.isSet(m_version); }
    // Needs a QCoreApplication (for the program's name and version).
    QString HelpText() const { return m_parser.helpText(); }

    std::optional<std::string> Registry() const { return Value(m_registry); }
    std::optional<std::string> Platform() const { return Value(m_platform); }
    std::optional<std::string> Root() const { return Value(m_root); }

private:
    std::optional<std::string> Value(const QCommandLineOption& option) const;

    QCommandLineParser m_parser;
    QCommandLineOption m_registry;
    QCommandLineOption m_platform;
    QCommandLineOption m_root;
    QCommandLineOption m_help;
    QCommandLineOption m_version;
    QString m_error;
};
