#include "commandids.h"
#include "configtreectrl.h"
#include "dialogtemplates.h"
#include "formtemplateids.h"
#include "framestatusbar.h"
#include "helpviewer.h"
#include "processscope.h"
#include "qserdoc.h"
#include "testkeypaths.h"
#include "uifixture.h"

#include <QAction>
#include <QComboBox>
#include <QFile>
#include <QLineEdit>
#include <QScreen>
#include <QTest>
#include <QTextBrowser>

namespace {
const char* const kBoardReg =
    "REGEDIT4\r\n\r\n"
    "[HKEY_LOCAL_MACHINE\\SYSTEM\\CurrentControlSet\\Services\\QSERDRV]\r\n"
    "\"SystemDriverName\"=\"Imported\"\r\n"
    "\"SystemNumBoards\"=\"1\"\r\n"
    "\"SystemNumPorts\"=\"0\"\r\n\r\n"
    "[HKEY_LOCAL_MACHINE\\SYSTEM\\CurrentControlSet\\Services\\QSERDRV\\Board000]\r\n"
    "\"BoardName\"=\"Board000\"\r\n"
    "\"BoardType\"=\"RX-209\"\r\n"
    "\"BoardBaseAddress\"=\"0x200\"\r\n"
    "\"BoardShareIRQEnabled\"=dword:00000000\r\n"
    "\"BoardBaseCOMPort\"=\"COM3\"\r\n"
    "\"BoardShareIRQ\"=\"NONE\"\r\n"
    "\"BoardVectorAddress\"=\"NONE\"\r\n"
    "\"BoardStandardModeEnabled\"=dword:00000000\r\n";

class COpenTest : public CUiFixture {
protected:
    void SetUp() override { Start(); }

    QString WriteFile(const char* name, const char* text) const {
        const QString path =
            QString::fromStdString(m_hive.Folder()) + QLatin1Char('/') + QLatin1String(name);
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(text);
        return path;
    }
};
} // namespace

TEST_F(COpenTest, ImportedFileIsLoadedAgainAndMarkedChanged) {
    const QString path = WriteFile("board.reg", kBoardReg);
    m_hive.Messages().ScriptAnswer(EMsgResult::Yes);
    Frame().OpenRegFile(path);
    ASSERT_EQ(m_hive.Messages().Records().size(), 1u);
    EXPECT_EQ(m_hive.Messages().Records()[0].buttons, EMsgButtons::YesNo);
    ASSERT_NE(Item("QSERDRV/Board000"), nullptr);
    EXPECT_EQ(Frame().Tree().currentItem(), Item("QSERDRV"));
    EXPECT_TRUE(Form(kSystemFormId)->isVisible());
    EXPECT_EQ(Control<QLineEdit>(kSystemFormId, IDC_NUM_BOARDS)->text(), QStringLiteral("1"));
    EXPECT_EQ(Frame().Document()->m_bConfigChanged, 1);

    ClickItem("QSERDRV/Board000");
    EXPECT_EQ(Control<QComboBox>(kBoardFormId, IDC_BOARD_TYPE)->currentText(),
              QStringLiteral("RX-209"));
}

TEST_F(COpenTest, ImportAsksWithWhatItWillChangeSaysWhatItDidAndIsUndone) {
    m_hive.Messages().ScriptAnswer(EMsgResult::Yes);
    Frame().OpenRegFile(WriteFile("board.reg", kBoardReg));
    const std::string question = m_hive.Messages().Records().at(0).text;
    EXPECT_NE(question.find("added key HKEY_LOCAL_MACHINE\\" + BoardKey("Board000")),
              std::string::npos)
        << question;
    EXPECT_NE(question.find("1 key added, 0 keys deleted, 11 values set"), std::string::npos)
        << question;
    EXPECT_TRUE(Frame().StatusBar()->currentMessage().startsWith(
        QStringLiteral("Imported board.reg: 1 key added")))
        << Frame().StatusBar()->currentMessage().toStdString();

    ASSERT_TRUE(Action(ID_EDIT_UNDO)->isEnabled());
    EXPECT_EQ(Action(ID_EDIT_UNDO)->text(), QStringLiteral("&Undo Import"));
    Action(ID_EDIT_UNDO)->trigger();
    EXPECT_FALSE(KeyExists(BoardKey("Board000")));
    EXPECT_EQ(Item("QSERDRV/Board000"), nullptr);
    EXPECT_EQ(Frame().StatusBar()->currentMessage(), QStringLiteral("Undone: Import"));
}

