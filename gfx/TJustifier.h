#pragma once
#include <string_view>

// Spreads a line's justification pixels over its break characters (spaces 32
// and no-break spaces 160): each break gets extra / breaks, the first
// extra % breaks one more (one less for a negative extra). Both canvases draw
// through it so that a justified line ends at the same pixel everywhere.
class TJustifier {
public:
    TJustifier(std::u16string_view text, int extra)
    {
        int breaks = 0;
        for (char16_t c : text)
            breaks += isBreak(c) ? 1 : 0;
        if (breaks > 0) {
            FEach = extra / breaks;
            FRemainder = extra % breaks;
        }
    }
    static bool isBreak(char16_t c) { return c == 32 || c == 160; }
    // Extra pixels after the next unit of the text, called once per unit in order.
    int after(char16_t c)
    {
        if (!isBreak(c))
            return 0;
        int step = FEach;
        if (FRemainder > 0) {
            ++step;
            --FRemainder;
        } else if (FRemainder < 0) {
            --step;
            ++FRemainder;
        }
        return step;
    }

private:
    int FEach = 0;
    int FRemainder = 0;
};
