#include "html/layout/Placeholders.h"

#include <cstdlib>

namespace {

constexpr int Size = 16;
constexpr uint32_t Grey = 0xFF808080u;
constexpr uint32_t White = 0xFFFFFFFFu;
constexpr uint32_t Red = 0xFFE00000u;
constexpr uint32_t Blue = 0xFF2060C0u;

TBitmap Blank()
{
    TBitmap b(Size, Size, 0);
    b.mask.assign(b.pixels.size(), 1);
    return b;
}

void Put(TBitmap& b, int x, int y, uint32_t color)
{
    b.at(x, y) = color;
    b.mask[size_t(y * Size + x)] = 0;
}

// A framed sheet of paper with a small picture on it.
TBitmap MakeWaiting()
{
    TBitmap b = Blank();
    for (int y = 1; y < Size - 1; ++y)
        for (int x = 2; x < Size - 2; ++x)
            Put(b, x, y, x == 2 || x == Size - 3 || y == 1 || y == Size - 2 ? Grey : White);
    for (int y = 5; y < 11; ++y)
        for (int x = 5; x < 11; ++x)
            Put(b, x, y, Blue);
    return b;
}

// The same sheet crossed out.
TBitmap MakeError()
{
    TBitmap b = MakeWaiting();
    for (int i = 3; i < Size - 3; ++i) {
        Put(b, i, i, Red);
        Put(b, Size - 1 - i, i, Red);
    }
    return b;
}

} // namespace

const TBitmap& WaitingPicture()
{
    static const TBitmap picture = MakeWaiting();
    return picture;
}

const TBitmap& ErrorPicture()
{
    static const TBitmap picture = MakeError();
    return picture;
}
