// Pictures that are scalable drawings: drawn by the viewer at their own size,
// or shown by their alternative text when they cannot be drawn.
#include <gtest/gtest.h>

#include "html/layout/TImageObj.h"
#include "html/layout/TSectionList.h"
#include "html/viewer/SvgRasterizer.h"
#include "html/viewer/THTMLViewer.h"
#include "tests/viewer/ViewerTestSupport.h"

namespace {

const std::string Flag = "<?xml version=\"1.0\"?>\n"
                         "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"40\" height=\"20\">"
                         "<rect x=\"0\" y=\"0\" width=\"20\" height=\"20\" fill=\"#ff0000\"/>"
                         "<rect x=\"20\" y=\"0\" width=\"20\" height=\"20\" fill=\"#0000ff\"/></svg>";

TByteSpan Bytes(const std::string& s) { return {reinterpret_cast<const uint8_t*>(s.data()), s.size()}; }

TImageObj* Image(THTMLViewer& viewer, const std::string& id)
{
    return dynamic_cast<TImageObj*>(viewer.SectionList().FindID(id));
}

} // namespace

TEST(SvgRasterizer, DrawsAtTheDrawingsOwnSizeWithItsColours)
{
    TBitmap flag;
    ASSERT_TRUE(RasterizeSvg(Bytes(Flag), flag));
    EXPECT_EQ(flag.width, 40);
    EXPECT_EQ(flag.height, 20);
    EXPECT_EQ(flag.at(5, 10), 0xFFFF0000u);
    EXPECT_EQ(flag.at(35, 10), 0xFF0000FFu);
    EXPECT_FALSE(flag.hasAlpha);

    // Only a view box: its size; no size at all: 300 x 150. Uncovered parts
    // stay see-through.
    TBitmap boxed;
    ASSERT_TRUE(RasterizeSvg(Bytes("<svg xmlns=\"http://www.w3.org/2000/svg\" viewBox=\"0 0 64 32\">"
                                   "<circle cx=\"16\" cy=\"16\" r=\"8\" fill=\"#00ff00\"/></svg>"),
                             boxed));
    EXPECT_EQ(boxed.width, 64);
    EXPECT_EQ(boxed.height, 32);
    EXPECT_EQ(boxed.at(16, 16), 0xFF00FF00u);
    EXPECT_EQ(boxed.at(60, 2) >> 24, 0u);
    EXPECT_TRUE(boxed.hasAlpha);
    TBitmap bare;
    ASSERT_TRUE(RasterizeSvg(Bytes("<svg xmlns=\"http://www.w3.org/2000/svg\"></svg>"), bare));
    EXPECT_EQ(bare.width, 300);
    EXPECT_EQ(bare.height, 150);

    TBitmap none;
    EXPECT_FALSE(RasterizeSvg(Bytes("not a drawing at all"), none));
    EXPECT_FALSE(RasterizeSvg(Bytes("<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"900000\" height=\"900000\"/>"),
                              none));
    EXPECT_FALSE(RasterizeSvg({}, none));
    EXPECT_TRUE(none.isEmpty());
}

TEST(SvgPicture, ImagesOfDrawingsAreDrawnOrShowTheirAltText)
{
    viewertest::Files files;
    files.Write("flag.svg", Flag);
    files.Write("broken.svg", "<svg xmlns=\"http://www.w3.org/2000/svg\"><rect");
    THTMLViewer viewer;
    viewer.resize(500, 300);
    viewer.show();
    viewer.ShowFile(files.Write("page.htm", "<p><img id=f src=flag.svg alt=Flag> <img id=w src=FLAG.SVG width=80>"
                                            " <img id=b src=broken.svg alt=\"Broken drawing\">"));
    TImageObj* flag = Image(viewer, "f");
    TImageObj* wide = Image(viewer, "w");
    TImageObj* broken = Image(viewer, "b");
    ASSERT_TRUE(flag && wide && broken);
    ASSERT_TRUE(flag->HasPicture());
    EXPECT_EQ(flag->ObjWidth, 40);
    EXPECT_EQ(flag->ObjHeight, 20);
    EXPECT_EQ(flag->Bitmap()->at(5, 5), 0xFFFF0000u);
    // WIDTH alone scales the drawing in proportion.
    ASSERT_TRUE(wide->HasPicture());
    EXPECT_EQ(wide->ObjWidth, 80);
    EXPECT_EQ(wide->ObjHeight, 40);
    EXPECT_FALSE(broken->HasPicture());
    EXPECT_EQ(broken->Placeholder(), TPlaceholder::Error);
    EXPECT_GT(broken->ObjWidth, 40); // room for the alternative text
}
