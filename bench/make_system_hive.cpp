// Writes the SYSTEM hive file of a small Windows installation (the one the tests use) for the
// measurements that compare the two stores: make_system_hive [--machine-ports] PATH
// --machine-ports: with the built-in COM1 and COM2 under Enum and a COM name database, as
// Windows 2000 and later keep them.
#include "testhivefile.h"

#include <cstdio>
#include <cstring>
#include <exception>

int main(int argc, char** argv) {
    const bool machinePorts = argc == 3 && std::strcmp(argv[1], "--machine-ports") == 0;
    if (argc != 2 && !machinePorts) {
        std::fprintf(stderr, "usage: make_system_hive [--machine-ports] PATH\n");
        return 2;
    }
    try {
        CTestHiveFile::SOptions options;
        options.bMachinePorts = machinePorts;
        CTestHiveFile::WriteSystem(argv[argc - 1], options);
    } catch (const std::exception& error) {
        std::fprintf(stderr, "make_system_hive: %s\n", error.what());
        return 1;
    }
    return 0;
}
