#include "problemspane.h"

#include "resourcecheck.h"

namespace {
QString Counted(int count, const char* noun) {
    return QString::number(count) + QLatin1Char(' ') + QString::fromLatin1(noun) +
           (count == 1 ? QString() : QStringLiteral("s"));
}
} // namespace

CProblemsPane::CProblemsPane(QWidget* parent) : QLabel(parent) {
    setObjectName(QStringLiteral("problemsPane"));
    setAccessibleName(QStringLiteral("Problems count"));
    setFrameStyle(QFrame::Panel | QFrame::Sunken);
    setToolTip(QStringLiteral("Errors and warnings of the resource check (View, Problems)"));
    SetFindings({});
}

void CProblemsPane::SetFindings(const std::vector<SCheckFinding>& findings) {
    const int errors = CResourceCheck::Count(findings, ECheckSeverity::Error);
    const int warnings = CResourceCheck::Count(findings, ECheckSeverity::Warning);
    setText(errors + warnings == 0
                ? QStringLiteral("No problems")
                : Counted(errors, "error") + QStringLiteral(", ") + Counted(warnings, "warning"));
}
