#pragma once

#include <string>
#include <vector>

enum class EControlKind { GroupBox, Static, Edit, ComboBox, CheckBox };

// Style bits of a control, as the dialog resources give them.
enum EControlStyle : unsigned {
    CS_NONE = 0,
    CS_READONLY = 1u << 0,
    CS_BORDER = 1u << 1,
    CS_AUTOHSCROLL = 1u << 2,
    CS_VSCROLL = 1u << 3,
    CS_SORT = 1u << 4,
    CS_DROPDOWN = 1u << 5,     // a list with an edit field
    CS_DROPDOWNLIST = 1u << 6, // a fixed list
    CS_TEXTLEFT = 1u << 7,     // a check box with its text on the left
};

inline constexpr int kNoControlId = -1;

// One control of a dialog template. Positions and sizes are in dialog units; a label given only
// by its position has width 0 (as wide as its text); a combo box's height is that of its open
// list.
struct SControlTemplate {
    int id = kNoControlId;
    EControlKind kind = EControlKind::Static;
    std::string text;
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;
    unsigned style = CS_NONE;
    std::vector<std::string> initialList;
};

struct SDialogTemplate {
    int id = 0;
    int width = 0;
    int height = 0;
    std::string fontName;
    int fontPointSize = 0;
    std::vector<SControlTemplate> controls;

    const SControlTemplate* Find(int controlId) const;
};
