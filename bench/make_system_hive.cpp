// Writes the SYSTEM hive file of a small Windows installation (the one the tests use) for the
// measurements that compare the two stores: make_system_hive PATH
#include "testhivefile.h"

#include <cstdio>
#include <exception>

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: make_system_hive PATH\n");
        return 2;
    }
    try {
        CTestHiveFile::WriteSystem(argv[1]);
    } catch (const std::exception& error) {
        std::fprintf(stderr, "make_system_hive: %s\n", error.what());
        return 1;
    }
    return 0;
}
