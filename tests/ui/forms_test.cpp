#include "boardtype.h"
#include "controltemplate.h"
#include "dialogtemplates.h"
#include "formcontrols.h"
#include "headlesscombobox.h"
#include "qtcombobox.h"
#include "qtdialog.h"
#include "testnames.h"

#include <QAccessible>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QStyleOptionComboBox>
#include <algorithm>
#include <gtest/gtest.h>
#include <map>
#include <memory>
#include <string>
#include <vector>

namespace {
struct SFormCase {
    const char* name;
    const SDialogTemplate& (*dialogTemplate)();
};

class CFormLayoutTest : public ::testing::TestWithParam<SFormCase> {
protected:
    CFormLayoutTest() : m_page(GetParam().dialogTemplate(), nullptr) { m_page.ShowWindow(true); }

    // The template's controls (named by their ids), wherever they are nested.
    std::vector<QWidget*> Controls() const {
        std::vector<QWidget*> controls;
        for (QWidget* child : m_page.findChildren<QWidget*>()) {
            bool isId = false;
            child->objectName().toInt(&isId);
            if (isId) {
                controls.push_back(child);
            }
        }
        return controls;
    }

    QRect OnPage(const QWidget* widget) const {
        return {widget->mapTo(&m_page, QPoint(0, 0)), widget->size()};
    }

    CQtDialog m_page;
};
} // namespace

TEST_P(CFormLayoutTest, NoLabelIsClippedOrCoveredByAControl) {
    const std::vector<QWidget*> controls = Controls();
    for (QLabel* label : m_page.findChildren<QLabel*>()) {
        const QString text = label->text().trimmed().remove(QLatin1Char('&'));
        EXPECT_GE(label->width(), label->fontMetrics().horizontalAdvance(text))
            << text.toStdString();
        for (QWidget* control : controls) {
            EXPECT_FALSE(OnPage(label).intersects(OnPage(control)))
                << text.toStdString() << " / " << control->objectName().toStdString();
        }
    }
}

TEST_P(CFormLayoutTest, EveryControlLiesOnThePageAndEveryIdIsThere) {
    EXPECT_EQ(Controls().size(),
              GetParam().dialogTemplate().controls.size() -
                  static_cast<std::size_t>(
                      std::count_if(GetParam().dialogTemplate().controls.begin(),
                                    GetParam().dialogTemplate().controls.end(),
                                    [](const auto& spec) { return spec.id == kNoControlId; })));
    for (QWidget* control : Controls()) {
        EXPECT_TRUE(m_page.rect().contains(OnPage(control))) << control->objectName().toStdString();
    }
    for (const SControlTemplate& spec : GetParam().dialogTemplate().controls) {
        if (spec.id == kNoControlId) {
            continue;
        }
        const bool adapted = m_page.ComboBox(spec.id) != nullptr ||
                             m_page.CheckBox(spec.id) != nullptr || m_page.Edit(spec.id) != nullptr;
        EXPECT_TRUE(adapted) << spec.id;
        EXPECT_NE(m_page.findChild<QWidget*>(QString::number(spec.id)), nullptr) << spec.id;
    }
}

TEST_P(CFormLayoutTest, LabelsSitAtTheHeightOfTheirControl) {
    for (QLabel* label : m_page.findChildren<QLabel*>()) {
        const QRect labelRect = OnPage(label);
        for (QWidget* control : Controls()) {
            const QRect controlRect = OnPage(control);
            const bool sameRow = controlRect.x() > labelRect.x() &&
                                 controlRect.top() <= labelRect.bottom() &&
                                 labelRect.top() <= controlRect.bottom();
            if (sameRow) {
                EXPECT_NEAR(labelRect.center().y(), controlRect.center().y(), 1)
                    << label->text().toStdString();
            }
        }
    }
}

