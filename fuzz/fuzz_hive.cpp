// Builds a registry file from arbitrary bytes (keys with any names, values of any type and
// length, deep nesting, the operating-system keys, and with raw SQL parent cycles and dangling
// parents), then loads the configuration on both platform families and runs a pick of every
// setting of every board and port form, every command, the registration and New. Nothing may
// crash or raise a sanitizer report, and nothing outside the driver key and the instance keys
// its ports name may be written or deleted (CWriteCheck).
#include "fuzzactions.h"
#include "harnesssession.h"
#include "keypaths.h"
#include "rawtree.h"
#include "stringtable.h"
#include "writecheck.h"

#include <cstdio>
#include <cstdlib>
#include <fuzzer/FuzzedDataProvider.h>
#include <string>
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
            tree.Value(tree.AnyKey(), data.ConsumeRandomLengthString(20));
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
                CFuzzActions::RunEverything(session, data, check);
            }
        } catch (const CHiveError&) {
            // A file the hive refuses is left alone: nothing to run on.
        }
        check.Verify();
    }
    return 0;
}
