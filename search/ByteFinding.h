#pragma once
// Finding one byte a short way on: between the tags of a page the next '<' or
// '>' is mostly a few bytes away, where a library call costs more than the
// search itself.
#include <cstddef>
#include <cstring>
#include <string_view>
#if defined(__SSE2__)
#include <emmintrin.h>
#endif

// The first place at or after from where the byte stands; npos if none.
inline size_t FindByteFrom(std::string_view bytes, size_t from, char byte)
{
#if defined(__SSE2__)
    // One look at the next 16 bytes when they all lie inside.
    if (from + 16 <= bytes.size()) {
        const __m128i block = _mm_loadu_si128(reinterpret_cast<const __m128i*>(bytes.data() + from));
        const unsigned mask = unsigned(_mm_movemask_epi8(_mm_cmpeq_epi8(block, _mm_set1_epi8(byte))));
        if (mask != 0)
            return from + unsigned(__builtin_ctz(mask));
        from += 16;
    }
#endif
    if (from >= bytes.size())
        return std::string_view::npos;
    const void* found = std::memchr(bytes.data() + from, byte, bytes.size() - from);
    return found ? size_t(static_cast<const char*>(found) - bytes.data()) : std::string_view::npos;
}
