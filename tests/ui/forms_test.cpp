#include "controltemplate.h"
#include "dialogtemplates.h"
#include "headlesscombobox.h"
#include "qtcombobox.h"
#include "qtdialog.h"
#include "testnames.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <gtest/gtest.h>
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
    CFormLayoutTest() : m_page(GetParam().dialogTemplate(), nullptr) {}

    std::vector<QWidget*> Controls() const {
        std::vector<QWidget*> controls;
        for (QWidget* child : m_page.findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
            if (qobject_cast<QComboBox*>(child) || qobject_cast<QLineEdit*>(child) ||
                qobject_cast<QCheckBox*>(child)) {
                controls.push_back(child);
            }
        }
        return controls;
    }

    CQtDialog m_page;
};
} // namespace

TEST_P(CFormLayoutTest, NoLabelIsClippedOrCoveredByAControl) {
    const std::vector<QWidget*> controls = Controls();
    for (QLabel* label : m_page.findChildren<QLabel*>()) {
        const QString text = label->text().trimmed();
        EXPECT_GE(label->width(), label->fontMetrics().horizontalAdvance(text))
            << text.toStdString();
        for (QWidget* control : controls) {
            EXPECT_FALSE(label->geometry().intersects(control->geometry()))
                << text.toStdString() << " / " << control->objectName().toStdString();
        }
    }
}

TEST_P(CFormLayoutTest, EveryControlLiesOnThePageAndEveryIdIsThere) {
    for (QWidget* control : Controls()) {
        EXPECT_TRUE(m_page.rect().contains(control->geometry()))
            << control->objectName().toStdString();
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
        for (QWidget* control : Controls()) {
            const bool sameRow = control->x() > label->x() &&
                                 control->geometry().top() <= label->geometry().bottom() &&
                                 label->geometry().top() <= control->geometry().bottom();
            if (sameRow) {
                EXPECT_NEAR(label->geometry().center().y(), control->geometry().center().y(), 1)
                    << label->text().toStdString();
            }
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Templates, CFormLayoutTest,
                         ::testing::Values(SFormCase{"System", &CDialogTemplates::SystemForm},
                                           SFormCase{"Board", &CDialogTemplates::BoardForm},
                                           SFormCase{"Port", &CDialogTemplates::PortForm}),
                         SRowName());

TEST(CQtDialogTest, CheckBoxesWithTextOnTheLeftLineUp) {
    CQtDialog page(CDialogTemplates::BoardForm(), nullptr);
    auto* standard = page.findChild<QCheckBox*>(QString::number(IDC_STANDARD_MODE_ENABLE));
    auto* share = page.findChild<QCheckBox*>(QString::number(IDC_SHARE_IRQ_ENABLE));
    ASSERT_NE(standard, nullptr);
    ASSERT_NE(share, nullptr);
    EXPECT_EQ(standard->x(), share->x());
    EXPECT_TRUE(standard->text().isEmpty());
}

TEST(CQtDialogTest, EditableCombosTakeNoTypedTextAndFixedListsAreNotEditable) {
    CQtDialog page(CDialogTemplates::PortForm(), nullptr);
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
