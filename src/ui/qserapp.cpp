#include "qserapp.h"

#include "firstpaintquit.h"
#include "hive.h"
#include "hiveservicemanager.h"
#include "mainframe.h"
#include "messageservice.h"
#include "platformfamily.h"
#include "qsercommandline.h"

#include <QCoreApplication>
#include <QTextStream>

namespace {
constexpr int kUsageError = 2;
constexpr int kStartFailed = 1;

int UsageError(const QString& message) {
    QTextStream(stderr) << "qser: " << message << '\n';
    return kUsageError;
}

bool HasDisplay() {
    for (const char* variable : {"QT_QPA_PLATFORM", "DISPLAY", "WAYLAND_DISPLAY"}) {
        if (!qEnvironmentVariableIsEmpty(variable)) {
            return true;
        }
    }
    return false;
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

std::optional<SProcessReferences> CQSERApp::OpenRegistry(const QString& path) {
    const std::string name = path.toStdString();
    for (SRegistryFile& file : m_files) {
        if (file.hive->Path() == name) {
            return References(file);
        }
    }
    SRegistryFile file;
    try {
        file.hive =
            CHive::Open(name, m_files.empty() ? EHiveOpen::CreateIfMissing : EHiveOpen::MustExist);
        file.hive->CheckFamily(m_family);
    } catch (const CHiveError& error) {
        CMessageService::Error(error.what());
        return std::nullopt;
    }
    file.services = std::make_unique<CHiveServiceManager>(*file.hive);
    m_files.push_back(std::move(file));
    return References(m_files.back());
}

SProcessReferences CQSERApp::References(SRegistryFile& file) {
    return SProcessReferences{.hive = file.hive.get(),
                              .messageBox = &m_messageBox,
                              .serviceControlManager =
                                  m_family == EPlatformFamily::Linux
                                      ? static_cast<IServiceControlManager*>(m_pSystemd.get())
                                      : file.services.get(),
                              .helpRequest = &m_help,
                              .rootFileSystem = m_pFiles.get(),
                              .platformFamily = m_family};
}

CQSERApp::~CQSERApp() = default;

std::optional<int> CQSERApp::AnswerWithoutWindow(int& argc, char** argv,
                                                 const QStringList& arguments) {
    QCoreApplication application(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("qser"));
    QCoreApplication::setApplicationVersion(QStringLiteral(QSER_VERSION));
    CQSERCommandLine commandLine;
    if (!commandLine.Parse(arguments)) {
        return UsageError(commandLine.ErrorText());
    }
    if (commandLine.WantsHelp()) {
        QTextStream(stdout) << commandLine.HelpText();
        return 0;
    }
    if (commandLine.WantsVersion()) {
        QTextStream(stdout) << QCoreApplication::applicationName() << ' '
                            << QCoreApplication::applicationVersion() << '\n';
        return 0;
    }
    if (!HasDisplay()) {
        QTextStream(stderr) << "qser: no display to open the window on (DISPLAY, WAYLAND_DISPLAY "
                               "and QT_QPA_PLATFORM are unset)\n";
        return kStartFailed;
    }
    return std::nullopt;
}

int CQSERApp::InitInstance(const QStringList& arguments) {
    CQSERCommandLine commandLine;
    if (!commandLine.Parse(arguments)) {
        return UsageError(commandLine.ErrorText());
    }
    std::optional<EPlatformFamily> family = CPlatformFamily::Resolve(commandLine.Platform());
    if (!family) {
        return UsageError(QStringLiteral("the platform is nt, 9x or linux"));
    }
    m_family = *family;
    m_pFiles = std::make_unique<CRootFileSystem>(commandLine.Root().value_or("/"));
    m_pSystemd = std::make_unique<CSystemdServiceManager>(*m_pFiles, m_runner);
    std::optional<SProcessReferences> references = OpenRegistry(
        QString::fromStdString(CHive::ResolvePath(commandLine.Registry().value_or(""))));
    if (!references) {
        return kStartFailed;
    }
    m_pFrame = std::make_unique<CMainFrame>(m_locks, *references);
    m_pFrame->SetRegistryOpener([this](const QString& path) { return OpenRegistry(path); });
    if (qEnvironmentVariable("QSER_QUIT_AFTER_FIRST_PAINT") == QLatin1String("1")) {
        new CFirstPaintQuit(*m_pFrame);
    }
    if (!m_pFrame->OpenDocument()) {
        return kStartFailed;
    }
    return 0;
}
