#include <gtest/gtest.h>

#include "ObjectTestSupport.h"
#include "gfx/THeadlessControls.h"
#include "html/layout/TGIFImage.h"
#include "html/layout/TStringBitmapList.h"

using namespace objecttest;

namespace {

std::shared_ptr<const TGifStrip> Strip(int frames, int loop = -1, int delayHundredths = 10)
{
    GifBuilder gif;
    gif.screen(2, 1, {0xFF0000, 0x0000FF});
    if (loop >= 0)
        gif.netscapeLoop(loop);
    for (int i = 0; i < frames; ++i) {
        gif.graphicControl(1, -1, delayHundredths);
        gif.image(GifFrame(2, 1, {uint8_t(i % 2), 1}));
    }
    gif.trailer();
    return std::make_shared<const TGifStrip>(DecodeGifStrip(gif.bytes));
}

TBitmapItem Still()
{
    TBitmapItem item;
    item.MImage = std::make_shared<const TBitmap>(1, 1);
    return item;
}

} // namespace

TEST(ImageCache, KeysAreUpperCasedAndTrimmed)
{
    TStringBitmapList cache;
    cache.AddImage(" pics/Logo.png ", Still());
    ASSERT_NE(cache.Find("PICS/LOGO.PNG"), nullptr);
    TBitmapItem* again = cache.UseImage("pics/logo.png");
    ASSERT_NE(again, nullptr);
    EXPECT_EQ(again->UsageCount, 2);
}

TEST(ImageCache, AgesAndDropsOnlyUnusedEntries)
{
    TStringBitmapList cache;
    cache.AddImage("unused", Still());
    cache.AddImage("kept", Still());
    cache.Release("unused");
    for (int i = 0; i < TStringBitmapList::DefaultMaxAge; ++i)
        cache.Age();
    EXPECT_NE(cache.Find("unused"), nullptr) << "not older than the maximum age yet";
    cache.Age();
    EXPECT_EQ(cache.Find("unused"), nullptr);
    EXPECT_NE(cache.Find("kept"), nullptr) << "an entry in use stays however old";

    // Using an entry makes it young again; a smaller maximum drops old unused ones.
    cache.AddImage("a", Still());
    cache.AddImage("b", Still());
    cache.Release("a");
    cache.Release("b");
    cache.Age();
    cache.Age();
    cache.UseImage("b");
    cache.Release("b");
    cache.SetMaxAge(1);
    EXPECT_EQ(cache.Find("a"), nullptr);
    EXPECT_NE(cache.Find("b"), nullptr);
}

TEST(ImageCache, ClearingADocumentReleasesItsImages)
{
    PictureDoc first;
    auto cache = first.doc.Objects.BitmapList;
    first.AddImage(*first.body, Attrs({{SrcSy, "8x8"}}));
    first.Layout(100);
    EXPECT_EQ(cache->Find("8X8")->UsageCount, 1);

    PictureDoc second; // another document of the same viewer
    second.doc.Objects.BitmapList = cache;
    second.AddImage(*second.body, Attrs({{SrcSy, "8x8"}}));
    second.Layout(100);
    EXPECT_EQ(second.requests, 0) << "served from the shared cache";
    EXPECT_EQ(cache->Find("8X8")->UsageCount, 2);

    first.doc.ClearDocument();
    second.doc.ClearDocument();
    EXPECT_EQ(cache->Find("8X8")->UsageCount, 0);
    for (int i = 0; i <= cache->MaxAge(); ++i)
        cache->Age();
    EXPECT_EQ(cache->Count(), 0u);
}

TEST(AnimatedImage, AdvancesByFrameDelaysAndStopsWhenItsPlaysAreUsed)
{
    TGIFImage gif(Strip(3, -1, 10)); // no loop count: plays once
    EXPECT_EQ(gif.LoopLimit(), 1);
    gif.SetAnimate(true, 0);
    EXPECT_FALSE(gif.Step(99));
    EXPECT_TRUE(gif.Step(100));
    EXPECT_EQ(gif.CurrentFrame(), 2);
    EXPECT_TRUE(gif.Step(200));
    EXPECT_EQ(gif.CurrentFrame(), 3);
    EXPECT_FALSE(gif.Step(300));
    EXPECT_EQ(gif.CurrentFrame(), 3) << "stops on the last frame";
    EXPECT_FALSE(gif.Animate());

    TGIFImage twice(Strip(2, 1, 10));
    EXPECT_EQ(twice.LoopLimit(), 2);
    twice.SetAnimate(true, 0);
    int changes = 0;
    for (int t = 100; t <= 1000; t += 100)
        changes += twice.Step(t) ? 1 : 0;
    EXPECT_EQ(changes, 3); // 1->2, 2->1, 1->2, then the second pass ends

    TGIFImage forever(Strip(2, 0, 0)); // delays below 30 ms count as 30
    forever.SetAnimate(true, 0);
    for (int t = 30; t <= 3000; t += 30)
        EXPECT_TRUE(forever.Step(t));
}

