#pragma once

#include "fakekeyboardlockstate.h"
#include "hiveservicemanager.h"
#include "mainframe.h"
#include "qtdialog.h"
#include "recordingservicemanager.h"
#include "temphive.h"

#include <functional>
#include <gtest/gtest.h>
#include <memory>
#include <string>

class CReportDialog;
class QAction;
class QComboBox;
class QString;
class QTreeWidgetItem;

// The main window on a fresh registry (of the given store) with the serial service installed,
// recording message boxes and service calls, fake lock keys and an empty profile.
class CUiFixture : public ::testing::Test {
protected:
    explicit CUiFixture(ETestStore store = ETestStore::Sqlite);
    ~CUiFixture() override;

    // Creates the window on the platform family, loads the configuration (of the fixture's
    // registry unless another hive is given) and waits until the window is on screen.
    void Start(EPlatformFamily family = EPlatformFamily::WindowsNT, CHive* hive = nullptr);
    // Closes the window as its close button does and destroys it.
    void CloseAndDestroy();

    CMainFrame& Frame() const { return *m_pFrame; }
    QAction* Action(int id) const;
    // The form page of a template (kBoardFormId, kPortFormId, kSystemFormId).
    CQtDialog* Form(int templateId) const;
    template <typename Widget> Widget* Control(int templateId, int controlId) const {
        return Form(templateId)->findChild<Widget*>(QString::number(controlId));
    }
    // The tree item reached by texts from the top ("QSERDRV/Board000/Port001").
    QTreeWidgetItem* Item(const std::string& path) const;
    // A person's click on the item (its parents are expanded first so that it can be seen).
    void ClickItem(const std::string& path);
    // A person's click on the command's toolbar button.
    void ClickButton(int id);
    // A person's choice of an entry from the open list.
    static void Choose(QComboBox& combo, const QString& text);
    // The text value of a key under HKEY_LOCAL_MACHINE, without its terminating zero; "<none>"
    // when there is no such value.
    std::string RegistryText(const std::string& keyPath, const std::string& valueName);
    bool KeyExists(const std::string& keyPath);
    bool SerialServiceRunning();
    // Runs open and, while the report dialog it shows waits on the person, answer, which must
    // close it. false when open showed no report dialog.
    static bool WithReportDialog(const std::function<void()>& open,
                                 const std::function<void(CReportDialog&)>& answer);
    // A file in the fixture's folder with the given bytes; its path.
    QString WriteFile(const std::string& name, const std::string& bytes) const;

    CTempHive m_hive;
    CFakeKeyboardLockState m_locks;
    CHiveServiceManager m_services;
    CRecordingServiceManager m_recordedServices;
    // The service control manager Start gives the window.
    IServiceControlManager* m_pServiceManager = &m_recordedServices;
    std::unique_ptr<CMainFrame> m_pFrame;
};