// What a screen reader says: each control is named by its label without the colon, and sits
// in the group box drawn around it.
TEST_P(CFormLayoutTest, EveryControlIsNamedByItsLabelInsideItsGroup) {
    std::map<QWidget*, QString> labelOf;
    for (QLabel* label : m_page.findChildren<QLabel*>()) {
        if (label->buddy() != nullptr) {
            labelOf[label->buddy()] = label->text();
        }
    }
    for (QWidget* control : Controls()) {
        const std::string id = control->objectName().toStdString();
        ASSERT_TRUE(labelOf.count(control) == 1) << id;
        // The mnemonic's marker is no part of the name.
        QString expected = labelOf[control].remove(QLatin1Char('&'));
        ASSERT_TRUE(expected.endsWith(QLatin1Char(':'))) << id;
        expected.chop(1);
        QAccessibleInterface* accessible = QAccessible::queryAccessibleInterface(control);
        ASSERT_NE(accessible, nullptr) << id;
        EXPECT_EQ(accessible->text(QAccessible::Name), expected) << id;
        EXPECT_NE(qobject_cast<QGroupBox*>(control->parentWidget()), nullptr) << id;
    }
    for (QLabel* label : m_page.findChildren<QLabel*>()) {
        EXPECT_EQ(label->text(), label->text().trimmed()) << label->text().toStdString();
    }
}

// Alt and a letter reaches every control that takes the focus by Tab, and no two controls of a
// page, nor a menu title, share the letter.
TEST_P(CFormLayoutTest, EveryTabStopHasItsOwnMnemonic) {
    QString used = QStringLiteral("fevh");
    for (QLabel* label : m_page.findChildren<QLabel*>()) {
        if (label->buddy() == nullptr || !(label->buddy()->focusPolicy() & Qt::TabFocus)) {
            continue;
        }
        const qsizetype marker = label->text().indexOf(QLatin1Char('&'));
        ASSERT_GE(marker, 0) << label->text().toStdString();
        const QChar letter = label->text().at(marker + 1).toLower();
        EXPECT_FALSE(used.contains(letter)) << label->text().toStdString();
        used += letter;
    }
}

TEST_P(CFormLayoutTest, EveryListOpensWithTheSameHeightBelowItsField) {
    for (QComboBox* combo : m_page.findChildren<QComboBox*>()) {
        const std::string id = combo->objectName().toStdString();
        EXPECT_EQ(combo->maxVisibleItems(), 10) << id;
        QStyleOptionComboBox option;
        option.initFrom(combo);
        EXPECT_EQ(combo->style()->styleHint(QStyle::SH_ComboBox_Popup, &option, combo), 0) << id;
    }
}

INSTANTIATE_TEST_SUITE_P(Templates, CFormLayoutTest,
                         ::testing::Values(SFormCase{"System", &CDialogTemplates::SystemForm},
                                           SFormCase{"Board", &CDialogTemplates::BoardForm},
                                           SFormCase{"Port", &CDialogTemplates::PortForm}),
                         SRowName());

TEST(CQtDialogTest, CheckBoxesWithTextOnTheLeftLineUp) {
    CQtDialog page(CDialogTemplates::BoardForm(), nullptr);
    page.ShowWindow(true);
    auto* standard = page.findChild<QCheckBox*>(QString::number(IDC_STANDARD_MODE_ENABLE));
    auto* share = page.findChild<QCheckBox*>(QString::number(IDC_SHARE_IRQ_ENABLE));
    ASSERT_NE(standard, nullptr);
    ASSERT_NE(share, nullptr);
    EXPECT_EQ(standard->x(), share->x());
    EXPECT_TRUE(standard->text().isEmpty());
}

// The system form is disabled as a whole, yet read at the contrast of an enabled form; its
// fields, like every read-only field, are no Tab stop.
TEST(CQtDialogTest, ADisabledPageStaysReadableAndReadOnlyFieldsAreNoTabStop) {
    CQtDialog page(CDialogTemplates::SystemForm(), nullptr);
    // Disabled before its controls are made, as the window does.
    page.EnableWindow(false);
    page.ShowWindow(true);
    EXPECT_FALSE(page.IsWindowEnabled());
    for (QLineEdit* edit : page.findChildren<QLineEdit*>()) {
        const QPalette palette = edit->palette();
        EXPECT_FALSE(edit->isEnabled());
        EXPECT_EQ(palette.color(QPalette::Disabled, QPalette::Text),
                  palette.color(QPalette::Active, QPalette::Text));
        EXPECT_EQ(palette.color(QPalette::Disabled, QPalette::Base),
                  palette.color(QPalette::Active, QPalette::Base));
        EXPECT_EQ(edit->focusPolicy() & Qt::TabFocus, 0);
    }
    page.EnableWindow(true);
    for (QLabel* label : page.findChildren<QLabel*>()) {
        EXPECT_NE(label->palette().color(QPalette::Disabled, QPalette::WindowText),
                  label->palette().color(QPalette::Active, QPalette::WindowText));
    }
    CQtDialog port(CDialogTemplates::PortForm(), nullptr);
    port.ShowWindow(true);
    for (int id : {IDC_PORT_NAME, IDC_PORT_INDEX}) {
        EXPECT_EQ(port.findChild<QWidget*>(QString::number(id))->focusPolicy() & Qt::TabFocus, 0);
    }
}

