#include <gtest/gtest.h>

#include <QLineEdit>

#include "html/layout/TSectionList.h"
#include "html/viewer/TFrameSet.h"
#include "html/viewer/TFrameViewer.h"
#include "html/viewer/THTMLViewer.h"
#include "html/viewer/TfvFrame.h"
#include "html/viewer/ViewerErrors.h"
#include "tests/viewer/ViewerTestSupport.h"

namespace {

struct FramesFixture : ::testing::Test {
    viewertest::Files files;
    TFrameViewer fv;
    FramesFixture()
    {
        fv.resize(600, 400);
        fv.SetHistoryMaxCount(10);
        fv.show();
    }
    std::string TwoFrames()
    {
        files.Write("a.htm", "<title>A</title><a href=\"a2.htm\">next a</a>");
        files.Write("a2.htm", "<title>A2</title>a two");
        files.Write("b.htm", "<title>B</title><a href=\"b2.htm\">next b</a>");
        files.Write("b2.htm", "<title>B2</title>b two");
        return files.Write("set.htm", "<html><head><title>Set</title></head>"
                                      "<frameset cols=\"200,*\"><frame name=left src=a.htm>"
                                      "<frame name=right src=b.htm></frameset></html>");
    }
    TfvFrame& Frame(const char* name) { return *fv.CurrentFrameSet().FrameNamed(name); }
};

// Depth of frame sets nested inside frames below a set.
int NestedDepth(TSubFrameSet& set)
{
    int depth = 0;
    std::vector<TfvFrame*> frames;
    for (auto& child : set.Children)
        if (auto* frame = dynamic_cast<TfvFrame*>(child.get()))
            if (frame->NestedSet())
                depth = std::max(depth, 1 + NestedDepth(*frame->NestedSet()));
    return depth;
}

} // namespace

TEST_F(FramesFixture, OrdinaryFileIsOneFrame)
{
    std::string page = files.Write("page.htm", "<title>Page</title>hello");
    fv.ShowFile(page);
    EXPECT_EQ(fv.CurrentFrameSet().FrameCount(), 1);
    ASSERT_NE(fv.ActiveView(), nullptr);
    EXPECT_EQ(fv.ActiveView()->CurrentFile(), page);
    EXPECT_EQ(fv.DocumentTitle(), "Page");
    EXPECT_EQ(fv.CurrentFile(), page);
    EXPECT_THROW(fv.ShowFile(files.Path("missing.htm")), EfvLoadError);
    EXPECT_EQ(fv.CurrentFile(), page); // the previous view stays
}

TEST_F(FramesFixture, FrameSetBuildsNamedFramesWithTheirSizes)
{
    fv.ShowFile(TwoFrames());
    TFrameSet& set = fv.CurrentFrameSet();
    ASSERT_EQ(set.FrameCount(), 2);
    EXPECT_EQ(set.Sizes, (std::vector<int>{200, 400}));
    EXPECT_EQ(Frame("LEFT").width(), 200);
    ASSERT_NE(fv.ViewFromTarget("Right"), nullptr);
    EXPECT_EQ(fv.ViewFromTarget("Right")->DocumentTitle(), "B");
    EXPECT_EQ(fv.ViewFromTarget("nosuch"), nullptr);
    EXPECT_EQ(fv.DocumentTitle(), "Set");
    EXPECT_EQ(fv.ActiveView(), nullptr); // no frame had the focus yet
}

TEST_F(FramesFixture, BackStepsTheLastNavigatedFrameFirst)
{
    fv.ShowFile(TwoFrames());
    THTMLViewer& a = *Frame("left").Viewer();
    THTMLViewer& b = *Frame("right").Viewer();
    fv.FrameLinkClick(a, "a2.htm");
    fv.FrameLinkClick(b, "b2.htm");
    EXPECT_EQ(Frame("left").Viewer()->DocumentTitle(), "A2");
    EXPECT_EQ(Frame("right").Viewer()->DocumentTitle(), "B2");
    EXPECT_TRUE(fv.BackButtonEnabled());
    EXPECT_FALSE(fv.FwdButtonEnabled());
    fv.StepBack();
    EXPECT_EQ(Frame("right").Viewer()->DocumentTitle(), "B");
    EXPECT_EQ(Frame("left").Viewer()->DocumentTitle(), "A2");
    fv.StepBack();
    EXPECT_EQ(Frame("left").Viewer()->DocumentTitle(), "A");
    EXPECT_TRUE(fv.FwdButtonEnabled());
    fv.StepForward();
    EXPECT_EQ(Frame("left").Viewer()->DocumentTitle(), "A2");
    EXPECT_EQ(Frame("right").Viewer()->DocumentTitle(), "B");
}

TEST_F(FramesFixture, AFramesPlaceAndFormContentsComeBackWithItsPage)
{
    files.Write("form.htm", "<form><input name=who value=keeper></form><a href=\"b2.htm\">on</a>" +
                                viewertest::Paragraphs(80));
    files.Write("b2.htm", "<title>B2</title>b two");
    fv.ShowFile(files.Write("set.htm", "<frameset cols=\"*,*\"><frame name=left src=form.htm>"
                                       "<frame name=right src=b2.htm></frameset>"));
    auto who = [&] {
        auto data = Frame("left").Viewer()->SaveFormData();
        return data && !data->empty() && !(*data)[0].empty() ? (*data)[0][0] : std::string();
    };
    auto edits = Frame("left").Viewer()->findChildren<QLineEdit*>();
    ASSERT_EQ(edits.size(), 1);
    edits[0]->setText("relief keeper");
    Frame("left").Viewer()->SetVScrollBarPosition(300);
    int place = Frame("left").Viewer()->VScrollBarPosition();
    ASSERT_GT(place, 0);
    fv.FrameLinkClick(*Frame("left").Viewer(), "b2.htm");
    EXPECT_EQ(Frame("left").Viewer()->DocumentTitle(), "B2");
    fv.StepBack();
    EXPECT_EQ(who(), "who=relief keeper");
    EXPECT_EQ(Frame("left").Viewer()->VScrollBarPosition(), place);
}

