#include "controlspec.h"

#include <algorithm>

const SControlSpec* SDialogTemplate::Find(int controlId) const {
    auto found = std::find_if(controls.begin(), controls.end(),
                              [controlId](const SControlSpec& c) { return c.id == controlId; });
    return found == controls.end() ? nullptr : &*found;
}
