// Builds a registry file from arbitrary bytes (keys with any names, values of any type and
// length, deep nesting, the operating-system keys, and with raw SQL parent cycles and dangling
// parents), then loads the configuration on both platform families and runs a pick of every
// setting of every board and port form, every command, the registration and New. Nothing may
// crash or raise a sanitizer report, and nothing outside the driver key and the instance keys
// its ports name may be written or deleted. QSER_FUZZ_STRICT_OWNERSHIP=1 also stops on writes
// to other instance keys under the instance folders.
#include "boardobj.h"
#include "boardtype.h"
#include "formpicker.h"
#include "harnesssession.h"
#include "keypaths.h"
#include "portobj.h"
#include "recordfields.h"
#include "stringtable.h"
#include "useraction.h"

#include <cstdio>
#include <cstdlib>
#include <fuzzer/FuzzedDataProvider.h>
#include <set>
#include <sqlite3.h>
#include <string>
#include <strings.h>
#include <unistd.h>
#include <vector>

namespace {
constexpr int kMaxOps = 96;
constexpr int kMaxDepth = 160;

std::string g_path;

void RemoveHiveFiles() {
    for (const char* suffix : {"", "-wal", "-shm", "-journal"}) {
        std::remove((g_path + suffix).c_str());
    }
}

const std::string& HivePath() {
    if (g_path.empty()) {
        g_path = "/dev/shm/qser-fuzz-" + std::to_string(getpid()) + ".db";
        std::atexit(RemoveHiveFiles);
    }
    return g_path;
}

// Texts the readers expect, so that the fuzzer gets past the first checks.
const std::vector<std::string>& Plausible() {
    static const std::vector<std::string> texts = [] {
        std::vector<std::string> list = BoardTypeNames();
        for (const char* text :
             {"0x200", "0x2A0", "0x3F8", "NONE", "COM3", "COM256", "5", "15", "Serial002",
              "Serial998", "0000", "0", "1", "-1", "4294967296", "Yes", "Both", ""}) {
            list.emplace_back(text);
        }
        return list;
    }();
    return texts;
}

const std::vector<std::string>& ValueNames() {
    static const std::vector<std::string> names = [] {
        std::vector<std::string> list;
        for (const SBoardField& field : BoardFields()) {
            list.push_back(LoadString(field.valueNameId));
        }
        for (const SPortField& field : PortFields()) {
            list.push_back(LoadString(field.valueNameId));
        }
        for (const char* name : {"SystemNumBoards", "SystemNumPorts", "SystemDriverName",
                                 "PortName", "DosDevices", "Start", ""}) {
            list.emplace_back(name);
        }
        return list;
    }();
    return names;
}

// The raw connection that builds what no registry program would write.
class CRawTree {
public:
    CRawTree(const std::string& path, FuzzedDataProvider& data) : m_data(data) {
        sqlite3_open_v2(path.c_str(), &m_pDb, SQLITE_OPEN_READWRITE, nullptr);
        Exec("BEGIN");
        sqlite3_stmt* statement = Prepare("SELECT id FROM keys");
        while (sqlite3_step(statement) == SQLITE_ROW) {
            m_ids.push_back(sqlite3_column_int64(statement, 0));
        }
        sqlite3_finalize(statement);
    }
    ~CRawTree() {
        Exec("COMMIT");
        sqlite3_close_v2(m_pDb);
    }
    CRawTree(const CRawTree&) = delete;
    CRawTree& operator=(const CRawTree&) = delete;

    sqlite3_int64 Find(const std::string& path) {
        sqlite3_int64 id = 0;
        std::size_t start = 0;
        while (start <= path.size()) {
            std::size_t end = path.find('\\', start);
            end = end == std::string::npos ? path.size() : end;
            sqlite3_stmt* statement = Prepare("SELECT id FROM keys WHERE parent = ? AND name = ?");
            sqlite3_bind_int64(statement, 1, id);
            std::string name = path.substr(start, end - start);
            sqlite3_bind_text(statement, 2, name.c_str(), -1, SQLITE_TRANSIENT);
            id = sqlite3_step(statement) == SQLITE_ROW ? sqlite3_column_int64(statement, 0) : -1;
            sqlite3_finalize(statement);
            start = end + 1;
        }
        return id;
    }

