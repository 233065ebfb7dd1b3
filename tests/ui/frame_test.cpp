#include "aboutbox.h"
#include "boardobj.h"
#include "commandids.h"
#include "configtreectrl.h"
#include "dialogtemplates.h"
#include "dialogunits.h"
#include "formpane.h"
#include "formtemplateids.h"
#include "qserdoc.h"
#include "qtdialog.h"
#include "testkeypaths.h"
#include "treebrowserbar.h"
#include "uifixture.h"

#include <QAbstractItemView>
#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QFontMetrics>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QStyledItemDelegate>
#include <QTest>

namespace {
class CFrameTest : public CUiFixture {
protected:
    void SetUp() override { Start(); }

    QComboBox* Combo(int id) const { return Control<QComboBox>(kBoardFormId, id); }
};
} // namespace

TEST_F(CFrameTest, StartsWithTheDriverItemSelectedAndTheSystemFormShown) {
    EXPECT_EQ(Frame().windowTitle(), QStringLiteral("registry.db[*] - Brimholde - QSER"));
    EXPECT_FALSE(Frame().isWindowModified());
    QTreeWidgetItem* driver = Item("QSERDRV");
    ASSERT_NE(driver, nullptr);
    EXPECT_EQ(Frame().Tree().currentItem(), driver);
    EXPECT_TRUE(Form(kSystemFormId)->isVisible());
    EXPECT_FALSE(Form(kSystemFormId)->isEnabled());
    EXPECT_FALSE(Form(kBoardFormId)->isVisible());
    EXPECT_FALSE(Form(kPortFormId)->isVisible());
    EXPECT_EQ(Control<QLineEdit>(kSystemFormId, IDC_NUM_BOARDS)->text(), QStringLiteral("0"));
    EXPECT_TRUE(Action(ID_ADD_BOARD)->isEnabled());
    EXPECT_FALSE(Action(ID_ADD_PORT)->isEnabled());
    EXPECT_FALSE(Action(ID_DELETE)->isEnabled());
}

TEST_F(CFrameTest, WindowFitsTheFormTemplateCentredOnTheScreen) {
    const SDialogTemplate& view = CDialogTemplates::FormView();
    QWidget* pane = Frame().centralWidget();
    EXPECT_EQ(pane->size(), CDialogUnits(pane->font()).Size(view.width, view.height));
    const QRect screen = Frame().screen()->geometry();
    EXPECT_NEAR(Frame().x(), (screen.width() - Frame().width()) / 2, 1);
    EXPECT_NEAR(Frame().y(), (screen.height() - Frame().height()) / 2, 1);
}

TEST(CDialogUnitsTest, EachFontIsMeasuredAsItselfWhateverWasMeasuredBefore) {
    QFont small = QApplication::font();
    small.setPointSize(8);
    QFont large = small;
    large.setPointSize(24);
    const QSize smallUnits = CDialogUnits(small).Size(100, 100);
    const QSize largeUnits = CDialogUnits(large).Size(100, 100);
    EXPECT_GT(largeUnits.width(), smallUnits.width());
    EXPECT_GT(largeUnits.height(), smallUnits.height());
    EXPECT_EQ(CDialogUnits(small).Size(100, 100), smallUnits);
    EXPECT_EQ(QFontMetrics(large).height(), CDialogUnits(large).BaseHeight());
}

TEST_F(CFrameTest, AddBoardAddPortAndDeleteFromTheToolbar) {
    ClickButton(ID_ADD_BOARD);
    ASSERT_NE(Item("QSERDRV/Board000"), nullptr);
    EXPECT_TRUE(KeyExists(BoardKey("Board000")));
    EXPECT_EQ(Frame().Tree().currentItem(), Item("QSERDRV/Board000"));
    EXPECT_TRUE(Form(kBoardFormId)->isVisible());
    EXPECT_TRUE(Action(ID_DELETE)->isEnabled());
    EXPECT_TRUE(Action(ID_ADD_PORT)->isEnabled());

    ClickButton(ID_ADD_PORT);
    ASSERT_NE(Item("QSERDRV/Board000/Port000"), nullptr);
    EXPECT_TRUE(KeyExists(PortKey("Board000", "Port000")));
    EXPECT_TRUE(Form(kPortFormId)->isVisible());

    // Deleting the port asks first and then selects its board.
    m_hive.Messages().ScriptAnswer(EMsgResult::Yes);
    ClickButton(ID_DELETE);
    EXPECT_EQ(Item("QSERDRV/Board000/Port000"), nullptr);
    EXPECT_FALSE(KeyExists(PortKey("Board000", "Port000")));
    EXPECT_EQ(Frame().Tree().currentItem(), Item("QSERDRV/Board000"));

    m_hive.Messages().ScriptAnswer(EMsgResult::Yes);
    ClickButton(ID_DELETE);
    EXPECT_EQ(Item("QSERDRV/Board000"), nullptr);
    EXPECT_FALSE(KeyExists(BoardKey("Board000")));
    EXPECT_EQ(m_hive.Messages().Records().size(), 2u);
    EXPECT_EQ(Frame().Document()->m_bConfigChanged, 1);
}