TEST_F(COpenTest, DeclinedOrBrokenFileChangesNothing) {
    const QString good = WriteFile("board.reg", kBoardReg);
    m_hive.Messages().ScriptAnswer(EMsgResult::No);
    Frame().OpenRegFile(good);
    EXPECT_EQ(Item("QSERDRV/Board000"), nullptr);
    EXPECT_FALSE(KeyExists(BoardKey("Board000")));

    const QString broken =
        WriteFile("broken.reg", "REGEDIT4\r\n\r\n[HKEY_LOCAL_MACHINE\\A]\r\n\"x\"=bogus\r\n");
    m_hive.Messages().Clear();
    m_hive.Messages().ScriptAnswer(EMsgResult::Yes);
    Frame().OpenRegFile(broken);
    // A file that cannot be read is not offered for import at all.
    ASSERT_EQ(m_hive.Messages().Records().size(), 1u);
    EXPECT_EQ(m_hive.Messages().Records()[0].buttons, EMsgButtons::Ok);
    EXPECT_FALSE(KeyExists("A"));
    EXPECT_EQ(Frame().Document()->m_bConfigChanged, 0);
}

TEST_F(COpenTest, HelpTopicsOpensTheBundledHelpAtItsContents) {
    CHelpViewer help;
    {
        CProcessScope helpScope({.helpRequest = &help});
        Action(ID_HELP_FINDER)->trigger();
    }
    ASSERT_NE(help.Window(), nullptr);
    EXPECT_TRUE(help.Window()->isVisible());
    EXPECT_EQ(help.Browser()->source(), QUrl(QStringLiteral("qrc:/help/index.html")));
    EXPECT_FALSE(help.Browser()->toPlainText().isEmpty());
}

TEST_F(COpenTest, HelpWindowGoesBackForwardAndHomeAndClosesByKey) {
    CHelpViewer help;
    help.WinHelp(0, 0);
    ASSERT_TRUE(QTest::qWaitForWindowExposed(help.Window()));
    EXPECT_TRUE(
        help.Window()->screen()->availableGeometry().contains(help.Window()->frameGeometry()));
    const QUrl contents(QStringLiteral("qrc:/help/index.html"));
    const QUrl board(QStringLiteral("qrc:/help/board.html"));
    const QUrl port(QStringLiteral("qrc:/help/port.html"));
    help.Browser()->setSource(board);
    help.Browser()->setSource(port);
    const auto press = [&help](const char* name) {
        for (QAction* action : help.Window()->findChildren<QAction*>()) {
            if (action->text() == QLatin1String(name)) {
                ASSERT_TRUE(action->isEnabled()) << name;
                action->trigger();
                return;
            }
        }
        FAIL() << name;
    };
    press("Back");
    EXPECT_EQ(help.Browser()->source(), board);
    press("Forward");
    EXPECT_EQ(help.Browser()->source(), port);
    press("Home");
    EXPECT_EQ(help.Browser()->source(), contents);

    for (const QKeySequence& key :
         {QKeySequence(Qt::Key_Escape), QKeySequence(Qt::CTRL | Qt::Key_W)}) {
        help.WinHelp(0, 0);
        help.Window()->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(help.Window()));
        QTest::keySequence(help.Window(), key);
        EXPECT_FALSE(help.Window()->isVisible()) << key.toString().toStdString();
    }
}
