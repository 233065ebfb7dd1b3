#include <QApplication>
#include <QStandardPaths>
#include <cstdlib>
#include <gtest/gtest.h>

int main(int argc, char* argv[]) {
    // Never the person's display, settings or files.
    setenv("QT_QPA_PLATFORM", "offscreen", 1);
    QStandardPaths::setTestModeEnabled(true);
    QApplication application(argc, argv);
    QApplication::setOrganizationName(QStringLiteral("QSER"));
    QApplication::setApplicationName(QStringLiteral("qser"));
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
