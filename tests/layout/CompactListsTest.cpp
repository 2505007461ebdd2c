// The small containers a section and a cell keep their parts in: a single
// item in place, a list from the second on.
#include <gtest/gtest.h>

#include "LayoutTestSupport.h"
#include "html/layout/TSectionVector.h"
#include "html/layout/TLineList.h"
#include "html/layout/TSectionText.h"
#include "html/layout/TSourceRuns.h"

using namespace layouttest;

namespace {

std::vector<std::u16string> TextsOf(const TSectionVector& sections)
{
    std::vector<std::u16string> out;
    for (const auto& s : sections)
        out.emplace_back(static_cast<const TSection&>(*s).Text());
    return out;
}

std::unique_ptr<TSectionBase> Section(Doc& d, std::u16string_view text)
{
    auto s = std::make_unique<TSection>(d.doc, Text());
    Doc::Fill(*s, text, 0);
    s->Finish();
    return s;
}

} // namespace

TEST(SectionVector, GrowsFromOneInPlaceAndErasesAndClearsInOrder)
{
    Doc d;
    TSectionVector v;
    EXPECT_TRUE(v.empty());
    EXPECT_EQ(v.begin(), v.end());
    v.push_back(nullptr); // not kept
    EXPECT_EQ(v.size(), 0u);
    v.push_back(Section(d, u"a"));
    ASSERT_EQ(v.size(), 1u);
    EXPECT_EQ(v.front().get(), v.back().get());
    v.push_back(Section(d, u"b"));
    v.push_back(Section(d, u"c"));
    EXPECT_EQ(TextsOf(v), (std::vector<std::u16string>{u"a", u"b", u"c"}));
    std::vector<std::u16string> reversed;
    for (auto it = v.rbegin(); it != v.rend(); ++it)
        reversed.emplace_back(static_cast<const TSection&>(**it).Text());
    EXPECT_EQ(reversed, (std::vector<std::u16string>{u"c", u"b", u"a"}));
    auto next = v.erase(v.begin() + 1);
    EXPECT_EQ(static_cast<const TSection&>(**next).Text(), u"c");
    EXPECT_EQ(TextsOf(v), (std::vector<std::u16string>{u"a", u"c"}));
    v.clear();
    EXPECT_TRUE(v.empty());
    // A single section erased leaves the vector empty, and it grows again.
    v.push_back(Section(d, u"d"));
    auto past = v.erase(v.begin());
    EXPECT_EQ(past, v.end());
    EXPECT_TRUE(v.empty());
    v.reserve(4);
    v.push_back(Section(d, u"e"));
    EXPECT_EQ(TextsOf(v), (std::vector<std::u16string>{u"e"}));
}

TEST(SectionVector, MovesItsSectionsOnlyWhenItGrowsByAFactor)
{
    // A body of many paragraphs adds sections one by one: the list must not
    // be copied each time (building took minutes for 200,000 paragraphs).
    Doc d;
    TSectionVector v;
    int moves = 0;
    const TSectionVector::Item* where = nullptr;
    for (int i = 0; i < 20000; ++i) {
        v.push_back(std::make_unique<TSection>(d.doc, Text()));
        if (v.begin() != where)
            ++moves;
        where = v.begin();
    }
    EXPECT_EQ(v.size(), 20000u);
    EXPECT_LT(moves, 40);
}

TEST(SourceRuns, NoneOneAndManyRunsReadBackAndCopy)
{
    TSourceRuns none;
    EXPECT_TRUE(none.empty());
    EXPECT_EQ(none.size(), 0u);

    TSourceRuns one;
    one.Assign(std::vector<TSourceRuns::Run>{{0, 120}});
    ASSERT_EQ(one.size(), 1u);
    EXPECT_EQ(one[0], (TSourceRuns::Run{0, 120}));
    // Source indexes keep their sign and their full range in place.
    TSourceRuns far;
    far.Assign(std::vector<TSourceRuns::Run>{{0, -5}});
    EXPECT_EQ(far[0], (TSourceRuns::Run{0, -5}));
    far.Assign(std::vector<TSourceRuns::Run>{{0, 2000000000}});
    EXPECT_EQ(far[0].second, 2000000000);
    // A single run that starts later is kept as a list.
    far.Assign(std::vector<TSourceRuns::Run>{{4, 9}});
    EXPECT_EQ(far.ToVector(), (std::vector<TSourceRuns::Run>{{4, 9}}));
    EXPECT_EQ(far.RunAt(3), far.size()) << "no run covers offset 3";
    EXPECT_EQ(far.RunAt(4), 0u);

    std::vector<TSourceRuns::Run> runs{{0, 7}, {3, 40}, {9, 41000}};
    TSourceRuns many;
    many.Assign(runs);
    EXPECT_EQ(many.ToVector(), runs);
    EXPECT_EQ(many.RunAt(0), 0u);
    EXPECT_EQ(many.RunAt(8), 1u);
    EXPECT_EQ(many.RunAt(9), 2u);
    EXPECT_EQ(many.RunAt(500), 2u);
    TSourceRuns copy(many);
    EXPECT_EQ(copy.ToVector(), runs);
    // Assigning fewer runs gives the list back.
    copy = one;
    ASSERT_EQ(copy.size(), 1u);
    EXPECT_EQ(copy[0].second, 120);
    EXPECT_EQ(copy.RunAt(50), 0u);
    copy = none;
    EXPECT_TRUE(copy.empty());
    EXPECT_EQ(many.ToVector(), runs) << "copies own their runs";
}

