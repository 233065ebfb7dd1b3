// File Compare With and Apply Configuration: the differences shown to be read and copied, the
// plan asked about and applied as one step of Undo, errors and bad sources changing nothing.
#include "applyconfiguration.h"
#include "commandids.h"
#include "framestatusbar.h"
#include "goldenmachine.h"
#include "hiveprobe.h"
#include "qserctlrunner.h"
#include "qserdoc.h"
#include "reportdialog.h"
#include "uifixture.h"

#include <QAbstractButton>
#include <QAccessible>
#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QFile>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>
#include <nlohmann/json.hpp>
#include <string>
#include <vector>

namespace {
using Args = std::vector<std::string>;
using Json = nlohmann::ordered_json;

const std::vector<Args>& kGolden = GoldenMachineCommands();

// Two ports of one board on the same address, interrupt and COM name.
const std::vector<Args> kClashing = {
    {"add-board", "BoardType=RX-201"}, {"add-port", "Board000"}, {"add-port", "Board000"}};

QString Said(QObject* object) {
    QAccessibleInterface* accessible = QAccessible::queryAccessibleInterface(object);
    return accessible == nullptr ? QString() : accessible->text(QAccessible::Name);
}

class CDesiredStateWindowTest : public CUiFixture {
protected:
    CDesiredStateWindowTest() : m_ctl(m_hive.Folder()) {}

    // The configuration of a registry file made by the commands, as show --json prints it.
    std::string Made(const std::string& name, const std::vector<Args>& commands) {
        const std::string path = m_hive.MakeAnother(name);
        for (const Args& args : commands) {
            Ctl(path, args);
        }
        return Ctl(path, {"show", "--json"});
    }
    std::string Ctl(const std::string& registry, Args args) {
        args.insert(args.begin(), {"--registry", registry, "--yes"});
        const SQserCtlRun run = m_ctl.Run(args);
        EXPECT_EQ(run.status, 0) << run.err;
        return run.out;
    }
    std::vector<std::string> Keys() { return CHiveProbe(m_hive.Hive()).Dump("SYSTEM"); }
    std::string Bytes() const {
        std::string bytes;
        for (const char* suffix : {"", "-wal"}) {
            QFile file(QString::fromStdString(m_hive.FilePath() + suffix));
            if (file.open(QIODevice::ReadOnly)) {
                bytes += file.readAll().toStdString();
            }
        }
        return bytes;
    }
    // Applies the file, answering the plan's question with accept or Cancel; the plan's dialog
    // is kept in what it said.
    bool Apply(const QString& file, bool accept) {
        return WithReportDialog([&] { Frame().ApplyConfiguration(file); },
                                [&](CReportDialog& dialog) {
                                    m_intro = dialog.Intro();
                                    m_report = dialog.Report();
                                    m_defaultButton = DefaultButton(dialog);
                                    m_names = Names(dialog);
                                    accept ? dialog.accept() : dialog.reject();
                                });
    }
    // What a screen reader calls the report and each button.
    static QStringList Names(const QDialog& dialog) {
        QStringList names{Said(dialog.findChild<QPlainTextEdit*>())};
        for (QAbstractButton* button : dialog.findChildren<QAbstractButton*>()) {
            names << Said(button);
        }
        return names;
    }
    static QString DefaultButton(const QDialog& dialog) {
        for (const QPushButton* button : dialog.findChildren<QPushButton*>()) {
            if (button->isDefault()) {
                return button->text();
            }
        }
        return {};
    }

    CQserCtlRunner m_ctl;
    QString m_intro;
    QString m_report;
    QString m_defaultButton;
    QStringList m_names;
};

Json& Board(Json& configuration, const char* name) {
    for (Json& board : configuration["Boards"]) {
        if (board["BoardName"] == name) {
            return board;
        }
    }
    throw std::runtime_error(std::string("no board ") + name);
}
} // namespace

