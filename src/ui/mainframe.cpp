#include "mainframe.h"

#include "aboutbox.h"
#include "bartoggle.h"
#include "closesequence.h"
#include "cmduiaction.h"
#include "commandids.h"
#include "configtreectrl.h"
#include "configurationsession.h"
#include "dialogunits.h"
#include "findinglocator.h"
#include "formpane.h"
#include "frameactions.h"
#include "framestatusbar.h"
#include "hive.h"
#include "mainmenu.h"
#include "problemsbar.h"
#include "problemspane.h"
#include "qserdoc.h"
#include "qtdialogfactory.h"
#include "regfileopen.h"
#include "resourcecheck.h"
#include "treebrowserbar.h"
#include "treecontextmenu.h"
#include "useraction.h"

#include <QAction>
#include <QCloseEvent>
#include <QFile>
#include <QFileInfo>
#include <QIcon>
#include <QMenuBar>
#include <QScreen>
#include <QToolBar>
#include <utility>

namespace {
constexpr const char* kCaption = "Brimholde - QSER";

// The frame hears of every user action while a configuration is open.
SProcessReferences Observed(SProcessReferences environment, IUserActionObserver* observer) {
    environment.actionObserver = observer;
    return environment;
}
} // namespace

CMainFrame::CMainFrame(const IKeyboardLockState& locks, const SProcessReferences& environment)
    : m_pActions(std::make_unique<CFrameActions>(*this)),
      m_environment(Observed(environment, this)) {
    setObjectName(QStringLiteral("CMainFrame"));
    setWindowTitle(QString::fromLatin1(kCaption));
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
    new CTreeContextMenu(Tree(), *m_pActions, *m_pTreeBar);

    m_pPane = new CFormPane(this);
    setCentralWidget(m_pPane);
    m_pDialogFactory = std::make_unique<CQtDialogFactory>(m_pPane->Content());
    m_pProblemsBar = new CProblemsBar(*this);
    m_pProblemsBar->SetActivationHandler(
        [this](const std::string& keyPath) { OnProblemActivated(keyPath); });
    m_pProblemsPane = new CProblemsPane(m_pStatusBar);
    m_pStatusBar->addPermanentWidget(m_pProblemsPane);
    ConnectCommands();
    ConnectToggles();
}

CMainFrame::~CMainFrame() {
    CloseDocument();
    // The bar writes its profile values as it goes, while the rest of the frame still exists.
    delete m_pTreeBar;
}

CConfigTreeCtrl& CMainFrame::Tree() const {
    return m_pTreeBar->Tree();
}

CQSERDoc* CMainFrame::Document() const {
    return m_pSession == nullptr ? nullptr : &m_pSession->Doc();
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
            bar->widgetForAction(m_pActions->Action(id))
                ->setAccessibleName(m_pActions->ButtonName(id));
        }
    }
    addToolBar(area, bar);
    return bar;
}

void CMainFrame::ConnectDocumentCommand(int id, void (CQSERDoc::*command)()) {
    connect(m_pActions->Action(id), &QAction::triggered, this, [this, command] {
        CQSERDoc* doc = Document();
        if (doc == nullptr) {
            return;
        }
        CUserAction::Run([doc, command] { (doc->*command)(); });
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

void CMainFrame::ShowRegistryFile() {
    const CHive* hive = CHive::Current();
    const QString path =
        hive == nullptr ? QString()
                        : QFileInfo(QFile::decodeName(hive->Path().c_str())).absoluteFilePath();
    m_pStatusBar->SetRegistryFile(path);
    Tree().SetDriverToolTip(QStringLiteral("Registry file: %1").arg(path));
}

bool CMainFrame::OpenDocument() {
    m_pSession =
        std::make_unique<CConfigurationSession>(m_environment, Tree(), *m_pDialogFactory, this);
    m_pSession->Doc().AddView(this);
    ShowRegistryFile();
    if (!m_pSession->Start()) {
        CloseDocument();
        return false;
    }
    PutProblemsLastInTabOrder();
    ShowReadOnly();
    UpdateCommandUI();
    return true;
}

void CMainFrame::ShowReadOnly() {
    const CHive* hive = CHive::Current();
    if (!Document()->IsReadOnly() || hive == nullptr) {
        return;
    }
    setWindowTitle(QString::fromLatin1(kCaption) + QStringLiteral(" [read-only]"));
    m_pStatusBar->showMessage(
        QString::fromLatin1(kReadOnlyText).arg(QString::fromLatin1(hive->ReadOnlyReason())));
}

void CMainFrame::CloseDocument() {
    if (m_pSession != nullptr) {
        m_pSession->Doc().RemoveView(this);
    }
    m_pSession.reset();
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
    Document()->m_bConfigChanged = 1;
}

void CMainFrame::PutProblemsLastInTabOrder() {
    // The forms' controls are made with the session, after the bars: without this, Tab would
    // go from the tree to the list of problems and only then to the form.
    QWidget* last = m_pPane;
    for (QWidget* widget = m_pPane->nextInFocusChain(); widget != m_pPane;
         widget = widget->nextInFocusChain()) {
        if (m_pPane->isAncestorOf(widget)) {
            last = widget;
        }
    }
    QWidget::setTabOrder(last, m_pProblemsBar->widget());
}

void CMainFrame::OnUserActionFinished() {
    RefreshProblems();
}

void CMainFrame::RefreshProblems() {
    const std::vector<SCheckFinding> findings = CResourceCheck::RunOnRegistry();
    m_pProblemsBar->SetFindings(findings);
    m_pProblemsPane->SetFindings(findings);
}

void CMainFrame::OnProblemActivated(const std::string& keyPath) {
    CQSERDoc* doc = Document();
    HTREEITEM item = doc == nullptr ? nullptr : CFindingLocator::ItemOf(*doc, keyPath);
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

void CMainFrame::OnConfigurationReloaded() {
    m_pStatusBar->showMessage(QString::fromLatin1(kReloadedText));
}

void CMainFrame::changeEvent(QEvent* event) {
    QMainWindow::changeEvent(event);
    if (event->type() == QEvent::ActivationChange && isActiveWindow() && Document() != nullptr) {
        CUserAction::Refresh();
        UpdateCommandUI();
    }
}

void CMainFrame::UpdateCommandUI() {
    CQSERDoc* doc = Document();
    if (doc == nullptr) {
        return;
    }
    using Update = void (CQSERDoc::*)(ICmdUI&) const;
    const std::pair<int, Update> updates[] = {
        {ID_ADD_BOARD, &CQSERDoc::OnUpdateAddBoard},
        {ID_ADD_PORT, &CQSERDoc::OnUpdateAddPort},
        {ID_DELETE, &CQSERDoc::OnUpdateDelete},
        {ID_FILE_NEW, &CQSERDoc::OnUpdateWritingCommand},
        {ID_FILE_SAVE, &CQSERDoc::OnUpdateWritingCommand},
        {ID_FILE_OPEN, &CQSERDoc::OnUpdateWritingCommand},
    };
    for (const auto& [id, update] : updates) {
        CCmdUIAction state(*m_pActions->Action(id));
        (doc->*update)(state);
    }
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
    // A reload that failed leaves no session, and the close sequence still needs the platform.
    CProcessScope environment(m_environment);
    CQSERDoc* doc = Document();
    CUserAction::Run([doc] { CCloseSequence::Run(doc); }, EAfterReload::Act);
    event->accept();
}
