#pragma once

#include "useraction.h"

#include <functional>
#include <string>
#include <vector>

class IComboBox;

// Replaces a combo box's list with entries, in their order.
void FillComboBox(IComboBox* combo, const std::vector<std::string>& entries);

// A control's handler that runs a form's handler as one user action.
template <typename Form> std::function<void()> AsUserAction(Form* form, void (Form::*handler)()) {
    return [form, handler] { CUserAction::Run([form, handler] { (form->*handler)(); }); };
}
