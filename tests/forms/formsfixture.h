#pragma once

#include "dialogtemplates.h"
#include "driverkeys.h"
#include "formtemplateids.h"
#include "headlesssession.h"
#include "hiveprobe.h"
#include "readonlyhive.h"
#include "temphive.h"
#include "testkeypaths.h"
#include "testnames.h"

#include <cstdint>
#include <gtest/gtest.h>
#include <memory>
#include <string>
#include <vector>

class CBoardObj;
class CPortObj;
class CHeadlessCheckBox;
class CHeadlessComboBox;

struct SPortKey {
    std::string comPort = "COM3";
    std::string irq = "7";
    std::string address = "0x200";
};

// A board key as a test lays it into the hive before the session starts, with its ports.
struct SBoardKey : SBoardValues {
    std::vector<SPortKey> ports;
};

// n ports with distinct values, none of which a form would derive.
std::vector<SPortKey> SomePorts(int count);

// A fresh hive with boards laid in, a headless session started over it, and every registry
// write the session makes recorded as "<key under the driver key>:<value>=<data>" (a DWORD as
// "#<number>"), so tests compare whole write sequences.
class CFormsFixture : public ::testing::Test {
protected:
    CFormsFixture();
    ~CFormsFixture() override;

    void PutBoard(const SBoardKey& board);
    // Loads the hive into a new session and selects nothing more than start-up does.
    void Start();
    // The same on the hive's file as a registry that cannot be written; false when no
    // read-only view of the file can be made here.
    bool StartReadOnly();
    const CReadOnlyHive& ReadOnly() const { return *m_pReadOnly; }
    void Select(const std::string& path);

    CHeadlessSession& Session() { return *m_pSession; }
    CQSERDoc& Doc() { return m_pSession->Doc(); }
    CBoardObj& Board(int index = 0);
    CPortObj& Port(int index, int board = 0);

    // Controls of the forms by their IDC_ ids.
    CHeadlessComboBox& Combo(int id);
    CHeadlessCheckBox& Check(int id);
    std::string EditText(int id);
    std::string Shown(int id);
    bool Enabled(int id);
    bool FormVisible(int templateId);

    // A person's pick of an entry and click of a check box.
    void Pick(int id, const std::string& text);
    void Click(int id);

    // The writes recorded since the last call.
    std::vector<std::string> TakeWrites();
    std::vector<std::string> MessageTexts();
    // What the hive holds.
    CHiveProbe& Probe() { return m_probe; }

    CTempHive m_hive;

private:
    CHiveProbe m_probe{m_hive.Hive()};
    // Outlives the session that reads it.
    std::unique_ptr<CReadOnlyHive> m_pReadOnly;
    std::unique_ptr<CHeadlessSession> m_pSession;
    std::vector<std::string> m_writes;
};
