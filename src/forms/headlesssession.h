#pragma once

#include "configurationsession.h"
#include "headlessdialogfactory.h"
#include "headlesstree.h"

#include <string>

// The utility without a window: a configuration session over the headless tree and headless
// forms, with the references of the environment it is given installed for its lifetime.
class CHeadlessSession {
public:
    explicit CHeadlessSession(const SProcessReferences& environment = {});
    CHeadlessSession(const CHeadlessSession&) = delete;
    CHeadlessSession& operator=(const CHeadlessSession&) = delete;

    // Loads the driver key and runs the view's initial update, as start-up does. false when
    // the load failed (its message has been shown).
    bool Start() { return m_session.Start(); }

    // Clicks the tree item of a board ("Board003") or port ("Board003/Port001"), matched without
    // regard to case. false when there is no such item.
    bool Select(const std::string& path);

    CQSERDoc& Doc() { return m_session.Doc(); }
    CConfigurationSession& Configuration() { return m_session; }
    CHeadlessTree& Tree() { return m_tree; }
    CHeadlessDialog* Dialog(int templateId) const { return m_dialogs.Dialog(templateId); }

private:
    CHeadlessTree m_tree;
    CHeadlessDialogFactory m_dialogs;
    CConfigurationSession m_session;
};
