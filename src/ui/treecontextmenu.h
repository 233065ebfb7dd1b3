#pragma once

#include <QObject>

class CConfigTreeCtrl;
class CFrameActions;
class CTreeBrowserBar;
class QAction;
class QMenu;
class QPoint;

// The tree's context menu, opened by the right mouse button (on an item, after selecting it) or
// by the Menu key (at the current item): Add Board, Add Port and Delete, in the enable states
// the document gives them, then the commands that float the tree browser or dock it at either
// side. The Delete key in the tree runs Delete, with its question. Lives as long as the tree.
class CTreeContextMenu : public QObject {
public:
    CTreeContextMenu(CConfigTreeCtrl& tree, const CFrameActions& actions, CTreeBrowserBar& bar);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void OnContextMenu(const QPoint& viewportPoint, bool byMouse);
    void UpdatePlacementStates();

    CConfigTreeCtrl& m_tree;
    CTreeBrowserBar& m_bar;
    QMenu* m_pMenu;
    QAction* m_pFloat;
    QAction* m_pDockLeft;
    QAction* m_pDockRight;
};
