#pragma once

#include "checkfinding.h"

#include <QLabel>
#include <vector>

// The status bar pane that counts the resource check's findings: "2 errors, 1 warning", or
// "No problems".
class CProblemsPane : public QLabel {
public:
    explicit CProblemsPane(QWidget* parent);

    void SetFindings(const std::vector<SCheckFinding>& findings);
};
