#pragma once
// Bytes kept deflated while nobody reads them: a document's source is needed
// whole only to parse it again (rebuild, a new zoom) and to hand it out, so
// between those times it costs a fraction of its size. Unpacking gives the
// bytes back exactly.
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

class TPackedText {
public:
    TPackedText() = default;
    explicit TPackedText(std::string_view bytes) { Pack(bytes); }

    // Replaces what is kept. Bytes that do not shrink are kept as they are.
    void Pack(std::string_view bytes);
    std::string Unpack() const;
    void Clear();

    // Of the unpacked bytes.
    size_t size() const { return FSize; }
    bool empty() const { return FSize == 0; }
    // What is kept in memory.
    size_t PackedSize() const;

private:
    // The deflated stream in pieces of a fixed size, so that packing never
    // holds more than the packed size and one piece (a growing buffer would
    // hold up to twice that, and a copy to trim it), or the bytes as they
    // are in one piece.
    std::vector<std::string> FPieces;
    size_t FSize = 0;
    bool FDeflated = false;
};
