#pragma once
// The benchmarks' view of their own memory: fields of /proc/self/status.
#include <cstdlib>
#include <fstream>
#include <string>

namespace benchdoc {

// A field such as "VmRSS:" or "VmHWM:" in kilobytes; -1 when it is missing.
inline long StatusKilobytes(const char* key)
{
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line))
        if (line.rfind(key, 0) == 0)
            return std::atol(line.c_str() + std::char_traits<char>::length(key));
    return -1;
}

inline long ResidentKilobytes() { return StatusKilobytes("VmRSS:"); }
inline long ResidentMegabytes() { return ResidentKilobytes() / 1024; }
inline long PeakKilobytes() { return StatusKilobytes("VmHWM:"); }

} // namespace benchdoc
