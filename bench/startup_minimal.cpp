// The reference for qser's start-up cost: a plain Qt main window of the same shape, built without
// any of qser's layers. It has the same menus, both toolbars with the same SVG icons, a status bar
// with the three lock indicators and the count of problems, a dock holding a tree of the largest
// legal configuration (the driver, 10 boards, 80 ports) with the driver selected, the system form
// that shows, and the Problems dock listing the findings of that configuration. It quits from its
// first paint event. bench/startup.sh measures it beside qser.
//   startup_minimal [FINDINGS]   (one "severity<TAB>code<TAB>message" line per finding)
#include "startupquitfilter.h"

#include <QAction>
#include <QApplication>
#include <QDockWidget>
#include <QFile>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMainWindow>
#include <QMenuBar>
#include <QStatusBar>
#include <QToolBar>
#include <QTreeWidget>
#include <initializer_list>

struct SMinimalAction {
    const char* text;
    const char* prompt;
    const char* icon;
};

static QAction* AddAction(QMenu& menu, const SMinimalAction& spec) {
    QAction* action = menu.addAction(QString::fromLatin1(spec.text));
    action->setStatusTip(QString::fromLatin1(spec.prompt));
    if (spec.icon[0] != '\0') {
        action->setIcon(QIcon(QString::fromLatin1(spec.icon)));
    }
    return action;
}

static QToolBar* AddToolBar(QMainWindow& window, std::initializer_list<QAction*> actions,
                            QSize iconSize, Qt::ToolBarArea area) {
    auto* bar = new QToolBar(&window);
    bar->setIconSize(iconSize);
    for (QAction* action : actions) {
        if (action == nullptr) {
            bar->addSeparator();
        } else {
            bar->addAction(action);
        }
    }
    window.addToolBar(area, bar);
    return bar;
}

static void BuildFrame(QMainWindow& window) {
    QMenuBar* bar = window.menuBar();
    QMenu* file = bar->addMenu(QStringLiteral("&File"));
    QAction* fileNew =
        AddAction(*file, {"&New\tCtrl+N", "Create a new configuration", ":/icons/new.svg"});
    AddAction(*file,
              {"&Open...\tCtrl+O",
               "Open a registry file or the SYSTEM hive file of a Windows installation", ""});
    file->addMenu(QStringLiteral("Open &Recent"));
    QAction* save = AddAction(*file, {"&Save\tCtrl+S", "Save to Registry", ":/icons/save.svg"});
    file->addSeparator();
    AddAction(*file,
              {"&Import...\tCtrl+I", "Import a registration (.reg) file into the registry", ""});
    AddAction(*file,
              {"&Export...",
               "Export the driver key or the whole registry to a registration (.reg) file", ""});
    file->addSeparator();
    AddAction(*file, {"&Compare With...",
                      "Compare the configuration with that of a registry, hive, .reg or "
                      "configuration file",
                      ""});
    AddAction(*file,
              {"&Apply Configuration...",
               "Make the configuration that of a registry, hive, .reg or configuration file", ""});
    file->addSeparator();
    AddAction(*file, {"E&xit\tCtrl+Q", "Quit the application; prompts to save documents", ""});
    QMenu* edit = bar->addMenu(QStringLiteral("&Edit"));
    QAction* undo = AddAction(*edit, {"&Undo\tCtrl+Z", "Undo the last change", ":/icons/undo.svg"});
    QAction* redo = AddAction(
        *edit, {"&Redo\tCtrl+Shift+Z", "Redo the last change undone", ":/icons/redo.svg"});
    edit->addSeparator();
    QAction* addBoard =
        AddAction(*edit, {"Add &Board", "Add a new board", ":/icons/add-board.svg"});
    QAction* addPort = AddAction(*edit, {"Add &Port", "Add a new port", ":/icons/add-port.svg"});
    edit->addSeparator();
    QAction* remove = AddAction(
        *edit, {"&Delete", "Delete the currently selected item in the tree", ":/icons/delete.svg"});
    QMenu* view = bar->addMenu(QStringLiteral("&View"));
    for (const char* text : {"&Tree Browser", "&MainToolbar", "&Status Bar",
                             "&Configuration Toolbar", "&Problems", "Problems Bar &Floating"}) {
        AddAction(*view, {text, "", ""})->setCheckable(true);
    }
    QMenu* help = bar->addMenu(QStringLiteral("&Help"));
    QAction* helpTopics = AddAction(*help, {"&Help Topics", "Utility Help", ":/icons/help.svg"});
    help->addSeparator();
    QAction* about = AddAction(*help, {"&About QSER...",
                                       "Display program information, version number and copyright",
                                       ":/icons/about.svg"});
    AddAction(*help, {"About &Qt...", "Display the version of Qt", ""});
    QAction* exit = new QAction(QIcon(QStringLiteral(":/icons/exit.svg")), QString(), &window);

    AddToolBar(window, {fileNew, save, undo, redo, helpTopics, about}, QSize(17, 15),
               Qt::TopToolBarArea);
    AddToolBar(window, {addBoard, addPort, remove, nullptr, exit}, QSize(90, 32),
               Qt::BottomToolBarArea);

    QStatusBar* status = window.statusBar();
    status->showMessage(QStringLiteral("Ready"));
    for (const char* indicator : {"CAP", "NUM", "SCRL"}) {
        status->addPermanentWidget(new QLabel(QString::fromLatin1(indicator)));
    }
}

