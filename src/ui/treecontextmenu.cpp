#include "treecontextmenu.h"

#include "commandids.h"
#include "configtreectrl.h"
#include "frameactions.h"
#include "treebrowserbar.h"

#include <QAction>
#include <QContextMenuEvent>
#include <QMenu>

CTreeContextMenu::CTreeContextMenu(CConfigTreeCtrl& tree, const CFrameActions& actions,
                                   CTreeBrowserBar& bar)
    : QObject(&tree), m_tree(tree), m_bar(bar), m_pMenu(new QMenu(&tree)) {
    m_pMenu->setObjectName(QStringLiteral("treeContextMenu"));
    m_pMenu->addAction(actions.Action(ID_ADD_BOARD));
    m_pMenu->addAction(actions.Action(ID_ADD_PORT));
    m_pMenu->addSeparator();
    m_pMenu->addAction(actions.Action(ID_DELETE));
    m_pMenu->addSeparator();
    m_pFloat =
        m_pMenu->addAction(QStringLiteral("&Float Tree Browser"), &m_bar, &CTreeBrowserBar::Float);
    m_pDockLeft = m_pMenu->addAction(QStringLiteral("Dock at &Left"), &m_bar,
                                     [this] { m_bar.Dock(Qt::LeftDockWidgetArea); });
    m_pDockRight = m_pMenu->addAction(QStringLiteral("Dock at &Right"), &m_bar,
                                      [this] { m_bar.Dock(Qt::RightDockWidgetArea); });
    connect(m_pMenu, &QMenu::aboutToShow, this, &CTreeContextMenu::UpdatePlacementStates);

    QAction* remove = actions.Action(ID_DELETE);
    auto* deleteKey = new QAction(&tree);
    deleteKey->setShortcut(QKeySequence(Qt::Key_Delete));
    deleteKey->setShortcutContext(Qt::WidgetWithChildrenShortcut);
    connect(deleteKey, &QAction::triggered, remove, [remove] {
        if (remove->isEnabled()) {
            remove->trigger();
        }
    });
    tree.addAction(deleteKey);

    // A right click arrives at the viewport, the Menu key at the tree, which has the focus.
    tree.installEventFilter(this);
    tree.viewport()->installEventFilter(this);
}

void CTreeContextMenu::UpdatePlacementStates() {
    const bool floating = m_bar.isFloating();
    m_pFloat->setEnabled(!floating);
    m_pDockLeft->setEnabled(floating || m_bar.Area() != Qt::LeftDockWidgetArea);
    m_pDockRight->setEnabled(floating || m_bar.Area() != Qt::RightDockWidgetArea);
}

bool CTreeContextMenu::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() != QEvent::ContextMenu) {
        return QObject::eventFilter(watched, event);
    }
    auto* request = static_cast<QContextMenuEvent*>(event);
    const bool byMouse = request->reason() == QContextMenuEvent::Mouse;
    QPoint point = request->pos();
    if (watched == &m_tree) {
        point = m_tree.viewport()->mapFrom(&m_tree, point);
    }
    OnContextMenu(point, byMouse);
    return true;
}

void CTreeContextMenu::OnContextMenu(const QPoint& viewportPoint, bool byMouse) {
    QPoint at = viewportPoint;
    if (byMouse) {
        if (QTreeWidgetItem* item = m_tree.itemAt(viewportPoint)) {
            m_tree.setCurrentItem(item);
        }
    } else if (QTreeWidgetItem* current = m_tree.currentItem()) {
        at = m_tree.visualItemRect(current).bottomLeft();
    }
    m_pMenu->popup(m_tree.viewport()->mapToGlobal(at));
}