TEST(LineList, HoldsNoneOneOrManyLinesAndReassigns)
{
    TLineList lines;
    EXPECT_TRUE(lines.empty());
    EXPECT_EQ(lines.begin(), lines.end());
    EXPECT_THROW((void)lines.at(0), std::out_of_range);
    std::vector<LineRec> made(3);
    for (int i = 0; i < 3; ++i) {
        made[size_t(i)].Start = i * 10;
        made[size_t(i)].Ln = 10;
        made[size_t(i)].Y = i * 19;
        made[size_t(i)].Extra = 100 + i;
    }
    lines.Assign(made);
    ASSERT_EQ(lines.size(), 3u);
    EXPECT_EQ(lines.back().Extra, 102);
    int y = 0;
    for (const LineRec& line : lines) {
        EXPECT_EQ(line.Y, y);
        y += 19;
    }
    lines[1].X = 7; // painting and layout adjust lines in place
    EXPECT_EQ(lines.at(1).X, 7);
    lines.Assign(std::span<const LineRec>(made.data(), 1));
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_EQ(lines.at(0).Start, 0);
    EXPECT_EQ(lines.back().Extra, 100);
    lines.clear();
    EXPECT_TRUE(lines.empty());
}

TEST(FontList, RunsKeepTheirOrderThroughGrowthAndCloseGivesRoomBack)
{
    Doc d;
    auto s = std::make_unique<TSection>(d.doc, Text());
    TFontList& runs = s->Fonts();
    ASSERT_EQ(runs.Count(), 1u) << "a section starts with its first run";
    TLinkInfo link{"l.htm", "", 7, 0};
    for (int i = 1; i < 40; ++i) {
        TTextStyle style = Text(10 + i % 3);
        runs.Add(*s, i * 2, style, i == 20 ? &link : nullptr);
    }
    // Two runs past the end of the text: the plain one goes, the link stays.
    runs.Add(*s, 100, Text(), &link);
    runs.Add(*s, 100, Text(), nullptr);
    ASSERT_EQ(runs.Count(), 42u);
    for (size_t i = 1; i < 40; ++i) {
        EXPECT_EQ(runs[i].Pos, int(i) * 2);
        EXPECT_EQ(runs[i].Font().spec.height, 10 + int(i) % 3);
    }
    EXPECT_EQ(runs[20].Link().url, "l.htm");
    runs.Close(80, [](const TFontObj& run) { return run.IsLink(); });
    ASSERT_EQ(runs.Count(), 41u);
    EXPECT_TRUE(runs.Last().IsLink());
    EXPECT_EQ(runs.IndexAt(41), 20u);
    EXPECT_EQ(runs.GetFontObjAt(79), &runs[39]);
    EXPECT_EQ(runs.GetFontCountAt(40, 80), 2);
    // Runs added after closing still land at the end (copies reserve first).
    runs.Close(0, [](const TFontObj&) { return false; });
    EXPECT_EQ(runs.Count(), 1u);
}

TEST(SourceRuns, SectionsMapPositionsThroughTheirRuns)
{
    // Characters from two places in the source: the document position of a
    // source byte and back follow the run each character came from.
    Doc d;
    auto s = std::make_unique<TSection>(d.doc, Text());
    s->AddText(u"abc", std::vector<int>{10, 11, 12});
    s->AddText(u"def", std::vector<int>{50, 51, 52});
    TSection* raw = s.get();
    d.body->AddSection(std::move(s));
    d.Layout(500);
    EXPECT_EQ(raw->SourcePosOf(raw->StartCurs + 1), 11);
    EXPECT_EQ(raw->SourcePosOf(raw->StartCurs + 4), 51);
    EXPECT_EQ(raw->DocPosOf(52, false), raw->StartCurs + 5);
}

TEST(SectionText, GrowsFromInPlaceToHeapAndBackAndCopies)
{
    TSectionText text;
    EXPECT_TRUE(text.empty());
    std::u16string expected;
    for (char16_t c = u'a'; c < u'a' + 20; ++c) {
        text.push_back(c);
        expected.push_back(c);
        ASSERT_EQ(text.view(), expected) << "after " << expected.size() << " characters";
    }
    EXPECT_EQ(text.find(u'e'), 4u);
    EXPECT_EQ(text.find(u'e', 5), std::u16string_view::npos);
    text[0] = u'Z';
    EXPECT_EQ(text[0], u'Z');
    TSectionText copy(text);
    EXPECT_EQ(copy.view(), text.view());
    EXPECT_EQ(copy.capacity(), copy.size()) << "a copy takes no spare room";
    // Shrinking below the in-place room brings the text back in place.
    text.truncate(5);
    text.shrink_to_fit();
    EXPECT_EQ(text.view(), u"Zbcde");
    EXPECT_EQ(text.back(), u'e');
    EXPECT_EQ(copy.size(), 20u) << "the copy owns its characters";
    TSectionText shortCopy(text);
    EXPECT_EQ(shortCopy.view(), u"Zbcde");
    text.reserve(100);
    EXPECT_GE(text.capacity(), 100u);
    EXPECT_EQ(text.view(), u"Zbcde");
    text.truncate(0);
    text.shrink_to_fit();
    EXPECT_TRUE(text.empty());
}
