#pragma once

#include "idocumentview.h"
#include "iuseractionobserver.h"
#include "iviewframe.h"
#include "processscope.h"

#include <QMainWindow>
#include <memory>
#include <string>

class CConfigTreeCtrl;
class CConfigurationSession;
class CProblemsBar;
class CProblemsPane;
class CFormPane;
class CFrameActions;
class CFrameStatusBar;
class CQSERDoc;
class CQtDialogFactory;
class CTreeBrowserBar;
class IKeyboardLockState;
class QToolBar;

// The main window: menu, main toolbar, configuration toolbar, status bar, the tree browser bar
// and the form pane. It owns the configuration session (document, view and forms) over its tree
// and form pane, hands the person's commands to the document, each as one user action, and
// keeps the command states and the View check marks current. Closing it, by its close button,
// File Exit or the Exit button, runs the close sequence first. On a registry file that cannot
// be written its caption ends in " [read-only]" and no command that changes the file is
// enabled.
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
    // Imports a .reg file after asking, then loads the configuration again and marks it
    // changed, so that closing registers what was imported.
    void OpenRegFile(const QString& fileName);

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

protected:
    void closeEvent(QCloseEvent* event) override;
    // On activation the configuration is loaded again when another program changed it.
    void changeEvent(QEvent* event) override;

private:
    QToolBar* AddToolBar(const QString& title, std::initializer_list<int> ids, QSize iconSize,
                         Qt::ToolBarArea area, Qt::ToolBarAreas allowed);
    void ConnectCommands();
    void ConnectDocumentCommand(int id, void (CQSERDoc::*command)());
    void ConnectToggles();
    void OnUpdate() override;
    void OnConfigurationReloaded() override;
    void UpdateCommandUI();
    void OnFileOpen();
    void OnAbout();
    void CloseDocument();
    // The registry file in the status bar and in the driver item's tooltip.
    void ShowRegistryFile();
    // The caption and the status bar say when the registry file cannot be written, and why.
    void ShowReadOnly();
    // The resource check, run after every user action (the load included).
    void PutProblemsLastInTabOrder();
    void OnUserActionFinished() override;
    void RefreshProblems();
    void OnProblemActivated(const std::string& keyPath);

    std::unique_ptr<CFrameActions> m_pActions;
    QToolBar* m_pMainToolBar = nullptr;
    CFrameStatusBar* m_pStatusBar = nullptr;
    QToolBar* m_pConfigToolBar = nullptr;
    CTreeBrowserBar* m_pTreeBar = nullptr;
    CProblemsBar* m_pProblemsBar = nullptr;
    CProblemsPane* m_pProblemsPane = nullptr;
    CFormPane* m_pPane = nullptr;
    std::unique_ptr<CQtDialogFactory> m_pDialogFactory;
    const SProcessReferences m_environment;
    std::unique_ptr<CConfigurationSession> m_pSession;
    bool m_bPlaced = false;
};
