// The quillon-render command as users and scripts call it: its outputs,
// its exit codes and its messages.
#include <gtest/gtest.h>

#include <array>
#include <cstdio>
#include <filesystem>
#include <regex>
#include <string>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include "images/ImageDecoder.h"
#include "tests/util/TestSupport.h"

namespace {

struct TRun {
    int status = -1;
    std::string output; // standard output and error together
};

// shellSetup runs first in the same shell (limits the run inherits).
TRun Render(const std::string& arguments, const std::string& shellSetup = "")
{
    // A run that hangs is stopped and fails (status 124) instead of holding the suite.
    std::string command = shellSetup + "QT_QPA_PLATFORM=offscreen timeout 60 " + QUILLON_RENDER_COMMAND + " " +
                          arguments + " 2>&1";
    TRun run;
    FILE* pipe = ::popen(command.c_str(), "r");
    if (!pipe)
        return run;
    std::array<char, 4096> buffer{};
    size_t n;
    while ((n = std::fread(buffer.data(), 1, buffer.size(), pipe)) > 0)
        run.output.append(buffer.data(), n);
    int status = ::pclose(pipe);
    run.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return run;
}

// Pages of a PDF file: its page objects (the page tree is "/Pages").
int PdfPages(const std::string& file)
{
    std::string pdf = readFile(file);
    if (pdf.rfind("%PDF-", 0) != 0)
        return -1;
    std::regex page(R"(/Type\s*/Page[^s])");
    return int(std::distance(std::sregex_iterator(pdf.begin(), pdf.end(), page), std::sregex_iterator()));
}

} // namespace

TEST(RenderCommand, PrintsDocumentsIntoPdfFiles)
{
    TempFolder dir;
    writeFile(dir.file("short.htm"), "<title>Short</title><p>One paragraph.");
    std::string longPage = "<title>Long</title>";
    for (int i = 0; i < 400; ++i)
        longPage += "<p>Paragraph " + std::to_string(i) + " of the keeper's log.\n";
    writeFile(dir.file("long.htm"), longPage);

    TRun shortRun = Render(dir.file("short.htm") + " --pdf " + dir.file("short.pdf"));
    EXPECT_EQ(shortRun.status, 0) << shortRun.output;
    EXPECT_NE(shortRun.output.find("1 page printed"), std::string::npos) << shortRun.output;
    EXPECT_EQ(PdfPages(dir.file("short.pdf")), 1);

    TRun longRun = Render(dir.file("long.htm") + " --pdf " + dir.file("long.pdf"));
    EXPECT_EQ(longRun.status, 0) << longRun.output;
    int pages = PdfPages(dir.file("long.pdf"));
    EXPECT_GT(pages, 5);
    EXPECT_NE(longRun.output.find(std::to_string(pages) + " pages printed"), std::string::npos) << longRun.output;
}

TEST(RenderCommand, BadRequestsAreRefusedWithAReason)
{
    TempFolder dir;
    writeFile(dir.file("page.htm"), "<p>Text");

    TRun unwritable = Render(dir.file("page.htm") + " --pdf " + dir.file("no/such/folder/out.pdf"));
    EXPECT_EQ(unwritable.status, 1);
    EXPECT_NE(unwritable.output.find("cannot print to " + dir.file("no/such/folder/out.pdf")), std::string::npos)
        << unwritable.output;

    TRun missing = Render(dir.file("none.htm") + " --text");
    EXPECT_EQ(missing.status, 1);
    EXPECT_NE(missing.output.find(dir.file("none.htm")), std::string::npos) << missing.output;

    TRun fixedPdf = Render(dir.file("page.htm") + " --fixed-metrics --pdf " + dir.file("x.pdf"));
    EXPECT_EQ(fixedPdf.status, 2);
    EXPECT_NE(fixedPdf.output.find("leave out --fixed-metrics"), std::string::npos) << fixedPdf.output;

    TRun unknown = Render(dir.file("page.htm") + " --colour");
    EXPECT_EQ(unknown.status, 2);
    EXPECT_NE(unknown.output.find("unknown option --colour"), std::string::npos) << unknown.output;
}

TEST(RenderCommand, TextIsTheDocumentsTextAndNamesIgnoreCase)
{
    TempFolder dir;
    writeFile(dir.file("page.htm"), "<h1>Lamp</h1><p>Lit at <b>dusk</b>.");
    TRun run = Render(dir.file("PAGE.HTM") + " --text");
    EXPECT_EQ(run.status, 0);
    EXPECT_NE(run.output.find("Lamp"), std::string::npos) << run.output;
    EXPECT_NE(run.output.find("Lit at dusk."), std::string::npos) << run.output;
}

