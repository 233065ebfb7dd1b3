#include "controltemplate.h"

#include <algorithm>

const SControlTemplate* SDialogTemplate::Find(int controlId) const {
    auto found = std::find_if(controls.begin(), controls.end(),
                              [controlId](const SControlTemplate& c) { return c.id == controlId; });
    return found == controls.end() ? nullptr : &*found;
}
