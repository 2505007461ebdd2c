#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>

#include "ObjectTestSupport.h"
#include "html/layout/TGIFImage.h"
#include "html/layout/TImageFormControlObj.h"

using namespace objecttest;

namespace {

std::vector<uint8_t> TwoColorGif(int frames, int loop = -1, int delay = 10)
{
    GifBuilder gif;
    gif.screen(2, 2, {0xFF0000, 0x00FF00});
    if (loop >= 0)
        gif.netscapeLoop(loop);
    for (int i = 0; i < frames; ++i) {
        gif.graphicControl(1, -1, delay);
        gif.image(GifFrame(2, 2, {uint8_t(i % 2), 0, 1, 1}));
    }
    gif.trailer();
    return gif.bytes;
}

std::filesystem::path WriteTemp(const std::string& name, const std::vector<uint8_t>& bytes)
{
    auto dir = std::filesystem::temp_directory_path() / ("docimages-" + std::to_string(::getpid()));
    std::filesystem::create_directories(dir);
    auto path = dir / name;
    std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
    return path;
}

int AltTextWidth(TCanvas& canvas, const std::string& alt)
{
    TFontRef font = canvas.createFont({"Arial", -11});
    return font->textWidth(std::u16string(alt.begin(), alt.end()));
}

} // namespace

TEST(ImageSizing, PercentWidthTakesThatShareOfTheCellAndScalesTheHeight)
{
    PictureDoc d;
    TImageObj* half = d.AddImage(*d.body, Attrs({{SrcSy, "100x40"}, {WidthSy, "50%"}}));
    d.Layout(300);
    EXPECT_EQ(half->ObjWidth, 150);
    EXPECT_EQ(half->ObjHeight, 60);
    d.Layout(200); // percentages follow the width
    EXPECT_EQ(half->ObjWidth, 100);
    EXPECT_EQ(half->ObjHeight, 40);
}

TEST(ImageSizing, PixelSizesGiveTheOtherInProportionOrNaturalSize)
{
    PictureDoc d;
    TImageObj* natural = d.AddImage(*d.body, Attrs({{SrcSy, "100x40"}}));
    TImageObj* byWidth = d.AddImage(*d.body, Attrs({{SrcSy, "100x40"}, {WidthSy, "50"}}));
    TImageObj* byHeight = d.AddImage(*d.body, Attrs({{SrcSy, "100x40"}, {HeightSy, "80"}}));
    TImageObj* both = d.AddImage(*d.body, Attrs({{SrcSy, "100x40"}, {WidthSy, "30"}, {HeightSy, "7"}}));
    d.Layout(500);
    EXPECT_EQ(std::make_pair(natural->ObjWidth, natural->ObjHeight), std::make_pair(100, 40));
    EXPECT_EQ(std::make_pair(byWidth->ObjWidth, byWidth->ObjHeight), std::make_pair(50, 20));
    EXPECT_EQ(std::make_pair(byHeight->ObjWidth, byHeight->ObjHeight), std::make_pair(200, 80));
    EXPECT_EQ(std::make_pair(both->ObjWidth, both->ObjHeight), std::make_pair(30, 7));
    // The same source is fetched once and shared through the cache.
    EXPECT_EQ(d.requests, 1);
    EXPECT_EQ(d.doc.Objects.BitmapList->Find("100X40")->UsageCount, 4);
}

TEST(ImageSizing, AnImageInALinkIsFramedUnlessBorderIsZero)
{
    PictureDoc d;
    TLinkInfo link{"next.htm", "", 1, 0};
    TImageObj* framed = d.AddImage(*d.body, Attrs({{SrcSy, "10x10"}}), &link);
    TImageObj* bare = d.AddImage(*d.body, Attrs({{SrcSy, "10x10"}, {BorderSy, "0"}}), &link);
    d.Layout(300);
    EXPECT_TRUE(framed->Framed());
    EXPECT_EQ(framed->ObjWidth, 12);
    EXPECT_FALSE(bare->Framed());
    EXPECT_EQ(bare->ObjWidth, 10);
}

