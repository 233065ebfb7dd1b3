#pragma once

class CFrameActions;
class QMenuBar;

// Menu 128: File, Edit, View and Help with the items of the frame's actions.
class CMainMenu {
public:
    static void Build(QMenuBar& menuBar, const CFrameActions& actions);
};
