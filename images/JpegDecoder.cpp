#include "images/JpegDecoder.h"

#include <cstdio> // jpeglib.h needs FILE and size_t first
#include <jpeglib.h>

#include <csetjmp>
#include <vector>

namespace {

// A progressive file may hold any number of scans, each a full pass over the
// coefficients; real encoders write about ten. Far more is an attack on time.
constexpr int MaxScans = 400;

// Everything the error jump touches lives here, in the caller's frame, so a
// jump out of libjpeg skips no destructor.
struct JpegContext {
    jpeg_error_mgr error{};
    jpeg_progress_mgr progress{};
    std::jmp_buf jump;
    TDecodeStatus failure = TDecodeStatus::Corrupt;
    std::string reason;
    size_t maxPixels = MaxImagePixels;
    TBitmap bitmap;
    std::vector<JSAMPLE> cmykRow;
};

JpegContext& ContextOf(j_common_ptr info) { return *static_cast<JpegContext*>(info->client_data); }

void OnJpegError(j_common_ptr info)
{
    JpegContext& context = ContextOf(info);
    char message[JMSG_LENGTH_MAX];
    info->err->format_message(info, message);
    context.reason = message;
    std::longjmp(context.jump, 1);
}

void OnJpegMessage(j_common_ptr) {}

void OnJpegProgress(j_common_ptr info)
{
    const auto* decompress = reinterpret_cast<j_decompress_ptr>(info);
    if (decompress->input_scan_number > MaxScans) {
        ContextOf(info).reason = "too many scans";
        std::longjmp(ContextOf(info).jump, 1);
    }
}

// Adobe writes CMYK inverted (0 = full ink), which is what libjpeg hands out.
void CmykRowToArgb(const JSAMPLE* cmyk, uint32_t* out, JDIMENSION width)
{
    for (JDIMENSION x = 0; x < width; ++x, cmyk += 4) {
        const unsigned k = cmyk[3];
        const uint32_t r = cmyk[0] * k / 255, g = cmyk[1] * k / 255, b = cmyk[2] * k / 255;
        out[x] = 0xFF000000u | (r << 16) | (g << 8) | b;
    }
}

void ReadRows(jpeg_decompress_struct& info, JpegContext& context)
{
    const bool cmyk = info.out_color_space == JCS_CMYK;
    if (cmyk)
        context.cmykRow.resize(size_t(info.output_width) * 4);
    while (info.output_scanline < info.output_height) {
        const int y = int(info.output_scanline);
        auto* argb = reinterpret_cast<JSAMPLE*>(&context.bitmap.at(0, y));
        JSAMPROW row = cmyk ? context.cmykRow.data() : argb;
        if (jpeg_read_scanlines(&info, &row, 1) != 1)
            break;
        if (cmyk)
            CmykRowToArgb(context.cmykRow.data(), &context.bitmap.at(0, y), info.output_width);
    }
}

bool DecodeInto(TByteSpan data, JpegContext& context)
{
    jpeg_decompress_struct info{};
    info.err = jpeg_std_error(&context.error);
    context.error.error_exit = OnJpegError;
    context.error.output_message = OnJpegMessage;
    info.client_data = &context;
    if (setjmp(context.jump)) {
        jpeg_destroy_decompress(&info);
        return false;
    }
    jpeg_create_decompress(&info);
    context.progress.progress_monitor = OnJpegProgress;
    info.progress = &context.progress;
    jpeg_mem_src(&info, data.data(), static_cast<unsigned long>(data.size()));
    jpeg_read_header(&info, TRUE);
    const bool cmyk = info.jpeg_color_space == JCS_CMYK || info.jpeg_color_space == JCS_YCCK;
    info.out_color_space = cmyk ? JCS_CMYK : JCS_EXT_BGRA;
    jpeg_calc_output_dimensions(&info);
    if (!FitsPixelLimit(info.output_width, info.output_height, context.maxPixels)) {
        context.failure = TDecodeStatus::TooLarge;
        context.reason = "image too large";
        jpeg_destroy_decompress(&info);
        return false;
    }
    jpeg_start_decompress(&info);
    context.bitmap = TBitmap(int(info.output_width), int(info.output_height));
    ReadRows(info, context);
    // A file cut short is finished with grey by libjpeg; we accept that picture.
    jpeg_abort_decompress(&info);
    jpeg_destroy_decompress(&info);
    return true;
}

} // namespace

TDecodeResult DecodeJpeg(TByteSpan data, size_t maxPixels)
{
    if (data.size() < 2 || data[0] != 0xFF || data[1] != 0xD8)
        return TDecodeResult::failure(TDecodeStatus::Unsupported, "not JPEG data");
    JpegContext context;
    context.maxPixels = maxPixels;
    if (!DecodeInto(data, context))
        return TDecodeResult::failure(context.failure, context.reason);
    return TDecodeResult::success(std::move(context.bitmap));
}
