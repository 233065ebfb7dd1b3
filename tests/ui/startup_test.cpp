#include <QFile>
#include <QProcess>
#include <QProcessEnvironment>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {
struct SRun {
    int exitCode = -1;
    bool crashed = true;
    QString out;
    QString err;
};

// Runs qser as from a terminal without any display: no DISPLAY, no WAYLAND_DISPLAY and no
// QT_QPA_PLATFORM, and a registry file of its own that must never be created.
SRun RunWithoutDisplay(const QStringList& arguments, const QString& registry) {
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    for (const char* variable : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"}) {
        environment.remove(QString::fromLatin1(variable));
    }
    environment.insert(QStringLiteral("QSER_REGISTRY"), registry);
    QProcess qser;
    qser.setProcessEnvironment(environment);
    qser.start(QStringLiteral(QSER_BINARY), arguments);
    SRun run;
    if (!qser.waitForFinished(30000)) {
        qser.kill();
        qser.waitForFinished();
        return run;
    }
    run.exitCode = qser.exitCode();
    run.crashed = qser.exitStatus() != QProcess::NormalExit;
    run.out = QString::fromLocal8Bit(qser.readAllStandardOutput());
    run.err = QString::fromLocal8Bit(qser.readAllStandardError());
    return run;
}

class CStartupTest : public ::testing::Test {
protected:
    QTemporaryDir m_folder;
    QString m_registry = m_folder.filePath(QStringLiteral("registry.db"));
};
} // namespace

TEST_F(CStartupTest, HelpAndVersionNeedNoDisplay) {
    for (const char* option : {"--help", "-h", "--help-all"}) {
        const SRun help = RunWithoutDisplay({QString::fromLatin1(option)}, m_registry);
        EXPECT_FALSE(help.crashed) << option;
        EXPECT_EQ(help.exitCode, 0) << option << help.err.toStdString();
        EXPECT_TRUE(help.out.contains(QStringLiteral("--registry <file>"))) << option;
        EXPECT_TRUE(help.out.contains(QStringLiteral("--platform <family>"))) << option;
    }

    const SRun version = RunWithoutDisplay({QStringLiteral("--version")}, m_registry);
    EXPECT_FALSE(version.crashed);
    EXPECT_EQ(version.exitCode, 0) << version.err.toStdString();
    EXPECT_TRUE(version.out.startsWith(QStringLiteral("qser "))) << version.out.toStdString();
    EXPECT_FALSE(QFile::exists(m_registry));
}

TEST_F(CStartupTest, WithoutADisplayAStartSaysSoInOneLineAndEndsWithOne) {
    const SRun run = RunWithoutDisplay({}, m_registry);
    EXPECT_FALSE(run.crashed);
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_EQ(run.err.count(QLatin1Char('\n')), 1) << run.err.toStdString();
    EXPECT_TRUE(run.err.startsWith(QStringLiteral("qser: "))) << run.err.toStdString();
    EXPECT_TRUE(run.err.contains(QStringLiteral("display"))) << run.err.toStdString();
    EXPECT_FALSE(QFile::exists(m_registry));
}

TEST_F(CStartupTest, AWrongCommandLineIsReportedWithoutADisplayToo) {
    const SRun run = RunWithoutDisplay({QStringLiteral("--frobnicate")}, m_registry);
    EXPECT_FALSE(run.crashed);
    EXPECT_EQ(run.exitCode, 2);
    EXPECT_TRUE(run.err.contains(QStringLiteral("frobnicate"))) << run.err.toStdString();
}
