#include <gmock/gmock.h>

#include <numeric>

#include "BuilderTestSupport.h"

using namespace buildtest;
using ::testing::HasSubstr;

namespace {

ThtmlTable& OnlyTable(Built& b)
{
    auto tables = All<ThtmlTable>(b.doc);
    EXPECT_EQ(tables.size(), 1u);
    return *tables.at(0);
}

int Sum(const std::vector<int>& v) { return std::accumulate(v.begin(), v.end(), 0); }

std::string Nested(int n)
{
    std::string html;
    for (int i = 0; i < n; ++i)
        html += "<table><tr><td>level" + std::to_string(i + 1) + " ";
    return html;
}

} // namespace

TEST(TableBuilding, CellWithoutRowOpensOneAndHeaderCellsAreCentred)
{
    Built b("<table><td>left<th>centre</table>");
    ThtmlTable& t = OnlyTable(b);
    ASSERT_EQ(t.Rows.size(), 1u);
    ASSERT_EQ(t.Rows[0]->Cells.size(), 2u);
    EXPECT_EQ(SectionWith(t.Rows[0]->Cells[0]->Content(), "left")->Justify, TTextAlignKind::Left);
    EXPECT_EQ(SectionWith(t.Rows[0]->Cells[1]->Content(), "centre")->Justify, TTextAlignKind::Center);
}

TEST(TableBuilding, TableInACentredDivIsCentred)
{
    Built b("<div align=center><table border=1><tr><td>abcd</table></div>");
    auto blocks = All<TTableBlock>(b.doc);
    ASSERT_EQ(blocks.size(), 1u);
    ThtmlTable& t = blocks[0]->Table();
    int left = t.ContentLeft - 10, right = 800 - 10 - (t.ContentLeft + t.TableWidth);
    EXPECT_GT(left, 300);
    EXPECT_NEAR(left, right, 3);
}

TEST(TableBuilding, StrayCaptionEndEndsTheTable)
{
    Built b("<table><tr><td>in</caption>after</table>");
    ThtmlTable& t = OnlyTable(b);
    EXPECT_EQ(SectionWith(t.Rows[0]->Cells[0]->Content(), "after"), nullptr);
    EXPECT_NE(SectionWith(b.doc, "after"), nullptr);
}

TEST(TableBuilding, TextBetweenRowAndCellComesBeforeTheTable)
{
    Built b("<table><tr>stray words<td>cell</table>");
    auto& body = dynamic_cast<TBlock&>(*b.doc.Sections[0]).Content();
    size_t strayAt = 99, tableAt = 99;
    for (size_t i = 0; i < body.Sections.size(); ++i) {
        if (auto* s = dynamic_cast<TSection*>(body.Sections[i].get()); s && TextOf(*s).find("stray") != std::string::npos)
            strayAt = i;
        if (dynamic_cast<TTableBlock*>(body.Sections[i].get()))
            tableAt = i;
    }
    EXPECT_LT(strayAt, tableAt);
    EXPECT_NE(tableAt, 99u);
}

TEST(TableBuilding, EleventhNestedTableIsIgnoredButItsTextShows)
{
    Built b(Nested(11));
    EXPECT_EQ(All<ThtmlTable>(b.doc).size(), 10u);
    ThtmlTable& tenth = *All<ThtmlTable>(b.doc).back();
    bool inTenth = false;
    for (auto& row : tenth.Rows)
        for (auto& c : row->Cells)
            inTenth = inTenth || (c && SectionWith(c->Content(), "level11"));
    EXPECT_TRUE(inTenth);
}

TEST(TableBuilding, CaptionAboveOrBelow)
{
    Built above("<table><caption>cap</caption><tr><td>x</table>");
    auto blocks = All<TTableAndCaptionBlock>(above.doc);
    ASSERT_EQ(blocks.size(), 1u);
    EXPECT_TRUE(blocks[0]->CaptionAbove());
    EXPECT_LT(blocks[0]->Caption()->YValue, blocks[0]->TableBlock()->YValue);
    Built below("<table><tr><td>x<caption align=bottom>cap</caption></table>");
    blocks = All<TTableAndCaptionBlock>(below.doc);
    ASSERT_EQ(blocks.size(), 1u);
    EXPECT_GT(blocks[0]->Caption()->YValue, blocks[0]->TableBlock()->YValue);
}