// The controls are made when the page is first shown, and show what the form gave before.
TEST(CQtDialogTest, ControlsMadeOnFirstShowTakeOverWhatTheFormSetBefore) {
    CQtDialog page(CDialogTemplates::BoardForm(), nullptr);
    IComboBox* type = page.ComboBox(IDC_BOARD_TYPE);
    IComboBox* address = page.ComboBox(IDC_BASE_ADDRESS);
    ICheckBox* share = page.CheckBox(IDC_SHARE_IRQ_ENABLE);
    int chosen = 0;
    type->SetActivatedHandler([&chosen] { ++chosen; });
    type->ShowValue("rx-408");
    FillComboBox(address, {"0x200", "0x280"});
    address->ShowValue("0x2A0");
    share->SetCheck(1);
    share->EnableWindow(false);
    share->SetDisabledReason("set by the board's shared interrupt");
    page.Edit(IDC_BOARD_NAME)->SetWindowText("Board003");
    ASSERT_EQ(page.findChild<QComboBox*>(), nullptr);

    page.ShowWindow(true);
    auto* typeBox = page.findChild<QComboBox*>(QString::number(IDC_BOARD_TYPE));
    auto* addressBox = page.findChild<QComboBox*>(QString::number(IDC_BASE_ADDRESS));
    auto* shareBox = page.findChild<QCheckBox*>(QString::number(IDC_SHARE_IRQ_ENABLE));
    ASSERT_TRUE(typeBox && addressBox && shareBox);
    EXPECT_EQ(typeBox->count(), static_cast<int>(BoardTypeNames().size()));
    EXPECT_EQ(typeBox->currentText(), QStringLiteral("RX-408"));
    EXPECT_EQ(addressBox->count(), 2);
    EXPECT_EQ(addressBox->currentIndex(), -1);
    EXPECT_EQ(addressBox->currentText(), QStringLiteral("0x2A0"));
    EXPECT_TRUE(shareBox->isChecked());
    EXPECT_FALSE(shareBox->isEnabled());
    EXPECT_EQ(shareBox->toolTip(), QStringLiteral("set by the board's shared interrupt"));
    EXPECT_EQ(page.findChild<QLineEdit*>(QString::number(IDC_BOARD_NAME))->text(),
              QStringLiteral("Board003"));
    EXPECT_EQ(type->Pick("RX-202"), EPickResult::Done);
    EXPECT_EQ(chosen, 1);
    EXPECT_EQ(typeBox->currentText(), QStringLiteral("RX-202"));

    // A person's choice on a page not yet shown is made on its controls.
    CQtDialog port(CDialogTemplates::PortForm(), nullptr);
    EXPECT_EQ(port.ComboBox(IDC_IRQ)->Pick(port.ComboBox(IDC_IRQ)->GetLBText(1)),
              EPickResult::Done);
    EXPECT_EQ(port.findChild<QComboBox*>(QString::number(IDC_IRQ))->currentIndex(), 1);
}

TEST(CQtDialogTest, EditableCombosTakeNoTypedTextAndFixedListsAreNotEditable) {
    CQtDialog page(CDialogTemplates::PortForm(), nullptr);
    page.ShowWindow(true);
    auto* com = page.findChild<QComboBox*>(QString::number(IDC_COM_PORT));
    auto* irq = page.findChild<QComboBox*>(QString::number(IDC_IRQ));
    ASSERT_TRUE(com->isEditable());
    EXPECT_EQ(com->insertPolicy(), QComboBox::NoInsert);
    EXPECT_EQ(com->completer(), nullptr);
    EXPECT_FALSE(irq->isEditable());
}

