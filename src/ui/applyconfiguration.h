#pragma once

#include <QString>

class QWidget;

// File Apply Configuration: brings the registry to the configuration a file holds (of any kind
// a configuration is read from) through the commands a person uses. The change is first made
// and rolled back, so that the person sees the plan and the resource check's findings on the
// result before anything is written, and is asked; then it is made as one user action that Undo
// takes back, and the configuration is loaded again and marked changed, so that closing
// registers the ports. Nothing is written when nothing differs, when a value cannot be reached
// by any pick (the reason is shown), or when the result has errors and the person did not
// choose to apply it anyway.
class CApplyConfiguration {
public:
    // Returns what was done, for the status bar ("Applied x.json: 1 key added, ..."); empty when
    // nothing was applied.
    static QString Apply(QWidget* parent, const QString& fileName);

    // The step's name in Undo.
    static constexpr const char* kUndoName = "Apply Configuration";
};
