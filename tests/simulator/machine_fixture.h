#pragma once

#include "simulator/hc11_machine.h"
#include "simulator/register_map.h"

#include <gtest/gtest.h>

#include <initializer_list>
#include <map>
#include <memory>
#include <string>
#include <vector>

namespace corvid {

// Keeps what the machine tells its surroundings, with the cycle count at the time.
class RecordingObserver : public MachineObserver {
public:
    struct Write {
        uint16_t Address;
        uint8_t Value;
        uint64_t Cycle;
    };

    explicit RecordingObserver(const HC11Machine& machine) : Machine(machine) {}

    void SerialTransmitted(uint8_t value) override {
        Transmitted += static_cast<char>(value);
        TransmitCycles.push_back(Machine.Cycles());
    }
    void WatchedWrite(uint16_t address, uint8_t value) override {
        Writes.push_back({address, value, Machine.Cycles()});
    }
    int WatchedRead(uint16_t address, uint8_t) override {
        const auto supplied = Supply.find(address);
        ++Reads;
        return supplied == Supply.end() ? -1 : supplied->second;
    }

    std::string Transmitted;
    std::vector<uint64_t> TransmitCycles;
    std::vector<Write> Writes;
    std::map<uint16_t, int> Supply; // bytes to hand the program on watched reads
    int Reads = 0;

private:
    const HC11Machine& Machine;
};

// A fresh evaluation-board machine, with helpers to place code and look at it.
class MachineFixture : public ::testing::Test {
protected:
    explicit MachineFixture(const MachineConfig& config = {})
        : Machine(std::make_unique<HC11Machine>(config)) {}

    // Puts bytes at an address (as a loader would) and returns the address after them.
    uint16_t Place(uint16_t address, std::initializer_list<uint8_t> bytes) {
        for (uint8_t value : bytes)
            Machine->Poke(address++, value);
        return address;
    }
    void PlaceWord(uint16_t address, uint16_t value) {
        Place(address, {static_cast<uint8_t>(value >> 8), static_cast<uint8_t>(value)});
    }
    // Places a program and starts the machine there, fresh from reset.
    void Start(uint16_t address, std::initializer_list<uint8_t> bytes) {
        Place(address, bytes);
        Machine->SetEntryAddress(address);
        Machine->Reset();
    }
    CpuRegisters& Cpu() { return Machine->Registers(); }
    uint8_t Register(uint8_t offset) { return Machine->Peek(0x1000 + offset); }
    void SetRegister(uint8_t offset, uint8_t value) { Machine->Poke(0x1000 + offset, value); }
    uint64_t StepCycles() { return Machine->Step().Cycles; }
    void StepTimes(int count) {
        for (int i = 0; i < count; ++i)
            Machine->Step();
    }
    // Runs until the program counter reaches an address (a stop address), within a budget.
    RunResult RunTo(uint16_t address, uint64_t maxCycles = 10'000'000) {
        Machine->SetStopAddress(address);
        const RunResult result = Machine->Run(maxCycles);
        Machine->SetStopAddress(std::nullopt);
        return result;
    }

    std::unique_ptr<HC11Machine> Machine;
};

} // namespace corvid
