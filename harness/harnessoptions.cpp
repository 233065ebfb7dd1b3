#include "harnessoptions.h"

#include <cstdio>
#include <cstdlib>
#include <unistd.h>

SHarnessOptions SHarnessOptions::Parse(int argc, char** argv, const std::string& name) {
    SHarnessOptions options;
    options.folder = "/dev/shm/qser-" + name + "-" + std::to_string(getpid());
    for (int i = 1; i < argc; ++i) {
        std::string argument = argv[i];
        bool hasValue = i + 1 < argc;
        if (argument == "--short") {
            options.quick = true;
        } else if (argument == "--strict") {
            options.strict = true;
        } else if (argument == "--folder" && hasValue) {
            options.folder = argv[++i];
        } else if (argument == "--count" && hasValue) {
            options.count = std::strtoull(argv[++i], nullptr, 10);
        } else if (argument == "--seed" && hasValue) {
            options.seed = static_cast<std::uint32_t>(std::strtoul(argv[++i], nullptr, 10));
        } else {
            std::fprintf(stderr,
                         "usage: %s [--short] [--strict] [--folder DIR] [--count N] [--seed N]\n",
                         argv[0]);
            std::exit(2);
        }
    }
    return options;
}
