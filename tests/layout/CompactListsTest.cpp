// The small containers a section and a cell keep their parts in: a single
// item in place, a list from the second on.
#include <gtest/gtest.h>

#include "LayoutTestSupport.h"
#include "html/layout/TSectionVector.h"
#include "html/layout/TSourceRuns.h"

using namespace layouttest;

namespace {

std::vector<std::u16string> TextsOf(const TSectionVector& sections)
{
    std::vector<std::u16string> out;
    for (const auto& s : sections)
        out.push_back(static_cast<const TSection&>(*s).Text());
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
        reversed.push_back(static_cast<const TSection&>(**it).Text());
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
    EXPECT_EQ(none.begin(), none.end());

    TSourceRuns one;
    one.Assign(std::vector<TSourceRuns::Run>{{0, 120}});
    ASSERT_EQ(one.size(), 1u);
    EXPECT_EQ(one[0], (TSourceRuns::Run{0, 120}));

    std::vector<TSourceRuns::Run> runs{{0, 7}, {3, 40}, {9, 41000}};
    TSourceRuns many;
    many.Assign(runs);
    EXPECT_EQ(std::vector<TSourceRuns::Run>(many.begin(), many.end()), runs);
    TSourceRuns copy(many);
    EXPECT_EQ(std::vector<TSourceRuns::Run>(copy.begin(), copy.end()), runs);
    // Assigning fewer runs gives the list back.
    copy = one;
    ASSERT_EQ(copy.size(), 1u);
    EXPECT_EQ(copy[0].second, 120);
    copy = none;
    EXPECT_TRUE(copy.empty());
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
