// Building a page with a sheet of 5 000 rules of today's selector kinds
// (child and sibling combinators, attribute tests, structural
// pseudo-classes, :not(), "*") against building the same page without a
// sheet. Prints both times and the ratio. With --write DIR it writes the two
// pages there instead (plain.html, styled.html), for profilers that count
// instructions on one build each.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <fstream>
#include <string>

#include "gfx/TFixedCanvas.h"
#include "html/build/DocumentBuilder.h"
#include "html/layout/TSectionList.h"
#include "html/style/StyleValues.h"
#include "html/style/TStyleList.h"

namespace {

const char* const Tags[] = {"div", "p", "span", "a", "li", "td", "em", "code", "pre", "h2"};

std::string MakeSheet()
{
    std::string sheet;
    for (int i = 0; i < 5000; ++i) {
        const std::string tag = Tags[i % 10];
        const std::string n = std::to_string(i);
        switch (i % 10) {
        case 0: sheet += "div.s" + std::to_string(i % 50) + " > " + tag; break;
        case 1: sheet += "h2 + p.c" + std::to_string(i % 40); break;
        case 2: sheet += "li:nth-child(" + std::to_string(i % 7 + 2) + "n+1) > a"; break;
        case 3: sheet += "a[href^=\"http://h" + n + "\"]"; break;
        case 4: sheet += "[class^=k" + std::to_string(i % 90) + "]"; break;
        case 5: sheet += "tr:nth-of-type(odd) > td.c" + std::to_string(i % 40); break;
        case 6: sheet += "p:not(.c" + std::to_string(i % 40) + ") ~ p.c" + std::to_string(i % 30); break;
        case 7: sheet += "ul > li:first-child > " + tag + ".c" + std::to_string(i % 40); break;
        case 8: sheet += "div#d" + std::to_string(i % 300) + " * > span"; break;
        default: sheet += "body > div > div.s" + std::to_string(i % 50) + " p[title]"; break;
        }
        sheet += " { color: #" + std::to_string(100000 + i % 800000) + "; margin-left: " + std::to_string(i % 30) +
                 "px }\n";
    }
    return sheet;
}

std::string MakeBody()
{
    std::string body;
    for (int section = 0; section < 300; ++section) {
        const std::string s = std::to_string(section);
        body += "<div id=d" + s + " class=\"s" + std::to_string(section % 50) + "\"><h2>Section " + s + "</h2>";
        for (int p = 0; p < 6; ++p)
            body += "<p class=\"c" + std::to_string((section + p) % 40) + " k" + std::to_string(p) +
                    "\" title=t>Text of a paragraph with <a href=\"http://h" + std::to_string(section * 6 + p) +
                    "/\">a link</a> and <code>code</code> <span>in a span</span>.</p>";
        body += "<ul>";
        for (int li = 0; li < 8; ++li)
            body += "<li><a href=#x" + std::to_string(li) + ">item</a> <em class=c" + std::to_string(li) + ">words</em></li>";
        body += "</ul><table>";
        for (int tr = 0; tr < 4; ++tr)
            body += "<tr><td class=c" + std::to_string(tr) + ">cell</td><td>cell</td></tr>";
        body += "</table></div>\n";
    }
    return body;
}

double BuildMs(const std::string& html)
{
    double best = 1e9;
    for (int run = 0; run < 5; ++run) {
        TSectionList doc;
        TStyleList styles;
        auto start = std::chrono::steady_clock::now();
        HtmlParseString(html, doc, styles, THtmlParseSettings{});
        best = std::min(best, std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count());
    }
    return best;
}

bool WritePage(const std::string& path, const std::string& html)
{
    std::ofstream out(path, std::ios::binary);
    out << html;
    return bool(out);
}

} // namespace

int main(int argc, char** argv)
{
    const std::string body = MakeBody();
    const std::string plain = "<html><body>" + body + "</body></html>";
    const std::string styled = "<html><head><style>\n" + MakeSheet() + "</style></head><body>" + body + "</body></html>";
    if (argc == 3 && std::string(argv[1]) == "--write") {
        const std::string dir = argv[2];
        if (WritePage(dir + "/plain.html", plain) && WritePage(dir + "/styled.html", styled))
            return 0;
        std::fprintf(stderr, "bench_modern_sheet: cannot write into %s\n", dir.c_str());
        return 1;
    }
    TFixedCanvas canvas;
    SetStyleScreen(&canvas);
    const double without = BuildMs(plain);
    const double with = BuildMs(styled);
    std::printf("page of %zu bytes: build without a sheet %.1f ms, with 5000 rules of the newer selector kinds %.1f ms;"
                " ratio %.2f\n", plain.size(), without, with, with / without);
    SetStyleScreen(nullptr);
    return 0;
}
