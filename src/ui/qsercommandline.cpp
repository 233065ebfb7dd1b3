#include "qsercommandline.h"

#include "latin1text.h"

CQSERCommandLine::CQSERCommandLine()
    : m_registry(QStringLiteral("registry"), QStringLiteral("Use the registry file <file>."),
                 QStringLiteral("file")),
      m_platform(QStringLiteral("platform"),
                 QStringLiteral("Behave as on <family>: nt or 9x (Windows), or linux."),
                 QStringLiteral("family")),
      m_root(QStringLiteral("root"),
             QStringLiteral("On Linux, read and write the system's files under <dir> "
                            "(default: /)."),
             QStringLiteral("dir")),
      m_help(m_parser.addHelpOption()), m_version(m_parser.addVersionOption()) {
    m_parser.setApplicationDescription(
        QStringLiteral("Configures multi-port serial adapter boards in the emulated registry."));
    m_parser.addOption(m_registry);
    m_parser.addOption(m_platform);
    m_parser.addOption(m_root);
}

bool CQSERCommandLine::Parse(const QStringList& arguments) {
    if (!m_parser.parse(arguments)) {
        m_error = m_parser.errorText();
        return false;
    }
    if (!m_parser.positionalArguments().isEmpty()) {
        m_error = QStringLiteral("unexpected argument '%1'")
                      .arg(m_parser.positionalArguments().constFirst());
        return false;
    }
    return true;
}

std::optional<std::string> CQSERCommandLine::Value(const QCommandLineOption& option) const {
    if (!m_parser.isSet(option)) {
        return std::nullopt;
    }
    return CLatin1Text::FromQt(m_parser.value(option));
}
