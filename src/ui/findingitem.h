#pragma once

#include "checkfinding.h"

#include <QTreeWidgetItem>

// A row of the Problems list: the finding's sentence with the icon of its severity, and its code.
// The texts are made from the finding when the list asks for them, so that a long list costs
// nothing for the rows no one looks at. The finding belongs to the list, which outlives its rows.
class CFindingItem : public QTreeWidgetItem {
public:
    enum EColumn { kProblemColumn = 0, kCodeColumn = 1 };
    // The key path of the finding's first item (empty when it names none).
    static constexpr int kKeyPathRole = Qt::UserRole;

    explicit CFindingItem(const SCheckFinding& finding) : m_finding(finding) {}

    QVariant data(int column, int role) const override;

private:
    QVariant ProblemData(int role) const;

    const SCheckFinding& m_finding;
};
