#pragma once

#include "configrecord.h"
#include "configurationbuilder.h"
#include "recordtypes.h"

#include <string>
#include <vector>

class CBoardObj;
class CPortObj;
class ICmdUI;
class IDocumentView;

// The one configuration being edited: the board records (which own nothing but their port
// lists; the document deletes every record), the selection shared by the tree, the view and the
// commands, the counters and system name, the changed flag and the editing commands.
//
// Every change is written to the driver key at once. The tree is reached through the
// application's tree node manager; without one the document works the same, unseen.
// Why the configuration is loaded again while the document is open.
enum class EReloadCause {
    AnotherProgram,  // another program changed the registry: the views say so
    UnwrittenAction, // an action's batch could not be written: its own failure was shown
};

class CQSERDoc : public IConfigurationBuilder {
public:
    CQSERDoc();
    ~CQSERDoc() override;
    CQSERDoc(const CQSERDoc&) = delete;
    CQSERDoc& operator=(const CQSERDoc&) = delete;

    // Loads the driver key; false when the load reported a failure. What it read is what the
    // document last saw of the hive (CHive::ChangedSinceLastLook starts again from here).
    bool OnNewDocument();
    bool IsLoaded() const { return m_bLoaded; }
    // Whether the load found a registry that cannot be written (CHive::IsReadOnly): then every
    // editing command is disabled and does nothing.
    bool IsReadOnly() const { return m_bReadOnly; }
    // Loads the configuration again as at start-up, for when the records no longer match the
    // hive: they, the counters and the tree are rebuilt from the driver key, the changed flag
    // is kept, and the selection stays on its item where that still exists, else on its board,
    // else on the driver. Touches nothing in the registry beyond the load. Returns the name
    // ("Board000" or "Board000\Port001") of the selected item when it no longer exists, else
    // empty. The views are updated, and told of another program's change.
    std::string ReloadConfiguration(EReloadCause cause);

    void AddView(IDocumentView* view);
    void RemoveView(IDocumentView* view);
    void UpdateAllViews();

    // Counters and system name.
    void SetSystemName(const std::string& name) override;
    std::string GetSystemName() const { return m_systemName; }
    void SetNumBoards(const std::string& number) override;
    void SetNumBoards(int number);
    std::string GetNumBoards() const { return m_numBoards; }
    std::string IncNumBoards();
    std::string DecNumBoards();
    void SetNumPorts(const std::string& number) override;
    void SetNumPorts(int number);
    std::string GetNumPorts() const { return m_numPorts; }
    std::string AddNumPorts(int count);
    std::string SubNumPorts(int count);

    // Records.
    int NewBoard();
    int NewPort(int generate);
    int RemoveBoard(ItemKey itemKey = 0);
    int RemovePort(ItemKey itemKey = 0);
    CBoardObj* FindBoard(ItemKey itemKey) const;
    CPortObj* FindPort(ItemKey itemKey) const;

    // Commands and their states.
    void OnAddBoard();
    void OnAddPort();
    void OnDelete();
    void OnFileNew();
    void OnFileSave();
    void OnHelpTopics();
    void UpdateCommandStates();
    void OnUpdateAddBoard(ICmdUI& cmdUI) const;
    void OnUpdateAddPort(ICmdUI& cmdUI) const;
    void OnUpdateDelete(ICmdUI& cmdUI) const;
    // New, Save and Open (an import), which change the registry file.
    void OnUpdateWritingCommand(ICmdUI& cmdUI) const;
    int SaveConfiguration();

    // Tree filling.
    int PopulateTree();
    void RefillTree();
    void RefillBoardPorts(CBoardObj* board);

    // The driver key, the operating-system registration and the serial service.
    int LoadConfiguration();
    int SaveSystemValues();
    int ReadBoardKey(const std::string& boardKeyName, CBoardObj& board);
    int WriteBoardKey(const CBoardObj& board);
    int ReadPortKey(const std::string& boardKeyName, const std::string& portKeyName,
                    CPortObj& port);
    int WritePortKey(const std::string& boardKeyName, const CPortObj& port);
    int RegisterNTSerialPorts();
    int Register95Ports();
    // On Linux: serial.conf, udev rules and the GRUB drop-in under the installed root.
    int RegisterLinuxPorts();
    int WriteNTSerialPort(const CBoardObj& board, const CPortObj& port);
    int Write95Port(const CBoardObj& board, const CPortObj& port);
    int SetForcedConfigRange(const std::string& address, CConfigRecordBytes& record);
    int SetForcedConfigIRQ(const std::string& irq, CConfigRecordBytes& record);
    int StopSerialService();
    int StartSerialService();

    static constexpr const char* kInitialSystemName =
        "Brimholde QSER Serials 32 bits Driver Ver. 1.10";

    // What m_selectionKind says is selected in the tree.
    static constexpr int kSelectionDriver = 0;
    static constexpr int kSelectionBoard = 1;
    static constexpr int kSelectionPort = 2;
    // Where m_treeInsertMode puts a new item among its siblings.
    static constexpr int kInsertFirst = 0;
    static constexpr int kInsertLast = 1;
    static constexpr int kInsertSorted = 2;

    int m_selectionKind = kSelectionDriver;
    CBoardObj* m_pCurBoard = nullptr;
    CPortObj* m_pCurPort = nullptr;
    int m_bConfigChanged = 0;
    int m_bTreeSynced = 0;
    int m_bCanAddBoard = 0;
    int m_bCanAddPort = 0;
    int m_bCanDelete = 0;
    int m_treeInsertMode = kInsertFirst;
    std::vector<CBoardObj*> m_boardList;
    std::string m_systemName;
    std::string m_numBoards;
    std::string m_numPorts;

private:
    CBoardObj* AppendBoard(const std::string& boardName) override;
    CPortObj* AppendPort() override;
    CBoardObj* Adopt(CBoardObj* board);
    CPortObj* Adopt(CPortObj* port);
    // Each returns the number of ports it added.
    int AddIndividualPort();
    int AddBlockPorts();
    void AddPortItem();
    void DeleteBoardCommand();
    void DeletePortCommand();
    void RemoveAllPortsOfCurrentBoard();
    void SelectAfterPortDelete();
    void RevealAndSelect(HTREEITEM item) const;
    void SelectRoot() const;
    void ShowRootWithoutRecords();
    void FillTree();
    int CurrentBoardPortCount() const;
    int CurrentBoardPortsPerBoard() const;
    void DestroyBoard(CBoardObj* board);
    void DestroyRecords();
    // Selects the named item again after a reload; returns the name when it is gone.
    std::string Reselect(int kind, const std::string& boardName, const std::string& portName);

    bool m_bLoaded = false;
    bool m_bReadOnly = false;

    std::vector<IDocumentView*> m_views;
};
