// Rules that read what comes after an element (:last-child, :only-child,
// :nth-last-child(), the -of-type forms, :empty) match the tree the builder
// makes, whatever the markup leaves implied or misnests. Each rule sets a
// z-index, which the block styles keep without moving anything.
#include <algorithm>
#include <map>

#include "BuilderTestSupport.h"

using namespace buildtest;

namespace {

// The z-index of every block of the tag, in document order.
std::vector<int> ZOf(const TSectionList& doc, const std::string& tag)
{
    std::vector<int> z;
    for (TBlock* block : All<TBlock>(doc))
        if (block->Style().tag == tag)
            z.push_back(block->Style().zIndex);
    return z;
}

std::string Page(const std::string& sheet, const std::string& body)
{
    return "<html><head><style>" + sheet + "</style></head><body>" + body + "</body></html>";
}

} // namespace

TEST(LaterSiblings, LastAndOnlyChild)
{
    Built b(Page("li:last-child { z-index: 1 } li:only-child { z-index: 2 }",
                 "<ul><li>a<li>b<li>c</ul><ol><li>solo</ol><ul><li>x</li><li>y</li></ul>"));
    EXPECT_EQ(ZOf(b.doc, "li"), (std::vector<int>{0, 0, 1, 2, 0, 1}));
}

TEST(LaterSiblings, NthLastChildCountsFromTheEnd)
{
    Built b(Page("li:nth-last-child(2n+1) { z-index: 3 } li:nth-last-child(-n+2) { z-index: 4 }",
                 "<ul><li>1<li>2<li>3<li>4<li>5</ul>"));
    EXPECT_EQ(ZOf(b.doc, "li"), (std::vector<int>{3, 0, 3, 4, 4}));
}

TEST(LaterSiblings, OfTypeFormsCountOnlyTheirTag)
{
    Built b(Page("p:last-of-type { z-index: 5 } p:only-of-type { z-index: 6 } p:nth-last-of-type(3) { z-index: 7 }",
                 "<div><p>a</p><h2>h</h2><p>b</p><p>c</p><h3>x</h3></div>"
                 "<div><h2>t</h2><p>only</p><h3>u</h3></div>"));
    EXPECT_EQ(ZOf(b.doc, "p"), (std::vector<int>{7, 0, 5, 6}));
}

TEST(LaterSiblings, EmptyElements)
{
    // A paragraph with a line break or text is not empty; one without is.
    Built b(Page("p:empty + div { z-index: 8 }",
                 "<p></p><div>a</div><p>x</p><div>b</div><p><br></p><div>c</div><p><img></p><div>d</div>"));
    EXPECT_EQ(ZOf(b.doc, "div"), (std::vector<int>{8, 0, 0, 0}));
}

TEST(LaterSiblings, WhiteSpaceTheBuilderSkipsIsContent)
{
    // White space only: not empty, though no text is made of it; the same
    // elements with nothing inside are.
    Built b(Page("p:empty, h2:empty, li:empty, td:empty { z-index: 5 }",
                 "<div><p> </p></div><div><p></p></div><h2>  </h2><h2></h2>"
                 "<ul><li> </li><li></li></ul><table><tr><td> </td><td></td></tr></table>"));
    EXPECT_EQ(ZOf(b.doc, "p"), (std::vector<int>{0, 5}));
    EXPECT_EQ(ZOf(b.doc, "h2"), (std::vector<int>{0, 5}));
    EXPECT_EQ(ZOf(b.doc, "li"), (std::vector<int>{0, 5}));
}

TEST(LaterSiblings, ImpliedEndTagsCloseTheElementsTheBuilderCloses)
{
    Built b(Page("p:last-child { z-index: 1 } dd:last-child { z-index: 2 } li:last-of-type { z-index: 3 }",
                 "<div><p>a<p>b<p>c</div>"
                 "<dl><dt>t<dd>one<dt>u<dd>two</dl>"
                 "<ul><li>a<li>b<ul><li>inner</ul></ul>"));
    EXPECT_EQ(ZOf(b.doc, "p"), (std::vector<int>{0, 0, 1}));
    EXPECT_EQ(ZOf(b.doc, "dd"), (std::vector<int>{0, 2}));
    EXPECT_EQ(ZOf(b.doc, "li"), (std::vector<int>{0, 3, 3}));
}

