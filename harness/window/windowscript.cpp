#include "windowscript.h"

#include "commandids.h"
#include "configtreectrl.h"
#include "dialogtemplates.h"
#include "frameactions.h"
#include "mainframe.h"
#include "qserdoc.h"
#include "qtdialog.h"
#include "recordingmessagebox.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QTest>
#include <QToolBar>
#include <QTreeWidgetItem>
#include <utility>
#include <vector>

namespace {
// Once the others have finished, a step meets a reload at most once more; a hundred in a row
// mean the window never catches up.
constexpr int kAttemptsAlone = 100;

std::string OneLine(std::string text) {
    for (std::size_t at = text.find('\n'); at != std::string::npos; at = text.find('\n', at)) {
        text.replace(at, 1, "\\n");
    }
    return text;
}
} // namespace

CWindowScript::CWindowScript(CMainFrame& frame, CRecordingMessageBox& messages,
                             std::ostream& report, std::function<bool()> othersActing)
    : m_frame(frame), m_messages(messages), m_report(report),
      m_othersActing(std::move(othersActing)) {
    m_frame.Document()->AddView(this);
}

CWindowScript::~CWindowScript() {
    if (CQSERDoc* doc = m_frame.Document()) {
        doc->RemoveView(this);
    }
}

bool CWindowScript::PickPortIrq(const std::string& port, const std::string& irq) {
    const int portForm = CDialogTemplates::PortForm().id;
    return UntilTaken(
        "pick " + port + " PortIRQ=" + irq,
        On("QSERDRV/" + port, [this, portForm, irq] { return Choose(portForm, IDC_IRQ, irq); }));
}

void CWindowScript::BoardCycle(const std::string& irq) {
    if (!UntilTaken("add-board", On("QSERDRV", [this] { return Button(ID_ADD_BOARD); }))) {
        return;
    }
    const std::string board = CurrentPath();
    const std::string name = board.substr(board.find('/') + 1);
    const int boardForm = CDialogTemplates::BoardForm().id;
    const int portForm = CDialogTemplates::PortForm().id;
    const std::vector<std::pair<std::string, Step>> steps = {
        {"pick " + name + " BoardType=RX-202",
         On(board, [this, boardForm] { return Choose(boardForm, IDC_BOARD_TYPE, "RX-202"); })},
        // Add Port adds one port of this model at a time.
        {"add-port " + name, On(board, [this] { return Button(ID_ADD_PORT); })},
        {"add-port " + name, On(board, [this] { return Button(ID_ADD_PORT); })},
        {"pick " + name + "/Port000 PortIRQ=" + irq,
         On(board + "/Port000", [this, portForm, irq] { return Choose(portForm, IDC_IRQ, irq); })},
        {"save", [this] { return Button(ID_FILE_SAVE); }},
        {"delete " + name + "/Port001",
         On(board + "/Port001", [this] { return Button(ID_DELETE); })},
        {"delete " + name, On(board, [this] { return Button(ID_DELETE); })},
    };
    // The steps go on only while each was taken: a board left behind is a finding at the end.
    for (const auto& [what, step] : steps) {
        if (!UntilTaken(what, step)) {
            return;
        }
    }
}

CWindowScript::Step CWindowScript::On(const std::string& path, Step then) {
    return [this, path, then = std::move(then)] {
        const std::string why = Click(path);
        return why.empty() ? then() : why;
    };
}

void CWindowScript::Close() {
    m_frame.close();
    QApplication::processEvents();
    ReportMessages();
}

bool CWindowScript::UntilTaken(const std::string& what, const Step& step) {
    // While the others write, a step meets a reload whenever one of them committed between
    // the window's previous look and this step; the person goes on trying.
    for (int alone = 0; alone < kAttemptsAlone; alone += m_othersActing() ? 0 : 1) {
        const int reloads = m_reloads;
        const std::string why = step();
        QApplication::processEvents();
        ReportMessages();
        if (!why.empty()) {
            m_report << "failed " << what << ": " << why << '\n';
            return false;
        }
        if (m_reloads == reloads) {
            m_report << "action " << what << '\n';
            return true;
        }
        m_report << "again " << what << '\n';
    }
    m_report << "gave-up " << what << '\n';
    return false;
}

void CWindowScript::ReportMessages() {
    const auto& records = m_messages.Records();
    for (; m_reported < records.size(); ++m_reported) {
        m_report << "message " << OneLine(records[m_reported].text) << '\n';
    }
    m_report.flush();
}

// As a person clicks: the item's parents are opened first so that it can be seen (opening a
// board fills its port items anew).
std::string CWindowScript::Click(const std::string& path) {
    CConfigTreeCtrl& tree = m_frame.Tree();
    QTreeWidgetItem* item = nullptr;
    for (const QString& text : QString::fromStdString(path).split(QLatin1Char('/'))) {
        if (item != nullptr && !item->isExpanded()) {
            item->setExpanded(true);
            QApplication::processEvents();
        }
        const int count = item == nullptr ? tree.topLevelItemCount() : item->childCount();
        QTreeWidgetItem* next = nullptr;
        for (int i = 0; i < count && next == nullptr; ++i) {
            QTreeWidgetItem* child = item == nullptr ? tree.topLevelItem(i) : item->child(i);
            next = child->text(0) == text ? child : nullptr;
        }
        if (next == nullptr) {
            return "there is no item " + path;
        }
        item = next;
    }
    tree.scrollToItem(item);
    QApplication::processEvents();
    const QRect rect = tree.visualItemRect(item);
    if (rect.isEmpty()) {
        return path + " cannot be seen";
    }
    QTest::mouseClick(tree.viewport(), Qt::LeftButton, {}, rect.center());
    return CurrentPath() == path ? "" : "the click on " + path + " selected " + CurrentPath();
}

std::string CWindowScript::Button(int id) {
    QAction* action = m_frame.Actions().Action(id);
    if (!action->isEnabled()) {
        return action->text().toStdString() + " is disabled";
    }
    for (QToolBar* bar : {m_frame.MainToolBar(), m_frame.ConfigToolBar()}) {
        if (QWidget* button = bar->widgetForAction(action)) {
            QTest::mouseClick(button, Qt::LeftButton);
            return "";
        }
    }
    return action->text().toStdString() + " has no button";
}

// As the Qt adapter hears a person's choice in an open list.
std::string CWindowScript::Choose(int templateId, int controlId, const std::string& text) {
    auto* form = m_frame.findChild<CQtDialog*>(QStringLiteral("form%1").arg(templateId));
    auto* combo =
        form == nullptr ? nullptr : form->findChild<QComboBox*>(QString::number(controlId));
    if (combo == nullptr || !combo->isVisible() || !combo->isEnabled()) {
        return "the list " + std::to_string(controlId) + " cannot be used";
    }
    const int index = combo->findText(QString::fromStdString(text));
    if (index < 0) {
        return "the list " + std::to_string(controlId) + " does not offer " + text;
    }
    combo->setCurrentIndex(index);
    emit combo->activated(index);
    return "";
}

std::string CWindowScript::CurrentPath() const {
    std::string path;
    for (QTreeWidgetItem* item = m_frame.Tree().currentItem(); item != nullptr;
         item = item->parent()) {
        path = item->text(0).toStdString() + (path.empty() ? "" : "/" + path);
    }
    return path;
}
