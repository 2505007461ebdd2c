// Style borders of pictures: a floating picture draws its own, around itself;
// an inline picture is framed with the text around it.
#include <gtest/gtest.h>

#include "BuilderTestSupport.h"
#include "html/layout/TImageObj.h"

using namespace buildtest;

namespace {

constexpr TColor BorderColour = 0x442A1F; // #1F2A44

// Where the paint drew in the border colour: each call's rectangle (or the
// box of its points).
std::vector<TRect> BorderStrokes(Built& b)
{
    b.canvas.clearCalls();
    TPaintContext pc{b.canvas, TRect{0, 0, 800, 600}};
    b.doc.PaintDocument(pc, 0);
    std::vector<TRect> strokes;
    for (const TDrawCall& c : b.canvas.calls()) {
        if ((c.color & 0xFFFFFF) != BorderColour || c.kind == TDrawKind::Text)
            continue;
        TRect r = c.rect;
        if (!c.points.empty()) {
            r = {c.points[0].x, c.points[0].y, c.points[0].x, c.points[0].y};
            for (const TPoint& p : c.points)
                r = {std::min(r.left, p.x), std::min(r.top, p.y), std::max(r.right, p.x), std::max(r.bottom, p.y)};
        }
        strokes.push_back(r);
    }
    return strokes;
}

} // namespace

TEST(PictureBorders, AFloatingPictureDrawsItsBorderAroundItselfOnly)
{
    for (const std::string floating : {"style=\"float: left; ", "align=left style=\""}) {
        Built b("<h2>First night, 1877</h2><div>\n<img id=pic " + floating +
                "margin-right: 10px; border: 2px solid #1F2A44\" width=48 height=60 alt=\"Ezra\">\n"
                "<p>Lit at 5.58 by order of the Board.</p><br clear=left></div>");
        auto* picture = dynamic_cast<TImageObj*>(b.doc.FindID("pic"));
        ASSERT_NE(picture, nullptr);
        std::vector<TRect> strokes = BorderStrokes(b);
        ASSERT_FALSE(strokes.empty()) << floating << ": the border is drawn";
        EXPECT_EQ(picture->ObjWidth, 48 + 4);
        EXPECT_EQ(picture->ObjHeight, 60 + 4);
        const TRect box{picture->DrawX, picture->DrawYY, picture->DrawX + picture->ObjWidth,
                        picture->DrawYY + picture->ObjHeight};
        int left = 0, right = 0, top = 0, bottom = 0;
        for (const TRect& s : strokes) {
            EXPECT_TRUE(s.left >= box.left && s.right <= box.right && s.top >= box.top && s.bottom <= box.bottom)
                << floating << ": a stroke at " << s.left << "," << s.top << " outside the picture at " << box.left
                << "," << box.top;
            left += s.left == box.left;
            right += s.right >= box.right - 1;
            top += s.top == box.top;
            bottom += s.bottom >= box.bottom - 1;
        }
        EXPECT_TRUE(left && right && top && bottom) << floating << ": all four sides";
    }
}

TEST(PictureBorders, AnInlinePictureIsStillFramedWithItsLine)
{
    Built b("<p>before <img id=pic style=\"border: 2px solid #1F2A44\" width=20 height=20> after</p>");
    auto* picture = dynamic_cast<TImageObj*>(b.doc.FindID("pic"));
    ASSERT_NE(picture, nullptr);
    EXPECT_EQ(picture->ObjWidth, 20) << "the inline box holds the border";
    EXPECT_FALSE(BorderStrokes(b).empty());
}
