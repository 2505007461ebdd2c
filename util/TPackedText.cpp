#include "util/TPackedText.h"

#include <zlib.h>

#include <new>

namespace {
// Documents are packed once per load, so speed counts more than the last
// few percent of size.
constexpr int PackLevel = Z_BEST_SPEED;
}

void TPackedText::Pack(std::string_view bytes)
{
    Clear();
    FSize = bytes.size();
    if (bytes.empty())
        return;
    uLongf packedSize = compressBound(uLong(bytes.size()));
    std::string packed(packedSize, '\0');
    int status = compress2(reinterpret_cast<Bytef*>(packed.data()), &packedSize,
                           reinterpret_cast<const Bytef*>(bytes.data()), uLong(bytes.size()), PackLevel);
    if (status == Z_OK && packedSize < bytes.size()) {
        packed.resize(packedSize);
        packed.shrink_to_fit();
        FBytes = std::move(packed);
        FDeflated = true;
    } else {
        // Out of memory inside zlib or bytes that do not shrink: keeping
        // them as they are loses nothing.
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