TEST(LaterSiblings, MisnestedTagsAgreeWithTheCountFromTheStart)
{
    // Whatever tree the builder makes of misnested block markup, counting
    // from the end must agree with counting from the start: every group of
    // siblings has one first and one last element, and an element's places
    // from both ends add up to the size of its group.
    std::string fromStart, fromEnd;
    for (int k = 1; k <= 9; ++k) {
        fromStart += ":nth-child(" + std::to_string(k) + ") { z-index: " + std::to_string(k) + " } ";
        fromEnd += ":nth-last-child(" + std::to_string(k) + ") { z-index: " + std::to_string(k) + " } ";
    }
    for (const std::string body :
         {"<div><p>a<div>b</p>c</div><p>d</p></div>", "<blockquote><div>a</blockquote><div>b</div></div><p>c",
          "<blockquote><p>a<blockquote>b</p></blockquote>c<div>d</blockquote><div>e",
          "<div><p>a<p>b<div><p>c</div><p>d</div>"}) {
        Built a(Page(fromStart, body));
        Built b(Page(fromEnd, body));
        std::vector<int> start, end;
        for (TBlock* block : All<TBlock>(a.doc))
            if (block->Style().tag != "body")
                start.push_back(block->Style().zIndex);
        for (TBlock* block : All<TBlock>(b.doc))
            if (block->Style().tag != "body")
                end.push_back(block->Style().zIndex);
        ASSERT_EQ(start.size(), end.size()) << body;
        ASSERT_FALSE(start.empty()) << body;
        std::map<int, int> groupSizes;
        for (size_t i = 0; i < start.size(); ++i) {
            ASSERT_GE(start[i], 1) << body;
            ASSERT_GE(end[i], 1) << body;
            ++groupSizes[start[i] + end[i] - 1];
        }
        EXPECT_EQ(std::count(start.begin(), start.end(), 1), std::count(end.begin(), end.end(), 1)) << body;
        for (const auto& [size, members] : groupSizes)
            EXPECT_EQ(members % size, 0) << body << " size " << size;
    }
}

TEST(LaterSiblings, SiblingsTheRulesTellApartNeverShareAStyle)
{
    Built b(Page("li:last-child { margin-left: 30px }", "<ul><li>a<li>b<li>c</ul>"));
    std::vector<TBlock*> items;
    for (TBlock* block : All<TBlock>(b.doc))
        if (block->Style().tag == "li")
            items.push_back(block);
    ASSERT_EQ(items.size(), 3u);
    EXPECT_EQ(&items[0]->Style(), &items[1]->Style());
    EXPECT_NE(&items[1]->Style(), &items[2]->Style());
    EXPECT_EQ(items[2]->ContentLeft - items[1]->ContentLeft, 30);
}

TEST(LaterSiblings, PagesWithoutSuchRulesAreReadOnce)
{
    // A rule that asks nothing of later siblings: the first reading is kept
    // (the page's script event is raised once).
    int scripts = 0;
    THtmlParseEvents events;
    events.OnScript = [&](const std::string&, const std::string&, const std::string&) { ++scripts; };
    Built plain(Page("li:first-child { z-index: 1 }", "<script>x</script><ul><li>a<li>b</ul>"), 800, events);
    EXPECT_EQ(scripts, 1);
    EXPECT_EQ(ZOf(plain.doc, "li"), (std::vector<int>{1, 0}));
    Built asking(Page("li:last-child { z-index: 1 }", "<script>x</script><ul><li>a<li>b</ul>"), 800, events);
    EXPECT_EQ(scripts, 2);
    EXPECT_EQ(ZOf(asking.doc, "li"), (std::vector<int>{0, 1}));
}

TEST(LaterSiblings, DocumentsAboveFourMegabytesAreReadOnceAndJudgedAsIfMoreFollowed)
{
    const std::string sheet = "p:last-child { z-index: 1 }";
    const std::string body = "<div><p>a<p>b</div>";
    Built big(Page(sheet, body + "<!-- " + std::string(4 << 20, 'x') + " -->"));
    EXPECT_EQ(ZOf(big.doc, "p"), (std::vector<int>{0, 0}));
    Built justBelow(Page(sheet, body + "<!-- " + std::string((4 << 20) - 200, 'x') + " -->"));
    EXPECT_EQ(ZOf(justBelow.doc, "p"), (std::vector<int>{0, 1}));
}

TEST(LaterSiblings, HugeAndDeepDocumentsStayLinear)
{
    std::string many = "<ul>";
    for (int i = 0; i < 100000; ++i)
        many += "<li>x";
    many += "</ul>";
    std::string deep;
    for (int i = 0; i < 5000; ++i)
        deep += "<div>";
    deep += "end";
    const std::string sheet = "li:nth-last-child(3) { z-index: 9 } div:last-child { z-index: 1 } div:empty { z-index: 2 }";
    Built b(Page(sheet, many));
    const std::vector<int> z = ZOf(b.doc, "li");
    ASSERT_EQ(z.size(), 100000u);
    EXPECT_EQ(z[99997], 9);
    EXPECT_EQ(z[99996], 0);
    Built d(Page(sheet, deep));
    EXPECT_NE(d.Text().find("end"), std::string::npos);
}
