// The window on the SYSTEM hive file of an offline Windows installation: it works as on our own
// file, its close finds no service control manager and says nothing of it, it sees what qserctl
// changed, and it refuses files it cannot use without touching them.
#include "commandids.h"
#include "dialogtemplates.h"
#include "expectedmessages.h"
#include "formtemplateids.h"
#include "framestatusbar.h"
#include "qserapp.h"
#include "qserctlrunner.h"
#include "testhivefile.h"
#include "testhivex.h"
#include "testnames.h"
#include "uifixture.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QFile>
#include <QLabel>
#include <QMessageBox>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QTreeWidgetItem>
#include <algorithm>
#include <fstream>
#include <iterator>

namespace {
using SRaw = CTestHivex::SRaw;

const std::string kSet = "ControlSet001\\Services\\";

std::string ReadAll(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}

// The fixture's window, but on a hive file, with the service control manager of that file.
class CHiveFileWindowTest : public CUiFixture {
protected:
    CHiveFileWindowTest() {
        CTestHiveFile::WriteSystem(Path());
        m_pFile = CHive::Open(Path());
        m_pFileServices = std::make_unique<CHiveServiceManager>(*m_pFile);
        m_pFileCalls = std::make_unique<CRecordingServiceManager>(*m_pFileServices);
    }
    ~CHiveFileWindowTest() override { m_pFrame.reset(); }

    std::string Path() const { return m_hive.Folder() + "/SYSTEM"; }
    void StartOnFile() {
        m_pFrame = std::make_unique<CMainFrame>(
            m_locks, SProcessReferences{.hive = m_pFile.get(),
                                        .messageBox = &m_hive.Messages(),
                                        .serviceControlManager = m_pFileCalls.get(),
                                        .platformFamily = EPlatformFamily::WindowsNT});
        ASSERT_TRUE(m_pFrame->OpenDocument());
        ASSERT_TRUE(QTest::qWaitForWindowExposed(m_pFrame.get()));
    }
    void Ctl(std::vector<std::string> args) {
        args.insert(args.begin(), {"--registry", Path(), "--yes"});
        const SQserCtlRun run = CQserCtlRunner(m_hive.Folder()).Run(args);
        ASSERT_EQ(run.status, 0) << run.err;
    }
    void Choose(int controlId, const QString& text) {
        auto* combo = Control<QComboBox>(kBoardFormId, controlId);
        ASSERT_NE(combo, nullptr);
        CUiFixture::Choose(*combo, text);
    }
    std::optional<SRaw> Raw(const std::string& key, const std::string& name) const {
        return CTestHivex(Path()).Get(kSet + key, name);
    }
    std::vector<std::string> Boards() const { return CTestHivex(Path()).SubKeys(kSet + "QSERDRV"); }
    std::string StatusText() const { return Frame().StatusBar()->currentMessage().toStdString(); }

    std::unique_ptr<CHive> m_pFile;
    std::unique_ptr<CHiveServiceManager> m_pFileServices;
    std::unique_ptr<CRecordingServiceManager> m_pFileCalls;
};
} // namespace

TEST_F(CHiveFileWindowTest, OpensWithTheUsualCaptionAndNamesTheFile) {
    StartOnFile();
    EXPECT_EQ(
        Frame().windowTitle(),
        QString::fromUtf8("SYSTEM \u2014 offline Windows installation[*] - Brimholde - QSER"));
    EXPECT_EQ(Frame().StatusBar()->RegistryFilePane()->toolTip().toStdString(), Path());
    EXPECT_EQ(StatusText(), "");
    EXPECT_TRUE(Action(ID_ADD_BOARD)->isEnabled());
    EXPECT_TRUE(m_hive.Messages().Records().empty());
}

// Add Board, a pick, Add Port, Save and the close reach the file; the first change names the
// backup of the original; the close's stop and start of the serial service find no service
// control manager and show nothing of their own, and the window says why there is none.
TEST_F(CHiveFileWindowTest, AddPickSaveAndCloseWriteTheFileAndSayThereIsNoServiceToRestart) {
    StartOnFile();
    ClickButton(ID_ADD_BOARD);
    ASSERT_NE(Item("QSERDRV/Board000"), nullptr);
    EXPECT_EQ(StatusText(), "The original hive file was copied to " + Path() +
                                ".qser-backup before the first change.");
    Choose(IDC_BOARD_TYPE, QStringLiteral("RX-201"));
    ClickButton(ID_ADD_PORT);
    ClickButton(ID_FILE_SAVE);
    EXPECT_EQ(Raw("QSERDRV", "SystemNumPorts"), SRaw::Sz("1"));
    m_pFileCalls->Clear();
    CloseAndDestroy();

    EXPECT_EQ(Raw("QSERDRV\\Board000", "BoardType"), SRaw::Sz("RX-201"));
    EXPECT_EQ(Raw("QSERDRV\\Board000\\Port000", "PortSerialPort"), SRaw::Sz("Serial002"));
    EXPECT_EQ(Raw("Serial\\Parameters\\Serial002", "DosDevices"), SRaw::Sz("COM3"));
    // The Save names the installation's own service value it kept, the close says there is no
    // service to restart; nothing else names the service.
    std::vector<std::string> texts = m_hive.Messages().Texts();
    ASSERT_FALSE(texts.empty());
    EXPECT_EQ(texts.back(), CMainFrame::kOfflineCloseText);
    texts.pop_back();
    EXPECT_EQ(std::count(texts.begin(), texts.end(), kKeptStartNotice.text), 1);
    for (const std::string& text : texts) {
        EXPECT_TRUE(text == kKeptStartNotice.text || text.find("ervice") == std::string::npos)
            << text;
    }
    // Both operations asked for the manager and were turned away; nothing else was reached.
    std::size_t managerCalls = 0;
    for (const std::string& call : m_pFileCalls->Calls()) {
        EXPECT_EQ(call.find("-> ok"), std::string::npos) << call;
        managerCalls += call.rfind("OpenSCManager", 0) == 0;
        EXPECT_TRUE(call.rfind("ControlService", 0) != 0 && call.rfind("StartService", 0) != 0)
            << call;
    }
    EXPECT_EQ(managerCalls, 2u);
    EXPECT_EQ(m_pFileCalls->OpenHandles(), 0u);
    EXPECT_NE(ReadAll(Path() + ".qser-backup"), ReadAll(Path()));
}

