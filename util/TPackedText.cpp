#include "util/TPackedText.h"

#include <zlib.h>

#include <algorithm>
#include <new>

namespace {
// Documents are packed once per load, so speed counts more than the last
// few percent of size.
constexpr int PackLevel = Z_BEST_SPEED;
constexpr size_t PieceSize = 64 * 1024;
// zlib counts in 32 bits: larger texts are fed in parts.
constexpr size_t MaxFeed = size_t(1) << 30;

Bytef* BytesOf(const char* data) { return reinterpret_cast<Bytef*>(const_cast<char*>(data)); }
} // namespace

void TPackedText::Pack(std::string_view bytes)
{
    Clear();
    FSize = bytes.size();
    if (bytes.empty())
        return;
    z_stream stream{};
    bool packed = deflateInit(&stream, PackLevel) == Z_OK;
    size_t kept = 0, left = bytes.size();
    stream.next_in = BytesOf(bytes.data());
    for (int status = Z_OK; packed && status != Z_STREAM_END;) {
        if (stream.avail_in == 0 && left > 0) {
            stream.avail_in = uInt(std::min(left, MaxFeed));
            left -= stream.avail_in;
        }
        std::string& piece = FPieces.emplace_back(PieceSize, '\0');
        stream.next_out = BytesOf(piece.data());
        stream.avail_out = uInt(PieceSize);
        status = deflate(&stream, left == 0 ? Z_FINISH : Z_NO_FLUSH);
        piece.resize(PieceSize - stream.avail_out);
        kept += piece.size();
        // Z_BUF_ERROR only says no progress was possible with this room.
        packed = (status == Z_OK || status == Z_STREAM_END || status == Z_BUF_ERROR) && kept < bytes.size();
    }
    deflateEnd(&stream);
    if (packed) {
        FPieces.back().shrink_to_fit();
        FDeflated = true;
        return;
    }
    // Out of memory inside zlib, or bytes that do not shrink: keeping them
    // as they are loses nothing.
    FPieces.clear();
    FPieces.emplace_back(bytes);
}

std::string TPackedText::Unpack() const
{
    if (!FDeflated)
        return FPieces.empty() ? std::string() : FPieces.front();
    std::string bytes(FSize, '\0');
    z_stream stream{};
    if (inflateInit(&stream) != Z_OK)
        throw std::bad_alloc();
    stream.next_out = BytesOf(bytes.data());
    size_t room = bytes.size();
    int status = Z_OK;
    for (size_t i = 0; i < FPieces.size() && status == Z_OK; ++i) {
        stream.next_in = BytesOf(FPieces[i].data());
        stream.avail_in = uInt(FPieces[i].size());
        while (status == Z_OK && stream.avail_in > 0) {
            if (stream.avail_out == 0) {
                stream.avail_out = uInt(std::min(room, MaxFeed));
                room -= stream.avail_out;
            }
            status = inflate(&stream, Z_NO_FLUSH);
        }
    }
    size_t produced = size_t(stream.total_out);
    inflateEnd(&stream);
    // Only memory can fail here: the stream was made by Pack.
    if (status != Z_STREAM_END || produced != FSize)
        throw std::bad_alloc();
    return bytes;
}

size_t TPackedText::PackedSize() const
{
    size_t size = 0;
    for (const std::string& piece : FPieces)
        size += piece.size();
    return size;
}

void TPackedText::Clear()
{
    FPieces.clear();
    FPieces.shrink_to_fit();
    FSize = 0;
    FDeflated = false;
}
