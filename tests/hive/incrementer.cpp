// Helper process of the concurrency test: adds 1 to the DWORD Counter\Count, each time in its
// own batch, as many times as asked. Exits non-zero at the first failed operation.
#include "hive.h"
#include "hivebatch.h"
#include "registry.h"

#include <cstdio>
#include <cstdlib>
#include <string>

namespace {
Win32Status Increment(CHive& hive) {
    CHiveBatch batch(&hive);
    CRegistry registry(hive);
    Win32Status status = registry.OpenKey("Counter", "", KEY_ALL_ACCESS, 0);
    std::uint32_t count = 0;
    if (status == ERROR_SUCCESS) {
        status = registry.ReadValue("Count", count);
    }
    if (status == ERROR_SUCCESS || status == ERROR_FILE_NOT_FOUND) {
        status = registry.WriteValue("Count", count + 1);
    }
    if (status == ERROR_SUCCESS && batch.Commit() != ECommitStatus::Committed) {
        status = ERROR_REGISTRY_IO_FAILED;
    }
    return status;
}
} // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: %s FILE COUNT\n", argv[0]);
        return 2;
    }
    try {
        std::unique_ptr<CHive> hive = CHive::Open(argv[1]);
        for (int i = std::atoi(argv[2]); i > 0; --i) {
            if (Win32Status status = Increment(*hive); status != ERROR_SUCCESS) {
                std::fprintf(stderr, "increment failed with %u\n", status);
                return 1;
            }
        }
    } catch (const CHiveError& error) {
        std::fprintf(stderr, "%s\n", error.what());
        return 1;
    }
    return 0;
}