TEST_F(CFrameTest, DeclinedDeleteKeepsTheBoard) {
    ClickButton(ID_ADD_BOARD);
    m_hive.Messages().ScriptAnswer(EMsgResult::No);
    ClickButton(ID_DELETE);
    EXPECT_NE(Item("QSERDRV/Board000"), nullptr);
    EXPECT_TRUE(KeyExists(BoardKey("Board000")));
    ASSERT_EQ(m_hive.Messages().Records().size(), 1u);
    EXPECT_EQ(m_hive.Messages().Records()[0].buttons, EMsgButtons::YesNo);
}

TEST_F(CFrameTest, TreeClickShowsTheFormOfTheItemFilledFromItsRecord) {
    ClickButton(ID_ADD_BOARD);
    ClickButton(ID_ADD_BOARD);
    Choose(*Combo(IDC_BOARD_TYPE), QStringLiteral("RX-209"));

    ClickItem("QSERDRV");
    EXPECT_TRUE(Form(kSystemFormId)->isVisible());
    EXPECT_FALSE(Form(kBoardFormId)->isVisible());
    EXPECT_EQ(Control<QLineEdit>(kSystemFormId, IDC_NUM_BOARDS)->text(), QStringLiteral("2"));

    ClickItem("QSERDRV/Board000");
    EXPECT_TRUE(Form(kBoardFormId)->isVisible());
    EXPECT_FALSE(Form(kSystemFormId)->isVisible());
    EXPECT_EQ(Control<QLineEdit>(kBoardFormId, IDC_BOARD_NAME)->text(), QStringLiteral("Board000"));
    const CBoardObj* board = Frame().Document()->m_pCurBoard;
    ASSERT_NE(board, nullptr);
    EXPECT_EQ(Combo(IDC_BOARD_TYPE)->currentText().toStdString(), board->GetBoardType());
    EXPECT_EQ(Combo(IDC_BASE_ADDRESS)->currentText().toStdString(), board->GetBaseAddress());

    ClickItem("QSERDRV/Board001");
    EXPECT_EQ(Control<QLineEdit>(kBoardFormId, IDC_BOARD_NAME)->text(), QStringLiteral("Board001"));
    EXPECT_EQ(Combo(IDC_BOARD_TYPE)->currentText(), QStringLiteral("RX-209"));

    ClickButton(ID_ADD_PORT);
    ClickItem("QSERDRV/Board001/Port000");
    EXPECT_TRUE(Form(kPortFormId)->isVisible());
    EXPECT_EQ(Control<QLineEdit>(kPortFormId, IDC_PORT_NAME)->text(), QStringLiteral("Port000"));
    EXPECT_TRUE(Control<QComboBox>(kPortFormId, IDC_COM_PORT)->isEnabled());
}

TEST_F(CFrameTest, PickInAComboBoxWritesTheRegistryThroughTheForm) {
    ClickButton(ID_ADD_BOARD);
    Choose(*Combo(IDC_BOARD_TYPE), QStringLiteral("RX-401"));
    EXPECT_EQ(RegistryText(BoardKey("Board000"), "BoardType"), "RX-401");

    QComboBox* baseCOM = Combo(IDC_BASE_COM_PORT);
    ASSERT_TRUE(baseCOM->isEnabled());
    Choose(*baseCOM, QStringLiteral("COM7"));
    EXPECT_EQ(RegistryText(BoardKey("Board000"), "BoardBaseCOMPort"), "COM7");
    EXPECT_EQ(Frame().Document()->m_pCurBoard->GetBaseCOMPort(), "COM7");

    // The keyboard chooses too: the next entry.
    baseCOM->setFocus();
    QTest::keyClick(baseCOM, Qt::Key_Down);
    EXPECT_EQ(RegistryText(BoardKey("Board000"), "BoardBaseCOMPort"), "COM8");
}