TEST(TableAttributes, ClampedValues)
{
    Built b("<table border=500 cellpadding=100 cellspacing=100><tr><td>x</table>");
    ThtmlTable& t = OnlyTable(b);
    EXPECT_EQ(t.BorderWidth, 100);
    EXPECT_EQ(t.CellPadding, 50);
    EXPECT_EQ(t.CellSpacing, 40);
    Built bare("<table border><tr><td>x</table>");
    EXPECT_EQ(OnlyTable(bare).BorderWidth, 1);
}

TEST(TableGrid, SpanBeyondTheGridWidensItAndRowSpanIsCut)
{
    Built b("<table><tr><td>a<td>b<tr><td colspan=3>wide<tr><td rowspan=5>tall</table>");
    ThtmlTable& t = OnlyTable(b);
    EXPECT_EQ(t.ColumnCount(), 3);
    EXPECT_EQ(t.Rows[2]->Cells[0]->RowSpan, 1);
}

TEST(TableGrid, RowSpanPushesLaterCellsRight)
{
    Built b("<table><tr><td rowspan=2>a<td>b<tr><td>c</table>");
    ThtmlTable& t = OnlyTable(b);
    ASSERT_EQ(t.Rows[1]->Cells.size(), 2u);
    EXPECT_EQ(t.Rows[1]->Cells[0], nullptr);
    ASSERT_NE(t.Rows[1]->Cells[1], nullptr);
    EXPECT_EQ(t.Rows[1]->Cells[1]->X, t.Rows[0]->Cells[1]->X);
}

TEST(TableWidths, PercentageColumnInAFixedTable)
{
    Built b("<table width=400 cellspacing=0 cellpadding=0><tr><td width=50%>a<td>b</table>");
    ThtmlTable& t = OnlyTable(b);
    ASSERT_EQ(t.Widths.size(), 2u);
    EXPECT_EQ(t.Widths[0], 200);
    EXPECT_EQ(Sum(t.Widths), 400);
    // A wider minimum wins over the percentage.
    Built wide("<table width=400 cellspacing=0 cellpadding=0><tr><td width=50%>" + std::string(40, 'w') + "<td>b</table>");
    EXPECT_EQ(OnlyTable(wide).Widths[0], 40 * 8);
}

TEST(TableWidths, TooWideTableKeepsItsMinimum)
{
    std::string word(60, 'x'); // 480 pixels
    Built b("<table><tr><td>" + word + "<td>" + word + "</table>", 600);
    ThtmlTable& t = OnlyTable(b);
    EXPECT_GE(t.Widths[0], 480);
    EXPECT_GE(t.Widths[1], 480);
    EXPECT_GT(t.TableWidth, 600);
}

TEST(TableWidths, AutoTableSharesByMaximumWidthAndPixelWidthsInterpolate)
{
    Built b("<table cellspacing=0 cellpadding=0><tr><td>aa<td>aaaaaa</table>");
    ThtmlTable& t = OnlyTable(b);
    EXPECT_EQ(t.Widths[0], 16);
    EXPECT_EQ(t.Widths[1], 48);
    std::string words;
    for (int i = 0; i < 100; ++i)
        words += "ab ";
    Built px("<table cellspacing=0 cellpadding=0><tr><td width=300>a b c<td>" + words + "</table>", 600);
    ThtmlTable& p = OnlyTable(px);
    EXPECT_EQ(Sum(p.Widths), 600 - 2 * 10); // the body margins take 10 pixels a side
    EXPECT_GT(p.Widths[0], 24);  // between its minimum and its 300 pixels
    EXPECT_LT(p.Widths[0], 300);
}

TEST(TableWidths, PercentagesFarAboveHundredStayFinite)
{
    std::string row;
    for (int i = 0; i < 40; ++i)
        row += "<td width=90%>c" + std::to_string(i);
    Built b("<table width=400><tr>" + row + "</table>");
    ThtmlTable& t = OnlyTable(b);
    for (int w : t.Widths)
        EXPECT_GE(w, 0);
    EXPECT_LT(t.TableWidth, 100000);
}

