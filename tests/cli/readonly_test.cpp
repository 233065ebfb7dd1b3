// A registry file that can only be read (here: on a read-only mount): the reading commands work
// as on a writable file, and the writing ones are refused before they do anything.
#include "clifixture.h"
#include "readonlymount.h"
#include "testnames.h"

#include <algorithm>

namespace {
struct SCommand {
    const char* name;
    std::vector<std::string> args; // REG stands for a .reg file that changes something
};

class CliReadOnlyTest : public CCliFixture, public ::testing::WithParamInterface<SCommand> {
protected:
    void SetUp() override {
        InstallSerialService();
        Ok({"add-board", "BoardType=RX-201"});
        Ok({"add-port", "Board000"});
        if (!m_mount.Mounted()) {
            GTEST_SKIP() << "cannot make a read-only bind mount";
        }
    }

    std::vector<std::string> Args() const {
        std::vector<std::string> args = GetParam().args;
        std::replace(args.begin(), args.end(), std::string("REG"),
                     WriteFile("more.reg", Reg({"[HKEY_LOCAL_MACHINE\\SOFTWARE\\More]"})));
        return args;
    }
    std::string ReadOnlyPath() const { return m_mount.Path("registry.db"); }

    CReadOnlyMount m_mount{Folder()};
};

using CliReadingTest = CliReadOnlyTest;
using CliWritingTest = CliReadOnlyTest;

const SCommand kReading[] = {
    {"Show", {"show"}},
    {"ShowJson", {"show", "--json"}},
    {"Export", {"export"}},
    {"Check", {"check"}},
    {"CheckFixDryRun", {"check", "--fix", "--dry-run"}},
    {"ServiceStatus", {"service", "status", "Serial"}},
};

const SCommand kWriting[] = {
    {"AddBoard", {"add-board"}},
    {"AddPort", {"add-port", "Board000"}},
    {"Set", {"set", "Board000/Port000", "IRQ=5"}},
    {"Delete", {"--yes", "delete", "Board000"}},
    {"New", {"--yes", "new"}},
    {"Save", {"save"}},
    {"Import", {"import", "REG"}},
    {"CheckFix", {"check", "--fix"}},
    {"ServiceStart", {"service", "start", "Serial"}},
    {"ServiceStop", {"service", "stop", "Serial"}},
    {"ServiceSet", {"service", "set", "Serial", "refuse-stop=on"}},
};
} // namespace

TEST_P(CliReadingTest, GivesWhatItGivesOnAWritableFile) {
    const SSnapshot before = Snapshot();
    SQserCtlRun readOnly = CtlOn(ReadOnlyPath(), Args());
    SQserCtlRun writable = Ctl(Args());
    EXPECT_EQ(readOnly.status, writable.status) << readOnly.err;
    EXPECT_EQ(readOnly.out, writable.out);
    EXPECT_EQ(readOnly.err, writable.err);
    EXPECT_EQ(Snapshot(), before);
}

TEST_P(CliWritingTest, IsRefusedWithTheFileAndTheReason) {
    const SSnapshot before = Snapshot();
    SQserCtlRun run = CtlOn(ReadOnlyPath(), Args());
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.err, "qserctl: Cannot use registry file '" + ReadOnlyPath() +
                           "' for writing: the file system is read-only; nothing was changed\n");
    EXPECT_EQ(run.out, "");
    EXPECT_EQ(Snapshot(), before);
}

INSTANTIATE_TEST_SUITE_P(Commands, CliReadingTest, ::testing::ValuesIn(kReading), SRowName());
INSTANTIATE_TEST_SUITE_P(Commands, CliWritingTest, ::testing::ValuesIn(kWriting), SRowName());
