#pragma once
// Forward declarations of the image decoders' types.
struct TBitmap;
struct TDecodeResult;
struct TDecodedImage;
struct TGifStrip;
struct TGifFrameInfo;
class TGif;
class EInvalidGraphicOperation;
