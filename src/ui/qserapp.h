#pragma once

#include "helpviewer.h"
#include "processrunner.h"
#include "processscope.h"
#include "qtmessagebox.h"
#include "rootfilesystem.h"
#include "systemdservicemanager.h"
#include "x11keyboardlockstate.h"

#include <QStringList>
#include <memory>
#include <optional>
#include <vector>

class CHive;
class CHiveServiceManager;
class CMainFrame;

// The application: reads the command line, opens the registry file and creates the main window,
// handing it the platform (family, hive, message boxes, the emulated service control manager,
// help) that its configuration session installs. The message box is installed from the start,
// for the reasons start-up can fail. Lives until the event loop has ended.
class CQSERApp {
public:
    CQSERApp();
    ~CQSERApp();
    CQSERApp(const CQSERApp&) = delete;
    CQSERApp& operator=(const CQSERApp&) = delete;

    // The program's arguments, before the application object exists: all of them are returned
    // for InitInstance, and --platform with its value is taken out of argv, since Qt would read
    // it as the name of its own windowing plugin.
    static QStringList TakeArguments(int& argc, char** argv);

    // What can be answered before the GUI application exists, on any terminal: a wrong command
    // line (2), --help and --version (0), no display to open the window on (1). Empty when the
    // window is to be opened. Creates and destroys a QCoreApplication of its own.
    static std::optional<int> AnswerWithoutWindow(int& argc, char** argv,
                                                  const QStringList& arguments);

    // 0 when the main window is up; otherwise the exit status, after the reason was shown
    // (2 for a wrong command line, 1 when the registry or the configuration could not be
    // loaded). --help and --version are answered by AnswerWithoutWindow.
    int InitInstance(const QStringList& arguments);

    CMainFrame* MainFrame() const { return m_pFrame.get(); }

    // The main window's File Open: opens the registry file at path (or takes the one already
    // open there) and returns its platform references; nothing when it cannot be used, after
    // its reason was shown. Every file opened stays open until the application ends, so that
    // the window can go back to the one it used before.
    std::optional<SProcessReferences> OpenRegistry(const QString& path);

private:
    struct SRegistryFile {
        std::unique_ptr<CHive> hive;
        std::unique_ptr<CHiveServiceManager> services;
    };
    SProcessReferences References(SRegistryFile& file);

    CQtMessageBox m_messageBox;
    CProcessScope m_messageScope{{.messageBox = &m_messageBox}};
    CHelpViewer m_help;
    CX11KeyboardLockState m_locks;
    EPlatformFamily m_family = EPlatformFamily::WindowsNT;
    std::vector<SRegistryFile> m_files;
    CProcessRunner m_runner;
    std::unique_ptr<CRootFileSystem> m_pFiles;
    std::unique_ptr<CSystemdServiceManager> m_pSystemd;
    std::unique_ptr<CMainFrame> m_pFrame;
};
