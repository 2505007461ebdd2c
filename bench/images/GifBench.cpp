// Times the GIF decoder's LZW decoding of a large animated GIF against giflib's
// DGifSlurp on the same bytes, in one run, and prints both times and the ratio.
// Usage: bench_gif [frames=50] [size=500] [repeats=15]
#include <gif_lib.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <vector>

#include "images/TGif.h"

namespace {

struct Buffer {
    std::vector<uint8_t> bytes;
    size_t pos = 0;
};

int WriteToBuffer(GifFileType* gif, const GifByteType* data, int length)
{
    auto* buffer = static_cast<Buffer*>(gif->UserData);
    buffer->bytes.insert(buffer->bytes.end(), data, data + length);
    return length;
}

int ReadFromBuffer(GifFileType* gif, GifByteType* out, int length)
{
    auto* buffer = static_cast<Buffer*>(gif->UserData);
    const size_t n = std::min(size_t(length), buffer->bytes.size() - buffer->pos);
    std::memcpy(out, buffer->bytes.data() + buffer->pos, n);
    buffer->pos += n;
    return int(n);
}

// A moving pattern of smooth bands with some noise, so the LZW strings have
// the lengths of a real picture rather than of flat colour.
std::vector<uint8_t> MakeAnimatedGif(int frames, int size)
{
    Buffer buffer;
    int error = 0;
    GifFileType* gif = EGifOpen(&buffer, WriteToBuffer, &error);
    std::vector<GifColorType> colors(256);
    for (int i = 0; i < 256; ++i)
        colors[size_t(i)] = {GifByteType(i), GifByteType((i * 3) & 0xFF), GifByteType(255 - i)};
    ColorMapObject* map = GifMakeMapObject(256, colors.data());
    EGifSetGifVersion(gif, true);
    EGifPutScreenDesc(gif, size, size, 8, 0, map);
    unsigned seed = 12345;
    std::vector<GifPixelType> row(size_t(size), 0);
    for (int f = 0; f < frames; ++f) {
        GraphicsControlBlock control{DISPOSE_DO_NOT, false, 10, NO_TRANSPARENT_COLOR};
        GifByteType extension[4];
        EGifGCBToExtension(&control, extension);
        EGifPutExtension(gif, GRAPHICS_EXT_FUNC_CODE, 4, extension);
        EGifPutImageDesc(gif, 0, 0, size, size, false, nullptr);
        for (int y = 0; y < size; ++y) {
            for (int x = 0; x < size; ++x) {
                seed = seed * 1103515245 + 12345;
                const double wave = std::sin((x + f * 7) * 0.03) * 40 + std::cos((y - f * 5) * 0.05) * 40;
                const int noise = (seed >> 16) % 9 == 0 ? int((seed >> 8) % 5) : 0;
                row[size_t(x)] = GifPixelType((int(wave) + (x + y) / 8 + noise) & 0xFF);
            }
            EGifPutLine(gif, row.data(), size);
        }
    }
    EGifCloseFile(gif, &error);
    GifFreeMapObject(map);
    return buffer.bytes;
}

double Seconds(const std::function<void()>& run)
{
    const auto start = std::chrono::steady_clock::now();
    run();
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

double Median(std::vector<double> times)
{
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

} // namespace

int main(int argc, char** argv)
{
    const int frames = argc > 1 ? std::atoi(argv[1]) : 50;
    const int size = argc > 2 ? std::atoi(argv[2]) : 500;
    const int repeats = argc > 3 ? std::atoi(argv[3]) : 15;
    const std::vector<uint8_t> file = MakeAnimatedGif(frames, size);

    long checksum = 0;
    const auto runGiflib = [&] {
        Buffer buffer{file, 0};
        int error = 0;
        GifFileType* gif = DGifOpen(&buffer, ReadFromBuffer, &error);
        if (!gif || DGifSlurp(gif) != GIF_OK) {
            std::fprintf(stderr, "giflib failed\n");
            std::exit(1);
        }
        checksum += gif->SavedImages[gif->ImageCount - 1].RasterBits[size_t(size) * size_t(size) / 2];
        DGifCloseFile(gif, &error);
    };
    TGif gif;
    const auto runOurs = [&] {
        gif.loadFromStream(file);
        checksum += gif.image(gif.imageCount() - 1).pixels[size_t(size) * size_t(size) / 2];
    };
    // Alternate the two so that load from other processes hits both alike.
    std::vector<double> giflibTimes, ourTimes, stripTimes;
    for (int i = 0; i < repeats; ++i) {
        giflibTimes.push_back(Seconds(runGiflib));
        ourTimes.push_back(Seconds(runOurs));
    }
    for (int i = 0; i < std::max(1, repeats / 3); ++i)
        stripTimes.push_back(Seconds([&] { checksum += gif.renderStrip().pixels[0] & 1; }));
    const double giflib = Median(giflibTimes), ours = Median(ourTimes), strip = Median(stripTimes);

    std::printf("animated GIF: %d frames of %d x %d, %zu bytes (median of %d runs)\n", frames, size, size,
                file.size(), repeats);
    std::printf("giflib DGifSlurp:        %8.2f ms\n", giflib * 1000);
    std::printf("TGif::loadFromStream:    %8.2f ms\n", ours * 1000);
    std::printf("ratio (ours / giflib):   %8.2f\n", ours / giflib);
    std::printf("TGif::renderStrip (extra, composition of all frames): %.2f ms\n", strip * 1000);
    std::printf("(checksum %ld)\n", checksum);
    return 0;
}