TEST_F(CDesiredStateWindowTest, CompareListsEachKindOfDifferenceOnceToReadAndCopy) {
    for (const Args& args : kGolden) {
        Ctl(m_hive.FilePath(), args);
    }
    Start();
    Json other = Json::parse(Ctl(m_hive.FilePath(), {"show", "--json"}));
    Json added = Board(other, "Board001");
    added["BoardName"] = "Board005";
    Json& board = Board(other, "Board000");
    board["BoardBaseAddress"] = "0x340";
    board["Ports"][1]["PortIRQ"] = "9";
    Json port = board["Ports"][0];
    port["PortName"] = "Port009";
    board["Ports"].erase(board["Ports"].begin() + 3);
    board["Ports"].push_back(port);
    other["Boards"].erase(other["Boards"].begin() + 1);
    other["Boards"].push_back(added);

    const struct {
        const char* kind;
        const char* line;
    } rows[] = {
        {"BoardRemoved", "Board001: removed"},
        {"BoardAdded", "Board005: added, RX-201, 2 ports"},
        {"PortRemoved", "Board000/Port003: removed"},
        {"PortAdded", "Board000/Port009: added"},
        {"BoardValue", "Board000: BoardBaseAddress 0x300 -> 0x340"},
        {"PortValue", "Board000/Port001: PortIRQ 5 -> 9"},
    };
    QString report;
    QString copied;
    QString keyCopied;
    QStringList names;
    const QString file = WriteFile("other.json", other.dump(2));
    ASSERT_TRUE(WithReportDialog([&] { Frame().CompareWith(file); },
                                 [&](CReportDialog& dialog) {
                                     report = dialog.Report();
                                     names = Names(dialog);
                                     auto* text = dialog.findChild<QPlainTextEdit*>();
                                     for (QAbstractButton* button :
                                          dialog.findChildren<QAbstractButton*>()) {
                                         if (button->text() == QStringLiteral("&Copy")) {
                                             button->click();
                                             copied = QApplication::clipboard()->text();
                                         }
                                     }
                                     QApplication::clipboard()->clear();
                                     EXPECT_TRUE(QTest::qWaitForWindowActive(&dialog));
                                     QTest::keyClick(text, Qt::Key_C, Qt::ControlModifier);
                                     keyCopied = QApplication::clipboard()->text();
                                     dialog.reject();
                                 }));
    for (const auto& row : rows) {
        EXPECT_EQ(report.count(QString::fromLatin1(row.line) + QLatin1Char('\n')), 1)
            << row.kind << "\n"
            << report.toStdString();
    }
    EXPECT_EQ(report.count(QLatin1Char('\n')), static_cast<qsizetype>(std::size(rows)));
    EXPECT_EQ(copied.toStdString(), report.toStdString());
    EXPECT_EQ(keyCopied.toStdString(), report.toStdString());
    EXPECT_EQ(names, QStringList({QStringLiteral("Compare With other.json"), QStringLiteral("Copy"),
                                  QStringLiteral("Close")}));
    EXPECT_EQ(m_hive.Messages().Texts(), std::vector<std::string>{});
}

TEST_F(CDesiredStateWindowTest, ApplyIsOneStepThatOneUndoTakesBack) {
    Ctl(m_hive.FilePath(), {"add-board", "BoardType=RX-201"});
    Ctl(m_hive.FilePath(), {"add-port", "Board000"});
    Start();
    const std::vector<std::string> before = Keys();
    const QString golden = WriteFile("golden.json", Made("golden", kGolden));
    // Compare With reads the registry file as Apply reads its configuration: the same lines.
    QString compared;
    ASSERT_TRUE(WithReportDialog(
        [&] { Frame().CompareWith(QString::fromStdString(m_hive.MakeAnother("golden"))); },
        [&](CReportDialog& dialog) {
            compared = dialog.Report();
            dialog.reject();
        }));

    ASSERT_TRUE(Apply(golden, true)) << testing::PrintToString(m_hive.Messages().Texts());
    EXPECT_NE(m_report.indexOf(QStringLiteral("  Board000: BoardType RX-201 -> RX-404\n")), -1)
        << m_report.toStdString();
    EXPECT_NE(m_report.indexOf(QStringLiteral("  Board001: added, RX-201, 2 ports\n")), -1);
    EXPECT_NE(m_report.indexOf(QStringLiteral("0 errors, 0 warnings")), -1);
    EXPECT_EQ(m_defaultButton, QStringLiteral("&Apply"));
    EXPECT_EQ(m_report.section(QStringLiteral("\n\n"), 0, 0).remove(QStringLiteral("  ")),
              QStringLiteral("Changes:\n") + compared.chopped(1));
    EXPECT_EQ(m_names, QStringList({QStringLiteral("Apply Configuration"), QStringLiteral("Copy"),
                                    QStringLiteral("Apply"), QStringLiteral("Cancel")}));
    EXPECT_EQ(m_hive.Messages().Texts(), std::vector<std::string>{});
    EXPECT_TRUE(
        Frame().StatusBar()->currentMessage().startsWith(QStringLiteral("Applied golden.json: ")))
        << Frame().StatusBar()->currentMessage().toStdString();
    EXPECT_EQ(Frame().Document()->m_bConfigChanged, 1);
    ASSERT_NE(Item("QSERDRV/Board001"), nullptr);
    EXPECT_EQ(m_ctl.Run({"diff", m_hive.FilePath(), golden.toStdString()}).status, 0);
    EXPECT_EQ(Frame().UndoHistory().Size(), 1u);

    QApplication::processEvents();
    EXPECT_EQ(Action(ID_EDIT_UNDO)->text(), QStringLiteral("&Undo Apply Configuration"));
    Action(ID_EDIT_UNDO)->trigger();
    EXPECT_EQ(Keys(), before);
    EXPECT_EQ(Item("QSERDRV/Board001"), nullptr);
}

