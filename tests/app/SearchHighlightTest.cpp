// The searched words marked in a shown document: which stretches each search
// mode marks, stepping through them across frames, and the screen-only
// nature of the marks (never printed, never exported).
#include <gtest/gtest.h>

#include <QAction>
#include <QCheckBox>
#include <QImage>
#include <QPainter>
#include <QProcess>
#include <fstream>

#include "AppTestSupport.h"
#include "PromptedWindow.h"
#include "app/HighlightMatches.h"
#include "app/TFM_Find.h"
#include "app/TSearchHighlight.h"
#include "html/layout/TSectionList.h"
#include "html/viewer/TFrameSet.h"
#include "html/viewer/TFrameViewer.h"
#include "html/viewer/THTMLViewer.h"
#include "html/viewer/TfvFrame.h"

namespace {

using Words = std::vector<std::u16string>;

// The text of each marked stretch, in order.
Words Marked(THTMLViewer& viewer, const std::vector<std::pair<int, int>>& ranges)
{
    TSectionList& doc = viewer.SectionList();
    Words words;
    for (const auto& [first, last] : ranges) {
        doc.SelB = first;
        doc.SelE = last;
        words.push_back(doc.GetSelText());
    }
    doc.SelB = doc.SelE = 0;
    return words;
}

THighlightRequest Request(std::vector<std::string> strings)
{
    THighlightRequest request;
    request.Strings = std::move(strings);
    return request;
}

// The search page's whole-word characters.
THighlightRequest WholeWords(std::vector<std::string> strings)
{
    THighlightRequest request = Request(std::move(strings));
    request.WordType = TStringSearchType::sst_Word;
    request.Before = request.After = MakeCharSet("\n\r !,./:?");
    return request;
}

int YellowPixels(const QImage& image)
{
    int count = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) {
            const QColor c = image.pixelColor(x, y);
            count += c.red() > 200 && c.green() > 200 && c.blue() < 80;
        }
    return count;
}

QImage Screen(THTMLViewer& viewer)
{
    QImage image(viewer.SurfaceWidth(), viewer.SurfaceHeight(), QImage::Format_RGB32);
    QPainter painter(&image);
    viewer.PaintBand(painter, image.rect());
    return image;
}

struct Marks : ::testing::Test {
    THTMLViewer viewer;
    Marks()
    {
        viewer.resize(500, 300);
        viewer.ShowHtmlText("<p>Cat sat on the mat; the cat\r\n  sat by con<b>cat</b>enate and ca<i>t</i>s.</p>"
                            "<p>caf&eacute; CAF&Eacute;</p>");
    }
    Words Of(const THighlightRequest& request) { return Marked(viewer, MatchRanges(viewer.SectionList(), request)); }
};

} // namespace

TEST_F(Marks, EverySearchModeMarksWhatItWouldFind)
{
    // Any word, letter case ignored: words cut by markup read as one.
    EXPECT_EQ(Of(Request({"cat", "mat"})), (Words{u"Cat", u"mat", u"cat", u"cat", u"cat"}));
    THighlightRequest exact = Request({"Cat"});
    exact.CaseSense = true;
    EXPECT_EQ(Of(exact), (Words{u"Cat"}));
    // Whole words: not inside "concatenate" or before the "s" of "cats".
    EXPECT_EQ(Of(WholeWords({"cat"})), (Words{u"Cat", u"cat"}));
    // A phrase goes on over the end of a source line.
    EXPECT_EQ(Of(Request({"cat sat"})), (Words{u"Cat sat", u"cat sat"}));
    EXPECT_TRUE(Of(Request({"absent"})).empty());
    EXPECT_TRUE(Of(Request({""})).empty()) << "an empty string marks nothing";
}

TEST_F(Marks, LettersOutsideAsciiFollowTheStoredFormsChoice)
{
    // Written as references, read as letters; every form seeks the other case too.
    EXPECT_EQ(Of(Request({"caf\xC3\xA9"})), (Words{u"caf\u00E9", u"CAF\u00C9"}));
    THighlightRequest typed = Request({"caf\xC3\xA9"});
    typed.FoldAllLetters = false;
    EXPECT_EQ(Of(typed), (Words{u"caf\u00E9"}));
}