    sqlite3_int64 AnyKey() {
        if (m_ids.empty() || m_data.ConsumeIntegralInRange(0, 15) == 0) {
            return m_data.ConsumeIntegralInRange<sqlite3_int64>(-2, 400);
        }
        return m_ids[m_data.ConsumeIntegralInRange<std::size_t>(0, m_ids.size() - 1)];
    }

    sqlite3_int64 Key(sqlite3_int64 parent, const std::string& name) {
        sqlite3_stmt* statement = Prepare("INSERT OR IGNORE INTO keys(parent, name) VALUES(?, ?)");
        sqlite3_bind_int64(statement, 1, parent);
        sqlite3_bind_text(statement, 2, name.data(), static_cast<int>(name.size()),
                          SQLITE_TRANSIENT);
        bool added = sqlite3_step(statement) == SQLITE_DONE && sqlite3_changes(m_pDb) > 0;
        sqlite3_finalize(statement);
        if (!added) {
            return parent;
        }
        m_ids.push_back(sqlite3_last_insert_rowid(m_pDb));
        return m_ids.back();
    }

    void Value(sqlite3_int64 key, const std::string& name) {
        static constexpr std::uint32_t kTypes[] = {1, 2, 3, 4, 7, 11, 0};
        std::uint32_t type = m_data.ConsumeBool()
                                 ? kTypes[m_data.ConsumeIntegralInRange<std::size_t>(0, 6)]
                                 : m_data.ConsumeIntegral<std::uint32_t>();
        std::string bytes;
        if (m_data.ConsumeBool()) {
            bytes =
                Plausible()[m_data.ConsumeIntegralInRange<std::size_t>(0, Plausible().size() - 1)];
            bytes.push_back('\0');
        } else {
            bytes = m_data.ConsumeRandomLengthString(m_data.ConsumeBool() ? 16 : 4096);
        }
        sqlite3_stmt* statement = Prepare(
            "INSERT OR REPLACE INTO vals(key, name, type, data, seq) VALUES(?, ?, ?, ?, ?)");
        sqlite3_bind_int64(statement, 1, key);
        sqlite3_bind_text(statement, 2, name.data(), static_cast<int>(name.size()),
                          SQLITE_TRANSIENT);
        sqlite3_bind_int64(statement, 3, type);
        sqlite3_bind_blob(statement, 4, bytes.data(), static_cast<int>(bytes.size()),
                          SQLITE_TRANSIENT);
        sqlite3_bind_int64(statement, 5, ++m_seq);
        sqlite3_step(statement);
        sqlite3_finalize(statement);
    }

    void KnownValues(sqlite3_int64 key) {
        int count = m_data.ConsumeIntegralInRange(0, 12);
        for (int i = 0; i < count; ++i) {
            Value(key, ValueNames()[m_data.ConsumeIntegralInRange<std::size_t>(
                           0, ValueNames().size() - 1)]);
        }
    }

    void Reparent(sqlite3_int64 key, sqlite3_int64 parent) {
        sqlite3_stmt* statement = Prepare("UPDATE OR IGNORE keys SET parent = ? WHERE id = ?");
        sqlite3_bind_int64(statement, 1, parent);
        sqlite3_bind_int64(statement, 2, key);
        sqlite3_step(statement);
        sqlite3_finalize(statement);
    }

    void Drop(sqlite3_int64 key) {
        sqlite3_stmt* statement = Prepare("DELETE FROM keys WHERE id = ?");
        sqlite3_bind_int64(statement, 1, key);
        sqlite3_step(statement);
        sqlite3_finalize(statement);
    }

private:
    void Exec(const char* sql) { sqlite3_exec(m_pDb, sql, nullptr, nullptr, nullptr); }
    sqlite3_stmt* Prepare(const char* sql) {
        sqlite3_stmt* statement = nullptr;
        sqlite3_prepare_v2(m_pDb, sql, -1, &statement, nullptr);
        return statement;
    }

