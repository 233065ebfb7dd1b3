#include "formcontrols.h"

#include "icombobox.h"

void FillComboBox(IComboBox* combo, const std::vector<std::string>& entries) {
    combo->ResetContent();
    for (const std::string& entry : entries) {
        combo->AddString(entry);
    }
}