static void BuildTree(QMainWindow& window) {
    const QIcon driverIcon(QStringLiteral(":/icons/app.svg"));
    const QIcon boardIcon(QStringLiteral(":/icons/board.svg"));
    const QIcon portIcon(QStringLiteral(":/icons/port.svg"));
    auto* tree = new QTreeWidget;
    tree->setHeaderHidden(true);
    tree->setIconSize(QSize(16, 16));
    auto* driver = new QTreeWidgetItem(tree, {QStringLiteral("QSERDRV")});
    driver->setIcon(0, driverIcon);
    for (int board = 0; board < 10; ++board) {
        auto* boardItem =
            new QTreeWidgetItem(driver, {QStringLiteral("Board%1").arg(board, 3, 10, QChar('0'))});
        boardItem->setIcon(0, boardIcon);
        for (int port = 0; port < 8; ++port) {
            auto* portItem = new QTreeWidgetItem(
                boardItem, {QStringLiteral("Port%1").arg(port, 3, 10, QChar('0'))});
            portItem->setIcon(0, portIcon);
        }
    }
    tree->setSortingEnabled(true);
    tree->sortByColumn(0, Qt::AscendingOrder);
    driver->setExpanded(true);
    tree->setCurrentItem(driver);

    auto* dock = new QDockWidget(&window);
    dock->setAllowedAreas(Qt::LeftDockWidgetArea | Qt::RightDockWidgetArea);
    dock->setWidget(tree);
    window.addDockWidget(Qt::LeftDockWidgetArea, dock);
}

// The system form's controls at their dialog-unit places, one unit taken as 1.5 pixels across
// and 1.625 down (the 8-point dialog font on a 96-dpi screen).
static void Place(QWidget& widget, int x, int y, int width, int height) {
    widget.setGeometry(x * 3 / 2, y * 13 / 8, width * 3 / 2, height * 13 / 8);
}

static void AddField(QWidget& form, const char* label, int labelWidth, int x, int y, int width,
                     const QString& text) {
    Place(*new QLabel(QString::fromLatin1(label), &form), 15, y + 3, labelWidth, 8);
    auto* field = new QLineEdit(text, &form);
    field->setReadOnly(true);
    Place(*field, x, y, width, 14);
}