TEST(RenderCommand, HostileFilesEndPromptly)
{
    TempFolder dir;
    // Overstrike and control bytes in plain text.
    writeFile(dir.file("manual.txt"), "a\bb\x0B c\n_\bu\bd\x04\x02");
    ASSERT_EQ(::mkfifo(dir.file("pipe").c_str(), 0600), 0);
    ASSERT_EQ(::mkfifo(dir.file("pipe.png").c_str(), 0600), 0);
    writeFile(dir.file("links.htm"), "<link rel=stylesheet href=pipe><p>Kept <img src=pipe.png>");

    TRun text = Render(dir.file("manual.txt") + " --png " + dir.file("manual.png"));
    EXPECT_EQ(text.status, 0) << text.output;
    EXPECT_TRUE(std::filesystem::exists(dir.file("manual.png")));
    TRun printed = Render(dir.file("manual.txt") + " --pdf " + dir.file("manual.pdf"));
    EXPECT_EQ(printed.status, 0) << printed.output;

    TRun links = Render(dir.file("links.htm") + " --text");
    EXPECT_EQ(links.status, 0) << links.output;
    EXPECT_NE(links.output.find("Kept"), std::string::npos) << links.output;

    TRun fifo = Render(dir.file("pipe") + " --text");
    EXPECT_EQ(fifo.status, 1) << fifo.output;
    EXPECT_NE(fifo.output.find(dir.file("pipe")), std::string::npos) << fifo.output;
}

namespace {

// Width and height from a PNG file's header.
std::pair<int, int> PngSize(const std::string& file)
{
    std::string png = readFile(file);
    if (png.size() < 24 || png.compare(1, 3, "PNG") != 0)
        return {-1, -1};
    auto at = [&](size_t i) {
        return int(uint8_t(png[i])) << 24 | int(uint8_t(png[i + 1])) << 16 | int(uint8_t(png[i + 2])) << 8 |
               int(uint8_t(png[i + 3]));
    };
    return {at(16), at(20)};
}

// The w= values of the dump lines of one kind ("cell", "line"), in order.
std::vector<int> Widths(const std::string& dump, const std::string& kind)
{
    std::vector<int> widths;
    std::regex line("(^|\\n) *" + kind + " [^\\n]*? w=(\\d+)");
    for (auto it = std::sregex_iterator(dump.begin(), dump.end(), line); it != std::sregex_iterator(); ++it)
        widths.push_back(std::stoi((*it)[2]));
    return widths;
}

} // namespace

TEST(RenderCommand, PicturesAreCutToABoundedWidth)
{
    TempFolder dir;
    writeFile(dir.file("page.htm"), "<p>top<p>middle<p>bottom");

    TRun wide = Render(dir.file("page.htm") + " --width 20000 --png " + dir.file("wide.png"));
    EXPECT_EQ(wide.status, 0) << wide.output;
    EXPECT_NE(wide.output.find("cut at 10000 pixels wide"), std::string::npos) << wide.output;
    auto [w, h] = PngSize(dir.file("wide.png"));
    EXPECT_EQ(w, 10000);
    EXPECT_GT(h, 20);

    TRun normal = Render(dir.file("page.htm") + " --width 600 --png " + dir.file("normal.png"));
    EXPECT_EQ(normal.status, 0) << normal.output;
    EXPECT_EQ(normal.output.find("cut at"), std::string::npos) << normal.output;
    EXPECT_EQ(PngSize(dir.file("normal.png")).first, 600);
}

TEST(RenderCommand, ZoomWidensTableColumnsAndPicturesByItsFactor)
{
    TempFolder dir;
    writeFile(dir.file("bullet.gif"), readFile(std::string(QUILLON_SOURCE_DIR) + "/sample/images/bullet.gif"));
    writeFile(dir.file("page.htm"), "<table border=1><tr><td>Alpha beta</td><td>Gamma</td></tr></table>"
                                    "<p><img src=bullet.gif width=40 height=20><p><img src=bullet.gif>");
    TRun plain = Render(dir.file("page.htm") + " --dump --fixed-metrics");
    TRun zoomed = Render(dir.file("page.htm") + " --dump --fixed-metrics --zoom 150");
    ASSERT_EQ(plain.status, 0) << plain.output;
    ASSERT_EQ(zoomed.status, 0) << zoomed.output;
    std::vector<int> cells = Widths(plain.output, "cell"), bigCells = Widths(zoomed.output, "cell");
    ASSERT_EQ(cells.size(), 2u) << plain.output;
    ASSERT_EQ(bigCells.size(), 2u) << zoomed.output;
    for (size_t i = 0; i < cells.size(); ++i) // the cell's padding and border stay as they are
        EXPECT_NEAR(bigCells[i], cells[i] * 1.5, 3) << "column " << i;
    std::vector<int> lines = Widths(plain.output, "line"), bigLines = Widths(zoomed.output, "line");
    ASSERT_EQ(lines.size(), 4u) << plain.output;
    ASSERT_EQ(bigLines.size(), 4u) << zoomed.output;
    EXPECT_EQ(lines[2], 40) << "the sized picture alone on its line";
    for (size_t i = 0; i < lines.size(); ++i)
        EXPECT_EQ(bigLines[i] * 2, lines[i] * 3) << "line " << i;

    TRun bad = Render(dir.file("page.htm") + " --dump --zoom 5");
    EXPECT_EQ(bad.status, 2) << bad.output;
}

