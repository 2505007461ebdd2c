// Picture data none of the decoders reads goes to the host's drawing hook.
#include <gtest/gtest.h>

#include "ObjectTestSupport.h"

namespace {

std::vector<uint8_t> BytesOf(const std::string& s) { return {s.begin(), s.end()}; }

TEST(DrawingRequest, OnlyDataOfNoKnownFormatIsDrawnAndDrawingsAreCached)
{
    layouttest::Doc d;
    int calls = 0;
    d.doc.Objects.Host.drawingRequest = [&calls](TByteSpan data, TBitmap& bitmap) {
        ++calls;
        if (std::string(data.begin(), data.end()) != "<svg/>")
            return false;
        bitmap = TBitmap(7, 5, 0xFF112233u);
        return true;
    };
    d.doc.Objects.Host.streamRequest = [](const std::string& name) {
        TImageStream s;
        s.kind = TImageStream::Kind::Data;
        if (name == "drawing")
            s.data = BytesOf("<svg/>");
        else if (name == "badpng")
            s.data = BytesOf(std::string("\x89PNG\r\n\x1a\n", 8) + std::string(40, 'x'));
        else
            s.data = BytesOf("plain words, no picture");
        return s;
    };
    TImageFetch drawing = d.doc.Objects.GetImage("drawing", TTransparency::None);
    ASSERT_TRUE(drawing.bitmap);
    EXPECT_EQ(drawing.bitmap->width, 7);
    EXPECT_EQ(drawing.bitmap->at(3, 3), 0xFF112233u);
    EXPECT_EQ(calls, 1);
    EXPECT_TRUE(d.doc.Objects.GetImage("drawing", TTransparency::None).fromCache);
    EXPECT_EQ(calls, 1);

    // A damaged picture of a format the decoders know is not a drawing.
    EXPECT_TRUE(d.doc.Objects.GetImage("badpng", TTransparency::None).Empty());
    EXPECT_EQ(calls, 1);
    // Words are offered, refused, and leave no picture.
    EXPECT_TRUE(d.doc.Objects.GetImage("words", TTransparency::None).Empty());
    EXPECT_EQ(calls, 2);

    // Data that arrives later is drawn the same way.
    d.doc.Objects.AddPending("later", nullptr);
    d.doc.Objects.InsertImage("later", BytesOf("<svg/>"));
    TImageFetch later = d.doc.Objects.GetImage("later", TTransparency::None);
    EXPECT_TRUE(later.fromCache);
    ASSERT_TRUE(later.bitmap);
    EXPECT_EQ(later.bitmap->height, 5);
}

} // namespace
