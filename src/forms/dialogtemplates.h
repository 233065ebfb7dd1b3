#pragma once

#include "controltemplate.h"

// Control ids of the forms.
enum EControlId {
    IDC_SHARE_IRQ_ENABLE = 1002,
    IDC_BOARD_NAME = 1001,
    IDC_BASE_ADDRESS = 1003,
    IDC_BASE_COM_PORT = 1004,
    IDC_SHARE_IRQ = 1005,
    IDC_VECTOR_ADDRESS = 1006,
    IDC_STANDARD_MODE_ENABLE = 1007,
    IDC_BOARD_TYPE = 1009,
    IDC_NUM_BOARDS = 2801,
    IDC_NUM_PORTS = 2802,
    IDC_SYSTEM_NAME = 2803,
    IDC_PORT_NAME = 3001,
    IDC_COM_PORT = 3003,
    IDC_PORT_ADDRESS = 3004,
    IDC_PORT_INDEX = 3005,
    IDC_IRQ = 3019,
};

// The dialogs of the form view, written once: the window lays its forms out from these, and the
// headless forms build their controls from them.
class CDialogTemplates {
public:
    static const SDialogTemplate& FormView();   // 101
    static const SDialogTemplate& SystemForm(); // 2700
    static const SDialogTemplate& BoardForm();  // 3000
    static const SDialogTemplate& PortForm();   // 3001
};