TEST_F(CDesiredStateWindowTest, ApplyWithErrorsIsHeldBackUnlessChosenAnyway) {
    Start();
    const QString clashing = WriteFile("clashing.json", Made("clashing", kClashing));
    const std::string bytes = Bytes();

    ASSERT_TRUE(Apply(clashing, false));
    EXPECT_NE(m_intro.indexOf(QStringLiteral("errors")), -1) << m_intro.toStdString();
    EXPECT_NE(m_report.indexOf(QStringLiteral("error io-overlap")), -1) << m_report.toStdString();
    EXPECT_EQ(m_defaultButton, QStringLiteral("Cancel"));
    EXPECT_EQ(m_names.at(2), QStringLiteral("Apply Anyway"));
    EXPECT_EQ(Bytes(), bytes);
    EXPECT_EQ(Item("QSERDRV/Board000"), nullptr);

    ASSERT_TRUE(Apply(clashing, true));
    ASSERT_NE(Item("QSERDRV/Board000"), nullptr);
    EXPECT_EQ(m_ctl.Run({"diff", m_hive.FilePath(), clashing.toStdString()}).status, 0);
}

TEST_F(CDesiredStateWindowTest, SourceThatCannotBeAppliedSaysWhyAndChangesNothing) {
    Ctl(m_hive.FilePath(), {"add-board", "BoardType=RX-201"});
    Start();
    Json unreachable = Json::parse(Ctl(m_hive.FilePath(), {"show", "--json"}));
    unreachable["Boards"][0]["BoardBaseAddress"] = "0x123";
    const struct {
        const char* name;
        std::string bytes;
        const char* said;
    } rows[] = {
        {"NoConfiguration", "hello", "is neither a registry file"},
        {"NotJson", "{ \"Boards\": [", "is not JSON"},
        {"OutsideTheSchema", R"({"Boards": [], "Extra": 1})",
         "does not fit the configuration schema"},
        {"NoPickReachesIt", unreachable.dump(), "BoardBaseAddress"},
        {"NothingToChange", Ctl(m_hive.FilePath(), {"show", "--json"}), "nothing to change"},
    };
    for (const auto& row : rows) {
        m_hive.Messages().Clear();
        const std::string bytes = Bytes();
        const QString file = WriteFile(std::string(row.name) + ".json", row.bytes);
        EXPECT_FALSE(Apply(file, true)) << row.name;
        ASSERT_EQ(m_hive.Messages().Texts().size(), 1u) << row.name;
        EXPECT_NE(m_hive.Messages().Texts()[0].find(row.said), std::string::npos)
            << row.name << ": " << m_hive.Messages().Texts()[0];
        EXPECT_EQ(Bytes(), bytes) << row.name;
        EXPECT_EQ(Frame().UndoHistory().Size(), 0u) << row.name;
    }
}
