#pragma once

#include <memory>

class IDialog;
struct SDialogTemplate;

// Creates the form pages of the view, hidden, from their templates.
class IDialogFactory {
public:
    virtual ~IDialogFactory() = default;
    virtual std::unique_ptr<IDialog> CreateDialog(const SDialogTemplate& dialogTemplate) = 0;
};
