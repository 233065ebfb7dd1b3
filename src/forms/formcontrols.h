#pragma once

#include "undohistory.h"

#include <functional>
#include <string>
#include <vector>

class IComboBox;

// Replaces a combo box's list with entries, in their order.
void FillComboBox(IComboBox* combo, const std::vector<std::string>& entries);

// The first entry equal to text when case is ignored (ASCII), -1 when there is none: a value
// read from an imported file as "com5" still shows as COM5. Never a mere prefix, so that a
// stored "0x20" is not shown as 0x200.
int FindEntryIgnoringCase(const IComboBox& combo, const std::string& text);

// A control's handler that runs a form's handler as one user action, which Undo names by the
// control's label (name).
template <typename Form>
std::function<void()> AsUserAction(Form* form, void (Form::*handler)(), const char* name) {
    return
        [form, handler, name] { CUndoHistory::Run(name, [form, handler] { (form->*handler)(); }); };
}
