// The viewer's own small parsers: ROWS/COLS lists and their layout over a
// length, refresh meta contents, and link names turned into paths.
//
// They are compiled in here directly: they use only the standard library and
// util/, so the fuzz program needs neither Qt nor the viewer library.
#include <cstddef>
#include <cstdint>
#include <string>

#include "html/viewer/FrameSpec.cpp"
#include "html/viewer/LinkNames.cpp"
#include "html/viewer/MetaRefresh.cpp"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    std::string text(reinterpret_cast<const char*>(data), size);
    std::vector<FrameSpec> specs = ParseFrameSpecs(text);
    if (specs.size() > MaxFrameSpecs)
        __builtin_trap();
    for (int length : {-5, 0, 1, 400, 100000}) {
        std::vector<int> sizes = LayoutFrameSpecs(specs, length);
        long long sum = 0;
        for (int s : sizes) {
            if (s < 0)
                __builtin_trap();
            sum += s;
        }
        // Never more than the length (rounding may add one pixel per entry).
        if (length > 0 && sum > length + (long long)sizes.size())
            __builtin_trap();
    }
    (void)ParseMetaRefresh(text);
    (void)LinkToPath(text);
    std::string normal = NormalizePath(text);
    if (NormalizePath(normal) != normal)
        __builtin_trap();
    return 0;
}