// The Qt combo box and the headless one answer alike, so that what the form tests prove of the
// headless forms holds for the window.
TEST(CQtComboBoxTest, BehavesAsTheHeadlessComboBox) {
    struct SCase {
        bool editable;
        bool sorted;
    };
    for (const SCase& test : {SCase{true, true}, SCase{true, false}, SCase{false, false}}) {
        QComboBox widget;
        widget.setEditable(test.editable);
        CQtComboBox qt(widget, test.sorted);
        CHeadlessComboBox headless(test.editable, test.sorted);
        const std::string context =
            std::string(test.editable ? "editable" : "fixed") + (test.sorted ? " sorted" : "");
        for (IComboBox* box : {static_cast<IComboBox*>(&qt), static_cast<IComboBox*>(&headless)}) {
            box->ResetContent();
        }
        for (const char* entry : {"RX-401", "rq-6001", "RX-201", "RQ-6002"}) {
            EXPECT_EQ(qt.AddString(entry), headless.AddString(entry)) << context;
        }
        ASSERT_EQ(qt.GetCount(), headless.GetCount());
        for (int i = 0; i < qt.GetCount(); ++i) {
            EXPECT_EQ(qt.GetLBText(i), headless.GetLBText(i)) << context;
        }
        for (const char* value : {"RX-201", "NONE", "rq-6001", ""}) {
            qt.ShowValue(value);
            headless.ShowValue(value);
            EXPECT_EQ(qt.GetCurSel(), headless.GetCurSel()) << context << " " << value;
            EXPECT_EQ(qt.GetWindowText(), headless.GetWindowText()) << context << " " << value;
        }
        qt.SetCurSel(99);
        headless.SetCurSel(99);
        EXPECT_EQ(qt.GetCurSel(), headless.GetCurSel()) << context;
    }
}

// A value is shown by the entry equal to it when case is ignored, never by an entry that merely
// begins with it.
TEST(CQtComboBoxTest, ValuesMatchTheirEntryWhateverTheCase) {
    struct SCase {
        const char* value;
        int selected;     // -1: no entry
        const char* text; // what an editable box shows
    };
    const SCase cases[] = {
        {"com5", 2, "COM5"},     {"0X200", 0, "0x200"}, {"0x20", -1, "0x20"},
        {"rx-408", 3, "RX-408"}, {"COM", -1, "COM"},    {"0x2000", -1, "0x2000"},
    };
    for (bool editable : {true, false}) {
        QComboBox widget;
        widget.setEditable(editable);
        CQtComboBox qt(widget, false);
        CHeadlessComboBox headless(editable, false);
        for (IComboBox* box : {static_cast<IComboBox*>(&qt), static_cast<IComboBox*>(&headless)}) {
            for (const char* entry : {"0x200", "0x208", "COM5", "RX-408"}) {
                box->AddString(entry);
            }
            for (const SCase& test : cases) {
                const std::string context = std::string(editable ? "editable " : "fixed ") +
                                            (box == &qt ? "qt " : "headless ") + test.value;
                box->ShowValue(test.value);
                EXPECT_EQ(box->GetCurSel(), test.selected) << context;
                const std::string shown = editable || test.selected >= 0 ? test.text : "";
                EXPECT_EQ(box->GetWindowText(), shown) << context;
            }
        }
    }
}

TEST(CQtComboBoxTest, OnlyAPersonsChoiceReachesTheHandler) {
    QComboBox widget;
    CQtComboBox box(widget, false);
    int activated = 0;
    box.SetActivatedHandler([&activated] { ++activated; });
    box.AddString("a");
    box.AddString("b");
    box.SetCurSel(1);
    box.ShowValue("a");
    EXPECT_EQ(activated, 0);
    emit widget.activated(1);
    EXPECT_EQ(activated, 1);
}

TEST(CQtComboBoxTest, OwnEnableStateIsReportedWhateverThePage) {
    QWidget page;
    auto* widget = new QComboBox(&page);
    CQtComboBox box(*widget, false);
    page.setEnabled(false);
    EXPECT_TRUE(box.IsWindowEnabled());
    box.EnableWindow(false);
    page.setEnabled(true);
    EXPECT_FALSE(box.IsWindowEnabled());
}
