#pragma once
// Printing: the system's default printer.
#include <string>

namespace si32 {

class Printing {
public:
    virtual ~Printing() = default;
    // Empty text when the printing service names none.
    virtual std::string DefaultPrinter() = 0;
};

}  // namespace si32
