#include "util/TPackedText.h"

#include <zlib.h>

#include <algorithm>
#include <new>
#include <optional>

namespace {
// Documents are packed once per load, so speed counts more than the last
// few percent of size.
constexpr int PackLevel = Z_BEST_SPEED;
constexpr size_t Step = 64 * 1024;

// The bytes deflated, or nothing when they do not shrink (or zlib has no
// memory): keeping them as they are then loses nothing. The output grows in
// steps, so packing never holds a second buffer the size of the input.
std::optional<std::string> Deflate(std::string_view bytes)
{
    z_stream stream{};
    if (deflateInit(&stream, PackLevel) != Z_OK)
        return std::nullopt;
    std::string packed;
    stream.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(bytes.data()));
    int status = Z_OK;
    for (size_t left = bytes.size(); status == Z_OK && packed.size() < bytes.size();) {
        // zlib counts in 32 bits: feed very large texts in parts.
        if (stream.avail_in == 0 && left > 0) {
            stream.avail_in = uInt(std::min<size_t>(left, 1u << 30));
            left -= stream.avail_in;
        }
        size_t used = packed.size();
        packed.resize(used + Step);
        stream.next_out = reinterpret_cast<Bytef*>(packed.data() + used);
        stream.avail_out = uInt(Step);
        status = deflate(&stream, left == 0 ? Z_FINISH : Z_NO_FLUSH);
        packed.resize(used + Step - stream.avail_out);
        if (status == Z_BUF_ERROR) // no progress possible this round; more room follows
            status = Z_OK;
    }
    deflateEnd(&stream);
    if (status != Z_STREAM_END || packed.size() >= bytes.size())
        return std::nullopt;
    packed.shrink_to_fit();
    return packed;
}
}

void TPackedText::Pack(std::string_view bytes)
{
    Clear();
    FSize = bytes.size();
    if (bytes.empty())
        return;
    if (std::optional<std::string> packed = Deflate(bytes)) {
        FBytes = std::move(*packed);
        FDeflated = true;
    } else {
        FBytes.assign(bytes);
    }
}

std::string TPackedText::Unpack() const
{
    if (!FDeflated)
        return FBytes;
    std::string bytes(FSize, '\0');
    uLongf size = uLongf(FSize);
    int status = uncompress(reinterpret_cast<Bytef*>(bytes.data()), &size,
                            reinterpret_cast<const Bytef*>(FBytes.data()), uLong(FBytes.size()));
    // Only memory can fail here: the bytes were packed by this class.
    if (status != Z_OK || size != FSize)
        throw std::bad_alloc();
    return bytes;
}

void TPackedText::Clear()
{
    FBytes.clear();
    FBytes.shrink_to_fit();
    FSize = 0;
    FDeflated = false;
}
