// Settings files come from publishers and users' hands: any bytes must read
// without a crash, and a write must keep every other section readable.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <strings.h>

#include "util/TIniFile.h"
#include "util/TSessionFolder.h"

namespace {

// The scratch file lives in a private folder of this run, removed when the
// run ends (and by the next run when this one is killed).
std::string scratchFile()
{
    static TSessionFolder folder;
    static const std::string name = folder.Path().empty() ? std::string() : folder.Path() + "fuzz.ini";
    return name;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    std::string name = scratchFile();
    if (name.empty())
        std::abort(); // no private folder: nothing to fuzz with
    if (FILE* f = std::fopen(name.c_str(), "wb")) {
        std::fwrite(data, 1, size, f);
        std::fclose(f);
    }
    TIniFile ini(name);
    auto sections = ini.ReadSections();
    for (const auto& section : sections) {
        for (const auto& key : ini.ReadSection(section)) {
            ini.ReadInteger(section, key, 0);
            ini.ReadColor(section, key, 0);
        }
    }
    // Writing one key must not disturb another section's values.
    bool probe = !sections.empty() && ::strcasecmp(sections.front().c_str(), "Windows") != 0;
    std::string before = probe ? ini.ReadString(sections.front(), "Top", "?") : std::string();
    ini.WriteString("Windows", "Top", "42");
    if (ini.ReadInteger("Windows", "Top", 0) != 42)
        std::abort();
    if (probe && ini.ReadString(sections.front(), "Top", "?") != before)
        std::abort();
    return 0;
}
