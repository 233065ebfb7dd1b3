#include "qserctl.h"

#include <iostream>
#include <unistd.h>

int main(int argc, char** argv) {
    CQserCtl tool(std::cin, std::cout, std::cerr, isatty(STDIN_FILENO) != 0);
    return tool.Run(argc, argv);
}
