#pragma once

class CFrameActions;
class QMenu;
class QMenuBar;

// Menu 128: File, Edit, View and Help with the items of the frame's actions, and what a
// desktop program has besides: Open and Open Recent, Import and Export of .reg files, Undo and
// Redo, About Qt. Greyed items show their prompts too.
class CMainMenu {
public:
    // recent is the Open Recent sub-menu, placed after Open; the menu bar takes it over.
    static void Build(QMenuBar& menuBar, const CFrameActions& actions, QMenu& recent);
};
