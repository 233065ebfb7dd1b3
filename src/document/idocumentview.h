#pragma once

// A view of the document. Every update in the system means the same: the selection or the
// configuration changed, show the form of the current selection with fresh values.
class IDocumentView {
public:
    virtual ~IDocumentView() = default;
    virtual void OnUpdate() = 0;
    // The configuration was loaded again because another program changed the registry; the
    // update for the new records has already been made. Only a window has anything to say.
    virtual void OnConfigurationReloaded() {}
};
