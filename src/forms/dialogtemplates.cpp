#include "dialogtemplates.h"

#include "boardtype.h"
#include "valuelists.h"

namespace {
constexpr const char* kDialogFont = "MS Sans Serif";
constexpr int kDialogFontSize = 8;

SControlTemplate Group(std::string text, int x, int y, int w, int h) {
    return {kNoControlId, EControlKind::GroupBox, std::move(text), x, y, w, h, CS_NONE, {}};
}

SControlTemplate Label(std::string text, int x, int y, int w = 0, int h = 8) {
    return {kNoControlId, EControlKind::Static, std::move(text), x, y, w, h, CS_NONE, {}};
}

SControlTemplate ReadOnlyEdit(int id, int x, int y, int w, int h, unsigned extra = CS_NONE) {
    return {id, EControlKind::Edit, "", x, y, w, h, CS_READONLY | extra, {}};
}

SControlTemplate Combo(int id, int x, int y, int w, int h, unsigned style,
                       std::vector<std::string> list = {}) {
    return {id, EControlKind::ComboBox, "", x, y, w, h, style, std::move(list)};
}

SControlTemplate Check(int id, std::string text, int x, int y, int w, int h) {
    return {id, EControlKind::CheckBox, std::move(text), x, y, w, h, CS_TEXTLEFT, {}};
}

SDialogTemplate MakeBoardForm() {
    const unsigned dropDown = CS_DROPDOWN;
    return {
        3000,
        227,
        206,
        kDialogFont,
        kDialogFontSize,
        {
            Group("", 16, 3, 192, 52),
            Label("Board Name:", 36, 15),
            ReadOnlyEdit(IDC_BOARD_NAME, 115, 15, 67, 12),
            Label("Board Type:", 36, 35),
            Combo(IDC_BOARD_TYPE, 115, 35, 67, 54, dropDown | CS_SORT, BoardTypeNames()),
            Group("Configuration", 16, 61, 192, 137),
            Check(IDC_STANDARD_MODE_ENABLE, "Standard Mode Enable:", 37, 75, 84, 10),
            Label("Base Address:", 37, 90),
            Combo(IDC_BASE_ADDRESS, 115, 90, 67, 114, dropDown, {""}),
            Label("Base COM Port:", 37, 109),
            Combo(IDC_BASE_COM_PORT, 115, 109, 67, 79, dropDown, {""}),
            Check(IDC_SHARE_IRQ_ENABLE, "Share IRQ Enable:" + std::string(9, ' '), 37, 128, 85, 10),
            Group("Share IRQ Setting", 29, 144, 165, 48),
            Label("Share IRQ:", 37, 156),
            Combo(IDC_SHARE_IRQ, 115, 156, 67, 59, dropDown, ShareIRQList()),
            Label("Vector Address:", 37, 176),
            Combo(IDC_VECTOR_ADDRESS, 115, 176, 67, 52, dropDown),
        }};
}

SDialogTemplate MakePortForm() {
    const unsigned fixedList = CS_DROPDOWNLIST | CS_VSCROLL;
    return {3001,
            199,
            169,
            kDialogFont,
            kDialogFontSize,
            {
                Group("", 23, 19, 153, 29),
                Label("Port Name:", 34, 32, 50, 8),
                ReadOnlyEdit(IDC_PORT_NAME, 95, 29, 67, 12, CS_BORDER | CS_AUTOHSCROLL),
                Group("Configuration", 24, 54, 151, 93),
                Label("Port Index:", 34, 69, 46, 8),
                ReadOnlyEdit(IDC_PORT_INDEX, 95, 67, 67, 12),
                Label("COM Port Mapped:", 34, 86, 59, 8),
                Combo(IDC_COM_PORT, 95, 85, 67, 114, CS_DROPDOWN | CS_VSCROLL, {""}),
                Label("IRQ:", 34, 105, 14, 8),
                Combo(IDC_IRQ, 95, 105, 67, 79, fixedList, PortIRQListFull()),
                Label("Port Address:", 34, 124, 46, 8),
                Combo(IDC_PORT_ADDRESS, 95, 124, 67, 103, fixedList, PortAddressListP()),
            }};
}

SDialogTemplate MakeSystemForm() {
    return {2700,
            230,
            175,
            kDialogFont,
            kDialogFontSize,
            {
                Group("", 7, 7, 207, 40),
                Label("Name:", 15, 25, 24, 8),
                ReadOnlyEdit(IDC_SYSTEM_NAME, 45, 23, 147, 14, CS_BORDER | CS_AUTOHSCROLL),
                Group("", 7, 46, 208, 116),
                Label("Number of Boards:", 15, 79, 57, 8),
                ReadOnlyEdit(IDC_NUM_BOARDS, 78, 76, 57, 14),
                Label("Number of Ports:", 15, 109, 59, 8),
                ReadOnlyEdit(IDC_NUM_PORTS, 78, 106, 57, 14),
            }};
}
} // namespace

const SDialogTemplate& CDialogTemplates::FormView() {
    static const SDialogTemplate dialog{101, 230, 203, kDialogFont, kDialogFontSize, {}};
    return dialog;
}

const SDialogTemplate& CDialogTemplates::SystemForm() {
    static const SDialogTemplate dialog = MakeSystemForm();
    return dialog;
}

const SDialogTemplate& CDialogTemplates::BoardForm() {
    static const SDialogTemplate dialog = MakeBoardForm();
    return dialog;
}

const SDialogTemplate& CDialogTemplates::PortForm() {
    static const SDialogTemplate dialog = MakePortForm();
    return dialog;
}
