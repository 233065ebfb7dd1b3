#include "boardobj.h"
#include "clienvironment.h"
#include "climessagebox.h"
#include "clisession.h"
#include "headlesssession.h"
#include "qserdoc.h"
#include "sqliteconnection.h"
#include "sqliteerror.h"
#include "sqlitestore.h"
#include "temphive.h"

#include <gtest/gtest.h>
#include <sqlite3.h>
#include <sstream>
#include <string>

// A qserctl run whose batch the store cannot take: what it printed must not claim a save.
TEST(CliFullDiskTest, RunThatCannotBeWrittenPrintsTheFailureAndNoSavedNotice) {
    CTempHive folder;
    const std::string file = folder.Folder() + "/full.db";
    std::istringstream in;
    std::ostringstream out;
    std::ostringstream err;
    CCliMessageBox messages(true, false, in, err);
    CCliEnvironment environment(EPlatformFamily::Windows9x, file, EHiveOpen::CreateIfMissing,
                                messages, out, err);
    CSqliteConnection& connection = *CSqliteStore::ConnectionOf(environment.Hive());
    connection.Exec("PRAGMA max_page_count=" + connection.QueryText("PRAGMA page_count"));

    const ECliExit status = CCliSession::Run(
        environment, EBatchEnd::Keep, ESessionEnd::Close, [](CHeadlessSession& session) {
            // Enough boards and ports that their keys cannot fit in the pages the file has.
            for (int i = 0; i < 4; ++i) {
                session.Doc().OnAddBoard();
                session.Doc().m_pCurBoard->SetBoardType("RX-408");
                session.Doc().OnAddPort();
            }
            return SCliResult::Output("added\n");
        });

    EXPECT_EQ(status, ECliExit::Failed);
    const std::string printed = err.str();
    EXPECT_NE(printed.find("Unable to write to registry"), std::string::npos) << printed;
    EXPECT_EQ(printed.find("Configuration's been saved to registry!"), std::string::npos)
        << printed;
    EXPECT_EQ(printed.find("Set configruation to Windows Registry!"), std::string::npos) << printed;
    EXPECT_EQ(out.str(), "");
}

// The command acts on what its load read: from the load's first read to the commit no other
// program can write, so the two cannot see different states.
TEST(CliOneStateTest, NoOtherWriterGetsInBetweenTheLoadAndTheCommand) {
    CTempHive folder;
    const std::string file = folder.Folder() + "/shared.db";
    std::istringstream in;
    std::ostringstream out;
    std::ostringstream err;
    CCliMessageBox messages(true, false, in, err);
    CCliEnvironment environment(EPlatformFamily::WindowsNT, file, EHiveOpen::CreateIfMissing,
                                messages, out, err);
    CSqliteConnection other(file, SQLITE_OPEN_READWRITE); // no busy timeout: refused at once

    bool refused = false;
    CCliSession::Run(environment, EBatchEnd::Keep, ESessionEnd::Leave,
                     [&](CHeadlessSession& session) {
                         try {
                             other.Exec("BEGIN IMMEDIATE");
                             other.Exec("ROLLBACK");
                         } catch (const CSqliteError&) {
                             refused = true;
                         }
                         session.Doc().OnAddBoard();
                         return SCliResult::Output("");
                     });

    EXPECT_TRUE(refused);
    EXPECT_NO_THROW(other.Exec("BEGIN IMMEDIATE; ROLLBACK")); // and free again afterwards
}
