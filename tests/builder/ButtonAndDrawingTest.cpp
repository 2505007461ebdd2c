// BUTTON elements drawn as push buttons around their content, and inline
// drawings (SVG) shown as pictures of their own text.
#include <gtest/gtest.h>

#include "BuilderTestSupport.h"
#include "html/layout/TFloatingObj.h"
#include "html/layout/TImageObj.h"
#include "html/layout/TInlineList.h"
#include "html/parse/HtmlReader.h"

using namespace buildtest;

namespace {

TEST(Button, DrawsARaisedBoxAroundItsContentOnly)
{
    const std::string html = "<p>Press <button type=submit>Go <b>now</b></button> here</p>";
    Built b(html);
    EXPECT_NE(b.Text().find("Press Go now here"), std::string::npos);
    const auto& boxes = b.doc.InlineList->Items();
    ASSERT_EQ(boxes.size(), 1u);
    for (TBorderKind side : boxes[0].Styles)
        EXPECT_EQ(side, TBorderKind::Outset);
    EXPECT_EQ(boxes[0].Box[BoxPaddingLeft], 6);
    EXPECT_EQ(boxes[0].Box[BoxBorderTop], 2);
    // The box runs from <button> to </button>: "here" is outside it.
    EXPECT_EQ(boxes[0].StartSource, int(html.find("<button")));
    EXPECT_GT(boxes[0].EndSource, int(html.find("now")));
    EXPECT_LE(boxes[0].EndSource, int(html.find("here")));
}

TEST(Button, StyleSheetsRestyleIt)
{
    Built b("<style>button { border: none } .big { font-size: 20pt }</style><p><button class=big>Go</button>");
    EXPECT_TRUE(b.doc.InlineList->Items().empty());
    EXPECT_NE(b.Text().find("Go"), std::string::npos);
}

TEST(InlineDrawing, ShowsAsAPictureOfItsOwnText)
{
    std::string drawn;
    TFixedCanvas canvas;
    SetStyleScreen(&canvas);
    TSectionList doc;
    TStyleList styles;
    doc.Objects.Host.drawingRequest = [&drawn](TByteSpan data, TBitmap& bitmap) {
        drawn.assign(data.begin(), data.end());
        bitmap = TBitmap(30, 12, 0xFF000000u);
        return true;
    };
    HtmlParseString("<p>Before <svg viewBox=\"0 0 30 12\"><text>label</text></svg> after</p>", doc, styles,
                    THtmlParseSettings{}, THtmlParseEvents{});
    int maxWidth = 0;
    doc.LayOut(canvas, 0, 800, 600, maxWidth);
    SetStyleScreen(nullptr);
    EXPECT_EQ(drawn, "<svg viewBox=\"0 0 30 12\"><text>label</text></svg>");
    TImageObj* picture = nullptr;
    std::u16string text;
    for (TSection* s : All<TSection>(doc)) {
        text += s->Text();
        for (size_t i = 0; i < s->Text().size(); ++i) {
            char16_t ch = 0;
            TIDObject* obj = nullptr;
            if (s->Text()[i] == ImageChar && s->CharAt(s->StartCurs + int(i), ch, obj))
                picture = dynamic_cast<TImageObj*>(obj);
        }
    }
    // The drawing's labels are not document text; the picture stands between the words.
    EXPECT_EQ(text.find(u"label"), std::u16string::npos);
    EXPECT_NE(text.find(u"Before"), std::u16string::npos);
    EXPECT_NE(text.find(u"after"), std::u16string::npos);
    ASSERT_TRUE(picture);
    EXPECT_EQ(picture->ObjWidth, 30);
    EXPECT_EQ(picture->ObjHeight, 12);
}

TEST(InlineDrawing, UnclosedOrTooLargeDrawingsAreSkipped)
{
    Built unclosed("<p>a <svg><rect/> b");
    EXPECT_EQ(unclosed.Text().find("b"), std::string::npos); // read to the end, as before
    std::string huge = "<p>x <svg>" + std::string(MaxInlineDrawingBytes, ' ') + "</svg> y";
    Built large(huge);
    EXPECT_NE(large.Text().find("y"), std::string::npos);
}

} // namespace