TEST(TableHeights, RowSpanSpreadsItsNeedAndAlignmentsOffsetContent)
{
    Built b("<table cellspacing=0 cellpadding=0><tr><td rowspan=2>1<br>2<br>3<br>4<td valign=top>t"
            "<tr><td valign=bottom>b</table>");
    ThtmlTable& t = OnlyTable(b);
    int lineHeight = 19;
    EXPECT_GE(t.Heights[0] + t.Heights[1], 4 * lineHeight);
    TCellObj& top = *t.Rows[0]->Cells[1];
    TCellObj& bottom = *t.Rows[1]->Cells[1];
    EXPECT_EQ(top.YIndent, 0);
    EXPECT_EQ(bottom.YIndent, t.Heights[1] - lineHeight);
}

TEST(TableHeights, SpecifiedTableHeightIsShared)
{
    Built b("<table height=300 cellspacing=0 cellpadding=0><tr><td>a<tr><td>b</table>");
    ThtmlTable& t = OnlyTable(b);
    EXPECT_EQ(Sum(t.Heights), 300);
}

TEST(TableRobustness, HugeSpansAndManyColumns)
{
    Built spans("<table><tr><td rowspan=10000 colspan=10000>a<td>b<tr><td>c</table>");
    EXPECT_LE(OnlyTable(spans).ColumnCount(), 1002);
    std::string many = "<table><tr>";
    for (int i = 0; i < 10000; ++i)
        many += "<td>" + std::to_string(i);
    Built cols(many + "</table>");
    EXPECT_EQ(OnlyTable(cols).ColumnCount(), 10000);
    EXPECT_THAT(cols.Text(), HasSubstr("9999"));
}

TEST(TableRobustness, SpansThatWouldMakeAHugeGridAreCut)
{
    // Three thousand cells of 1000 x 1000 over fifty rows would ask for 150
    // million grid slots; the spans that do not fit are cut and every
    // cell's text still shows.
    std::string html = "<table><tr>";
    for (int i = 0; i < 3000; ++i)
        html += "<td colspan=1000 rowspan=1000>c" + std::to_string(i);
    for (int r = 0; r < 50; ++r)
        html += "<tr><td>row" + std::to_string(r);
    Built b(html + "</table>");
    ThtmlTable& t = OnlyTable(b);
    size_t slots = 0;
    for (const auto& row : t.Rows)
        slots += row->Cells.size();
    int cut = 0;
    for (const auto& cell : t.Rows[0]->Cells)
        cut += cell && cell->RowSpan == 1;
    EXPECT_LE(slots, MaxGridSlots);
    EXPECT_GT(cut, 2000) << "the spans past the grid's limit keep one row";
    EXPECT_LT(cut, 3000) << "the first spans fit";
    std::string text = b.Text();
    EXPECT_THAT(text, HasSubstr("c2999"));
    EXPECT_THAT(text, HasSubstr("row49"));
}

TEST(TablePaint, HtmlBordersAreDrawnAndTextIsPainted)
{
    Built b("<table border=2 bgcolor=#00ff00><tr><td>cell</table>");
    b.canvas.clearCalls();
    TPaintContext pc{b.canvas, TRect{0, 0, 800, 600}};
    b.doc.PaintDocument(pc, 0);
    bool text = false, green = false;
    for (const TDrawCall& c : b.canvas.calls()) {
        text = text || (c.kind == TDrawKind::Text && c.text == u"cell");
        green = green || (c.kind == TDrawKind::FillRect && (c.color & 0xFFFFFF) == 0x00FF00);
    }
    EXPECT_TRUE(text);
    EXPECT_TRUE(green);
}

TEST(TablePaint, CellPicturesAreTiledOverTheirPaddingBoxAndRowsLendTheirs)
{
    Built b("<table cellspacing=0 cellpadding=3><tr background=\"8x8\"><td width=40>row"
            "<td width=40 background=\"4x4\">own</table>");
    b.doc.Objects.Host.bitmapRequest = [](const std::string& name, TBitmap& bitmap, TColor& color) {
        color = ClNone;
        int side = name == "8x8" ? 8 : name == "4x4" ? 4 : 0;
        bitmap = TBitmap(side, side, 0xFF336699u);
        return side > 0;
    };
    ThtmlTable& t = OnlyTable(b);
    const TCellObj& rowCell = *t.Rows[0]->Cells[0];
    const TCellObj& ownCell = *t.Rows[0]->Cells[1];
    ASSERT_NE(rowCell.BackgroundPicture(), nullptr);
    EXPECT_EQ(rowCell.BackgroundPicture()->name, "8x8");
    b.canvas.clearCalls();
    TPaintContext pc{b.canvas, TRect{0, 0, 800, 600}};
    b.doc.PaintDocument(pc, 0);
    int large = 0, small = 0;
    for (const TDrawCall& c : b.canvas.calls()) {
        if (c.kind != TDrawKind::Bitmap)
            continue;
        bool inRowCell = c.rect.left >= rowCell.X && c.rect.left < rowCell.X + rowCell.Wd;
        bool inOwnCell = c.rect.left >= ownCell.X && c.rect.left < ownCell.X + ownCell.Wd;
        if (c.rect.width() == 8 && inRowCell)
            ++large;
        else if (c.rect.width() == 4 && inOwnCell)
            ++small;
        else
            ADD_FAILURE() << "a tile outside its cell at x=" << c.rect.left << " w=" << c.rect.width();
    }
    EXPECT_EQ(large, ((rowCell.Wd + 7) / 8) * ((rowCell.Ht + 7) / 8));
    EXPECT_EQ(small, ((ownCell.Wd + 3) / 4) * ((ownCell.Ht + 3) / 4));
}

