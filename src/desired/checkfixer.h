#pragma once

#include "checkfixes.h"

#include <optional>
#include <vector>

class CConfigurationSession;

// Makes the fixes of the resource check's findings as a person makes them in the window: the
// board's or port's item is selected in the session's tree, then the fix's entry is picked in
// its form, or the sharing check box clicked. The window and qserctl share it, so that a fix
// goes through the forms' rules (carry-over to the ports, enable states, messages) either way.
class CCheckFixer {
public:
    // The session must outlive the fixer.
    explicit CCheckFixer(CConfigurationSession& session) : m_session(session) {}

    // The fix as one user action, one step for Undo under the fix's label. false when the
    // item is not in the tree, or its form no longer offers the pick (disabled, or not an
    // entry); nothing changed then.
    bool Apply(const SCheckFix& fix);
    // Every fix the check offers, one at a time, the check run again on the registry after
    // each, since a fix changes what the others would pick. A fix that was not taken is not
    // tried again. The fixes taken, in order.
    std::vector<SCheckFix> ApplyAll();

private:
    bool Pick(const SCheckFix& fix);
    // The first fix offered now for a finding of the registry's configuration, not in tried.
    static std::optional<SCheckFix> NextFix(const std::vector<SCheckFix>& tried);

    CConfigurationSession& m_session;
};
