#pragma once

#include "checkfinding.h"
#include "checkfixes.h"

#include <QDockWidget>
#include <functional>
#include <string>
#include <vector>

class QLabel;
class QMainWindow;
class QMenu;
class QPoint;
class QTreeWidget;
class QTreeWidgetItem;

// The Problems bar: a dock widget at the bottom of the main window listing the resource
// check's findings, each with the icon of its severity, its sentence and its code. Activating a
// finding (double click, Enter) hands the key path of its first item to the activation handler;
// the bar itself knows nothing of the tree. A finding's tooltip holds its whole text and keys,
// and the list shows only whole rows. A finding's context menu (right button or Menu key)
// offers going to its item and the fixes the fix provider finds for it, each handed to the fix
// handler.
class CProblemsBar : public QDockWidget {
public:
    explicit CProblemsBar(QMainWindow& frame);

    void SetFindings(std::vector<SCheckFinding> findings);
    void SetActivationHandler(std::function<void(const std::string& keyPath)> handler);
    using FixProvider = std::function<std::vector<SCheckFix>(const SCheckFinding&)>;
    void SetFixHandlers(FixProvider provider, std::function<void(const SCheckFix&)> apply);
    // The context menu of the finding in row, as the Menu key opens it; the menu is the bar's.
    QMenu* ContextMenu(int row);

    QTreeWidget* List() const { return m_pList; }
    // "No problems", shown in the list while it is empty.
    QLabel* EmptyText() const { return m_pEmpty; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void OnItemActivated(QTreeWidgetItem* item);
    void FitCodeColumn();
    void SizeHeaderSections();
    // The list's height, all but its header and frame, is a whole number of rows.
    void FitToWholeRows();
    void OnContextMenu(const QPoint& point);

    QWidget* m_pHolder;
    QTreeWidget* m_pList;
    QLabel* m_pEmpty = nullptr;
    std::function<void(const std::string&)> m_onActivated;
    std::vector<SCheckFinding> m_findings;
    FixProvider m_fixProvider;
    std::function<void(const SCheckFix&)> m_applyFix;
    QMenu* m_pMenu = nullptr;
};