TEST_F(FramesFixture, TargetsChooseTheFrame)
{
    fv.ShowFile(TwoFrames());
    THTMLViewer& a = *Frame("left").Viewer();
    std::string clickedTarget;
    fv.OnHotSpotTargetClick = [&](TFrameViewer*, const std::string& target, const std::string&, bool&) {
        clickedTarget = target;
    };
    std::string blankTarget;
    fv.FrameLinkClick(a, "nowhere.htm"); // no target: the frame itself (a missing file shows an error line)
    EXPECT_NE(Frame("left").Viewer()->SectionList().Sections.size(), 0u);

    // A link to an unknown target asks for a new window only when someone listens.
    THTMLViewer& b = *Frame("right").Viewer();
    b.ShowHtmlText("<a href=\"b2.htm\" target=\"elsewhere\">x</a>", files.Path("b.htm"));
    fv.OnBlankWindowRequest = [&](TFrameViewer*, const std::string& target, const std::string&) {
        blankTarget = target;
    };
    fv.ShowInTarget("elsewhere", "b2.htm");
    EXPECT_EQ(blankTarget, "elsewhere");
    fv.ShowInTarget("right", files.Path("a2.htm"));
    EXPECT_EQ(Frame("right").Viewer()->DocumentTitle(), "A2");
    EXPECT_THROW(fv.ShowInTarget("right", files.Path("gone.htm")), EfvLoadError);
    fv.ShowInTarget("_top", files.Path("b2.htm"));
    EXPECT_EQ(fv.CurrentFrameSet().FrameCount(), 1);
    EXPECT_EQ(fv.DocumentTitle(), "B2");
}

TEST_F(FramesFixture, FrameSetHistorySwapsWholeSets)
{
    std::string set = TwoFrames();
    std::string page = files.Write("page.htm", "<title>Page</title>hello");
    fv.ShowFile(set);
    fv.ShowFile(page);
    ASSERT_EQ(fv.HistoryCount(), 2);
    EXPECT_EQ(fv.HistoryFile(0), page);
    fv.StepBack();
    EXPECT_EQ(fv.CurrentFile(), set);
    EXPECT_EQ(fv.CurrentFrameSet().FrameCount(), 2);
    fv.StepForward();
    EXPECT_EQ(fv.CurrentFile(), page);
    fv.ClearView();
    EXPECT_EQ(fv.HistoryCount(), 0);
    EXPECT_EQ(fv.CurrentFrameSet().FrameCount(), 0);
}

TEST_F(FramesFixture, FrameSetLoadingItselfStopsAfterFourLevels)
{
    std::string self = files.Write("self.htm", "<frameset rows=\"50%,50%\"><frame src=\"self.htm\">"
                                               "<frame src=\"leaf.htm\"></frameset>");
    files.Write("leaf.htm", "leaf");
    fv.ShowFile(self);
    EXPECT_EQ(NestedDepth(fv.CurrentFrameSet()), 4);
    // Both frames of the deepest set stay empty.
    std::vector<TfvFrame*> frames = fv.CurrentFrameSet().Frames();
    int empty = 0;
    for (TfvFrame* f : frames)
        if (!f->Viewer() && !f->NestedSet())
            ++empty;
    EXPECT_EQ(empty, 2);
}

TEST_F(FramesFixture, FramesBeyondTheLimitsAreIgnored)
{
    files.Write("leaf.htm", "leaf");
    // A set sizes at most MaxFrameSpecs children; the others never show.
    std::string wide = "<frameset cols=\"";
    for (int i = 0; i < 30; ++i)
        wide += i ? ",*" : "*";
    wide += "\">";
    for (int i = 0; i < 30; ++i)
        wide += "<frame name=f" + std::to_string(i) + " src=leaf.htm>";
    fv.ShowFile(files.Write("wide.htm", wide));
    EXPECT_EQ(fv.CurrentFrameSet().FrameCount(), int(MaxFrameSpecs));
    EXPECT_NE(fv.CurrentFrameSet().FrameNamed("f19"), nullptr);
    EXPECT_EQ(fv.CurrentFrameSet().FrameNamed("f20"), nullptr);

    // Twenty thousand frames in nested sets: the window keeps a bounded number.
    std::string many = "<frameset rows=\"*,*\">";
    for (int i = 0; i < 1000; ++i) {
        many += "<frameset cols=\"*,*\">";
        for (int j = 0; j < 20; ++j)
            many += "<frame src=leaf.htm>";
        many += "</frameset>";
    }
    fv.ShowFile(files.Write("many.htm", many));
    std::vector<TfvFrame*> frames = fv.CurrentFrameSet().Frames();
    // Sets count against the limit too: what is left is mostly frames.
    EXPECT_LE(int(frames.size()), MaxWindowFrames);
    EXPECT_GT(int(frames.size()), MaxWindowFrames * 9 / 10);
}

TEST_F(FramesFixture, VisitedLinksAreSharedAcrossFrames)
{
    fv.ShowFile(TwoFrames());
    fv.FrameLinkClick(*Frame("left").Viewer(), "a2.htm");
    EXPECT_TRUE(fv.Visited().Contains(files.Path("a2.htm")));
    EXPECT_TRUE(Frame("left").Viewer()->Visited().Urls().empty()); // frames keep no list of their own
}