// Typed text that names an entry is that entry's choice; it adds nothing to the list.
TEST_F(CFrameTest, TypedEntryIsTakenAsItsChoiceAndAddsNoEntry) {
    ClickButton(ID_ADD_BOARD);
    Choose(*Combo(IDC_BOARD_TYPE), QStringLiteral("RX-401"));
    QComboBox* baseCOM = Combo(IDC_BASE_COM_PORT);
    const std::string before = RegistryText(BoardKey("Board000"), "BoardBaseCOMPort");
    const int entries = baseCOM->count();
    baseCOM->lineEdit()->clear();
    QTest::keyClicks(baseCOM->lineEdit(), QStringLiteral("COM9"));
    QTest::keyClick(baseCOM->lineEdit(), Qt::Key_Return);
    EXPECT_NE(before, "COM9");
    EXPECT_EQ(RegistryText(BoardKey("Board000"), "BoardBaseCOMPort"), "COM9");
    EXPECT_EQ(baseCOM->count(), entries);
}

TEST_F(CFrameTest, CheckBoxLabelClickTogglesTheBox) {
    ClickButton(ID_ADD_BOARD);
    Choose(*Combo(IDC_BOARD_TYPE), QStringLiteral("RX-401"));
    auto* box = Control<QCheckBox>(kBoardFormId, IDC_STANDARD_MODE_ENABLE);
    ASSERT_NE(box, nullptr);
    ASSERT_TRUE(box->isEnabled());
    QLabel* label = nullptr;
    for (QLabel* candidate : Form(kBoardFormId)->findChildren<QLabel*>()) {
        if (candidate->text().remove(QLatin1Char('&')) == QStringLiteral("Standard Mode Enable:")) {
            label = candidate;
        }
    }
    ASSERT_NE(label, nullptr);
    QTest::mouseClick(label, Qt::LeftButton);
    EXPECT_TRUE(box->isChecked());
    EXPECT_EQ(Frame().Document()->m_pCurBoard->GetStandardModeEnabled(), 1);
    EXPECT_EQ(RegistryText(BoardKey("Board000"), "BoardBaseAddress"), "NONE");
}

TEST_F(CFrameTest, AboutKeepsItsLineAndNamesTheReleaseTheLicenceAndQt) {
    CAboutBox about(&Frame());
    QStringList texts;
    for (const QLabel* label : about.findChildren<QLabel*>()) {
        texts << label->text();
    }
    EXPECT_TRUE(texts.contains(QStringLiteral("QSER Utility Version 1.10")));
    const QString details = about.findChild<QLabel*>(QStringLiteral("aboutDetails"))->text();
    EXPECT_TRUE(details.contains(QStringLiteral(QSER_VERSION))) << details.toStdString();
    EXPECT_TRUE(details.contains(QStringLiteral("all rights reserved"))) << details.toStdString();
    EXPECT_TRUE(details.contains(QString::fromLatin1(qVersion()))) << details.toStdString();
    bool aboutQt = false;
    for (const QPushButton* button : about.findChildren<QPushButton*>()) {
        aboutQt = aboutQt || button->text() == QStringLiteral("About &Qt...");
        EXPECT_TRUE(about.rect().contains(button->geometry())) << button->text().toStdString();
    }
    EXPECT_TRUE(aboutQt);
}

TEST_F(CFrameTest, ALargeWindowCentresTheFormAndKeepsTheTreeBarWidth) {
    const int treeWidth = Frame().TreeBar()->width();
    Frame().resize(Frame().size() + QSize(400, 300));
    QApplication::processEvents();
    const QWidget* page = Form(kSystemFormId);
    const QRect controls = page->childrenRect().translated(page->pos());
    const QWidget* content = page->parentWidget();
    EXPECT_GT(controls.left(), 150);
    EXPECT_NEAR(controls.left(), content->width() - 1 - controls.right(), 2);
    EXPECT_NEAR(controls.top(), content->height() - 1 - controls.bottom(), 2);
    EXPECT_EQ(Frame().TreeBar()->width(), treeWidth);
}

TEST_F(CFrameTest, TheOpenBoardTypeListShowsEachModelsPortCount) {
    ClickButton(ID_ADD_BOARD);
    auto* combo = Control<QComboBox>(kBoardFormId, IDC_BOARD_TYPE);
    auto* delegate = qobject_cast<QStyledItemDelegate*>(combo->view()->itemDelegate());
    ASSERT_NE(delegate, nullptr);
    const int index = combo->findText(QStringLiteral("RX-408"));
    ASSERT_GE(index, 0); // the entry itself stays the model's name
    EXPECT_EQ(delegate->displayText(combo->itemText(index), QLocale()),
              QStringLiteral("RX-408 - 8 ports"));
    EXPECT_EQ(delegate->displayText(QStringLiteral("RX-202"), QLocale()),
              QStringLiteral("RX-202 - 2 ports"));
}