    FuzzedDataProvider& m_data;
    sqlite3* m_pDb = nullptr;
    std::vector<sqlite3_int64> m_ids;
    sqlite3_int64 m_seq = 1000;
};

std::string Numbered(const char* prefix, int number, int digits) {
    char text[32];
    std::snprintf(text, sizeof text, "%s%0*d", prefix, digits, number);
    return text;
}

void BuildTree(FuzzedDataProvider& data) {
    CRawTree tree(HivePath(), data);
    const sqlite3_int64 driver = tree.Find(DriverKeyPath());
    const sqlite3_int64 folders[] = {tree.Find(SerialParametersKeyPath()),
                                     tree.Find(ClassPortsKeyPath()),
                                     tree.Find(EnumRootPortsKeyPath())};
    std::vector<sqlite3_int64> boards;
    for (int op = 0; op < kMaxOps && data.remaining_bytes() > 0; ++op) {
        switch (data.ConsumeIntegralInRange(0, 8)) {
        case 0:
            tree.Key(tree.AnyKey(), data.ConsumeRandomLengthString(24));
            break;
        case 1: {
            std::string name = data.ConsumeBool()
                                   ? Numbered("Board", data.ConsumeIntegralInRange(0, 12), 3)
                                   : data.ConsumeRandomLengthString(12);
            boards.push_back(tree.Key(driver, name));
            tree.KnownValues(boards.back());
            break;
        }
        case 2: {
            sqlite3_int64 board = boards.empty() ? tree.AnyKey() : boards.back();
            tree.KnownValues(
                tree.Key(board, Numbered("Port", data.ConsumeIntegralInRange(0, 17), 3)));
            break;
        }
        case 3:
            tree.Value(tree.AnyKey(),
                       data.ConsumeBool() ? data.ConsumeRandomLengthString(20) : ValueNames()[0]);
            break;
        case 4:
            tree.Reparent(tree.AnyKey(), tree.AnyKey());
            break;
        case 5:
            tree.Drop(tree.AnyKey());
            break;
        case 6: {
            sqlite3_int64 key = tree.AnyKey();
            int depth = data.ConsumeIntegralInRange(1, kMaxDepth);
            for (int level = 0; level < depth; ++level) {
                key = tree.Key(key, "N" + std::to_string(level));
            }
            break;
        }
        case 7: {
            int folder = data.ConsumeIntegralInRange(0, 2);
            std::string name = folder == 0
                                   ? Numbered("Serial", data.ConsumeIntegralInRange(0, 999), 3)
                                   : Numbered("", data.ConsumeIntegralInRange(0, 999), 4);
            tree.KnownValues(tree.Key(folders[folder], name));
            break;
        }
        default:
            tree.KnownValues(driver);
            break;
        }
    }
}

bool Under(const std::string& path, const std::string& top) {
    return strncasecmp(path.c_str(), top.c_str(), top.size()) == 0 &&
           (path.size() == top.size() || path[top.size()] == '\\');
}

class CWriteCheck {
public:
    void Allow(CQSERDoc& doc) {
        for (const CBoardObj* board : doc.m_boardList) {
            for (const CPortObj* port : board->m_PortList) {
                m_instances.insert(port->GetPortSerialPort());
            }
        }
    }
    void Record(const SHiveWrite& write) { m_writes.push_back(write.keyPath); }

    void Verify() const {
        static const bool strict = std::getenv("QSER_FUZZ_STRICT_OWNERSHIP") != nullptr;
        for (const std::string& path : m_writes) {
            // The Windows NT registration writes the serial service's own values too.
            bool serviceValues = strcasecmp(path.c_str(), SerialServiceKeyPath().c_str()) == 0;
            if (Under(path, DriverKeyPath()) || Named(path) || serviceValues) {
                continue;
            }
            bool instanceFolder = Under(path, SerialParametersKeyPath()) ||
                                  Under(path, ClassPortsKeyPath()) ||
                                  Under(path, EnumRootPortsKeyPath());
            if (instanceFolder && !strict) {
                continue;
            }
            std::fprintf(stderr, "write or delete outside what the configuration owns: %s\n",
                         path.c_str());
            std::abort();
        }
    }

private:
    bool Named(const std::string& path) const {
        for (const std::string& instance : m_instances) {
            if (Under(path, SerialInstanceKeyPath(instance)) ||
                Under(path, ClassInstanceKeyPath(instance)) ||
                Under(path, DeviceInstanceKeyPath(instance))) {
                return true;
            }
        }
        return false;
    }