TEST(HighlightMarks, OverlapsJoinAndAHugeLineIsMarkedInPieces)
{
    THTMLViewer viewer;
    viewer.resize(500, 300);
    viewer.ShowHtmlText("<p>abcabc xbcx</p>");
    const auto joined = MatchRanges(viewer.SectionList(), Request({"abca", "cab", "bc"}));
    EXPECT_EQ(Marked(viewer, joined), (Words{u"abcabc", u"bc"}));

    // One line of 200,000 characters: matches across the pieces the text is
    // read in are all found, once each, and the limit holds.
    std::string line;
    for (int i = 0; i < 20000; ++i)
        line += "word lamp ";
    viewer.ShowPlainText(line);
    const auto all = MatchRanges(viewer.SectionList(), WholeWords({"lamp"}));
    ASSERT_EQ(all.size(), 20000u);
    for (size_t i = 0; i < all.size(); ++i)
        ASSERT_EQ(all[i].first, int(i * 10 + 5)) << i;
    EXPECT_EQ(MatchRanges(viewer.SectionList(), Request({"lamp"}), 7).size(), 7u);
}

TEST(HighlightMarks, StepsGoRoundAndAcrossTheFramesOfASet)
{
    QTemporaryDir dir;
    const auto write = [&](const char* name, const std::string& text) {
        std::ofstream(dir.filePath(name).toStdString()) << text;
    };
    write("set.htm", "<frameset cols=\"50%,50%\"><frame src=\"left.htm\"><frame src=\"right.htm\"></frameset>");
    write("left.htm", "<p>one lamp, two lamps");
    write("right.htm", "<p>three lamp");
    TFrameViewer frames;
    frames.resize(600, 300);
    frames.ShowFile(dir.filePath("set.htm").toStdString());
    std::vector<THTMLViewer*> viewers;
    for (TfvFrame* frame : frames.CurrentFrameSet().Frames())
        viewers.push_back(frame->Viewer());
    ASSERT_EQ(viewers.size(), 2u);

    TSearchHighlight highlight;
    EXPECT_FALSE(highlight.Step(THighlightStep::Next)) << "nothing marked";
    ASSERT_EQ(highlight.Apply(Request({"lamp"}), viewers), 3u);
    EXPECT_EQ(viewers[0]->Highlights().size(), 2u);
    EXPECT_EQ(viewers[1]->Highlights().size(), 1u);
    // The first is shown current; steps go on into the next frame and round.
    EXPECT_EQ(highlight.CurrentIndex(), 0u);
    EXPECT_EQ(viewers[0]->SectionList().Highlights.Current(), 0u);
    highlight.Step(THighlightStep::Next);
    highlight.Step(THighlightStep::Next);
    EXPECT_EQ(highlight.CurrentIndex(), 2u);
    EXPECT_EQ(viewers[1]->SectionList().Highlights.Current(), 0u);
    EXPECT_EQ(viewers[0]->SectionList().Highlights.Current(), THighlightRanges::NoCurrent);
    highlight.Step(THighlightStep::Next);
    EXPECT_EQ(highlight.CurrentIndex(), 0u) << "round from the last to the first";
    highlight.Step(THighlightStep::Previous);
    EXPECT_EQ(highlight.CurrentIndex(), 2u) << "and back";

    // Marks made without scrolling step first to the first match.
    highlight.Apply(Request({"lamp"}), viewers, THighlightScroll::Stay);
    EXPECT_EQ(highlight.CurrentIndex(), TSearchHighlight::NoCurrent);
    highlight.Step(THighlightStep::Next);
    EXPECT_EQ(highlight.CurrentIndex(), 0u);

    highlight.Clear();
    EXPECT_FALSE(highlight.Active());
    EXPECT_TRUE(viewers[0]->Highlights().empty());
    EXPECT_TRUE(viewers[1]->Highlights().empty());
}

