#include "mainframe.h"

#include "aboutbox.h"
#include "applyconfiguration.h"
#include "bartoggle.h"
#include "checkfixer.h"
#include "checkfixes.h"
#include "checkreader.h"
#include "closesequence.h"
#include "cmduiaction.h"
#include "commandids.h"
#include "comparewith.h"
#include "configtreectrl.h"
#include "configurationsession.h"
#include "configurationsourcefile.h"
#include "dialogtemplates.h"
#include "dialogunits.h"
#include "findinglocator.h"
#include "formpane.h"
#include "frameactions.h"
#include "framestatusbar.h"
#include "hive.h"
#include "latin1text.h"
#include "mainmenu.h"
#include "messageservice.h"
#include "problemsbar.h"
#include "problemspane.h"
#include "qserdoc.h"
#include "qtdialogfactory.h"
#include "recentfilesmenu.h"
#include "regfileexport.h"
#include "regfileopen.h"
#include "resourcecheck.h"
#include "treebrowserbar.h"
#include "treecontextmenu.h"
#include "useraction.h"
#include "windowsession.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QMenuBar>
#include <QMimeData>
#include <QScreen>
#include <QTimer>
#include <QToolBar>
#include <QUrl>
#include <utility>

namespace {
constexpr const char* kCaption = "Brimholde - QSER";

// The frame hears of every user action while a configuration is open, and records those that
// Undo takes back.
SProcessReferences Observed(SProcessReferences environment, IUserActionObserver* observer,
                            CUndoHistory* history) {
    environment.actionObserver = observer;
    environment.undoHistory = history;
    return environment;
}

// The selection of a view without the focus is drawn in a muted colour, so that the item the
// keys act on (in the view that has the focus) stands out from the one that is merely chosen.
void ShowInactiveSelectionApart(QWidget& view) {
    QPalette palette = view.palette();
    const QColor highlight = palette.color(QPalette::Active, QPalette::Highlight);
    const QColor base = palette.color(QPalette::Active, QPalette::Base);
    constexpr float kShare = 0.35F;
    const QColor muted =
        QColor::fromRgbF(base.redF() + (highlight.redF() - base.redF()) * kShare,
                         base.greenF() + (highlight.greenF() - base.greenF()) * kShare,
                         base.blueF() + (highlight.blueF() - base.blueF()) * kShare);
    palette.setColor(QPalette::Inactive, QPalette::Highlight, muted);
    palette.setColor(QPalette::Inactive, QPalette::HighlightedText,
                     palette.color(QPalette::Active, QPalette::Text));
    view.setPalette(palette);
}

// The .reg file among the dropped URLs, or empty.
QString DroppedRegFile(const QMimeData* data) {
    if (data == nullptr || !data->hasUrls() || data->urls().size() != 1) {
        return {};
    }
    const QUrl url = data->urls().constFirst();
    const QString path = url.toLocalFile();
    return url.isLocalFile() && path.endsWith(QStringLiteral(".reg"), Qt::CaseInsensitive)
               ? path
               : QString();
}
} // namespace

