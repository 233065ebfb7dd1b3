#include "formcontrols.h"

#include "icombobox.h"

#include <strings.h>

void FillComboBox(IComboBox* combo, const std::vector<std::string>& entries) {
    combo->ResetContent();
    for (const std::string& entry : entries) {
        combo->AddString(entry);
    }
}

int FindEntryIgnoringCase(const IComboBox& combo, const std::string& text) {
    for (int i = 0; i < combo.GetCount(); ++i) {
        if (strcasecmp(combo.GetLBText(i).c_str(), text.c_str()) == 0) {
            return i;
        }
    }
    return -1;
}
