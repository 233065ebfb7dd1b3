#pragma once

#include "headlessdialogfactory.h"
#include "headlesstree.h"
#include "qserdoc.h"
#include "qserview.h"
#include "treehandlers.h"
#include "treenodemanager.h"

#include <string>

// The utility without a window: the document, the headless tree with its node manager and
// handlers, and the view with headless forms, wired as the desktop program wires them. The
// session installs itself as the application's active document, tree node manager and tree
// control for its lifetime.
class CHeadlessSession {
public:
    CHeadlessSession();
    ~CHeadlessSession();
    CHeadlessSession(const CHeadlessSession&) = delete;
    CHeadlessSession& operator=(const CHeadlessSession&) = delete;

    // Loads the driver key and runs the view's initial update, as start-up does. false when
    // the load failed (its message has been shown).
    bool Start();

    // Clicks the tree item of a board ("Board003") or port ("Board003/Port001"), matched without
    // regard to case. false when there is no such item.
    bool Select(const std::string& path);

    CQSERDoc& Doc() { return m_doc; }
    CHeadlessTree& Tree() { return m_tree; }
    CQSERView& View() { return m_view; }
    CHeadlessDialog* Dialog(int templateId) const { return m_dialogs.Dialog(templateId); }

private:
    CQSERDoc m_doc;
    CHeadlessTree m_tree;
    CTreeNodeManager m_manager;
    CTreeHandlers m_handlers;
    CHeadlessDialogFactory m_dialogs;
    CQSERView m_view;
};
