// reschk: writes the free-resource percentages into res.tmp in the working
// directory. "--root DIR" reads the kernel's files below DIR instead of /.
#include <exception>
#include <filesystem>
#include <iostream>
#include <string>

#include "resource_meter.h"

int main(int argc, char** argv) {
    std::filesystem::path root = "/";
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--root" && i + 1 < argc) {
            root = argv[++i];
        } else {
            std::cerr << "usage: reschk [--root DIR]\n";
            return 2;
        }
    }
    try {
        const int status = reschk::Run(root, std::filesystem::current_path());
        if (status != 0) std::cerr << "reschk: no resource figure could be read\n";
        return status;
    } catch (const std::exception& e) {
        std::cerr << "reschk: " << e.what() << "\n";
        return 1;
    }
}