TEST(AnimatedImage, FrameNumbersWrapAndCopiesShareTheStrip)
{
    TGIFImage gif(Strip(3));
    gif.SetCurrentFrame(9);
    EXPECT_EQ(gif.CurrentFrame(), 1);
    gif.SetCurrentFrame(0);
    EXPECT_EQ(gif.CurrentFrame(), 3);
    auto copy = gif.CreateCopy();
    EXPECT_EQ(&copy->Strip(), &gif.Strip());
    EXPECT_EQ(copy->CurrentFrame(), 1);

    TFixedCanvas canvas;
    gif.Draw(canvas, {10, 10, 30, 20});
    ASSERT_EQ(canvas.calls().size(), 1u);
    EXPECT_EQ(canvas.calls()[0].source, (TRect{4, 0, 6, 1})); // frame 3 of the strip
    EXPECT_EQ(gif.DrawnRect(), (TRect{10, 10, 30, 20}));
}

TEST(AnimatedImage, DocumentTimerStepsAnimationsAndSecondUsersGetCopies)
{
    THeadlessControlFactory factory;
    layouttest::Doc d;
    d.doc.Controls = &factory;
    int64_t now = 0;
    d.doc.Objects.Clock = [&now] { return now; };
    auto strip = Strip(2);
    d.doc.Objects.Host.bitmapRequest = [](const std::string&, TBitmap&, TColor&) { return false; };
    d.doc.Objects.Host.streamRequest = [](const std::string&) {
        GifBuilder gif;
        gif.screen(2, 1, {0xFF0000, 0x0000FF}).netscapeLoop(0);
        for (int i = 0; i < 2; ++i)
            gif.graphicControl(1, -1, 10).image(GifFrame(2, 1, {uint8_t(i), 1}));
        gif.trailer();
        TImageStream s;
        s.kind = TImageStream::Kind::Data;
        s.data = gif.bytes;
        return s;
    };
    auto add = [&] {
        auto s = std::make_unique<TSection>(d.doc, layouttest::Text());
        auto img = std::make_unique<TImageObj>(d.doc, Attrs({{SrcSy, "spin.gif"}}));
        TImageObj* raw = img.get();
        s->AddImage(std::move(img), 0);
        d.body->AddSection(std::move(s));
        return raw;
    };
    TImageObj* a = add();
    TImageObj* b = add();
    int repaints = 0;
    d.doc.Host.invalidate = [&repaints] { ++repaints; };
    d.Layout(300);
    ASSERT_TRUE(a->Animation() && b->Animation());
    EXPECT_NE(a->Animation(), b->Animation()) << "each use keeps its own frame";
    EXPECT_EQ(&a->Animation()->Strip(), &b->Animation()->Strip());
    EXPECT_EQ(d.doc.AnimList.size(), 2u);

    now = 100;
    EXPECT_EQ(factory.tickTimers(), 1);
    EXPECT_EQ(a->Animation()->CurrentFrame(), 2);
    EXPECT_EQ(b->Animation()->CurrentFrame(), 2);
    EXPECT_GE(repaints, 1);
}

TEST(AnimatedImage, ActiveImagesFollowTheMouse)
{
    layouttest::Doc d;
    d.doc.Objects.Host.streamRequest = [](const std::string&) {
        GifBuilder gif;
        gif.screen(2, 1, {0xFF0000, 0x0000FF});
        for (int i = 0; i < 3; ++i)
            gif.graphicControl(1, -1, 10).image(GifFrame(2, 1, {uint8_t(i % 2), 1}));
        gif.trailer();
        TImageStream s;
        s.kind = TImageStream::Kind::Data;
        s.data = gif.bytes;
        return s;
    };
    auto s = std::make_unique<TSection>(d.doc, layouttest::Text());
    auto owned = std::make_unique<TImageObj>(d.doc, Attrs({{SrcSy, "b.gif"}, {ActiveSy, ""}, {WidthSy, "20"}, {HeightSy, "20"}}));
    TImageObj* img = owned.get();
    s->AddImage(std::move(owned), 0);
    d.body->AddSection(std::move(s));
    d.Layout(300);
    d.Paint();
    ASSERT_TRUE(img->Animation());
    EXPECT_TRUE(d.doc.AnimList.empty()) << "an ACTIVE image waits for the mouse";
    TLinkHit hit;
    d.doc.LinkAt(d.canvas, img->DrawX + 5, img->DrawYY + 5, hit);
    EXPECT_EQ(img->Animation()->CurrentFrame(), 2);
    d.doc.SetLinkPressed(true);
    EXPECT_EQ(img->Animation()->CurrentFrame(), 3);
    TLinkHit away;
    d.doc.LinkAt(d.canvas, 290, 500, away);
    EXPECT_EQ(img->Animation()->CurrentFrame(), 1);
    EXPECT_EQ(img->HoverState(), 0);
}
