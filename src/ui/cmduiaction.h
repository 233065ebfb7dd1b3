#pragma once

#include "icmdui.h"

#include <QAction>

// A command's menu item and toolbar button, as the document's update handlers set them.
class CCmdUIAction : public ICmdUI {
public:
    explicit CCmdUIAction(QAction& action) : m_action(action) {}
    void Enable(bool enabled) override { m_action.setEnabled(enabled); }

private:
    QAction& m_action;
};
