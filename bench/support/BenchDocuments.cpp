#include "BenchDocuments.h"

#include <cstdlib>
#include <fstream>

namespace benchdoc {

std::string TextDocument(size_t bytes)
{
    static const char* const words[] = {"lantern ", "keeper ", "harbour ", "tide ",
                                        "lens ",    "paraffin ", "gallery ", "stair "};
    std::string out;
    out.reserve(bytes + 200);
    for (int n = 0; out.size() < bytes; ++n) {
        for (int i = 0; i < 12; ++i)
            out += words[(n + i * 3) % 8];
        out += "line " + std::to_string(n) + "\r\n";
    }
    return out;
}

std::string ProseDocument(size_t bytes)
{
    static const char* const words[] = {"lantern", "keeper", "harbour", "tide",   "lens",   "paraffin", "gallery",
                                        "stair",   "relief", "boat",    "landing", "fog",   "signal",   "wicks"};
    constexpr size_t WordCount = sizeof words / sizeof words[0];
    std::string out = "<html><head><title>Log</title></head><body><h1>Keeper's log</h1>\n";
    out.reserve(bytes + 1000);
    const std::string tail = "</body></html>\n";
    for (size_t n = 0; out.size() + tail.size() < bytes; ++n) {
        std::string entry = std::to_string(n);
        out += "<p>Entry " + entry + ":";
        for (size_t i = 0; i < 60; ++i)
            (out += ' ') += words[(n * 7 + i * 5 + i / 3) % WordCount];
        out += std::string(" <b>") + words[n % WordCount] + "</b> <a href=\"e" + entry + ".htm\">more</a></p>\n";
    }
    return out + tail;
}

std::string TableDocument(size_t bytes)
{
    static const char* const winds[] = {"north", "north east", "east", "south east",
                                        "south", "south west", "west", "north west"};
    static const char* const notes[] = {"fair", "fog at dawn", "squalls", "calm"};
    std::string out = "<html><head><title>Harbour log</title></head><body>\n<h1>Gullstone Point harbour log</h1>\n"
                      "<table border=1 cellpadding=2 width=\"100%\">\n"
                      "<tr><th>Entry</th><th>Title</th><th>Date</th><th>Remarks</th><th>Gallons</th><th>Note</th></tr>\n";
    out.reserve(bytes + 1000);
    const std::string tail = "</table></body></html>\n";
    for (int row = 0; out.size() + tail.size() < bytes; ++row) {
        std::string n = std::to_string(row);
        out += "<tr><td>" + n + "</td><td><a href=\"log" + n + ".htm\">Keeper's log, entry " + n + "</a></td><td>" +
               std::to_string(1 + row % 28) + "." + std::to_string(1 + row % 12) + "." +
               std::to_string(1890 + row % 100) +
               "</td><td>Keeper on duty from dusk; lamp lit at sunset and the wicks trimmed twice in the night. "
               "Wind from the " + winds[row % 8] + ", sea moderate. The relief boat called at the landing with "
               "paraffin, wicks and the weekly post; nothing to report on the fog signal.</td><td align=right><b>" +
               std::to_string(row * 37 % 1000) + ".50</b></td><td>" + notes[row % 4] + "</td></tr>\n";
    }
    return out + tail;
}

std::string LongParagraphDocument(size_t bytes)
{
    static const char* const words[] = {"lantern ", "keeper ", "harbour ", "tide ", "lens ", "paraffin "};
    std::string out = "<html><head><title>One paragraph</title></head><body><p>";
    out.reserve(bytes + 100);
    const std::string tail = "</p></body></html>\n";
    for (size_t n = 0; out.size() + tail.size() < bytes; ++n)
        out += words[(n * 5 + n / 7) % 6];
    return out + tail;
}

std::string LinkParagraphDocument(int links)
{
    std::string out = "<html><head><title>Links</title></head><body><p>";
    out.reserve(size_t(links) * 24 + 100);
    for (int n = 0; n < links; ++n)
        out += "<a href=\"e" + std::to_string(n) + ".htm\">entry</a> ";
    return out + "</p></body></html>\n";
}

std::string OutputFolder()
{
    const char* tmp = std::getenv("TMPDIR");
    return tmp && *tmp ? tmp : "/tmp";
}

std::string WriteDocument(const std::string& name, const std::string& text)
{
    std::string file = OutputFolder() + "/" + name;
    std::ofstream(file, std::ios::binary) << text;
    return file;
}

} // namespace benchdoc
