#include "qserapp.h"

#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace {
struct SArgumentsCase {
    std::vector<std::string> given;
    std::vector<std::string> forQt;
};

std::vector<std::string> ToStrings(const QStringList& list) {
    std::vector<std::string> strings;
    for (const QString& item : list) {
        strings.push_back(item.toStdString());
    }
    return strings;
}
} // namespace

// Qt reads --platform as its windowing plugin: the option and its value never reach it, while
// the program's own parser still sees every argument.
TEST(CQSERAppTest, PlatformOptionIsKeptFromQt) {
    const std::vector<SArgumentsCase> cases = {
        {{"qser"}, {"qser"}},
        {{"qser", "--platform", "9x"}, {"qser"}},
        {{"qser", "--registry", "r.db", "--platform=nt"}, {"qser", "--registry", "r.db"}},
        {{"qser", "-platform", "nt", "--registry", "r.db"}, {"qser", "--registry", "r.db"}},
        {{"qser", "--platform"}, {"qser", "--platform"}},
    };
    for (const SArgumentsCase& test : cases) {
        std::vector<std::string> storage = test.given;
        std::vector<char*> argv;
        for (std::string& argument : storage) {
            argv.push_back(argument.data());
        }
        int argc = static_cast<int>(argv.size());
        const QStringList all = CQSERApp::TakeArguments(argc, argv.data());
        EXPECT_EQ(ToStrings(all), test.given);
        EXPECT_EQ(std::vector<std::string>(argv.begin(), argv.begin() + argc), test.forQt);
    }
}

TEST(CQSERAppTest, WrongCommandLinesEndWithStatusTwo) {
    for (const QStringList& arguments :
         {QStringList{"qser", "--platform", "os2"}, QStringList{"qser", "--frobnicate"},
          QStringList{"qser", "file.reg"}}) {
        CQSERApp app;
        EXPECT_EQ(app.InitInstance(arguments), 2) << arguments.join(' ').toStdString();
        EXPECT_EQ(app.MainFrame(), nullptr);
    }
}
