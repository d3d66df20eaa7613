#pragma once

// Runs another program as a real process and measures it: the differential test drives GNU as
// with it, the benchmark times whole assembler processes.

#include <string>
#include <vector>

namespace corvid::testing {

struct TProcessResult {
    bool Started = false;
    int ExitCode = -1;     // -1 when a signal ended the process
    double Seconds = 0;    // wall time
    double CpuSeconds = 0; // user and system time of the process
    long PeakRssKiB = 0;
    std::string Output; // standard output and error together
};

// Runs arguments[0] (searched on PATH when it has no slash) with the other arguments, standard
// input from /dev/null, and waits for it.
TProcessResult RunProcess(const std::vector<std::string>& arguments);

// Whether a program of that name is an executable file in a directory of PATH.
bool IsOnPath(const std::string& program);

} // namespace corvid::testing
