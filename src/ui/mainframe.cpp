#include "mainframe.h"

#include "aboutbox.h"
#include "appcontext.h"
#include "bartoggle.h"
#include "closesequence.h"
#include "cmduiaction.h"
#include "commandids.h"
#include "configtreectrl.h"
#include "dialogunits.h"
#include "findinglocator.h"
#include "formpane.h"
#include "frameactions.h"
#include "framestatusbar.h"
#include "mainmenu.h"
#include "problemsbar.h"
#include "problemspane.h"
#include "qserdoc.h"
#include "qserview.h"
#include "qtdialogfactory.h"
#include "regfileopen.h"
#include "resourcecheck.h"
#include "treebrowserbar.h"
#include "treehandlers.h"
#include "treenodemanager.h"
#include "useraction.h"

#include <QAction>
#include <QCloseEvent>
#include <QIcon>
#include <QMenuBar>
#include <QScreen>
#include <QToolBar>

CMainFrame::CMainFrame(const IKeyboardLockState& locks)
    : m_pActions(std::make_unique<CFrameActions>(*this)) {
    setObjectName(QStringLiteral("CMainFrame"));
    setWindowTitle(QStringLiteral("Brimholde - QSER"));
    setWindowIcon(QIcon(QStringLiteral(":/icons/app.svg")));
    CMainMenu::Build(*menuBar(), *m_pActions);

    m_pMainToolBar = AddToolBar(QStringLiteral("MainToolbar"),
                                {ID_FILE_NEW, ID_FILE_SAVE, ID_HELP_FINDER, ID_APP_ABOUT},
                                QSize(17, 15), Qt::TopToolBarArea, Qt::AllToolBarAreas);
    m_pStatusBar = new CFrameStatusBar(locks, this);
    setStatusBar(m_pStatusBar);
    m_pConfigToolBar =
        AddToolBar(QStringLiteral("Configuration Toolbar"),
                   {ID_ADD_BOARD, ID_ADD_PORT, ID_DELETE, 0, ID_EXIT_BUTTON}, QSize(90, 32),
                   Qt::BottomToolBarArea, Qt::TopToolBarArea | Qt::BottomToolBarArea);

    m_pTreeBar = new CTreeBrowserBar(*this, true);
    Tree().SetStyleBits(TVS_HASBUTTONS | TVS_HASLINES | TVS_LINESATROOT | TVS_SHOWSELALWAYS, true);
    m_pTreeNodeManager = std::make_unique<CTreeNodeManager>(Tree());
    m_pTreeHandlers = std::make_unique<CTreeHandlers>(Tree());
    Tree().SetNotify(m_pTreeHandlers.get());
    CAppContext::SetTreeNodeManager(m_pTreeNodeManager.get());
    CAppContext::SetTreeControl(&Tree());

    m_pProblemsBar = new CProblemsBar(*this);
    m_pProblemsBar->SetActivationHandler(
        [this](const std::string& keyPath) { OnProblemActivated(keyPath); });
    m_pProblemsPane = new CProblemsPane(m_pStatusBar);
    m_pStatusBar->addPermanentWidget(m_pProblemsPane);
    CUserAction::SetFinishedObserver([this] { RefreshProblems(); });

    m_pPane = new CFormPane(this);
    setCentralWidget(m_pPane);
    m_pDialogFactory = std::make_unique<CQtDialogFactory>(*m_pPane);
    ConnectCommands();
    ConnectToggles();
}

CMainFrame::~CMainFrame() {
    CUserAction::SetFinishedObserver({});
    CloseDocument();
    Tree().SetNotify(nullptr);
    CAppContext::SetTreeControl(nullptr);
    CAppContext::SetTreeNodeManager(nullptr);
    // The bar writes its profile values as it goes, before the tree node manager.
    delete m_pTreeBar;
    m_pTreeNodeManager.reset();
}

CConfigTreeCtrl& CMainFrame::Tree() const {
    return m_pTreeBar->Tree();
}

QToolBar* CMainFrame::AddToolBar(const QString& title, std::initializer_list<int> ids,
                                 QSize iconSize, Qt::ToolBarArea area, Qt::ToolBarAreas allowed) {
    auto* bar = new QToolBar(title, this);
    bar->setObjectName(title);
    bar->setIconSize(iconSize);
    bar->setAllowedAreas(allowed);
    for (int id : ids) {
        if (id == 0) {
            bar->addSeparator();
        } else {
            bar->addAction(m_pActions->Action(id));
        }
    }
    addToolBar(area, bar);
    return bar;
}

void CMainFrame::ConnectDocumentCommand(int id, void (CQSERDoc::*command)()) {
    connect(m_pActions->Action(id), &QAction::triggered, this, [this, command] {
        if (m_pDoc == nullptr) {
            return;
        }
        CUserAction::Run([this, command] { (m_pDoc.get()->*command)(); });
        UpdateCommandUI();
    });
}

