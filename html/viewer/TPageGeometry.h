#pragma once
// Where the body of a printed page goes: the printer's resolution and paper,
// the margins in centimetres and the print scale, worked out once per job in
// device pixels and in document units (screen pixels scaled by the print
// scale). The page-break pass, printing and the preview share one geometry,
// so that they break the document at the same places.
#include "gfx/TCanvas.h"

class TvwPrinter;
struct TPrintSettings;

struct TPageGeometry {
    int S = 96; // document units per inch
    int dpiX = 96, dpiY = 96;
    int L = 0, T = 0;   // printable area's left and top, device pixels
    int PW = 0, PH = 0; // printable width and height, device pixels
    int XL0 = 0, W = 0, TB = 0, H = 0; // the body in document units
    int PHd = 0, PWd = 0;               // the page in document units
    int paperWidth = 0, paperHeight = 0; // device pixels

    TPageGeometry(const TvwPrinter& printer, const TPrintSettings& settings);

    // Document units onto device pixels, with the window origin given.
    void Map(TCanvas& canvas, TPoint origin) const;
    // The clip of the body in device pixels (a line on the edge stays whole).
    TRect DeviceClip() const { return {L, T - 1, L + PW + 2, T + PH + 2}; }
    // The body in document units.
    TRect Content() const { return {XL0, TB, XL0 + W, TB + H}; }

private:
    // Moves the body's top down and its bottom up until the header and
    // footer bands hold what they need.
    void MakeRoomForBands(int headerSpace, int footerSpace);
};
