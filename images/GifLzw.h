#pragma once
#include <cstdint>

#include "images/DecodeResult.h"

// Row order of a GIF image's pixels in its LZW data.
enum class TGifRowOrder : uint8_t { Sequential, Interlaced };

// Decodes one GIF image's LZW data (the concatenated sub-blocks) into
// width x height colour indices. The buffer must hold width x height bytes and
// be zero-filled: pixels the data does not reach stay 0, pixels past the end of
// the buffer are dropped. Raises EInvalidGraphicOperation for a code size above
// 12 and for codes the table cannot explain.
void DecodeGifLzw(TByteSpan data, int minimumCodeSize, uint8_t* pixels, int width, int height,
                  TGifRowOrder order);
