#pragma once
// The text header and footer of printed pages: a template with placeholders,
// drawn in Arial 8 pt into the top or bottom margin band of each page.
#include <string>
#include <string_view>

class TCanvas;

// What the placeholders stand for on one page.
struct TPrintPageFacts {
    int page = 0;
    std::u16string timestamp; // the current date and time, as the user reads them
    std::u16string fileName;
};

// The template with "#PAGENUM", "#TIMESTAMP" and "#FILENAME" each replaced at
// its first occurrence, found without regard to letter case.
std::u16string ExpandPrintTemplate(std::u16string_view text, const TPrintPageFacts& facts);

enum class TPrintBand { Header, Footer };
// Draws the text in its band (band coordinates: the header's top at 0, the
// footer's top at 0): the header's top-left corner at (50, 40), the footer's
// bottom-left corner at (50, 40). unitsPerInch sizes the 8 pt font. Within a
// band of bandHeight the text stays inside it: a header rises to end at the
// band's bottom, a footer ends at most at the band's bottom.
void DrawPrintBand(TCanvas& canvas, TPrintBand band, std::u16string_view text, int unitsPerInch,
                   int bandHeight = 1 << 20);
// The band height the text needs at unitsPerInch (a line of the 8 pt font
// and a little air), for the printer's header and footer space.
int PrintBandSpace(int unitsPerInch);
