#pragma once

// Command ids of the menu, the toolbars and the accelerator table.
enum ECommandId {
    ID_FILE_NEW = 57600,
    ID_FILE_OPEN = 57601,
    ID_FILE_SAVE = 57603,
    // The Open Recent sub-menu, which holds the recent files.
    ID_FILE_MRU_FILE1 = 57616,
    ID_EDIT_COPY = 57634,
    ID_EDIT_CUT = 57635,
    ID_EDIT_PASTE = 57637,
    ID_EDIT_UNDO = 57643,
    ID_EDIT_REDO = 57644,
    ID_APP_ABOUT = 57664,
    ID_APP_EXIT = 57665,
    ID_HELP_FINDER = 57667,
    ID_NEXT_PANE = 57680,
    ID_PREV_PANE = 57681,
    ID_VIEW_TOOLBAR = 59392,
    ID_VIEW_STATUS_BAR = 59393,
    ID_ADD_PORT = 32774,
    ID_ADD_BOARD = 32776,
    ID_VIEW_TREE_BROWSER = 32780,
    ID_DELETE = 32781,
    ID_VIEW_CONFIG_TOOLBAR = 32783,
    ID_EXIT_BUTTON = 32790,
    // Beyond the original's commands: the Problems bar of the resource check.
    ID_VIEW_PROBLEMS_BAR = 32791,
    // Beyond the original's commands: the registry file as a desktop program opens it.
    ID_FILE_IMPORT = 32800,
    ID_FILE_EXPORT = 32801,
    ID_HELP_ABOUT_QT = 32802,
    ID_VIEW_PROBLEMS_FLOAT = 32803,
    // Beyond the original's commands: another configuration compared and applied.
    ID_FILE_COMPARE = 32804,
    ID_FILE_APPLY = 32805,
};
