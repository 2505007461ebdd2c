#include <gtest/gtest.h>

#include <QCoreApplication>

#include "html/layout/TFontObj.h"
#include "html/layout/TSectionBase.h"
#include "html/layout/TSectionList.h"
#include "html/viewer/THTMLViewer.h"
#include "html/viewer/ViewerErrors.h"
#include "tests/viewer/ViewerTestSupport.h"

namespace {

struct ViewerFixture : ::testing::Test {
    viewertest::Files files;
    THTMLViewer viewer;
    ViewerFixture()
    {
        viewer.resize(400, 300);
        viewer.show();
    }
    // The section list entry whose anchor Y is at or above the window top.
    int TopSectionIndex()
    {
        int y = 0, index = -1;
        viewer.SectionList().SectionAtY(viewer.VScrollBarPosition(), y, index);
        return index;
    }
};

} // namespace

TEST_F(ViewerFixture, FileNameWithAnchorOpensThere)
{
    std::string page = files.Write("page.htm", viewertest::Paragraphs(80));
    viewer.ShowFile(page + "#p40");
    EXPECT_EQ(viewer.CurrentFile(), page);
    EXPECT_GT(viewer.VScrollBarPosition(), 0);
    TIDObject* anchor = viewer.SectionList().FindID("P40");
    ASSERT_NE(anchor, nullptr);
    EXPECT_EQ(viewer.VScrollBarPosition(), viewer.AnchorYOf(*anchor));

    viewer.ShowFile(files.Write("other.htm", viewertest::Paragraphs(80)) + "#nosuch");
    EXPECT_EQ(viewer.VScrollBarPosition(), 0);
}

TEST_F(ViewerFixture, MissingFileIsReported)
{
    try {
        viewer.ShowFile(files.Path("none.htm"));
        FAIL() << "no error";
    } catch (const EInOutError& e) {
        EXPECT_EQ(e.message(), "Can't locate file: " + files.Path("none.htm"));
    }
    EXPECT_FALSE(viewer.Processing());
}

TEST_F(ViewerFixture, AnchorLinkAddsHistoryAndBackReturns)
{
    viewer.SetHistoryMaxCount(10);
    viewer.ShowFile(files.Write("page.htm", viewertest::Paragraphs(80)));
    viewer.SetVScrollBarPosition(100);
    int before = viewer.ViewPosition();
    int changes = 0;
    viewer.OnHistoryChange = [&changes](THTMLViewer*) { ++changes; };
    viewer.FollowLink("#p60");
    EXPECT_EQ(changes, 1);
    ASSERT_EQ(viewer.HistoryCount(), 2);
    EXPECT_EQ(viewer.HistoryPosition(1).Pos, before);
    int there = viewer.VScrollBarPosition();
    EXPECT_GT(there, 100);
    viewer.SetHistoryIndex(1);
    EXPECT_EQ(viewer.VScrollBarPosition(), 100);
    viewer.SetHistoryIndex(0);
    EXPECT_EQ(viewer.VScrollBarPosition(), there);
    // The anchor was marked visited with the file's name.
    EXPECT_TRUE(viewer.Visited().Contains(viewer.CurrentFile() + "#p60"));
}

TEST_F(ViewerFixture, VisitedLinksAreFoundWhateverTheCaseAndHowOftenLinked)
{
    std::string other = files.Write("other.htm", "x");
    std::string page = files.Write("links.htm", "<a href='OTHER.HTM'>a</a> <a href='other.htm#part'>b</a> "
                                                "<a href='gone.htm'>c</a> <a href='Other.htm'>d</a> "
                                                "<a href='GONE.HTM'>e</a> <a href='#top'>f</a>");
    viewer.ShowFile(page);
    std::vector<std::string> asked;
    viewer.MarkLinks([&](const std::string& url) {
        asked.push_back(url);
        return url == other || url == page + "#top";
    });
    const std::vector<TFontObj*>& links = viewer.SectionList().LinkList;
    ASSERT_EQ(links.size(), 6u);
    std::vector<bool> visited;
    for (const TFontObj* link : links)
        visited.push_back(link->Visited());
    EXPECT_EQ(visited, (std::vector<bool>{true, false, false, true, false, true}));
    EXPECT_EQ(asked, (std::vector<std::string>{other, other + "#part", files.Path("gone.htm"), other,
                                               files.Path("GONE.HTM"), page + "#top"}));
}

TEST_F(ViewerFixture, HistoryKeepsTheNewestEntries)
{
    viewer.SetHistoryMaxCount(5);
    std::vector<std::string> names;
    for (int i = 0; i < 7; ++i) {
        names.push_back(files.Write("f" + std::to_string(i) + ".htm", "<title>T" + std::to_string(i) + "</title>x"));
        viewer.ShowFile(names.back());
    }
    ASSERT_EQ(viewer.HistoryCount(), 5);
    for (int i = 0; i < 5; ++i)
        EXPECT_EQ(viewer.HistoryFile(i), names[size_t(6 - i)]);
    EXPECT_EQ(viewer.HistoryTitle(0), "T6");
    viewer.SetHistoryIndex(3);
    EXPECT_EQ(viewer.CurrentFile(), names[3]);
    // A new file drops the forward entries.
    viewer.ShowFile(names[0]);
    EXPECT_EQ(viewer.HistoryIndex(), 0);
    EXPECT_EQ(viewer.HistoryFile(1), names[3]);
    EXPECT_EQ(viewer.HistoryCount(), 3);
    viewer.SetHistoryMaxCount(2);
    EXPECT_EQ(viewer.HistoryCount(), 0);
}

