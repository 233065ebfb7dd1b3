#pragma once

#include <cstdint>
#include <string>

// The command line every harness takes:
//   --short          the CI run (fewer trials; each harness says which)
//   --folder DIR     where its files go (default: a folder of its own on /dev/shm)
//   --count N        how many trials, for the harnesses counted in trials (0: the default)
//   --seed N         the seed of its random choices
//   --strict         findings that another change is mending count as violations
struct SHarnessOptions {
    bool quick = false;
    bool strict = false;
    std::string folder;
    std::uint64_t count = 0;
    std::uint32_t seed = 1;

    static SHarnessOptions Parse(int argc, char** argv, const std::string& name);
};
