#pragma once

#include "dialogtemplates.h"
#include "formtemplateids.h"
#include "headlesssession.h"
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

// A board key as a test lays it into the hive before the session starts.
struct SBoardKey {
    std::string name = "Board000";
    std::string type = "RX-401";
    std::string baseAddress = "0x200";
    std::uint32_t shareIRQEnabled = 0;
    std::string baseCOMPort = "COM3";
    std::string shareIRQ = "NONE";
    std::string vectorAddress = "NONE";
    std::uint32_t standardMode = 0;
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
    std::string StoredText(const std::string& keyPath, const std::string& name);
    std::uint32_t StoredDword(const std::string& keyPath, const std::string& name);

    CTempHive m_hive;

private:
    SHiveValue Stored(const std::string& keyPath, const std::string& name);

    std::unique_ptr<CHeadlessSession> m_pSession;
    std::vector<std::string> m_writes;
};