TEST_F(ViewerFixture, LongSourceIsLaidOutOnceBesideTheBar)
{
    std::string longPage = viewertest::Paragraphs(200);
    ASSERT_GT(longPage.size(), 9999u);
    viewer.ShowFile(files.Write("long.htm", longPage));
    EXPECT_EQ(viewer.Relayout(), 1);
    EXPECT_TRUE(viewer.VScrollBarVisible());
    // A short source that is still taller than the window takes two passes.
    std::string shortPage = viewertest::Paragraphs(30);
    ASSERT_LT(shortPage.size(), 9999u);
    viewer.ShowFile(files.Write("short.htm", shortPage));
    EXPECT_EQ(viewer.Relayout(), 2);
    // A page that fits takes one, without a bar.
    viewer.ShowFile(files.Write("tiny.htm", "<p>tiny"));
    EXPECT_EQ(viewer.Relayout(), 1);
    EXPECT_FALSE(viewer.VScrollBarVisible());
}

TEST_F(ViewerFixture, RefreshOfZeroReportsOne)
{
    int delay = -1;
    std::string url;
    viewer.OnMetaRefresh = [&](THTMLViewer*, int d, const std::string& u) {
        delay = d;
        url = u;
    };
    viewer.ShowFile(files.Write("r.htm", "<html><head><meta http-equiv=\"Refresh\" content=\"0; url=next.htm\">"
                                         "</head><body>x</body></html>"));
    QCoreApplication::processEvents();
    EXPECT_EQ(delay, 1);
    EXPECT_EQ(url, "next.htm");
}

TEST_F(ViewerFixture, ResizingKeepsTheTopParagraphInView)
{
    viewer.ShowFile(files.Write("page.htm", viewertest::Paragraphs(120)));
    ASSERT_TRUE(viewer.GotoAnchor("p50"));
    int index = TopSectionIndex();
    ASSERT_GE(index, 0);
    TSectionBase* section = viewer.SectionList().PositionList[size_t(index)];
    viewer.resize(160, 300); // the paragraphs now wrap into several lines
    QCoreApplication::processEvents();
    int top = viewer.VScrollBarPosition();
    EXPECT_GE(top, section->YPosition());
    EXPECT_LT(top, section->YPosition() + section->SectionHeight);
}

TEST_F(ViewerFixture, FindSelectsAndScrollsToTheMatch)
{
    viewer.ShowFile(files.Write("page.htm", viewertest::Paragraphs(80)));
    EXPECT_FALSE(viewer.FindInText("", false));
    ASSERT_TRUE(viewer.FindInText("PARAGRAPH 70", false));
    EXPECT_EQ(viewer.SelText(), u"Paragraph 70");
    EXPECT_GT(viewer.VScrollBarPosition(), 0);
    EXPECT_FALSE(viewer.FindInText("PARAGRAPH 70", true));
    viewer.SelectAll();
    EXPECT_GT(viewer.SelLength(), 1000);
}

TEST_F(ViewerFixture, PlainTextAndMemoryText)
{
    viewer.ShowFile(files.Write("notes.txt", "line <b>one</b>\nline two\n"));
    EXPECT_EQ(viewer.DocKind(), TDocKind::Text);
    EXPECT_TRUE(viewer.FindInText("<b>one</b>", true));
    viewer.ShowHtmlText("<title>Memo</title><a name=end>End</a>", files.Path("memo.htm") + "#end");
    EXPECT_EQ(viewer.DocumentTitle(), "Memo");
    EXPECT_EQ(viewer.CurrentFile(), files.Path("memo.htm"));
    EXPECT_EQ(viewer.ExpandLinkName("pic.gif"), files.Path("pic.gif"));
}

TEST_F(ViewerFixture, LinkedStyleSheetsScriptsAndSourcesShowAsText)
{
    const std::string sheet = "body { color: red }\n<p>not a paragraph</p>\nline three\n";
    for (const char* name : {"site.css", "menu.js", "main.c", "defs.h", "tool.py", "READ.MD", "run.log", "setup.ini"}) {
        viewer.ShowFile(files.Write(name, sheet));
        EXPECT_EQ(viewer.DocKind(), TDocKind::Text) << name;
        viewer.SectionList().CaretPos = 0; // find from the top of each file
        EXPECT_TRUE(viewer.FindInText("<p>not a paragraph</p>", true)) << name << ": the markup shows as written";
    }
    // An HTML page saved under such a name is still a page; other names are pages.
    viewer.ShowFile(files.Write("page.md", "<!DOCTYPE html>\n<html><body><p>a page</p></body></html>"));
    EXPECT_EQ(viewer.DocKind(), TDocKind::Html);
    viewer.ShowFile(files.Write("page.htm", sheet));
    EXPECT_EQ(viewer.DocKind(), TDocKind::Html);
    viewer.SectionList().CaretPos = 0;
    EXPECT_FALSE(viewer.FindInText("<p>", true));
}
