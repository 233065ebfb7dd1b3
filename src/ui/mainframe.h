#pragma once

#include "idocumentview.h"
#include "iuseractionobserver.h"
#include "iviewframe.h"
#include "processscope.h"
#include "undohistory.h"

#include <QMainWindow>
#include <functional>
#include <memory>
#include <string>

class CConfigTreeCtrl;
struct SCheckFix;
class CConfigurationSession;
class CProblemsBar;
class CProblemsPane;
class CFormPane;
class CFrameActions;
class CFrameStatusBar;
class CQSERDoc;
class CQtDialogFactory;
class CRecentFilesMenu;
class CTreeBrowserBar;
class IKeyboardLockState;
class QToolBar;

// The main window: menu, main toolbar, configuration toolbar, status bar, the tree browser bar
// and the form pane. It owns the configuration session (document, view and forms) over its tree
// and form pane, hands the person's commands to the document, each as one user action, and
// keeps the command states and the View check marks current. Closing it, by its close button,
// File Exit (Ctrl+Q) or the Exit button, runs the close sequence first. The caption names the
// registry file and what it is, marks a change not yet saved, and on a registry file that
// cannot be written ends in " [read-only]"; then no command that changes the file is enabled.
// The commands the person takes back with Undo are recorded in the frame's undo history.
class CMainFrame : public QMainWindow,
                   public IViewFrame,
                   private IDocumentView,
                   private IUserActionObserver {
public:
    // The lock state and what environment names must outlive the frame; the session installs
    // the environment's references while a configuration is open.
    CMainFrame(const IKeyboardLockState& locks, const SProcessReferences& environment);
    ~CMainFrame() override;

    // Loads the configuration and shows it: the view's first update fits the window to the
    // form, centres and shows it, and fills the tree. false when the load failed (its message
    // has been shown); the window then stays hidden.
    bool OpenDocument();
    // Imports a .reg file after showing what it changes and asking, then loads the
    // configuration again and marks it changed, so that closing registers what was imported.
    void OpenRegFile(const QString& fileName);
    // File Compare With and Apply Configuration on the file (any kind a configuration is read
    // from); Apply only on a registry that can be written.
    void CompareWith(const QString& fileName);
    void ApplyConfiguration(const QString& fileName);

    // Opens the registry file at path in place of the one in use, and returns the platform
    // references of the new file, or nothing when it cannot be opened (the reason has been
    // shown). Set by the application, which owns the registry files.
    using RegistryOpener = std::function<std::optional<SProcessReferences>(const QString& path)>;
    void SetRegistryOpener(RegistryOpener opener) { m_opener = std::move(opener); }
    // File Open and Open Recent: ends the session on the file in use as closing the window
    // does (saving a pending change), then loads the configuration of the file at path. When
    // that load fails, the file in use before is loaded again. true when path is now in use.
    bool OpenRegistry(const QString& path);
    CUndoHistory& UndoHistory() { return m_undoHistory; }

    void FitAndCentre(int widthDialogUnits, int heightDialogUnits) override;

    CFrameActions& Actions() const { return *m_pActions; }
    QToolBar* MainToolBar() const { return m_pMainToolBar; }
    QToolBar* ConfigToolBar() const { return m_pConfigToolBar; }
    CFrameStatusBar* StatusBar() const { return m_pStatusBar; }
    CTreeBrowserBar* TreeBar() const { return m_pTreeBar; }
    CProblemsBar* ProblemsBar() const { return m_pProblemsBar; }
    CProblemsPane* ProblemsPane() const { return m_pProblemsPane; }
    CConfigTreeCtrl& Tree() const;
    CQSERDoc* Document() const;

    // The status bar's text after the configuration was loaded again.
    static constexpr const char* kReloadedText =
        "Configuration loaded again: another program changed the registry file.";
    // The status bar's text at start on a registry file that cannot be written (%1: why).
    static constexpr const char* kReadOnlyText =
        "Opened for reading only: %1. Nothing can be changed.";
    // The status bar's text when another program's change cleared the undo history.
    static constexpr const char* kHistoryClearedText =
        "Configuration loaded again: another program changed the registry file. Undo and Redo "
        "start again from here.";
    // Said at the close of a Windows hive file, after the close sequence.
    static constexpr const char* kOfflineCloseText =
        "This is an offline Windows installation: there is no serial service to restart here. "
        "Windows takes up the ports when it next starts.";
    // The caption's name of a Windows SYSTEM hive file (%1: its file name).
    static constexpr const char* kHiveCaption = "%1 \u2014 offline Windows installation";

protected:
    void closeEvent(QCloseEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;
    // On activation the configuration is loaded again when another program changed it.
    void changeEvent(QEvent* event) override;

private:
    QToolBar* AddToolBar(const QString& title, std::initializer_list<int> ids, QSize iconSize,
                         Qt::ToolBarArea area, Qt::ToolBarAreas allowed);
    void ConnectCommands();
    // undoName names the command in Undo; empty for one that changes nothing to take back.
    void ConnectDocumentCommand(int id, void (CQSERDoc::*command)(), const char* undoName);
    void ConnectToggles();
    void OnUpdate() override;
    void OnConfigurationReloaded() override;
    void UpdateCommandUI();
    void OnFileOpen();
    void OnFileImport();
    void OnFileExport();
    // Asks for the other configuration's file and hands it to then.
    void AskConfigurationFile(const QString& title, void (CMainFrame::*then)(const QString&));
    void OnUndoRedo(bool (CUndoHistory::*step)(), const char* done);
    void OnAbout();
    void CloseDocument();
    // The close sequence on the configuration in use, as one user action.
    void RunCloseSequence();
    void UpdateUndoCommands();
    // Runs a command that may remove the item or form with the focus, and keeps the focus in
    // the tree when it was there (or would otherwise land in the list of problems).
    void KeepFocusInTree(const std::function<void()>& command);
    // F6 and Shift+F6: the focus to the next or previous of tree, form and problems.
    void MoveToPane(int step);
    void UpdateCaption();
    // On a Windows hive file, the first change copies the file aside; say where, once.
    void ShowHiveBackup();
    // The registry file in the status bar and in the driver item's tooltip.
    void ShowRegistryFile();
    // The caption and the status bar say when the registry file cannot be written, and why.
    void ShowReadOnly();
    // The resource check, run after every user action (the load included).
    void PutProblemsLastInTabOrder();
    void OnUserActionFinished() override;
    void RefreshProblems();
    void OnProblemActivated(const std::string& keyPath);
    // A fix from the Problems bar, made as the picks a person would make, one step for Undo.
    void ApplyFix(const SCheckFix& fix);

    CUndoHistory m_undoHistory;
    std::unique_ptr<CFrameActions> m_pActions;
    CRecentFilesMenu* m_pRecentMenu = nullptr;
    QToolBar* m_pMainToolBar = nullptr;
    CFrameStatusBar* m_pStatusBar = nullptr;
    QToolBar* m_pConfigToolBar = nullptr;
    CTreeBrowserBar* m_pTreeBar = nullptr;
    CProblemsBar* m_pProblemsBar = nullptr;
    CProblemsPane* m_pProblemsPane = nullptr;
    CFormPane* m_pPane = nullptr;
    std::unique_ptr<CQtDialogFactory> m_pDialogFactory;
    SProcessReferences m_environment;
    RegistryOpener m_opener;
    bool m_bBackupShown = false;
    std::unique_ptr<CConfigurationSession> m_pSession;
    bool m_bPlaced = false;
};
