#pragma once

#include "itreecontrol.h"
#include "processscope.h"
#include "qserdoc.h"
#include "qserview.h"
#include "treehandlers.h"
#include "treenodemanager.h"

class IDialogFactory;
class IViewFrame;

// One session of the utility on the configuration, composed the same way for the window,
// qserctl and the tests: the document, the tree node manager and the tree handlers over the
// given tree control, and the view with its forms made by the given dialog factory.
//
// For its lifetime the session installs, through one process scope, the references of the
// environment it is given (hive, message box, platform services and family: whichever have a
// value) together with its own document, tree node manager and tree control; on destruction
// everything installed before comes back.
class CConfigurationSession {
public:
    // The tree, the factory and the frame (null without a window) must outlive the session.
    CConfigurationSession(const SProcessReferences& environment, ITreeControl& tree,
                          IDialogFactory& factory, IViewFrame* frame = nullptr);
    ~CConfigurationSession();
    CConfigurationSession(const CConfigurationSession&) = delete;
    CConfigurationSession& operator=(const CConfigurationSession&) = delete;

    // Loads the driver key as one user action, then runs the view's initial update (forms and
    // tree), as start-up does. false when the load failed (its message has been shown).
    bool Start();

    CQSERDoc& Doc() { return m_doc; }
    ITreeControl& Tree() { return m_tree; }
    CQSERView& View() { return m_view; }

private:
    SProcessReferences WithOwnReferences(SProcessReferences environment);

    ITreeControl& m_tree;
    CQSERDoc m_doc;
    CTreeNodeManager m_manager;
    CTreeHandlers m_handlers;
    CQSERView m_view;
    CProcessScope m_scope;
};