TEST(ImageAttributes, AlignSpacesAndStyleOverrides)
{
    PictureDoc d;
    TImageObj img(d.doc, Attrs({{AlignSy, "right"}, {VSpaceSy, "-70"}, {AltSy, "a"}, {TitleSy, "t"},
                                {UseMapSy, " #nav "}, {NameSy, "pic"}}));
    EXPECT_EQ(img.FloatKind, TFloatKind::Right);
    EXPECT_EQ(img.HSpaceL, 3); // floats get 3 pixels each side without HSPACE
    EXPECT_EQ(img.VSpaceT, 40);
    EXPECT_EQ(img.Title, "t");
    EXPECT_EQ(img.MapName, "NAV");
    EXPECT_EQ(d.doc.FindID("pic"), &img);

    TImageObj styled(d.doc, Attrs({{WidthSy, "20"}, {HSpaceSy, "5"}}));
    TObjectStyle style;
    style.floatKind = TFloatKind::Left;
    style.margins[SideTop] = TStyleLength::Percent(10); // of 200
    style.width = TStyleLength::Percent(25);
    style.hasBorderStyle = true;
    styled.ApplyStyle(style);
    EXPECT_EQ(styled.FloatKind, TFloatKind::Left);
    EXPECT_EQ(styled.HSpaceL, 5); // HSPACE was given: the float keeps it
    EXPECT_EQ(styled.VSpaceT, 20);
    EXPECT_TRUE(styled.PercentWidth);
    EXPECT_EQ(styled.SpecWidth, 25);
    EXPECT_TRUE(styled.NoBorder);
}

TEST(ImagePlaceholder, IsWideEnoughForItsAltTextAndShowsIt)
{
    PictureDoc d;
    TImageObj* img = d.AddImage(*d.body, Attrs({{AltSy, "Lighthouse at dusk"}}));
    d.Layout(500);
    EXPECT_EQ(img->Placeholder(), TPlaceholder::Error);
    EXPECT_EQ(img->ObjWidth, AltTextWidth(d.canvas, "Lighthouse at dusk") + 2 + 24);
    EXPECT_EQ(img->ObjHeight, 24);
    EXPECT_NE(d.Paint().find(u"Lighthouse at dusk"), std::u16string::npos);
    bool sunken = false, picture = false;
    for (const TDrawCall& c : d.canvas.calls()) {
        sunken |= c.kind == TDrawKind::Edge && c.edge == TEdgeKind::Sunken;
        picture |= c.kind == TDrawKind::Bitmap && c.rect.left == img->DrawX + 4;
    }
    EXPECT_TRUE(sunken);
    EXPECT_TRUE(picture);
}

TEST(ImagePlaceholder, WidthAndHeightTogetherFixItsSize)
{
    PictureDoc d;
    TImageObj* img = d.AddImage(*d.body, Attrs({{SrcSy, "missing"}, {AltSy, "a long alternative text"},
                                                {WidthSy, "20"}, {HeightSy, "15"}}));
    d.Layout(500);
    EXPECT_EQ(img->ObjWidth, 20);
    EXPECT_EQ(img->ObjHeight, 15);
    d.Paint();
    for (const TDrawCall& c : d.canvas.calls())
        EXPECT_FALSE(c.kind == TDrawKind::Bitmap) << "no placeholder picture in a box of 23 or less";
}

TEST(ImagePlaceholder, MissingUndecodableAndImagesOff)
{
    layouttest::Doc d;
    d.doc.Objects.Host.streamRequest = [](const std::string& name) {
        TImageStream s;
        if (name == "junk") {
            s.kind = TImageStream::Kind::Data;
            s.data.assign(100, 0x42);
        } else if (name == "later") {
            s.kind = TImageStream::Kind::Wait;
        }
        return s;
    };
    auto add = [&](const std::string& src) {
        auto img = std::make_unique<TImageObj>(d.doc, Attrs({{SrcSy, src}, {AltSy, "x"}}));
        TImageObj* raw = img.get();
        auto s = std::make_unique<TSection>(d.doc, layouttest::Text());
        s->AddImage(std::move(img), 0);
        d.body->AddSection(std::move(s));
        return raw;
    };
    TImageObj* junk = add("junk");
    TImageObj* missing = add("/no/such/file.gif");
    TImageObj* later = add("later");
    d.Layout(400);
    EXPECT_EQ(junk->Placeholder(), TPlaceholder::Error);
    EXPECT_EQ(missing->Placeholder(), TPlaceholder::Error);
    EXPECT_EQ(later->Placeholder(), TPlaceholder::Waiting);
    EXPECT_TRUE(d.doc.Objects.IsPending("LATER"));

    // The data arrives: the waiting image takes it and is sized by it.
    std::vector<uint8_t> gif = TwoColorGif(1);
    EXPECT_EQ(d.doc.Objects.InsertImage("later", gif), 1);
    EXPECT_TRUE(later->HasPicture());
    d.Layout(400);
    EXPECT_EQ(later->ObjWidth, 2);

    PictureDoc off;
    off.doc.ShowImages = false;
    TImageObj* img = off.AddImage(*off.body, Attrs({{SrcSy, "10x10"}}));
    off.Layout(300);
    EXPECT_EQ(img->Placeholder(), TPlaceholder::Waiting);
    EXPECT_EQ(off.requests, 0);
}

