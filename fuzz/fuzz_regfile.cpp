// Feeds arbitrary bytes to the .reg reader. Whatever it accepts must import, export, import
// into an empty root and export again to the very same bytes. One hive per process on /dev/shm;
// every input works inside one batch that is rolled back, so the root is empty at the start of
// each input and nothing is ever synced to disk.
#include "hive.h"
#include "hivebatch.h"
#include "regfileimporter.h"
#include "regfilereader.h"
#include "regfilewriter.h"

#include <cstdio>
#include <cstdlib>
#include <memory>
#include <span>
#include <string>
#include <unistd.h>

static std::string g_hivePath;

static void RemoveHiveFiles() {
    for (const char* suffix : {"", "-wal", "-shm", "-journal"}) {
        std::remove((g_hivePath + suffix).c_str());
    }
}

static CHive& FuzzHive() {
    static const std::unique_ptr<CHive> hive = [] {
        g_hivePath = "/dev/shm/qser-fuzz-" + std::to_string(getpid()) + ".db";
        RemoveHiveFiles();
        std::atexit(RemoveHiveFiles);
        return CHive::Open(g_hivePath);
    }();
    return *hive;
}

static std::span<const std::uint8_t> AsBytes(const std::string& text) {
    return {reinterpret_cast<const std::uint8_t*>(text.data()), text.size()};
}

static void EmptyRoot(CHive& hive) {
    HiveKeyId root = 0;
    std::vector<std::string> names;
    if (hive.FindKey("", root) != ERROR_SUCCESS || hive.SubKeyNames(root, names) != ERROR_SUCCESS) {
        std::abort();
    }
    for (const std::string& name : names) {
        if (hive.DeleteKey(name, true) != ERROR_SUCCESS) {
            std::abort();
        }
    }
}

static std::string ExportRoot(CHive& hive) {
    std::string text;
    if (CRegFileWriter(hive).Write("", text) != ERROR_SUCCESS) {
        std::abort();
    }
    return text;
}

// The export of what a file made must itself import, and export to the same bytes.
static void CheckRoundTrip(CHive& hive) {
    const std::string first = ExportRoot(hive);
    EmptyRoot(hive);
    CRegFileImporter importer(hive);
    if (!importer.Import("export.reg", AsBytes(first))) {
        std::fprintf(stderr, "the export does not import: %s\n", importer.Error().c_str());
        std::abort();
    }
    if (ExportRoot(hive) != first) {
        std::fprintf(stderr, "the second export differs from the first\n");
        std::abort();
    }
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    CRegFileReader reader("input.reg");
    if (!reader.Read({data, size})) {
        return 0;
    }
    CHive& hive = FuzzHive();
    CHiveBatch batch(&hive);
    if (CRegFileImporter(hive).Apply("input.reg", reader.Operations())) {
        CheckRoundTrip(hive);
    }
    batch.Rollback();
    return 0;
}