CMainFrame::CMainFrame(const IKeyboardLockState& locks, const SProcessReferences& environment)
    : m_pActions(std::make_unique<CFrameActions>(*this)),
      m_environment(Observed(environment, this, &m_undoHistory)) {
    setObjectName(QStringLiteral("CMainFrame"));
    setWindowTitle(QString::fromLatin1(kCaption));
    // The window shows the application's icon, set once for every window of the program.
    setAcceptDrops(true);
    m_pRecentMenu = new CRecentFilesMenu([this](const QString& path) { OpenRegistry(path); }, this);
    CMainMenu::Build(*menuBar(), *m_pActions, *m_pRecentMenu);

    m_pMainToolBar = AddToolBar(
        QStringLiteral("MainToolbar"),
        {ID_FILE_NEW, ID_FILE_SAVE, ID_EDIT_UNDO, ID_EDIT_REDO, ID_HELP_FINDER, ID_APP_ABOUT},
        QSize(17, 15), Qt::TopToolBarArea, Qt::AllToolBarAreas);
    m_pStatusBar = new CFrameStatusBar(locks, this);
    setStatusBar(m_pStatusBar);
    m_pConfigToolBar =
        AddToolBar(QStringLiteral("Configuration Toolbar"),
                   {ID_ADD_BOARD, ID_ADD_PORT, ID_DELETE, 0, ID_EXIT_BUTTON}, QSize(90, 32),
                   Qt::BottomToolBarArea, Qt::TopToolBarArea | Qt::BottomToolBarArea);

    m_pTreeBar = new CTreeBrowserBar(*this, true);
    Tree().SetStyleBits(TVS_HASBUTTONS | TVS_HASLINES | TVS_LINESATROOT | TVS_SHOWSELALWAYS, true);
    ShowInactiveSelectionApart(Tree());
    new CTreeContextMenu(Tree(), *m_pActions, *m_pTreeBar);

    m_pPane = new CFormPane(this);
    setCentralWidget(m_pPane);
    m_pDialogFactory = std::make_unique<CQtDialogFactory>(m_pPane->Content());
    m_pProblemsBar = new CProblemsBar(*this);
    m_pProblemsBar->SetActivationHandler(
        [this](const std::string& keyPath) { OnProblemActivated(keyPath); });
    m_pProblemsBar->SetFixHandlers(
        [](const SCheckFinding& finding) {
            return CCheckFixes::For(CCheckReader::Read(), finding);
        },
        [this](const SCheckFix& fix) { ApplyFix(fix); });
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

void CMainFrame::ConnectDocumentCommand(int id, void (CQSERDoc::*command)(), const char* undoName) {
    connect(m_pActions->Action(id), &QAction::triggered, this, [this, command, undoName] {
        CQSERDoc* doc = Document();
        if (doc == nullptr) {
            return;
        }
        KeepFocusInTree([doc, command, undoName] {
            CUndoHistory::Run(undoName, [doc, command] { (doc->*command)(); });
        });
        UpdateCommandUI();
    });
}

void CMainFrame::KeepFocusInTree(const std::function<void()>& command) {
    const QWidget* before = QApplication::focusWidget();
    const bool wasInProblems = before != nullptr && m_pProblemsBar->isAncestorOf(before);
    command();
    // A form that hid or a tree item that went passes the focus on down the chain, which ends
    // in the list of problems; the person was working in the tree and stays there.
    const QWidget* after = QApplication::focusWidget();
    const bool intoProblems =
        after != nullptr && m_pProblemsBar->isAncestorOf(after) && !wasInProblems;
    if ((before == &Tree() && after != &Tree()) || intoProblems) {
        Tree().setFocus(Qt::OtherFocusReason);
    }
}

void CMainFrame::MoveToPane(int step) {
    // The tree, the form on show and the list of problems, in that order, those that are on
    // screen.
    std::vector<QWidget*> panes;
    auto addIfShown = [&panes](QWidget* pane) {
        if (pane != nullptr && pane->isVisible()) {
            panes.push_back(pane);
        }
    };
    addIfShown(&Tree());
    QWidget* formTarget = nullptr;
    for (QWidget* widget = m_pPane->nextInFocusChain(); widget != m_pPane && formTarget == nullptr;
         widget = widget->nextInFocusChain()) {
        if (m_pPane->isAncestorOf(widget) && widget->isVisible() && widget->isEnabled() &&
            (widget->focusPolicy() & Qt::TabFocus)) {
            formTarget = widget;
        }
    }
    addIfShown(formTarget);
    addIfShown(m_pProblemsBar->List());
    if (panes.empty()) {
        return;
    }
    const QWidget* focus = QApplication::focusWidget();
    int current = -1;
    for (int i = 0; i < static_cast<int>(panes.size()); ++i) {
        if (focus != nullptr &&
            (focus == panes[i] || panes[i]->isAncestorOf(focus) ||
             (i == 1 && formTarget != nullptr && m_pPane->isAncestorOf(focus)))) {
            current = i;
        }
    }
    const int count = static_cast<int>(panes.size());
    const int next = current < 0 ? 0 : (current + step + count) % count;
    panes[next]->setFocus(step > 0 ? Qt::TabFocusReason : Qt::BacktabFocusReason);
}

void CMainFrame::ConnectCommands() {
    ConnectDocumentCommand(ID_FILE_NEW, &CQSERDoc::OnFileNew, "New");
    ConnectDocumentCommand(ID_FILE_SAVE, &CQSERDoc::OnFileSave, "");
    ConnectDocumentCommand(ID_ADD_BOARD, &CQSERDoc::OnAddBoard, "Add Board");
    ConnectDocumentCommand(ID_ADD_PORT, &CQSERDoc::OnAddPort, "Add Port");
    ConnectDocumentCommand(ID_DELETE, &CQSERDoc::OnDelete, "Delete");
    ConnectDocumentCommand(ID_HELP_FINDER, &CQSERDoc::OnHelpTopics, "");
    connect(m_pActions->Action(ID_FILE_OPEN), &QAction::triggered, this, &CMainFrame::OnFileOpen);
    connect(m_pActions->Action(ID_FILE_IMPORT), &QAction::triggered, this,
            &CMainFrame::OnFileImport);
    connect(m_pActions->Action(ID_FILE_EXPORT), &QAction::triggered, this,
            &CMainFrame::OnFileExport);
    connect(m_pActions->Action(ID_FILE_COMPARE), &QAction::triggered, this, [this] {
        AskConfigurationFile(QStringLiteral("Compare With"), &CMainFrame::CompareWith);
    });
    connect(m_pActions->Action(ID_FILE_APPLY), &QAction::triggered, this, [this] {
        AskConfigurationFile(QStringLiteral("Apply Configuration"),
                             &CMainFrame::ApplyConfiguration);
    });
    connect(m_pActions->Action(ID_EDIT_UNDO), &QAction::triggered, this,
            [this] { OnUndoRedo(&CUndoHistory::Undo, "Undone: %1"); });
    connect(m_pActions->Action(ID_EDIT_REDO), &QAction::triggered, this,
            [this] { OnUndoRedo(&CUndoHistory::Redo, "Redone: %1"); });
    connect(m_pActions->Action(ID_NEXT_PANE), &QAction::triggered, this, [this] { MoveToPane(1); });
    connect(m_pActions->Action(ID_PREV_PANE), &QAction::triggered, this,
            [this] { MoveToPane(-1); });
    connect(m_pActions->Action(ID_APP_ABOUT), &QAction::triggered, this, &CMainFrame::OnAbout);
    connect(m_pActions->Action(ID_HELP_ABOUT_QT), &QAction::triggered, this,
            [this] { QApplication::aboutQt(); });
    connect(m_pActions->Action(ID_APP_EXIT), &QAction::triggered, this, &QWidget::close);
    connect(m_pActions->Action(ID_EXIT_BUTTON), &QAction::triggered, this, &QWidget::close);
}

void CMainFrame::ConnectToggles() {
    new CBarToggle(*m_pActions->Action(ID_VIEW_TREE_BROWSER), *m_pTreeBar);
    new CBarToggle(*m_pActions->Action(ID_VIEW_TOOLBAR), *m_pMainToolBar);
    new CBarToggle(*m_pActions->Action(ID_VIEW_STATUS_BAR), *m_pStatusBar);
    new CBarToggle(*m_pActions->Action(ID_VIEW_CONFIG_TOOLBAR), *m_pConfigToolBar);
    new CBarToggle(*m_pActions->Action(ID_VIEW_PROBLEMS_BAR), *m_pProblemsBar);
    // Floating and docking again from the keyboard, as the tree's context menu does for its bar.
    QAction* floating = m_pActions->Action(ID_VIEW_PROBLEMS_FLOAT);
    connect(floating, &QAction::triggered, m_pProblemsBar, [this](bool checked) {
        m_pProblemsBar->show();
        m_pProblemsBar->setFloating(checked);
    });
    connect(m_pProblemsBar, &QDockWidget::topLevelChanged, floating, &QAction::setChecked);
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

void CMainFrame::UpdateCaption() {
    const CHive* hive = CHive::Current();
    CQSERDoc* doc = Document();
    if (hive == nullptr || doc == nullptr) {
        setWindowTitle(QString::fromLatin1(kCaption));
        return;
    }
    const QString file = QFileInfo(QFile::decodeName(hive->Path().c_str())).fileName();
    const QString name =
        hive->IsWindowsHiveFile() ? QString::fromUtf8(kHiveCaption).arg(file) : file;
    setWindowTitle(name + QStringLiteral("[*] - ") + QString::fromLatin1(kCaption) +
                   (doc->IsReadOnly() ? QStringLiteral(" [read-only]") : QString()));
    setWindowModified(doc->m_bConfigChanged != 0);
}

void CMainFrame::ShowReadOnly() {
    const CHive* hive = CHive::Current();
    if (!Document()->IsReadOnly() || hive == nullptr) {
        return;
    }
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
    if (Document() == nullptr || Document()->IsReadOnly()) {
        return;
    }
    const QString done = CRegFileOpen::Import(fileName);
    UpdateCommandUI();
    if (!done.isEmpty()) {
        m_pStatusBar->showMessage(done);
    }
}

bool CMainFrame::OpenRegistry(const QString& path) {
    if (!m_opener) {
        return false;
    }
    const SProcessReferences previous = m_environment;
    std::optional<SProcessReferences> opened;
    {
        // The new file's reasons for refusal are shown while the old file is still in use.
        CProcessScope environment(m_environment);
        opened = m_opener(path);
    }
    if (!opened) {
        return false;
    }
    RunCloseSequence();
    CloseDocument();
    Tree().DeleteAllItems();
    m_undoHistory.Clear();
    m_bBackupShown = false;
    m_environment = Observed(*opened, this, &m_undoHistory);
    if (OpenDocument()) {
        return true;
    }
    m_environment = previous;
    Tree().DeleteAllItems();
    OpenDocument();
    return false;
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
    QWidget::setTabOrder(last, m_pProblemsBar->List());
}

void CMainFrame::OnUserActionFinished() {
    RefreshProblems();
    UpdateCommandUI();
    ShowHiveBackup();
    // The history records an action once it has ended, after this; Undo names it next turn.
    QTimer::singleShot(0, this, [this] { UpdateUndoCommands(); });
}

void CMainFrame::ShowHiveBackup() {
    const CHive* hive = CHive::Current();
    if (m_bBackupShown || hive == nullptr || !hive->IsWindowsHiveFile() || Document() == nullptr ||
        Document()->m_bConfigChanged == 0) {
        return;
    }
    const QString backup = QFileInfo(QFile::decodeName(hive->Path().c_str())).absoluteFilePath() +
                           QStringLiteral(".qser-backup");
    if (QFileInfo::exists(backup)) {
        m_bBackupShown = true;
        m_pStatusBar->showMessage(
            QStringLiteral("The original hive file was copied to %1 before the first change.")
                .arg(backup));
    }
}

void CMainFrame::RefreshProblems() {
    std::vector<SCheckFinding> findings = CResourceCheck::RunOnRegistry();
    m_pProblemsPane->SetFindings(findings);
    m_pProblemsBar->SetFindings(std::move(findings));
}

void CMainFrame::OnProblemActivated(const std::string& keyPath) {
    CQSERDoc* doc = Document();
    HTREEITEM item = doc == nullptr ? nullptr : CFindingLocator::ItemOf(*doc, keyPath);
    if (item != nullptr) {
        Tree().EnsureVisible(item);
        Tree().SelectItem(item);
    }
}

void CMainFrame::ApplyFix(const SCheckFix& fix) {
    CQSERDoc* doc = Document();
    if (doc == nullptr || doc->IsReadOnly()) {
        return;
    }
    KeepFocusInTree([this, &fix] { CCheckFixer(*m_pSession).Apply(fix); });
    UpdateCommandUI();
}

void CMainFrame::OnFileOpen() {
    const QString fileName = QFileDialog::getOpenFileName(
        this, QStringLiteral("Open"), QString(),
        QStringLiteral("Registry files (*.db);;Windows SYSTEM hive files (SYSTEM system);;All "
                       "files (*)"));
    if (!fileName.isEmpty()) {
        OpenRegistry(fileName);
    }
}

void CMainFrame::OnFileImport() {
    const QString fileName = CRegFileOpen::AskFileName(this);
    if (!fileName.isEmpty()) {
        OpenRegFile(fileName);
    }
}

void CMainFrame::AskConfigurationFile(const QString& title,
                                      void (CMainFrame::*then)(const QString&)) {
    const QString fileName = CConfigurationSourceFile::AskFileName(this, title);
    if (!fileName.isEmpty()) {
        (this->*then)(fileName);
    }
}

void CMainFrame::CompareWith(const QString& fileName) {
    if (Document() != nullptr) {
        CCompareWith::Show(this, fileName);
    }
}

void CMainFrame::ApplyConfiguration(const QString& fileName) {
    if (Document() == nullptr || Document()->IsReadOnly()) {
        return;
    }
    const QString done = CApplyConfiguration::Apply(this, fileName);
    UpdateCommandUI();
    if (!done.isEmpty()) {
        m_pStatusBar->showMessage(done);
    }
}

void CMainFrame::OnFileExport() {
    CProcessScope environment(m_environment);
    const QString done = CRegFileExport::AskAndExport(this);
    if (!done.isEmpty()) {
        m_pStatusBar->showMessage(done);
    }
}

void CMainFrame::OnUndoRedo(bool (CUndoHistory::*step)(), const char* done) {
    const std::string name =
        step == &CUndoHistory::Undo ? m_undoHistory.UndoName() : m_undoHistory.RedoName();
    bool stepped = false;
    KeepFocusInTree(
        [this, step, &stepped] { stepped = Document() != nullptr && (m_undoHistory.*step)(); });
    if (stepped) {
        m_pStatusBar->showMessage(QString::fromLatin1(done).arg(CLatin1Text::ToQt(name)));
    }
    UpdateCommandUI();
}

void CMainFrame::OnAbout() {
    CAboutBox about(this);
    about.exec();
}

void CMainFrame::OnUpdate() {
    UpdateCommandUI();
}

void CMainFrame::OnConfigurationReloaded() {
    // The steps would put back keys as this window last saw them, not as the file holds them.
    const bool hadHistory = m_undoHistory.Size() > 0;
    m_undoHistory.Clear();
    m_pStatusBar->showMessage(
        QString::fromLatin1(hadHistory ? kHistoryClearedText : kReloadedText));
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
    m_pActions->Action(ID_FILE_IMPORT)->setEnabled(!doc->IsReadOnly());
    m_pActions->Action(ID_FILE_APPLY)->setEnabled(!doc->IsReadOnly());
    UpdateUndoCommands();
    UpdateCaption();
}

void CMainFrame::UpdateUndoCommands() {
    const bool writable = Document() != nullptr && !Document()->IsReadOnly();
    const struct {
        int id;
        bool can;
        std::string name;
        const char* text;
    } commands[] = {
        {ID_EDIT_UNDO, m_undoHistory.CanUndo(), m_undoHistory.UndoName(), "Undo"},
        {ID_EDIT_REDO, m_undoHistory.CanRedo(), m_undoHistory.RedoName(), "Redo"},
    };
    for (const auto& command : commands) {
        QAction* action = m_pActions->Action(command.id);
        const QString text = QString::fromLatin1(command.text);
        const QString named =
            command.name.empty() ? text : text + QLatin1Char(' ') + CLatin1Text::ToQt(command.name);
        action->setEnabled(writable && command.can);
        action->setText(QLatin1Char('&') + named);
        action->setToolTip(named);
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
    if (CWindowSession::Restore(*this, *m_pTreeBar)) {
        show();
        return;
    }
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
    CWindowSession::Save(*this, *m_pTreeBar);
    RunCloseSequence();
    event->accept();
}

void CMainFrame::RunCloseSequence() {
    // A reload that failed leaves no session, and the close sequence still needs the platform.
    CProcessScope environment(m_environment);
    // Recorded as the file is left rather than at start-up, which reads and writes no profile.
    if (const CHive* hive = CHive::Current()) {
        CRecentFilesMenu::Add(QFile::decodeName(hive->Path().c_str()));
    }
    CQSERDoc* doc = Document();
    CUserAction::Run([doc] { CCloseSequence::Run(doc); }, EAfterReload::Act);
    const CHive* hive = CHive::Current();
    if (doc != nullptr && !doc->IsReadOnly() && hive != nullptr && hive->IsWindowsHiveFile()) {
        CMessageService::Notice(kOfflineCloseText);
    }
}

void CMainFrame::dragEnterEvent(QDragEnterEvent* event) {
    if (Document() != nullptr && !Document()->IsReadOnly() &&
        !DroppedRegFile(event->mimeData()).isEmpty()) {
        event->acceptProposedAction();
    }
}

void CMainFrame::dropEvent(QDropEvent* event) {
    const QString fileName = DroppedRegFile(event->mimeData());
    if (fileName.isEmpty()) {
        return;
    }
    event->acceptProposedAction();
    OpenRegFile(fileName);
}
