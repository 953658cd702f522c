#pragma once
// The small services of the simulated machine: taskbar, multimedia devices,
// default printer and regional settings.
#include "platform/multimedia.h"
#include "platform/printing.h"
#include "platform/regional.h"
#include "platform/shell.h"
#include "platform/sim/call_names.h"
#include "platform/sim/machine_description.h"

namespace si32::sim {

class SimShell : public Shell {
public:
    SimShell(const MachineDescription& description, const FailingCalls& failing)
        : machine_(description), failing_(failing) {}
    uint32_t SHAppBarMessage(uint32_t message, AppBarData& data) override;

private:
    const MachineDescription& machine_;
    const FailingCalls& failing_;
};

class SimMultimedia : public Multimedia {
public:
    SimMultimedia(const MachineDescription& description, const FailingCalls& failing)
        : machine_(description), failing_(failing) {}
    uint32_t waveOutGetNumDevs() override;
    uint32_t midiOutGetNumDevs() override;
    uint32_t midiOutGetDevCapsA(uint32_t deviceId, MidiOutCapsA& caps, uint32_t size) override;

private:
    const MachineDescription& machine_;
    const FailingCalls& failing_;
};

class SimPrinting : public Printing {
public:
    SimPrinting(const MachineDescription& description, const FailingCalls& failing)
        : machine_(description), failing_(failing) {}
    std::string DefaultPrinter() override;

private:
    const MachineDescription& machine_;
    const FailingCalls& failing_;
};

class SimRegional : public Regional {
public:
    SimRegional(const MachineDescription& description, const FailingCalls& failing)
        : machine_(description), failing_(failing) {}
    int32_t GetLocaleInfoA(LCTYPE type, std::span<char> buffer) override;

private:
    const MachineDescription& machine_;
    const FailingCalls& failing_;
};

}  // namespace si32::sim