TEST(TableQueries, FindTextAndCopyWalkTheCells)
{
    Built b("<table><tr><td>alpha<td>beta<tr><td>gamma</table>");
    EXPECT_GE(b.doc.FindText(0, u"gamma", false), 0);
    std::string text = b.Text();
    EXPECT_LT(text.find("alpha"), text.find("beta"));
    EXPECT_LT(text.find("beta"), text.find("gamma"));
}

// The cells of a table take turns with one set of float edges: a float in
// one cell must narrow only that cell's lines.
TEST(TableFloats, AFloatStaysInsideItsOwnCell)
{
    Built b("<table cellpadding=0 cellspacing=0><tr><td width=300><div style=\"float:left;width:100px\">F</div>"
            "beside the float</td><td width=300>plain</td></tr><tr><td>below</td></tr></table>");
    ThtmlTable& t = OnlyTable(b);
    ASSERT_EQ(t.Rows.size(), 2u);
    TCellObj& floated = *t.Rows[0]->Cells[0];
    TCellObj& plain = *t.Rows[0]->Cells[1];
    TCellObj& below = *t.Rows[1]->Cells[0];
    TSection* beside = SectionWith(floated.Content(), "beside");
    TSection* other = SectionWith(plain.Content(), "plain");
    TSection* under = SectionWith(below.Content(), "below");
    ASSERT_TRUE(beside && other && under);
    EXPECT_GE(beside->Lines().at(0).X, floated.X + 100);
    EXPECT_EQ(other->Lines().at(0).X, plain.X);
    EXPECT_EQ(under->Lines().at(0).X, below.X);
}

// A large table must not cost a font per cell: runs of equal fonts share one.
TEST(TableMemory, CellsOfOneStyleShareTheirRunFont)
{
    std::string html = "<table>";
    for (int i = 0; i < 200; ++i)
        html += "<tr><td>cell " + std::to_string(i) + "<td><b>bold</b>";
    Built b(html + "</table>");
    ThtmlTable& t = OnlyTable(b);
    ASSERT_EQ(t.Rows.size(), 200u);
    EXPECT_LE(b.doc.RunFonts().Count(), 3u);
    TSection* first = SectionWith(t.Rows[0]->Cells[0]->Content(), "cell");
    TSection* last = SectionWith(t.Rows[199]->Cells[0]->Content(), "cell");
    ASSERT_TRUE(first && last);
    EXPECT_EQ(first->Fonts()[0].Font(), last->Fonts()[0].Font());
    EXPECT_EQ(first->Lines().at(0).LineHt, last->Lines().at(0).LineHt);
}

namespace {

// The texts drawn inside the band [0, height) of the window, in order.
std::vector<std::u16string> TextsInBand(const TFixedCanvas& canvas, int height)
{
    std::vector<std::u16string> out;
    for (const TDrawCall& call : canvas.calls())
        if (call.kind == TDrawKind::Text && call.rect.bottom > 0 && call.rect.top < height)
            out.push_back(call.text);
    return out;
}

std::string RowsOfCells(int rows, const std::string& firstRowExtra = {})
{
    std::string html = "<table>";
    for (int r = 0; r < rows; ++r)
        html += "<tr>" + std::string(r == 0 ? firstRowExtra : "") + "<td>r" + std::to_string(r) + "</td></tr>";
    return html + "</table>";
}

} // namespace

