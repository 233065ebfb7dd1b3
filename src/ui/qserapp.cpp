#include "qserapp.h"

#include "firstpaintquit.h"
#include "hive.h"
#include "hiveservicemanager.h"
#include "latin1text.h"
#include "mainframe.h"
#include "messageservice.h"
#include "platformfamily.h"

#include <QCommandLineParser>
#include <QTextStream>
#include <optional>

namespace {
constexpr int kUsageError = 2;
constexpr int kStartFailed = 1;

int UsageError(const QString& message) {
    QTextStream(stderr) << "qser: " << message << '\n';
    return kUsageError;
}

std::optional<std::string> OptionValue(const QCommandLineParser& parser,
                                       const QCommandLineOption& option) {
    if (!parser.isSet(option)) {
        return std::nullopt;
    }
    return CLatin1Text::FromQt(parser.value(option));
}
} // namespace

QStringList CQSERApp::TakeArguments(int& argc, char** argv) {
    QStringList arguments;
    int kept = 0;
    for (int i = 0; i < argc; ++i) {
        const QString argument = QString::fromLocal8Bit(argv[i]);
        arguments << argument;
        const bool separate =
            argument == QLatin1String("--platform") || argument == QLatin1String("-platform");
        if (i > 0 && separate && i + 1 < argc) {
            arguments << QString::fromLocal8Bit(argv[++i]);
            continue;
        }
        if (i > 0 && argument.startsWith(QLatin1String("--platform="))) {
            continue;
        }
        argv[kept++] = argv[i];
    }
    argc = kept;
    return arguments;
}

CQSERApp::CQSERApp() = default;

CQSERApp::~CQSERApp() = default;

int CQSERApp::InitInstance(const QStringList& arguments) {
    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("Configures multi-port serial adapter boards in the emulated registry."));
    const QCommandLineOption registry(QStringLiteral("registry"),
                                      QStringLiteral("Use the registry file <file>."),
                                      QStringLiteral("file"));
    const QCommandLineOption platform(QStringLiteral("platform"),
                                      QStringLiteral("Behave as on Windows <family>: nt or 9x."),
                                      QStringLiteral("family"));
    parser.addOption(registry);
    parser.addOption(platform);
    const QCommandLineOption help = parser.addHelpOption();
    const QCommandLineOption version = parser.addVersionOption();
    if (!parser.parse(arguments)) {
        return UsageError(parser.errorText());
    }
    if (parser.isSet(help)) {
        parser.showHelp(0);
    }
    if (parser.isSet(version)) {
        parser.showVersion();
    }
    if (!parser.positionalArguments().isEmpty()) {
        return UsageError(QStringLiteral("unexpected argument '%1'")
                              .arg(parser.positionalArguments().constFirst()));
    }
    std::optional<EPlatformFamily> family = CPlatformFamily::Resolve(OptionValue(parser, platform));
    if (!family) {
        return UsageError(QStringLiteral("the platform is nt or 9x"));
    }
    try {
        m_pHive = CHive::Open(CHive::ResolvePath(OptionValue(parser, registry).value_or("")));
    } catch (const CHiveError& error) {
        CMessageService::Error(error.what());
        return kStartFailed;
    }
    m_pServices = std::make_unique<CHiveServiceManager>(*m_pHive);

    m_pFrame = std::make_unique<CMainFrame>(
        m_locks, SProcessReferences{.hive = m_pHive.get(),
                                    .messageBox = &m_messageBox,
                                    .serviceControlManager = m_pServices.get(),
                                    .helpRequest = &m_help,
                                    .platformFamily = *family});
    if (qEnvironmentVariable("QSER_QUIT_AFTER_FIRST_PAINT") == QLatin1String("1")) {
        new CFirstPaintQuit(*m_pFrame);
    }
    if (!m_pFrame->OpenDocument()) {
        return kStartFailed;
    }
    return 0;
}
