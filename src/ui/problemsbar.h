#pragma once

#include "checkfinding.h"

#include <QDockWidget>
#include <functional>
#include <string>
#include <vector>

class QMainWindow;
class QTreeWidget;
class QTreeWidgetItem;

// The Problems bar: a dock widget at the bottom of the main window listing the resource
// check's findings, each with the icon of its severity, its sentence and its code. Activating a
// finding (double click, Enter) hands the key path of its first item to the activation handler;
// the bar itself knows nothing of the tree.
class CProblemsBar : public QDockWidget {
public:
    explicit CProblemsBar(QMainWindow& frame);

    void SetFindings(const std::vector<SCheckFinding>& findings);
    void SetActivationHandler(std::function<void(const std::string& keyPath)> handler);

    QTreeWidget* List() const { return m_pList; }

private:
    void OnItemActivated(QTreeWidgetItem* item);
    void FitCodeColumn();

    QTreeWidget* m_pList;
    std::function<void(const std::string&)> m_onActivated;
};