TEST(RenderCommand, FrameSetsShowEveryFrameInItsRectangle)
{
    TempFolder dir;
    writeFile(dir.file("set.htm"), "<title>Set</title><frameset rows=\"100,*\" border=4>"
                                   "<frame name=top src=\"top.htm\"><frameset cols=\"25%,*\">"
                                   "<frame name=left src=\"left.htm#start\"><frame name=main src=\"main.htm\">"
                                   "</frameset><noframes><p>No frames here.</p></noframes></frameset>");
    writeFile(dir.file("top.htm"), "<body bgcolor=#ff0000><p>Banner text</p>");
    writeFile(dir.file("left.htm"), "<body bgcolor=#00ff00><p>Contents text</p>");
    writeFile(dir.file("main.htm"), "<body bgcolor=#0000ff><p>Reading text</p>");

    TRun text = Render(dir.file("set.htm") + " --text --width 404");
    EXPECT_EQ(text.status, 0) << text.output;
    size_t banner = text.output.find("Banner text");
    size_t contents = text.output.find("Contents text");
    size_t reading = text.output.find("Reading text");
    ASSERT_NE(reading, std::string::npos) << text.output;
    EXPECT_LT(banner, contents);
    EXPECT_LT(contents, reading);
    EXPECT_EQ(text.output.find("No frames here"), std::string::npos);

    // Rows first, then the columns of the inner set, with the borders between.
    TRun dump = Render(dir.file("set.htm") + " --dump --width 404");
    EXPECT_NE(dump.output.find("frame name=top src=" + dir.file("top.htm") + " x=0 y=0 w=404 h=100"),
              std::string::npos)
        << dump.output;
    EXPECT_NE(dump.output.find("frame name=left src=" + dir.file("left.htm") + " x=0 y=104 w=100 h=496"),
              std::string::npos)
        << dump.output;
    EXPECT_NE(dump.output.find("frame name=main src=" + dir.file("main.htm") + " x=104 y=104 w=300 h=496"),
              std::string::npos)
        << dump.output;

    TRun png = Render(dir.file("set.htm") + " --png " + dir.file("set.png") + " --width 404");
    ASSERT_EQ(png.status, 0) << png.output;
    TDecodedImage image = LoadImageFile(dir.file("set.png"), TTransparency::None);
    ASSERT_TRUE(image.ok());
    EXPECT_EQ(image.bitmap.width, 404);
    EXPECT_EQ(image.bitmap.at(300, 90) & 0xFFFFFFu, 0xFF0000u);
    EXPECT_EQ(image.bitmap.at(50, 590) & 0xFFFFFFu, 0x00FF00u);
    EXPECT_EQ(image.bitmap.at(300, 590) & 0xFFFFFFu, 0x0000FFu);
    EXPECT_EQ(image.bitmap.at(102, 300) & 0xFFFFFFu, 0xC0C0C0u); // the border between the columns

    // The frames' documents take the zoom: the banner's line grows with it.
    TRun zoomed = Render(dir.file("set.htm") + " --dump --width 404 --zoom 300");
    EXPECT_EQ(zoomed.status, 0) << zoomed.output;
    const std::regex firstLine(R"(\n +line x=\d+ y=\d+ w=(\d+))");
    std::smatch plain, large;
    ASSERT_TRUE(std::regex_search(dump.output, plain, firstLine)) << dump.output;
    ASSERT_TRUE(std::regex_search(zoomed.output, large, firstLine)) << zoomed.output;
    EXPECT_GT(std::stoi(large[1]), 2 * std::stoi(plain[1]));

    // No frame is printed in its place: the answer names the frames to print.
    TRun pdf = Render(dir.file("set.htm") + " --pdf " + dir.file("set.pdf"));
    EXPECT_EQ(pdf.status, 1) << pdf.output;
    EXPECT_NE(pdf.output.find("frame set"), std::string::npos) << pdf.output;
    EXPECT_NE(pdf.output.find(dir.file("main.htm")), std::string::npos) << pdf.output;
    EXPECT_FALSE(std::filesystem::exists(dir.file("set.pdf")));
}