void CMainFrame::ConnectCommands() {
    ConnectDocumentCommand(ID_FILE_NEW, &CQSERDoc::OnFileNew);
    ConnectDocumentCommand(ID_FILE_SAVE, &CQSERDoc::OnFileSave);
    ConnectDocumentCommand(ID_ADD_BOARD, &CQSERDoc::OnAddBoard);
    ConnectDocumentCommand(ID_ADD_PORT, &CQSERDoc::OnAddPort);
    ConnectDocumentCommand(ID_DELETE, &CQSERDoc::OnDelete);
    ConnectDocumentCommand(ID_HELP_FINDER, &CQSERDoc::OnHelpTopics);
    connect(m_pActions->Action(ID_FILE_OPEN), &QAction::triggered, this, &CMainFrame::OnFileOpen);
    connect(m_pActions->Action(ID_APP_ABOUT), &QAction::triggered, this, &CMainFrame::OnAbout);
    connect(m_pActions->Action(ID_APP_EXIT), &QAction::triggered, this, &QWidget::close);
    connect(m_pActions->Action(ID_EXIT_BUTTON), &QAction::triggered, this, &QWidget::close);
}

void CMainFrame::ConnectToggles() {
    new CBarToggle(*m_pActions->Action(ID_VIEW_TREE_BROWSER), *m_pTreeBar);
    new CBarToggle(*m_pActions->Action(ID_VIEW_TOOLBAR), *m_pMainToolBar);
    new CBarToggle(*m_pActions->Action(ID_VIEW_STATUS_BAR), *m_pStatusBar);
    new CBarToggle(*m_pActions->Action(ID_VIEW_CONFIG_TOOLBAR), *m_pConfigToolBar);
    new CBarToggle(*m_pActions->Action(ID_VIEW_PROBLEMS_BAR), *m_pProblemsBar);
}

bool CMainFrame::OpenDocument() {
    m_pDoc = std::make_unique<CQSERDoc>();
    CAppContext::SetActiveDocument(m_pDoc.get());
    bool loaded = false;
    CUserAction::Run([this, &loaded] { loaded = m_pDoc->OnNewDocument(); });
    if (!loaded) {
        CloseDocument();
        return false;
    }
    m_pView = std::make_unique<CQSERView>(*m_pDoc, *m_pDialogFactory, this);
    m_pDoc->AddView(this);
    m_pView->OnInitialUpdate();
    UpdateCommandUI();
    return true;
}

void CMainFrame::CloseDocument() {
    if (m_pDoc != nullptr) {
        m_pDoc->RemoveView(this);
    }
    m_pView.reset();
    CAppContext::SetActiveDocument(nullptr);
    m_pDoc.reset();
}

void CMainFrame::OpenRegFile(const QString& fileName) {
    if (!CRegFileOpen::Import(fileName)) {
        return;
    }
    CloseDocument();
    Tree().DeleteAllItems();
    if (!OpenDocument()) {
        close();
        return;
    }
    m_pDoc->m_bConfigChanged = 1;
}

void CMainFrame::RefreshProblems() {
    const std::vector<SCheckFinding> findings = CResourceCheck::RunOnRegistry();
    m_pProblemsBar->SetFindings(findings);
    m_pProblemsPane->SetFindings(findings);
}

void CMainFrame::OnProblemActivated(const std::string& keyPath) {
    HTREEITEM item = m_pDoc == nullptr ? nullptr : CFindingLocator::ItemOf(*m_pDoc, keyPath);
    if (item != nullptr) {
        Tree().EnsureVisible(item);
        Tree().SelectItem(item);
    }
}

void CMainFrame::OnFileOpen() {
    const QString fileName = CRegFileOpen::AskFileName(this);
    if (!fileName.isEmpty()) {
        OpenRegFile(fileName);
    }
}

void CMainFrame::OnAbout() {
    CAboutBox about(this);
    about.exec();
}

void CMainFrame::OnUpdate() {
    UpdateCommandUI();
}

void CMainFrame::UpdateCommandUI() {
    if (m_pDoc == nullptr) {
        return;
    }
    CCmdUIAction addBoard(*m_pActions->Action(ID_ADD_BOARD));
    m_pDoc->OnUpdateAddBoard(addBoard);
    CCmdUIAction addPort(*m_pActions->Action(ID_ADD_PORT));
    m_pDoc->OnUpdateAddPort(addPort);
    CCmdUIAction remove(*m_pActions->Action(ID_DELETE));
    m_pDoc->OnUpdateDelete(remove);
}

void CMainFrame::FitAndCentre(int widthDialogUnits, int heightDialogUnits) {
    // A configuration loaded again after an import keeps the window where the person put it.
    if (m_bPlaced) {
        return;
    }
    m_bPlaced = true;
    const QSize wanted = CDialogUnits(m_pPane->font()).Size(widthDialogUnits, heightDialogUnits);
    m_pPane->SetWantedSize(wanted);
    resize(sizeHint());
    // The bars settle their sizes only once the window is laid out for real; what the pane
    // still lacks (or has too much) then is corrected before anything is painted.
    show();
    resize(size() + wanted - m_pPane->size());
    const QRect screenArea = screen()->geometry();
    move(screenArea.x() + (screenArea.width() - width()) / 2,
         screenArea.y() + (screenArea.height() - height()) / 2);
}

void CMainFrame::closeEvent(QCloseEvent* event) {
    CQSERDoc* doc = m_pDoc.get();
    CUserAction::Run([doc] { CCloseSequence::Run(doc); });
    event->accept();
}
