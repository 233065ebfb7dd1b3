#pragma once

// The state of one command's menu item or toolbar button, as its update handler sets it.
class ICmdUI {
public:
    virtual ~ICmdUI() = default;
    virtual void Enable(bool enabled) = 0;
};
