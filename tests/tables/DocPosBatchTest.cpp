// Source positions turned into document positions all at once give the
// answers asked one at a time give, through blocks, hidden blocks, lists,
// tables and tables with captions, forward and backward.
#include <gtest/gtest.h>

#include "BuilderTestSupport.h"
#include "html/layout/TDocPosBatch.h"
#include "html/layout/TInlineList.h"

using namespace buildtest;

namespace {

void ExpectSameAsOneAtATime(const std::string& html)
{
    Built b(html);
    std::vector<int> positions;
    for (int p = -3; p <= int(html.size()) + 3; ++p)
        positions.push_back(p);
    // In an order of their own, with repeats, as the boxes of a page come.
    std::vector<int> shuffled;
    for (size_t i = 0; i < positions.size(); ++i)
        shuffled.push_back(positions[(i * 7919) % positions.size()]);
    shuffled.insert(shuffled.end(), positions.begin(), positions.begin() + std::min<long>(10, long(positions.size())));
    for (bool previous : {false, true}) {
        const std::vector<int> batch = TDocPosBatch::Resolve(b.doc, shuffled, previous);
        ASSERT_EQ(batch.size(), shuffled.size());
        int differ = 0;
        for (size_t i = 0; i < shuffled.size(); ++i)
            if (batch[i] != b.doc.DocPosOf(shuffled[i], previous) && differ++ < 5)
                ADD_FAILURE() << "source " << shuffled[i] << (previous ? " backward" : " forward") << ": "
                              << batch[i] << " against " << b.doc.DocPosOf(shuffled[i], previous);
    }
}

} // namespace

TEST(DocPosBatch, AnswersAsDocPosOfThroughEveryKindOfSection)
{
    ExpectSameAsOneAtATime("<h1>Title</h1><p>one <b>two</b> three<div><div>deep <i>inside</i></div> out</div>"
                           "<p style='display:none'>hidden words</p><ul><li>first<li>second <code>x</code></ul>"
                           "<p>after <span style='display:none'>gone</span> the list<hr><pre>pre\nformed</pre>");
    ExpectSameAsOneAtATime("<p>before<table border=1><caption>A caption</caption><tr><td>a1<td>b1 <em>c</em>"
                           "<tr><td><table><tr><td>inner<td>cells</table><td>b2</table><p>between"
                           "<table><tr><td></td><td>x</td></tr></table><div style='float:right'>floated</div>end");
    ExpectSameAsOneAtATime("");
    ExpectSameAsOneAtATime("<p style='display:none'>only hidden");
}

TEST(DocPosBatch, InlineBoxesOfALongPageArePlacedAsBefore)
{
    std::string html = "<style>code { border: 1px solid gray; padding: 1px }</style>";
    for (int i = 0; i < 300; ++i)
        html += "<p>Call <code>f" + std::to_string(i) + "()</code> or <code>g</code><table><tr><td><code>t" +
                std::to_string(i) + "</code></table>";
    Built b(html);
    b.doc.InlineList->Resolve(b.doc);
    const auto& boxes = b.doc.InlineList->Items();
    ASSERT_EQ(boxes.size(), 900u);
    for (const InlineRec& box : boxes) {
        int start = b.doc.DocPosOf(box.StartSource, false);
        const int end = b.doc.DocPosOf(box.EndSource, true);
        if (start == end)
            --start;
        ASSERT_EQ(box.StartDoc, start);
        ASSERT_EQ(box.EndDoc, end);
        EXPECT_LT(box.StartDoc, box.EndDoc);
    }
}
