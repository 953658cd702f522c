#pragma once
// The decorators the recording backend is made of, one service family a
// file: each answers from the service it wraps and writes every answer down
// in rec, which must outlive it.
#include <memory>
#include <optional>
#include <string>

#include "platform/capture/recording.h"
#include "platform/platform.h"

namespace si32::capture {

std::unique_ptr<Kernel> RecordKernel(Kernel& inner, Recording& rec);
std::unique_ptr<Registry> RecordRegistry(Registry& inner, Recording& rec);
// Once lookOnly is set, a program start is only looked up, never made.
std::unique_ptr<Files> RecordFiles(Files& inner, Recording& rec, const bool& lookOnly);
std::unique_ptr<Ui> RecordUi(Ui& inner, Recording& rec);
std::unique_ptr<Shell> RecordShell(Shell& inner, Recording& rec);
std::unique_ptr<Multimedia> RecordMultimedia(Multimedia& inner, Recording& rec);
std::unique_ptr<Printing> RecordPrinting(Printing& inner, Recording& rec);
std::unique_ptr<Regional> RecordRegional(Regional& inner, Recording& rec);

// What the description needs whole though the program may have asked only
// in part, or not at all: asked of the wrapped service itself.
const std::optional<std::string>& RecordWindowsDirectory(Kernel& inner, Recording& rec);
void RecordAllMidiNames(Multimedia& inner, Recording& rec);
void RecordRegionalTexts(Regional& inner, Recording& rec);

}  // namespace si32::capture
