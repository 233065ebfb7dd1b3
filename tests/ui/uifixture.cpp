#include "uifixture.h"

#include "appprofile.h"
#include "configtreectrl.h"
#include "frameactions.h"
#include "qtdialog.h"
#include "reportdialog.h"
#include "testservices.h"
#include "treebrowserbar.h"
#include "windowsession.h"

#include <QAction>
#include <QComboBox>
#include <QFile>
#include <QTest>
#include <QTimer>
#include <QToolBar>

CUiFixture::CUiFixture(ETestStore store)
    : m_hive(store), m_services(m_hive.Hive()), m_recordedServices(m_services) {
    QFile::remove(CAppProfile::Path());
    QFile::remove(CWindowSession::Path());
    CHiveProbe probe(m_hive.Hive());
    InstallService(probe, "Serial");
}

CUiFixture::~CUiFixture() = default;

void CUiFixture::Start(EPlatformFamily family, CHive* hive) {
    m_pFrame = std::make_unique<CMainFrame>(
        m_locks, SProcessReferences{.hive = hive != nullptr ? hive : &m_hive.Hive(),
                                    .messageBox = &m_hive.Messages(),
                                    .serviceControlManager = m_pServiceManager,
                                    .platformFamily = family});
    ASSERT_TRUE(m_pFrame->OpenDocument());
    ASSERT_TRUE(QTest::qWaitForWindowExposed(m_pFrame.get()));
}

void CUiFixture::CloseAndDestroy() {
    m_pFrame->close();
    m_pFrame.reset();
}

QAction* CUiFixture::Action(int id) const {
    return m_pFrame->Actions().Action(id);
}

CQtDialog* CUiFixture::Form(int templateId) const {
    return dynamic_cast<CQtDialog*>(
        m_pFrame->findChild<QWidget*>(QStringLiteral("form%1").arg(templateId)));
}

QTreeWidgetItem* CUiFixture::Item(const std::string& path) const {
    CConfigTreeCtrl& tree = m_pFrame->Tree();
    const QStringList texts = QString::fromStdString(path).split(QLatin1Char('/'));
    QTreeWidgetItem* found = nullptr;
    for (const QString& text : texts) {
        const int count = found == nullptr ? tree.topLevelItemCount() : found->childCount();
        QTreeWidgetItem* next = nullptr;
        for (int i = 0; i < count && next == nullptr; ++i) {
            QTreeWidgetItem* candidate = found == nullptr ? tree.topLevelItem(i) : found->child(i);
            if (candidate->text(0) == text) {
                next = candidate;
            }
        }
        if (next == nullptr) {
            return nullptr;
        }
        found = next;
    }
    return found;
}

void CUiFixture::ClickItem(const std::string& path) {
    QTreeWidgetItem* item = Item(path);
    ASSERT_NE(item, nullptr) << path;
    CConfigTreeCtrl& tree = m_pFrame->Tree();
    tree.scrollToItem(item);
    QApplication::processEvents();
    const QRect rect = tree.visualItemRect(item);
    ASSERT_FALSE(rect.isEmpty()) << path;
    QTest::mouseClick(tree.viewport(), Qt::LeftButton, {}, rect.center());
}

void CUiFixture::ClickButton(int id) {
    QWidget* button = nullptr;
    for (QToolBar* bar : {m_pFrame->MainToolBar(), m_pFrame->ConfigToolBar()}) {
        if (button == nullptr) {
            button = bar->widgetForAction(Action(id));
        }
    }
    ASSERT_NE(button, nullptr) << id;
    QTest::mouseClick(button, Qt::LeftButton);
}

void CUiFixture::Choose(QComboBox& combo, const QString& text) {
    const int index = combo.findText(text);
    ASSERT_GE(index, 0) << text.toStdString();
    combo.setCurrentIndex(index);
    emit combo.activated(index);
}

std::string CUiFixture::RegistryText(const std::string& keyPath, const std::string& valueName) {
    HiveKeyId key = 0;
    SHiveValue value;
    if (m_hive.Hive().FindKey(keyPath, key) != ERROR_SUCCESS ||
        m_hive.Hive().ReadValue(key, valueName, value) != ERROR_SUCCESS) {
        return "<none>";
    }
    std::string text(value.data.begin(), value.data.end());
    if (!text.empty() && text.back() == '\0') {
        text.pop_back();
    }
    return text;
}

bool CUiFixture::KeyExists(const std::string& keyPath) {
    HiveKeyId key = 0;
    return m_hive.Hive().FindKey(keyPath, key) == ERROR_SUCCESS;
}

bool CUiFixture::SerialServiceRunning() {
    SServiceState state;
    m_services.QueryServiceState("Serial", state);
    return state.running;
}

bool CUiFixture::WithReportDialog(const std::function<void()>& open,
                                  const std::function<void(CReportDialog&)>& answer) {
    bool shown = false;
    // Owned here, so that it never fires into a later test when open shows nothing.
    QTimer timer;
    timer.setSingleShot(true);
    QObject::connect(&timer, &QTimer::timeout, &timer, [&] {
        if (auto* dialog = dynamic_cast<CReportDialog*>(QApplication::activeModalWidget())) {
            shown = true;
            answer(*dialog);
        }
    });
    timer.start(0);
    open();
    return shown;
}

QString CUiFixture::WriteFile(const std::string& name, const std::string& bytes) const {
    const QString path = QString::fromStdString(m_hive.Folder() + "/" + name);
    QFile file(path);
    EXPECT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate)) << name;
    file.write(bytes.data(), static_cast<qint64>(bytes.size()));
    return path;
}
