#pragma once
// Where the host backend reads from. Every file it reads (/proc, /sys, /etc,
// /run and the prefix) is read relative to root, so tests can run the real
// host code over small fixture trees.
#include <string>

namespace si32 {

struct HostContext {
    std::string root = "/";       // "/" in production; a fixture tree in tests
    std::string prefix;           // the Windows side: drive_c/, dosdevices/, registry.reg
    bool prefixWritable = false;  // false for the default prefix installed with the program
    std::string executableDir;    // where the Si32 programs are
    std::string libexecDir;       // where their helper programs (reschk) are installed
};

}  // namespace si32
