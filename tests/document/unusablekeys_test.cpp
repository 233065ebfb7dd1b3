#include "documentfixture.h"
#include "expectedmessages.h"
#include "portobj.h"
#include "rawdatabase.h"

#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace {

// Sub-keys of the driver key and of a board key as another tool can leave them in the file:
// names no registry path can carry, a name longer than any key name sorted before the boards,
// and names stored as bytes instead of text.
class UnusableKeysTest : public DocumentTest {
protected:
    void SetUp() override {
        for (const char* board : {"Board000", "Board002"}) {
            Probe().SetText(BoardKey(board), "BoardType", "RX-202");
            for (const char* port : {"Port000", "Port001"}) {
                Probe().SetText(PortKey(board, port), "PortCOMPort", "COM5");
                Probe().SetText(PortKey(board, port), "PortSerialPort",
                                Instance(board[7] - '0' + port[6] - '0'));
            }
        }
        CRawDatabase raw(m_session.Hive().Path());
        const std::string driver = "(SELECT id FROM keys WHERE name = 'QSERDRV')";
        const std::string board =
            "(SELECT id FROM keys WHERE name = 'Board000' AND parent = " + driver + ")";
        for (const char* name : {"''", "'Bo\\x'", "'Ba' || printf('%.300c', 'a')",
                                 "'Bo' || printf('%.300c', 'x')", "X'426F617264303031'"}) {
            ASSERT_EQ(raw.Exec("INSERT INTO keys(parent, name) VALUES(" + driver + ", " +
                               std::string(name) + ")"),
                      0)
                << name;
        }
        for (const char* name : {"''", "'Po\\' || char(27) || '[2J'",
                                 "'Po' || printf('%.256c', 'y')", "X'506F7274303035'"}) {
            ASSERT_EQ(raw.Exec("INSERT INTO keys(parent, name) VALUES(" + board + ", " +
                               std::string(name) + ")"),
                      0)
                << name;
        }
    }

    CHiveProbe& Probe() { return m_session.Probe(); }
    std::string Instance(int slot) const {
        return IsNT() ? "Serial00" + std::to_string(slot + 2) : "000" + std::to_string(slot);
    }
};

const std::string kLeftOut =
    "These keys were left out, since the registry cannot use their names: \"\" under QSERDRV, "
    "\"Baaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaa...\" under QSERDRV, \"Bo\\x\" under QSERDRV, "
    "\"Boxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxx...\" under QSERDRV, \"Board001\" under QSERDRV, "
    "\"\" under QSERDRV\\Board000, \"Po\\\\x1b[2J\" under QSERDRV\\Board000, "
    "\"Poyyyyyyyyyyyyyyyyyyyyyyyyyyyyyyyyyyyyyy...\" under QSERDRV\\Board000 and \"Port005\" "
    "under QSERDRV\\Board000.";
} // namespace

TEST_P(UnusableKeysTest, AreLeftOutWithOneNoticeAndEverythingElseWorks) {
    m_session.Messages().Clear();
    ASSERT_TRUE(m_session.Open(GetParam()));

    EXPECT_EQ(m_session.Messages().Records(),
              (std::vector<MessageRecord>{{kLeftOut, EMsgButtons::Ok, EMsgIcon::Information}}));
    EXPECT_EQ(m_session.TreeText(), "QSERDRV[Board000[Port000 Port001] Board002[Port000 Port001]]");
    EXPECT_EQ(m_session.Doc().GetNumBoards(), "2");
    EXPECT_EQ(m_session.Doc().GetNumPorts(), "4");

    // The registration walks past them too, and each command works as without them.
    m_session.Messages().Clear();
    m_session.Doc().SaveConfiguration();
    EXPECT_EQ(m_session.Messages().Records(),
              (std::vector<MessageRecord>{{"Configuration's been saved to registry!",
                                           EMsgButtons::Ok, EMsgIcon::Information}}));
    const std::string parent = IsNT() ? kSerialParameters : kClassPorts;
    EXPECT_EQ(Probe().SubKeys(parent),
              (std::vector<std::string>{Instance(0), Instance(1), Instance(2), Instance(3)}));

    m_session.Click("QSERDRV/Board000/Port001");
    m_session.AnswerYes();
    m_session.Doc().OnDelete();
    EXPECT_EQ(m_session.PortNames("Board000"), std::vector<std::string>{"Port000"});
    EXPECT_FALSE(Probe().Exists(parent + "\\" + Instance(1)));
    m_session.Doc().OnAddBoard();
    EXPECT_EQ(m_session.Doc().GetNumBoards(), "3");
}

QSER_ON_BOTH_FAMILIES(UnusableKeysTest);
