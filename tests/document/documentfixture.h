#pragma once

#include "configurationsession.h"
#include "headlessdialogfactory.h"
#include "headlesstree.h"
#include "hiveprobe.h"
#include "hiveservicemanager.h"
#include "idocumentview.h"
#include "platformfamily.h"
#include "qserdoc.h"
#include "recordingservicemanager.h"
#include "temphive.h"
#include "testkeypaths.h"
#include "testnames.h"

#include <gtest/gtest.h>
#include <memory>
#include <string>
#include <tuple>
#include <vector>

class CBoardObj;
class CPortObj;

// A view that does what the form view does on every update (it shows the form of the
// selection and has the document recompute the command states) and records each update.
class CRecordingView : public IDocumentView {
public:
    explicit CRecordingView(CQSERDoc& doc) : m_doc(doc) {}
    void OnUpdate() override;

    int Updates() const { return static_cast<int>(m_kinds.size()); }
    // The selection kind the view was asked to show, at each update.
    const std::vector<int>& Kinds() const { return m_kinds; }
    void Clear() { m_kinds.clear(); }

private:
    CQSERDoc& m_doc;
    std::vector<int> m_kinds;
};

// A whole configuration session over a fresh hive, on the headless tree and headless forms, with
// a recording view beside the session's own and the emulated service control manager (behind a
// recorder). Open() starts the session as start-up does, on the platform family it is given.
class CDocumentFixture {
public:
    CDocumentFixture();
    ~CDocumentFixture();
    CDocumentFixture(const CDocumentFixture&) = delete;
    CDocumentFixture& operator=(const CDocumentFixture&) = delete;

    // Builds a new session, loads the driver key and fills the tree; returns the load's result.
    // Opening again discards the previous session, tree and view first.
    bool Open(EPlatformFamily family = EPlatformFamily::WindowsNT);

    CQSERDoc& Doc() const { return m_pSession->Doc(); }
    CHeadlessTree& Tree() { return *m_pTree; }
    CRecordingView& View() { return *m_pView; }
    CHiveProbe& Probe() { return m_probe; }
    CHive& Hive() { return m_hive.Hive(); }
    CRecordingMessageBox& Messages() { return m_hive.Messages(); }
    CHiveServiceManager& ServiceManager() { return m_scm; }
    CRecordingServiceManager& ServiceCalls() { return m_scmCalls; }

    // The tree as text: every item with its children in brackets, "QSERDRV[Board000[Port000]]".
    std::string TreeText() const;
    // The selected item's path from the top ("QSERDRV/Board000"), "" when none.
    std::string SelectedPath() const;
    HTREEITEM Item(const std::string& path) const;
    void Click(const std::string& path);

    CBoardObj* Board(const std::string& name) const;
    CPortObj* Port(const std::string& board, const std::string& port) const;
    // The names of the document's boards in list order, and of one board's ports.
    std::vector<std::string> BoardNames() const;
    std::vector<std::string> PortNames(const std::string& board) const;

    // Adds a board and sets its model (and base values) in memory and in its key, as the board
    // form does; returns its name.
    std::string AddBoard(const std::string& model);

    void AnswerYes() { Messages().ScriptAnswer(EMsgResult::Yes); }
    void AnswerNo() { Messages().ScriptAnswer(EMsgResult::No); }

private:
    void Close();
    std::string ItemText(HTREEITEM item) const;
    std::string PathOf(HTREEITEM item) const;

    CTempHive m_hive;
    CHiveProbe m_probe{m_hive.Hive()};
    CHiveServiceManager m_scm{m_hive.Hive()};
    CRecordingServiceManager m_scmCalls{m_scm};
    std::unique_ptr<CHeadlessTree> m_pTree;
    std::unique_ptr<CHeadlessDialogFactory> m_pDialogs;
    std::unique_ptr<CConfigurationSession> m_pSession;
    std::unique_ptr<CRecordingView> m_pView;
};

// A test run once per platform family (Param is the family), or once per family and row of a
// table (Param is the family and the row), each case on a session of its own.
template <typename Param> class DocumentTestOf : public ::testing::TestWithParam<Param> {
protected:
    void SetUp() override { ASSERT_TRUE(m_session.Open(Family())); }
    EPlatformFamily Family() const { return FamilyOf(this->GetParam()); }
    bool IsNT() const { return Family() == EPlatformFamily::WindowsNT; }

    CDocumentFixture m_session;

private:
    static EPlatformFamily FamilyOf(EPlatformFamily family) { return family; }
    template <typename Row>
    static EPlatformFamily FamilyOf(const std::tuple<EPlatformFamily, Row>& param) {
        return std::get<0>(param);
    }
};

using DocumentTest = DocumentTestOf<EPlatformFamily>;

// Every row of the table on both families, each case named "<family>_<row name>".
#define QSER_ON_BOTH_FAMILIES_FOR_ROWS(suite, rows)                                                \
    INSTANTIATE_TEST_SUITE_P(Families, suite,                                                      \
                             ::testing::Combine(QSER_BOTH_FAMILIES, ::testing::ValuesIn(rows)),    \
                             SFamilyRowName())