namespace {

// The temporaries a print job leaves in a folder (none, when it cleans up).
int PrintTemporaries(const std::string& folder)
{
    int count = 0;
    for (const auto& entry : std::filesystem::directory_iterator(folder))
        if (entry.path().filename().string().starts_with(".quillon-print-"))
            ++count;
    return count;
}

} // namespace

TEST(RenderCommand, PrintingOntoAFileThatCannotTakeItKeepsTheOldFileAndSaysWhy)
{
    TempFolder dir;
    std::string longPage = "<title>Long</title>";
    for (int i = 0; i < 600; ++i)
        longPage += "<p>Paragraph " + std::to_string(i) + " of the keeper's log, with a few more words.\n";
    writeFile(dir.file("long.htm"), longPage);
    writeFile(dir.file("old.pdf"), "the old file");

    // A disk that fills up: writes past 20 KB fail (as on a full disk: the
    // signal that would kill the writer is ignored, the write reports an error).
    TRun full = Render(dir.file("long.htm") + " --pdf " + dir.file("old.pdf"), "trap '' XFSZ; ulimit -f 40; ");
    EXPECT_EQ(full.status, 1) << full.output;
    EXPECT_EQ(full.output.find("printed"), std::string::npos) << full.output;
    EXPECT_NE(full.output.find("failed"), std::string::npos) << full.output;
    EXPECT_NE(full.output.find("left as it was"), std::string::npos) << full.output;
    EXPECT_EQ(readFile(dir.file("old.pdf")), "the old file");
    EXPECT_EQ(PrintTemporaries(dir.path()), 0);

    // The same job with room to write replaces the file whole.
    TRun room = Render(dir.file("long.htm") + " --pdf " + dir.file("old.pdf"));
    EXPECT_EQ(room.status, 0) << room.output;
    EXPECT_GT(PdfPages(dir.file("old.pdf")), 5);
    EXPECT_EQ(PrintTemporaries(dir.path()), 0);

    // A FIFO would block the printer for ever; a folder is no file either.
    ASSERT_EQ(::mkfifo(dir.file("pipe.pdf").c_str(), 0600), 0);
    TRun fifo = Render(dir.file("long.htm") + " --pdf " + dir.file("pipe.pdf"));
    EXPECT_EQ(fifo.status, 1) << fifo.output;
    EXPECT_NE(fifo.output.find("a pipe (FIFO), not a file"), std::string::npos) << fifo.output;
    TRun folder = Render(dir.file("long.htm") + " --pdf " + dir.path());
    EXPECT_EQ(folder.status, 1) << folder.output;
    EXPECT_NE(folder.output.find("a folder, not a file"), std::string::npos) << folder.output;
    EXPECT_EQ(PrintTemporaries(dir.path()), 0);
}

TEST(RenderCommand, PrintedColoursReachThePdf)
{
    if (std::system("pdftoppm -v >/dev/null 2>&1") != 0)
        GTEST_SKIP() << "pdftoppm is not installed";
    TempFolder dir;
    writeFile(dir.file("red.htm"), "<p><font color=red size=7>Red words</font> and <a href=x.htm>a blue link</a>");
    TRun run = Render(dir.file("red.htm") + " --pdf " + dir.file("red.pdf"));
    ASSERT_EQ(run.status, 0) << run.output;
    ASSERT_EQ(std::system(("pdftoppm -r 30 -png -singlefile " + dir.file("red.pdf") + " " + dir.file("page")).c_str()),
              0);
    TDecodedImage page = LoadImageFile(dir.file("page.png"), TTransparency::None);
    ASSERT_TRUE(page.ok());
    int red = 0, blue = 0;
    for (uint32_t pixel : page.bitmap.pixels) {
        const int r = (pixel >> 16) & 0xFF, g = (pixel >> 8) & 0xFF, b = pixel & 0xFF;
        red += r > 150 && g < 100 && b < 100;
        blue += b > 150 && r < 100 && g < 100;
    }
    EXPECT_GT(red, 20);
    EXPECT_GT(blue, 5);
}

TEST(RenderCommand, DocumentsTooLargeToShowAreRefusedWithTheirSize)
{
    TempFolder dir;
    writeFile(dir.file("huge.htm"), "<p>start");
    ASSERT_EQ(::truncate(dir.file("huge.htm").c_str(), off_t(80) << 20), 0); // takes no room on the disk
    TRun run = Render(dir.file("huge.htm"));
    EXPECT_EQ(run.status, 1) << run.output;
    EXPECT_NE(run.output.find("is too large to show: 80.0 MB (the reader shows documents of up to 64 MB)"),
              std::string::npos)
        << run.output;
}
