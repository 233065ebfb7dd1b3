#include "checkfixer.h"

#include "boardform.h"
#include "checkreader.h"
#include "configurationsession.h"
#include "dialogtemplates.h"
#include "findinglocator.h"
#include "icheckbox.h"
#include "icombobox.h"
#include "idialog.h"
#include "portform.h"
#include "qserview.h"
#include "resourcecheck.h"
#include "undohistory.h"

#include <algorithm>

bool CCheckFixer::Apply(const SCheckFix& fix) {
    bool taken = false;
    CUndoHistory::Run(fix.label, [this, &fix, &taken] { taken = Pick(fix); });
    return taken;
}

bool CCheckFixer::Pick(const SCheckFix& fix) {
    HTREEITEM item = CFindingLocator::ItemOf(m_session.Doc(), CCheckFixes::KeyPathOf(fix));
    if (item == nullptr) {
        return false;
    }
    m_session.Tree().EnsureVisible(item);
    m_session.Tree().SelectItem(item);
    CQSERView& view = m_session.View();
    IDialog* page =
        fix.port.empty() ? view.m_pBoardForm->GetDialog() : view.m_pPortForm->GetDialog();
    if (fix.kind == ECheckFixKind::ShareInterrupt) {
        ICheckBox* box = page->CheckBox(IDC_SHARE_IRQ_ENABLE);
        return box->GetCheck() == 0 && box->Click() == EPickResult::Done && box->GetCheck() != 0;
    }
    const int control = fix.kind == ECheckFixKind::NextFreeBaseAddress ? IDC_BASE_ADDRESS
                        : fix.port.empty()                             ? IDC_BASE_COM_PORT
                                                                       : IDC_COM_PORT;
    IComboBox* combo = page->ComboBox(control);
    // The form may turn a pick down and show the old value again; its message said why.
    return combo->Pick(fix.value) == EPickResult::Done && combo->GetWindowText() == fix.value;
}

std::optional<SCheckFix> CCheckFixer::NextFix(const std::vector<SCheckFix>& tried) {
    const SCheckSnapshot snapshot = CCheckReader::Read();
    for (const SCheckFinding& finding : CResourceCheck::RunOnRegistry()) {
        for (const SCheckFix& fix : CCheckFixes::For(snapshot, finding)) {
            if (std::find(tried.begin(), tried.end(), fix) == tried.end()) {
                return fix;
            }
        }
    }
    return std::nullopt;
}

// Ends: every round tries a fix never tried before, and a configuration has finitely many.
std::vector<SCheckFix> CCheckFixer::ApplyAll() {
    std::vector<SCheckFix> taken;
    std::vector<SCheckFix> tried;
    while (std::optional<SCheckFix> fix = NextFix(tried)) {
        tried.push_back(*fix);
        if (Apply(*fix)) {
            taken.push_back(*fix);
        }
    }
    return taken;
}