// The form shown at start-up, with the driver selected: the system's name and its counts, read
// only and greyed.
static void BuildSystemForm(QMainWindow& window) {
    auto* form = new QWidget;
    Place(*new QGroupBox(form), 7, 7, 207, 40);
    AddField(*form, "Name:", 24, 45, 23, 147,
             QStringLiteral("Brimholde QSER 32bit Utility Ver. 1.10"));
    Place(*new QGroupBox(form), 7, 46, 208, 116);
    AddField(*form, "Number of Boards:", 57, 78, 76, 57, QStringLiteral("10"));
    AddField(*form, "Number of Ports:", 59, 78, 106, 57, QStringLiteral("80"));
    form->setEnabled(false);
    form->setMinimumSize(230 * 3 / 2, 203 * 13 / 8);
    window.setCentralWidget(form);
}

struct SFinding {
    bool error = false;
    QString code;
    QString message;
};

// Read at once and cut in place: the window pays for its rows, hardly for reading them.
static QList<SFinding> ReadFindings(const QString& path) {
    QList<SFinding> findings;
    QFile file(path);
    if (path.isEmpty() || !file.open(QIODevice::ReadOnly)) {
        return findings;
    }
    const QByteArray text = file.readAll();
    const QByteArrayView all(text);
    for (qsizetype start = 0; start < all.size();) {
        qsizetype end = all.indexOf('\n', start);
        end = end < 0 ? all.size() : end;
        const QByteArrayView line = all.sliced(start, end - start);
        const qsizetype codeAt = line.indexOf('\t');
        const qsizetype messageAt = codeAt < 0 ? -1 : line.indexOf('\t', codeAt + 1);
        if (messageAt > 0) {
            findings.append({line.first(codeAt) == QByteArrayView("error"),
                             QString::fromLatin1(line.sliced(codeAt + 1, messageAt - codeAt - 1)),
                             QString::fromLatin1(line.sliced(messageAt + 1))});
        }
        start = end + 1;
    }
    return findings;
}

// Docked at the bottom, seven lines high, the code column as wide as the widest code.
static void BuildProblems(QMainWindow& window, const QList<SFinding>& findings) {
    const QIcon error(QStringLiteral(":/icons/problem-error.svg"));
    const QIcon warning(QStringLiteral(":/icons/problem-warning.svg"));
    auto* list = new QTreeWidget;
    list->setRootIsDecorated(false);
    list->setUniformRowHeights(true);
    list->setHeaderLabels({QStringLiteral("Problem"), QStringLiteral("Code")});
    list->header()->setStretchLastSection(false);
    list->header()->setSectionResizeMode(0, QHeaderView::Stretch);
    list->header()->setSectionResizeMode(1, QHeaderView::Fixed);
    QList<QTreeWidgetItem*> items;
    int errors = 0;
    QString widestCode = QStringLiteral("Code");
    for (const SFinding& finding : findings) {
        auto* item = new QTreeWidgetItem({finding.message, finding.code});
        item->setIcon(0, finding.error ? error : warning);
        errors += finding.error ? 1 : 0;
        if (finding.code.size() > widestCode.size()) {
            widestCode = finding.code;
        }
        items << item;
    }
    list->addTopLevelItems(items);
    const QFontMetrics metrics = list->fontMetrics();
    list->header()->resizeSection(1, metrics.horizontalAdvance(widestCode) +
                                         4 * metrics.averageCharWidth());

    auto* dock = new QDockWidget(QStringLiteral("Problems"), &window);
    dock->setAllowedAreas(Qt::TopDockWidgetArea | Qt::BottomDockWidgetArea);
    dock->setWidget(list);
    window.addDockWidget(Qt::BottomDockWidgetArea, dock);
    window.resizeDocks({dock}, {metrics.height() * 7}, Qt::Vertical);

    auto* count = new QLabel(
        QStringLiteral("%1 errors, %2 warnings").arg(errors).arg(findings.size() - errors));
    count->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    window.statusBar()->addPermanentWidget(count);
}

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QMainWindow window;
    window.setWindowTitle(QStringLiteral("Brimholde - QSER"));
    window.setWindowIcon(QIcon(QStringLiteral(":/icons/app.svg")));
    BuildFrame(window);
    BuildTree(window);
    BuildSystemForm(window);
    BuildProblems(window, ReadFindings(QApplication::arguments().value(1)));
    new CStartupQuitFilter(window);
    window.show();
    return QApplication::exec();
}
