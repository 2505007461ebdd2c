#pragma once
// The command line of quillon-render.
#include <optional>
#include <string>

struct TRenderOptions {
    std::string file;
    int width = 800;
    int zoom = 100;           // percent fonts and pictures are shown at
    std::string png;          // write a PNG here
    std::string pdf;          // print the document into this PDF file
    bool band = false;        // only the band [bandY, bandY + bandHeight)
    int bandY = 0;
    int bandHeight = 0;
    bool text = false;
    bool dump = false;
    bool timing = false;
    bool fixedMetrics = false;
    bool help = false;
};

// Reads the arguments; nullopt with an error message when they are wrong.
std::optional<TRenderOptions> ParseRenderOptions(int argc, char** argv, std::string& error);
// The --help text, which also documents the dump format.
const char* RenderHelpText();
