#pragma once
// Sequential files for the reader tests and fuzz targets: one over a text,
// and one that never ends; both count how often they were read.
#include <cstddef>
#include <string>

#include "platform/files.h"

namespace si32::factstest {

class StringFile : public SequentialFile {
public:
    explicit StringFile(std::string text) : text_(std::move(text)) {}
    int Get() override {
        ++reads;
        return position_ < text_.size() ? static_cast<unsigned char>(text_[position_++]) : -1;
    }
    std::size_t reads = 0;

private:
    std::string text_;
    std::size_t position_ = 0;
};

class EndlessFile : public SequentialFile {
public:
    explicit EndlessFile(char byte) : byte_(byte) {}
    int Get() override {
        ++reads;
        return static_cast<unsigned char>(byte_);
    }
    std::size_t reads = 0;

private:
    char byte_;
};

}  // namespace si32::factstest