TEST(TablePainting, PrintedPagesOfALongTableHoldEveryRowOnceInOrder)
{
    Built b(RowsOfCells(400));
    const int pageHeight = 200;
    std::vector<std::u16string> printed;
    int pages = 0;
    for (int top = 0; top < b.height && pages < 1000; ++pages) {
        TPaintContext pc{b.canvas, TRect{0, 0, 800, pageHeight}};
        pc.printing = true;
        pc.yOffset = top;
        pc.pageBottom = top + pageHeight;
        b.canvas.clearCalls();
        b.doc.PaintDocument(pc, 0);
        // Only what lies above the page end belongs to this page.
        for (const std::u16string& text : TextsInBand(b.canvas, pc.pageBottom - top))
            printed.push_back(text);
        ASSERT_GT(pc.pageBottom, top);
        top = pc.pageBottom;
    }
    ASSERT_EQ(printed.size(), 400u);
    for (int r = 0; r < 400; ++r)
        EXPECT_EQ(printed[size_t(r)], u"r" + CodePage::ToUtf16(CodePage::Utf8, std::to_string(r)));
    EXPECT_GT(pages, 20);
}

TEST(TablePainting, BandFarDownPaintsItsRowsAndACellSpanningIntoItFromAbove)
{
    Built b(RowsOfCells(300, "<td rowspan=243 valign=bottom>tall</td>"));
    ThtmlTable& t = OnlyTable(b);
    const TCellObj& row240 = *t.Rows[240]->Cells.back();
    TPaintContext pc{b.canvas, TRect{0, 0, 800, 100}};
    pc.yOffset = row240.Y - 20;
    b.canvas.clearCalls();
    b.doc.PaintDocument(pc, 0);
    std::vector<std::u16string> texts = TextsInBand(b.canvas, 100);
    EXPECT_THAT(texts, ::testing::Contains(u"r240"));
    EXPECT_THAT(texts, ::testing::Contains(u"tall"));
    EXPECT_THAT(texts, ::testing::Not(::testing::Contains(u"r200")));
    // Hit tests find the cells there too.
    TCaretHit hit;
    EXPECT_GE(t.PositionAt(b.canvas, row240.X + 2, row240.Y + 5, hit), 0);
}

TEST(TableMemory, FontChangesClosingACellLeaveOneRunAndKeepTheLink)
{
    Built b("<table border=1><tr><td><a href=\"a.htm\">entry</a></td><td><b>12.50</b></td>"
            "<td>plain <i>slanted</i></td></tr></table>");
    ThtmlTable& t = OnlyTable(b);
    TSection* link = SectionWith(t.Rows[0]->Cells[0]->Content(), "entry");
    TSection* bold = SectionWith(t.Rows[0]->Cells[1]->Content(), "12.50");
    TSection* mixed = SectionWith(t.Rows[0]->Cells[2]->Content(), "plain");
    ASSERT_TRUE(link && bold && mixed);
    // The run opened where the link and the bold text close covers nothing.
    EXPECT_EQ(link->Fonts().Count(), 1u);
    EXPECT_EQ(bold->Fonts().Count(), 1u);
    EXPECT_TRUE(bold->Fonts()[0].Font().spec.style & fsBold);
    // A change inside the text stays.
    ASSERT_EQ(mixed->Fonts().Count(), 2u);
    EXPECT_EQ(mixed->Fonts()[1].Pos, 6);
    // The link is still found under its text and the text still reads the same.
    ASSERT_EQ(b.doc.LinkList.size(), 1u);
    EXPECT_EQ(b.doc.LinkList[0], &link->Fonts()[0]);
    const LineRec& line = link->Lines().at(0);
    TLinkHit hit;
    ASSERT_NE(b.doc.LinkAt(b.canvas, line.X + 2, line.Y + line.SpaceBefore + 2, hit) & HitLink, 0);
    EXPECT_EQ(hit.link.url, "a.htm");
    EXPECT_THAT(b.Text(), HasSubstr("entry"));
    EXPECT_THAT(b.Text(), HasSubstr("12.50"));
}

