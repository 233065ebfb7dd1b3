// The lock indicators read the X server's keyboard indicators: under Xvfb, lock keys pressed
// with xdotool show in the status bar of an X11 client.
#include <QProcess>
#include <QProcessEnvironment>
#include <QStandardPaths>
#include <gtest/gtest.h>
#include <string>

namespace {
class CXvfb {
public:
    // An empty display name when Xvfb could not start.
    CXvfb() {
        m_server.setProgram(QStandardPaths::findExecutable(QStringLiteral("Xvfb")));
        m_server.setArguments({QStringLiteral("-displayfd"), QStringLiteral("1"),
                               QStringLiteral("-noreset"), QStringLiteral("-nolisten"),
                               QStringLiteral("tcp"), QStringLiteral("-screen"),
                               QStringLiteral("0"), QStringLiteral("640x480x24")});
        m_server.start();
        if (!m_server.waitForStarted() || !m_server.waitForReadyRead(10000)) {
            return;
        }
        m_display = QStringLiteral(":") + QString::fromLatin1(m_server.readLine().trimmed());
    }
    ~CXvfb() {
        m_server.terminate();
        m_server.waitForFinished(5000);
    }
    const QString& Display() const { return m_display; }

    // Runs program with arguments on this display; its standard output, trimmed.
    std::string Run(const QString& program, const QStringList& arguments) const {
        QProcess process;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("DISPLAY"), m_display);
        environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
        process.setProcessEnvironment(environment);
        process.start(program, arguments);
        if (!process.waitForFinished(20000) || process.exitCode() != 0) {
            return "failed: " + process.readAllStandardError().toStdString();
        }
        return process.readAllStandardOutput().trimmed().toStdString();
    }

private:
    QProcess m_server;
    QString m_display;
};
} // namespace

TEST(CX11LockStateTest, IndicatorsFollowLockKeysPressedOnTheServer) {
    if (QStandardPaths::findExecutable(QStringLiteral("Xvfb")).isEmpty() ||
        QStandardPaths::findExecutable(QStringLiteral("xdotool")).isEmpty()) {
        GTEST_SKIP() << "Xvfb or xdotool is not installed";
    }
    CXvfb server;
    ASSERT_FALSE(server.Display().isEmpty());
    const QString probe = QStringLiteral(QSER_LOCK_PROBE);
    const QString xdotool = QStandardPaths::findExecutable(QStringLiteral("xdotool"));
    EXPECT_EQ(server.Run(probe, {}), "CAP=off NUM=off SCRL=off");
    server.Run(xdotool, {QStringLiteral("key"), QStringLiteral("Caps_Lock")});
    EXPECT_EQ(server.Run(probe, {}), "CAP=on NUM=off SCRL=off");
    server.Run(xdotool, {QStringLiteral("key"), QStringLiteral("Num_Lock")});
    EXPECT_EQ(server.Run(probe, {}), "CAP=on NUM=on SCRL=off");
    server.Run(xdotool, {QStringLiteral("key"), QStringLiteral("Caps_Lock")});
    EXPECT_EQ(server.Run(probe, {}), "CAP=off NUM=on SCRL=off");
}