// qserctl's change between two actions is loaded before the next action, which then does
// nothing but say so; the action after it works on what qserctl left.
TEST_F(CHiveFileWindowTest, ChangeByQserctlIsSeenBeforeTheNextAction) {
    StartOnFile();
    Ctl({"add-board", "BoardType=RX-404"});
    ClickButton(ID_ADD_BOARD);
    EXPECT_EQ(StatusText(), CMainFrame::kReloadedText);
    EXPECT_NE(Item("QSERDRV/Board000"), nullptr);
    EXPECT_EQ(Boards(), std::vector<std::string>{"Board000"});

    ClickButton(ID_ADD_BOARD);
    EXPECT_NE(Item("QSERDRV/Board001"), nullptr);
    Ctl({"delete", "Board000"});
    ClickButton(ID_ADD_BOARD);
    EXPECT_EQ(StatusText(), CMainFrame::kHistoryClearedText);
    EXPECT_EQ(Item("QSERDRV/Board000"), nullptr);
    EXPECT_NE(Item("QSERDRV/Board001"), nullptr);
    EXPECT_EQ(Boards(), std::vector<std::string>{"Board001"});
    CloseAndDestroy();
    EXPECT_EQ(Boards(), std::vector<std::string>{"Board001"});
    EXPECT_EQ(Raw("QSERDRV", "SystemNumBoards"), SRaw::Sz("1"));
}

namespace {
// The program's start on a file it cannot use: the message box it shows, and what it returns.
struct SRefusedStart {
    const char* name;
    void (*damage)(const std::string& path);
    const char* platform;
    const char* reason;
};

void PrintTo(const SRefusedStart& row, std::ostream* os) {
    *os << row.name;
}

const SRefusedStart kRefusedStarts[] = {
    {"NotASystemHive", nullptr, "nt", "it is not the SYSTEM hive of a Windows installation"},
    {"Dirty", CTestHiveFile::MakeDirty, "nt", "it was not shut down cleanly"},
    {"BadChecksum", CTestHiveFile::BreakChecksum, "nt", "the checksum does not match"},
    {"Truncated", [](const std::string& path) { CTestHiveFile::Truncate(path, 8192); }, "nt",
     "it is truncated"},
    {"Windows9x", [](const std::string&) {}, "9x",
     "Windows 95/98 keep their registry in another format"},
};

class CHiveFileStartTest : public ::testing::TestWithParam<SRefusedStart> {
protected:
    QTemporaryDir m_folder;
};
} // namespace

TEST_P(CHiveFileStartTest, IsRefusedWithTheReasonAndLeavesTheFile) {
    const std::string path = m_folder.filePath(QStringLiteral("SYSTEM")).toStdString();
    CTestHiveFile::SOptions options;
    options.bSelect = GetParam().damage != nullptr;
    CTestHiveFile::WriteSystem(path, options);
    if (GetParam().damage != nullptr) {
        GetParam().damage(path);
    }
    const std::string before = ReadAll(path);

    QString shown;
    QTimer closer;
    QObject::connect(&closer, &QTimer::timeout, [&] {
        if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
            shown = box->text();
            box->accept();
        }
    });
    closer.start(10);
    CQSERApp app;
    const int status = app.InitInstance({QStringLiteral("qser"), QStringLiteral("--registry"),
                                         QString::fromStdString(path), QStringLiteral("--platform"),
                                         QString::fromLatin1(GetParam().platform)});
    EXPECT_EQ(status, 1);
    EXPECT_EQ(app.MainFrame(), nullptr);
    EXPECT_TRUE(shown.contains(QString::fromStdString(path))) << shown.toStdString();
    EXPECT_TRUE(shown.contains(QString::fromLatin1(GetParam().reason))) << shown.toStdString();
    EXPECT_EQ(ReadAll(path), before);
    EXPECT_FALSE(QFile::exists(QString::fromStdString(path + ".qser-backup")));
}

INSTANTIATE_TEST_SUITE_P(Files, CHiveFileStartTest, ::testing::ValuesIn(kRefusedStarts),
                         SRowName());