    std::set<std::string> m_instances;
    std::vector<std::string> m_writes;
};

std::vector<std::string> Items(CQSERDoc& doc) {
    std::vector<std::string> items;
    for (const CBoardObj* board : doc.m_boardList) {
        items.push_back(board->GetBoardName());
        for (const CPortObj* port : board->m_PortList) {
            items.push_back(board->GetBoardName() + "/" + port->GetPortName());
        }
    }
    return items;
}

// One setting's pick on each item the tree shows, the entry chosen by the input.
void PickEverything(CHarnessSession& session, FuzzedDataProvider& data) {
    for (const std::string& item : Items(session.Doc())) {
        if (!session.Session().Select(item)) {
            continue;
        }
        CFormPicker picker(session.Session());
        for (const std::string& setting : picker.SettingNames()) {
            std::vector<std::string> offered = picker.Offered(setting);
            if (!offered.empty()) {
                std::size_t entry = data.ConsumeIntegralInRange<std::size_t>(0, offered.size() - 1);
                picker.PickAll({setting + "=" + offered[entry]});
            }
        }
    }
}

void SelectAny(CHarnessSession& session, bool port) {
    for (const std::string& item : Items(session.Doc())) {
        if ((item.find('/') != std::string::npos) == port) {
            session.Session().Select(item);
            return;
        }
    }
}

void RunEverything(CHarnessSession& session, FuzzedDataProvider& data, CWriteCheck& check) {
    CQSERDoc& doc = session.Doc();
    check.Allow(doc);
    PickEverything(session, data);
    check.Allow(doc);
    session.Run(&CQSERDoc::OnAddBoard);
    check.Allow(doc);
    SelectAny(session, false);
    session.Run(&CQSERDoc::OnAddPort);
    check.Allow(doc);
    session.Run(&CQSERDoc::OnFileSave);
    CUserAction::Run([&doc] { doc.SaveConfiguration(); });
    session.Close();
    SelectAny(session, true);
    session.Run(&CQSERDoc::OnDelete);
    check.Allow(doc);
    SelectAny(session, false);
    session.Run(&CQSERDoc::OnDelete);
    check.Allow(doc);
    session.Run(&CQSERDoc::OnFileNew);
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* bytes, std::size_t size) {
    FuzzedDataProvider data(bytes, size);
    RemoveHiveFiles();
    {
        // The skeleton through the hive itself: the schema, the driver key, the folders of
        // the instance keys and a bystander.
        CHarnessSession session(HivePath(), EPlatformFamily::WindowsNT);
        for (const std::string& path :
             {DriverKeyPath(), SerialParametersKeyPath(), ClassPortsKeyPath(),
              EnumRootPortsKeyPath(), std::string("SOFTWARE\\Bystander")}) {
            HiveKeyId id = 0;
            session.Hive().CreateKey(path, id);
        }
    }
    BuildTree(data);
    for (EPlatformFamily family : {EPlatformFamily::WindowsNT, EPlatformFamily::Windows9x}) {
        CWriteCheck check;
        try {
            CHarnessSession session(HivePath(), family);
            session.Hive().SetWriteObserver(
                [&check](const SHiveWrite& write) { check.Record(write); });
            session.Messages().SetDefaultAnswer(data.ConsumeBool() ? EMsgResult::Yes
                                                                   : EMsgResult::No);
            if (session.Start()) {
                RunEverything(session, data, check);
            }
        } catch (const CHiveError&) {
            // A file the hive refuses is left alone: nothing to run on.
        }
        check.Verify();
    }
    return 0;
}
