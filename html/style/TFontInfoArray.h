#pragma once
// The fonts of a link in its four states.
#include <array>
#include <string>

#include "gfx/TCanvas.h"
#include "html/style/StyleValues.h"

// A font described by its style values, before a platform font is made of it.
struct ThtFontInfo {
    std::string family;          // an installed font name
    double size = 12;            // points
    TFontStyles style = 0;       // fsBold, fsItalic, fsUnderline, fsStrikeOut
    TColor color = 0;
    TColor background = ClNone;
    int charset = 1;
    TPropValue letterSpacing;    // as given
    friend bool operator==(const ThtFontInfo&, const ThtFontInfo&) = default;
};

enum TLinkState : int { lsNormal, lsVisited, lsHover, lsHoverVisited };

struct TFontInfoArray {
    // normal, visited, hover over a link not visited, hover over a visited link
    std::array<ThtFontInfo, 4> Ary;
    ThtFontInfo& operator[](int state) { return Ary[state]; }
    const ThtFontInfo& operator[](int state) const { return Ary[state]; }
};
