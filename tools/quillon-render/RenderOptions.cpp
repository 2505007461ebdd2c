#include "RenderOptions.h"

#include <charconv>
#include <cstring>

namespace {

bool ToInt(const std::string& text, int& value)
{
    const char* end = text.data() + text.size();
    auto [p, ec] = std::from_chars(text.data(), end, value);
    return ec == std::errc() && p == end;
}

} // namespace

const char* RenderHelpText()
{
    return R"(Usage: quillon-render FILE [options]

Loads an HTML file, a text file (.txt) or an image file headless, lays it out
at a width and writes what was asked for. Without an output option it prints
the document's height.

Options:
  --width N         layout width in pixels (default 800)
  --zoom P          show fonts and pictures at P percent (10 to 1000,
                    default 100), as the viewer's zoom does
  --png OUT         paint the document into the PNG file OUT
  --band Y:H        with --png: only the band of H pixels from document Y
  --pdf OUT         print the document into the PDF file OUT (A4, margins of
                    2 cm, as the viewer prints it)
  --text            print the document's text as select-all and copy give it
  --dump            print the box tree with positions (format below)
  --timing          print the parse and layout times in milliseconds
  --fixed-metrics   lay out with the test canvas: every glyph of a font of
                    character height h is max(1, h/2) pixels wide (plus 1 when
                    bold), ideographs twice that; line height h + h/8.
                    Gives the same numbers on every machine. Not with --png.
  --version         print the version and end
  --help            this text

Dump format (stable; layout tests compare against it). One box per line,
indented by two spaces per nesting level, coordinates in document pixels:
  body <tag> x=X y=Y w=W h=H           the body block (content box)
  block <tag> x=X y=Y w=W h=H [dh=D]   a block: content left, content top,
                                        content width, height in the flow
                                        (dh: drawn height of floats)
  li <tag> ...                         a list item block, as block
  tableblock table ...                 the block around a table, as block
  captionblock table ...               a table with its caption, as block
  table x=X y=Y w=W h=H cols=C rows=R  the grid: total width and height
    row y=Y h=H                        a row: top of its cells, row height
      cell x=X y=Y w=W h=H [colspan=N] [rowspan=N]
                                        a cell's border box
  section x=X y=Y w=W h=H              a run of text
  pre x=X y=Y w=W h=H                  a preformatted line
    line x=X y=Y w=W h=H n=N           a laid-out line: text left, top, text
                                        width, height, characters
Further kinds follow the same pattern (kind, then name=value pairs).
)";
}

std::optional<TRenderOptions> ParseRenderOptions(int argc, char** argv, std::string& error)
{
    TRenderOptions o;
    for (int i = 1; i < argc; ++i) {
        std::string a = argv[i];
        auto value = [&](std::string& out) {
            if (i + 1 >= argc) {
                error = "missing value after " + a;
                return false;
            }
            out = argv[++i];
            return true;
        };
        std::string v;
        if (a == "--help" || a == "-h") {
            o.help = true;
        } else if (a == "--width") {
            if (!value(v) || !ToInt(v, o.width) || o.width < 1 || o.width > 100000) {
                error = error.empty() ? "bad --width" : error;
                return std::nullopt;
            }
        } else if (a == "--zoom") {
            if (!value(v) || !ToInt(v, o.zoom) || o.zoom < 10 || o.zoom > 1000) {
                error = error.empty() ? "bad --zoom" : error;
                return std::nullopt;
            }
        } else if (a == "--png") {
            if (!value(o.png))
                return std::nullopt;
        } else if (a == "--pdf") {
            if (!value(o.pdf))
                return std::nullopt;
        } else if (a == "--band") {
            if (!value(v))
                return std::nullopt;
            size_t colon = v.find(':');
            if (colon == std::string::npos || !ToInt(v.substr(0, colon), o.bandY) ||
                !ToInt(v.substr(colon + 1), o.bandHeight) || o.bandHeight < 1 || o.bandY < 0) {
                error = "bad --band, expected Y:H";
                return std::nullopt;
            }
            o.band = true;
        } else if (a == "--text") {
            o.text = true;
        } else if (a == "--dump") {
            o.dump = true;
        } else if (a == "--timing") {
            o.timing = true;
        } else if (a == "--fixed-metrics") {
            o.fixedMetrics = true;
        } else if (!a.empty() && a[0] == '-') {
            error = "unknown option " + a;
            return std::nullopt;
        } else if (o.file.empty()) {
            o.file = a;
        } else {
            error = "more than one file";
            return std::nullopt;
        }
    }
    if (!o.help && o.file.empty()) {
        error = "no file given";
        return std::nullopt;
    }
    if (o.fixedMetrics && (!o.png.empty() || !o.pdf.empty())) {
        error = "--png and --pdf paint with real fonts: leave out --fixed-metrics";
        return std::nullopt;
    }
    return o;
}