TEST(GetImage, UpperCaseGifExtensionIsDecodedAsGif)
{
    auto still = WriteTemp("PIC.GIF", TwoColorGif(1));
    auto moving = WriteTemp("MOVE.GIF", TwoColorGif(3));
    layouttest::Doc d;
    TImageFetch a = d.doc.Objects.GetImage(still.string(), TTransparency::None);
    ASSERT_TRUE(a.bitmap);
    EXPECT_EQ(a.bitmap->width, 2);
    TImageFetch b = d.doc.Objects.GetImage(moving.string(), TTransparency::None);
    ASSERT_TRUE(b.animation);
    EXPECT_EQ(b.animation->NumFrames(), 3);
    std::filesystem::remove_all(still.parent_path());
}

TEST(GetImage, HostColourAndLowerLeftMasks)
{
    layouttest::Doc d;
    d.doc.Objects.Host.bitmapRequest = [](const std::string& name, TBitmap& b, TColor& color) {
        b = TBitmap(3, 3, 0xFF000000u);
        b.at(1, 1) = 0xFFFF0000u; // red
        color = name == "keyed" ? RGBColor(255, 0, 0) : ClNone;
        return true;
    };
    TImageFetch keyed = d.doc.Objects.GetImage("keyed", TTransparency::None);
    EXPECT_EQ(keyed.transparency, TTransparency::HostColor);
    EXPECT_TRUE(keyed.bitmap->transparentAt(1, 1));
    EXPECT_FALSE(keyed.bitmap->transparentAt(0, 0));

    TImageFetch plain = d.doc.Objects.GetImage("plain", TTransparency::None);
    EXPECT_FALSE(plain.bitmap->hasMask());
    // Asked again with lower-left transparency, the cached bitmap gets its mask now.
    TImageFetch masked = d.doc.Objects.GetImage("PLAIN ", TTransparency::LowerLeft);
    EXPECT_TRUE(masked.fromCache);
    EXPECT_EQ(masked.transparency, TTransparency::LowerLeft);
    EXPECT_TRUE(masked.bitmap->transparentAt(0, 2));
    EXPECT_FALSE(masked.bitmap->transparentAt(1, 1));
}

TEST(ImageHitTest, LinkedServerMapAddsThePointAndClientMapsAnswerTheirAreas)
{
    PictureDoc d;
    TLinkInfo link{"cgi/map", "", 7, 0};
    TImageObj* server = d.AddImage(*d.body, Attrs({{SrcSy, "40x40"}, {IsMapSy, ""}}), &link);
    TImageObj* client = d.AddImage(*d.body, Attrs({{SrcSy, "40x40"}, {UseMapSy, "#Nav"}, {BorderSy, "0"}}));
    TMapItem& map = d.doc.Objects.AddMap("nav"); // the map may come after the image
    map.AddArea(Attrs({{ShapeSy, "rect"}, {CoordsSy, "0,0,9,9"}, {HrefSy, "a.htm"}, {TitleSy, "A"}}));
    d.Layout(300);
    d.Paint();

    TLinkHit hit;
    int flags = d.doc.LinkAt(d.canvas, server->DrawX + 6, server->DrawYY + 4, hit);
    EXPECT_TRUE(flags & HitLink);
    EXPECT_EQ(hit.link.url, "cgi/map?5,3"); // less the 1-pixel frame

    TLinkHit inArea;
    flags = d.doc.LinkAt(d.canvas, client->DrawX + 9, client->DrawYY + 9, inArea);
    EXPECT_EQ(flags, HitLink | HitTitle);
    EXPECT_EQ(inArea.link.url, "a.htm");
    EXPECT_EQ(inArea.title, "A");
    TLinkHit outside;
    EXPECT_EQ(d.doc.LinkAt(d.canvas, client->DrawX + 10, client->DrawYY + 9, outside) & HitLink, 0);
}

TEST(ImageDrawing, PicturesAreStretchedToTheImageSizeInsideTheirFrame)
{
    PictureDoc d;
    TLinkInfo link{"x.htm", "", 1, 0};
    TImageObj* img = d.AddImage(*d.body, Attrs({{SrcSy, "10x10"}, {WidthSy, "30"}, {HeightSy, "20"}}), &link);
    d.Layout(300);
    d.Paint();
    const TDrawCall* bitmap = nullptr;
    const TDrawCall* frame = nullptr;
    for (const TDrawCall& c : d.canvas.calls()) {
        if (c.kind == TDrawKind::Bitmap)
            bitmap = &c;
        if (c.kind == TDrawKind::FrameRect)
            frame = &c;
    }
    ASSERT_TRUE(bitmap && frame);
    EXPECT_EQ(frame->rect.width(), 32);
    EXPECT_EQ(bitmap->rect.left, frame->rect.left + 1);
    EXPECT_EQ(bitmap->rect.width(), 30);
    EXPECT_EQ(bitmap->rect.height(), 20);
    EXPECT_EQ(img->ObjHeight, 22);
}