TEST(HighlightMarks, ShownOnTheScreenAndGoneWithTheDocument)
{
    THTMLViewer viewer;
    viewer.resize(500, 300);
    viewer.ShowHtmlText("<body bgcolor=white><p>alpha beta alpha");
    EXPECT_EQ(YellowPixels(Screen(viewer)), 0);
    TSearchHighlight highlight;
    highlight.Apply(Request({"alpha"}), {&viewer}, THighlightScroll::Stay);
    EXPECT_GT(YellowPixels(Screen(viewer)), 50);
    // Built again at another size, the same text keeps its marks.
    viewer.Zoom = 150;
    viewer.Rebuild();
    EXPECT_EQ(viewer.Highlights().size(), 2u);
    viewer.ShowHtmlText("<body bgcolor=white><p>alpha again");
    EXPECT_TRUE(viewer.Highlights().empty());
    EXPECT_EQ(YellowPixels(Screen(viewer)), 0);
}

namespace {

class HighlightWindow : public AppTest {
protected:
    QString page(const char* name, const std::string& html)
    {
        write(name, html);
        return QString::fromStdString(file(name));
    }
    static QAction* action(PromptedWindow& w, const char* name) { return w.findChild<QAction*>(name); }
};

} // namespace

TEST_F(HighlightWindow, HighlightAllMarksTheScreenButNeitherPaperNorTheExport)
{
    const QString doc = page("doc.htm", "<body bgcolor=white><p>alpha beta alpha</p>");
    PromptedWindow w;
    w.resize(700, 500);
    w.show();
    w.LoadHTMLFile(doc);
    THTMLViewer& view = *w.Viewer()->ActiveView();
    TFM_Find* find = w.FindDialog();
    ASSERT_NE(find->findChild<QCheckBox*>("CHK_HighlightAll"), nullptr);
    EXPECT_FALSE(action(w, "ACT_ClearHighlight")->isEnabled());
    find->SetFindText("alpha");
    find->SetHighlightAll(true);
    EXPECT_EQ(view.Highlights().size(), 2u);
    EXPECT_TRUE(action(w, "ACT_ClearHighlight")->isEnabled());
    EXPECT_GT(YellowPixels(Screen(view)), 50);

    // F3 steps through the marks and Shift+F3 back.
    action(w, "MNU_FindAgain")->trigger();
    EXPECT_EQ(w.Highlight().CurrentIndex(), 1u);
    action(w, "ACT_FindPrevious")->trigger();
    EXPECT_EQ(w.Highlight().CurrentIndex(), 0u);

    // Neither the printed page nor the exported text carries the marks.
    if (QProcess::execute("pdftoppm", {"-v"}) == 0) {
        const QString pdf = QString::fromStdString(file("marked.pdf"));
        w.printChoice = [pdf](QPrinter& printer) {
            printer.setOutputFormat(QPrinter::PdfFormat);
            printer.setOutputFileName(pdf);
            return true;
        };
        w.PrintDocument();
        ASSERT_TRUE(w.errors.isEmpty()) << w.errors.join("; ").toStdString();
        ASSERT_EQ(QProcess::execute("pdftoppm", {"-r", "40", "-png", "-singlefile", pdf, pdf}), 0);
        const QImage printed(pdf + ".png");
        ASSERT_FALSE(printed.isNull());
        EXPECT_EQ(YellowPixels(printed), 0);
        EXPECT_EQ(view.Highlights().size(), 2u) << "the screen keeps them";
    }
    w.ExportPlainText();
    ASSERT_EQ(w.opened.size(), 1);
    std::ifstream exported(w.opened[0].toStdString());
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(exported), {}), " alpha beta alpha\n");

    // The choice stands for the next document; Escape ends it.
    w.LoadHTMLFile(page("next.htm", "<p>alpha once"));
    EXPECT_EQ(w.Viewer()->ActiveView()->Highlights().size(), 1u);
    action(w, "ACT_ClearHighlight")->trigger();
    EXPECT_TRUE(w.Viewer()->ActiveView()->Highlights().empty());
    EXPECT_FALSE(find->HighlightAll());
    EXPECT_FALSE(action(w, "ACT_ClearHighlight")->isEnabled());
}