TEST(TableMemory, AnEmptyLinkAtTheEndOfACellKeepsTheLinkListSound)
{
    // The run that the empty link made was registered and then lost its link
    // at the same position; the list must not point at a dropped run.
    Built b("<table><tr><td>first<a href=\"x.htm\"></a></td><td><a href=\"y.htm\">second</a></td></tr>"
            "<tr><td>third<a href=\"z.htm\"> </a></td></tr></table><p><a href=\"w.htm\">after</a>");
    for (TFontObj* run : b.doc.LinkList) {
        ASSERT_NE(run->Section(), nullptr);
        EXPECT_EQ(run->FirstOfLink()->Section(), run->Section());
    }
    TSection* after = SectionWith(b.doc, "after");
    ASSERT_NE(after, nullptr);
    EXPECT_EQ(b.doc.LinkList.back(), &after->Fonts()[0]);
    EXPECT_EQ(b.doc.LinkList.back()->Link().url, "w.htm");
}

TEST(TableMemory, CellPaddingsAndBordersFollowTheTableAndTheCellsOwnStyle)
{
    Built b("<table border=1 cellpadding=4><tr><td>plain</td>"
            "<td style=\"padding-left:9px; border-left:3px solid red\">styled</td></tr></table>"
            "<table cellpadding=2><tr><td>bare</td></tr></table>");
    auto tables = All<ThtmlTable>(b.doc);
    ASSERT_EQ(tables.size(), 2u);
    const TCellObj& plain = *tables[0]->Rows[0]->Cells[0];
    const TCellObj& styled = *tables[0]->Rows[0]->Cells[1];
    const TCellObj& bare = *tables[1]->Rows[0]->Cells[0];
    EXPECT_EQ(plain.Padding(), (std::array<int, 4>{4, 4, 4, 4}));
    EXPECT_EQ(plain.Border(), (std::array<int, 4>{1, 1, 1, 1})); // the table's frame
    EXPECT_EQ(plain.HzSpace(), 10);
    EXPECT_EQ(styled.Padding(), (std::array<int, 4>{4, 4, 4, 9}));
    EXPECT_EQ(styled.Border(), (std::array<int, 4>{0, 0, 0, 3})); // its own style replaces the frame
    EXPECT_EQ(styled.HzSpace(), 9 + 3 + 4);
    EXPECT_EQ(styled.VrSpace(), 8);
    EXPECT_EQ(bare.Border(), (std::array<int, 4>{0, 0, 0, 0}));
    EXPECT_EQ(bare.VrSpace(), 4);
    // A printing copy keeps them.
    auto copy = TSectionList::CreateCopy(b.doc);
    auto copied = All<ThtmlTable>(*copy);
    ASSERT_EQ(copied.size(), 2u);
    EXPECT_EQ(copied[0]->Rows[0]->Cells[1]->Padding(), styled.Padding());
    EXPECT_EQ(copied[0]->Rows[0]->Cells[1]->Border(), styled.Border());
}

TEST(TableMemory, OneLineMultiLineLinkedAndPicturedCellsLayOutAsBefore)
{
    // One table with every kind of cell content; the same content outside
    // a table places its text the same way relative to the cell.
    std::string remark = "Keeper on duty from dusk; lamp lit at sunset and the wicks trimmed twice in the night.";
    Built b("<table border=1 cellpadding=2 width=300><tr><td>7</td><td><a href=\"l.htm\">log</a></td>"
            "<td>" + remark + "</td><td><img src=\"none.gif\" width=20 height=30>x</td>"
            "<td><b>9.50</b></td></tr></table>");
    ThtmlTable& t = OnlyTable(b);
    auto& cells = t.Rows[0]->Cells;
    ASSERT_EQ(cells.size(), 5u);
    TSection* one = SectionWith(cells[0]->Content(), "7");
    TSection* many = SectionWith(cells[2]->Content(), "Keeper");
    ASSERT_TRUE(one && many);
    EXPECT_EQ(one->Lines().size(), 1u);
    EXPECT_GT(many->Lines().size(), 2u);
    // Lines follow one another without gaps and cover the whole text.
    int covered = 0;
    for (const LineRec& line : many->Lines()) {
        EXPECT_EQ(line.Start, covered);
        covered += line.Ln;
    }
    EXPECT_EQ(covered, int(many->Text().size()));
    // Every cell's content sits inside its cell and the row is as tall as
    // the tallest cell.
    for (const auto& cell : cells) {
        ASSERT_NE(cell, nullptr);
        EXPECT_GE(cell->Ht, cell->CellHeight);
        EXPECT_EQ(cell->Y, cells[0]->Y);
    }
    EXPECT_GE(cells[3]->CellHeight, 30);
    EXPECT_THAT(b.Text(), HasSubstr(remark.substr(0, 20)));
}
