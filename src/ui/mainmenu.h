#pragma once

class CFrameActions;
class QMenuBar;

// Menu 128: File, Edit, View and Help with the items of the frame's actions, and the .reg import
// of Ctrl+O in the File menu. Greyed items show their prompts too.
class CMainMenu {
public:
    static void Build(QMenuBar& menuBar, const CFrameActions& actions);
};
