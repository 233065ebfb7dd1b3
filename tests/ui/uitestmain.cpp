#include <QApplication>
#include <QStandardPaths>
#include <cstdlib>
#include <filesystem>
#include <gtest/gtest.h>
#include <string>

int main(int argc, char* argv[]) {
    // Never the person's display, settings or files: each test process gets a home of its own,
    // so that test processes running side by side do not share the profile either.
    std::string home = (std::filesystem::temp_directory_path() / "qser-ui-home-XXXXXX").string();
    if (mkdtemp(home.data()) == nullptr) {
        return 1;
    }
    setenv("HOME", home.c_str(), 1);
    setenv("QT_QPA_PLATFORM", "offscreen", 1);
    QStandardPaths::setTestModeEnabled(true);
    int status = 0;
    {
        QApplication application(argc, argv);
        QApplication::setOrganizationName(QStringLiteral("QSER"));
        QApplication::setApplicationName(QStringLiteral("qser"));
        ::testing::InitGoogleTest(&argc, argv);
        status = RUN_ALL_TESTS();
    }
    std::error_code ignored;
    std::filesystem::remove_all(home, ignored);
    return status;
}
