// Boxes that stand in lines of text and text that keeps its spaces:
// display: inline-block, floated links, white-space: pre outside PRE, and
// BUTTON elements that submit their form. Pages are laid out on the
// fixed-metrics canvas (every character 8 pixels wide, lines 19 high).
#include <gtest/gtest.h>

#include "HtmlPageSupport.h"
#include "html/layout/TDocumentObjects.h"
#include "html/layout/TFormControlObj.h"
#include "html/layout/TSection.h"

using namespace pagetest;

namespace {

int Top(Page& p, const std::u16string& text)
{
    const TDrawCall* c = p.Painted(text);
    EXPECT_NE(c, nullptr) << std::string(text.begin(), text.end());
    return c ? c->rect.top : -1;
}

int Left(Page& p, const std::u16string& text)
{
    const TDrawCall* c = p.Painted(text);
    EXPECT_NE(c, nullptr) << std::string(text.begin(), text.end());
    return c ? c->rect.left : -1;
}

// Border pieces of inline boxes on every line of the document's flow.
size_t BorderPieceCount(const TCellBasic& cell)
{
    size_t count = 0;
    for (const auto& s : cell.Sections) {
        if (const auto* section = dynamic_cast<const TSection*>(s.get())) {
            for (size_t line = 0; line < section->Lines().size(); ++line)
                if (const std::vector<BorderRec>* pieces = section->BorderPieces(line))
                    count += pieces->size();
        } else if (const auto* block = dynamic_cast<const TBlock*>(s.get())) {
            count += BorderPieceCount(block->Content());
        }
    }
    return count;
}

} // namespace

TEST(InlineBlock, SitsOnTheLineAtItsLastBaseline)
{
    Page p(Html("<p>Before <span style='display:inline-block'>one<br>two</span> after</p>"));
    // The box's last line shares the baseline of the text around it; its
    // first line stands above.
    EXPECT_EQ(Top(p, u"Before"), Top(p, u"two"));
    EXPECT_EQ(Top(p, u"after"), Top(p, u"two"));
    EXPECT_EQ(Top(p, u"one"), Top(p, u"two") - 19);
    // One unit on the line: " after" follows the box's widest line.
    EXPECT_EQ(Left(p, u"after"), Left(p, u"one") + 3 * 8);
}

TEST(InlineBlock, ShrinksToFitAndKeepsAWidthOfItsOwn)
{
    Page p(Html("<div>X<div style='display:inline-block; width:100px; border:1px solid black'>a</div>Y"
                "<div style='display:inline-block'>fits</div>Z</div>"));
    EXPECT_EQ(Top(p, u"X"), Top(p, u"Y"));
    EXPECT_EQ(Left(p, u"a"), 8 + 1);
    EXPECT_EQ(Left(p, u"Y"), 8 + 102);
    EXPECT_EQ(Left(p, u"Z"), 8 + 102 + 8 + 4 * 8);
}

TEST(InlineBlock, WrapsToTheNextLineAsOneUnit)
{
    Page p(Html("<p>aaaa bbbb <span style='display:inline-block'>cccc dddd</span></p>"), 150);
    // Nine characters do not fit after "aaaa bbbb ": the box moves down whole.
    EXPECT_EQ(Top(p, u"cccc dddd"), Top(p, u"aaaa bbbb") + 19);
    EXPECT_EQ(Left(p, u"cccc dddd"), 0);
}

TEST(InlineBlock, AClippingBoxSitsOnItsBottomEdge)
{
    Page p(Html("<p>Base <span style='display:inline-block; overflow:hidden; height:40px'>box</span></p>"));
    // The bottom margin edge is on the baseline: the box's first line starts
    // 40 pixels above it, where the text beside it starts its ascent of 15.
    EXPECT_EQ(Top(p, u"box"), Top(p, u"Base") - (40 - 15));
}

TEST(InlineBlock, ItsLinksAnswerHitTests)
{
    Page p(Html("<p>x <span style='display:inline-block; padding:10px'><a href='in.html'>link</a></span></p>"));
    const TDrawCall* link = p.Painted(u"link");
    ASSERT_NE(link, nullptr);
    TLinkHit hit;
    int flags = p.doc.LinkAt(p.canvas, link->rect.left + 2, link->rect.top + 5, hit);
    EXPECT_TRUE(flags & HitLink);
    EXPECT_EQ(hit.link.url, "in.html");
}

TEST(FloatedLinks, EachFloatsBesideTheLast)
{
    Page p(Html("<p><a class=m href=a.html style='float:left'>Home</a><a class=m href=b.html style='float:left'>"
                "About</a>text</p>"));
    std::vector<TBlock*> menu = p.Blocks("m");
    ASSERT_EQ(menu.size(), 2u);
    EXPECT_EQ(menu[0]->ContentLeft, 0);
    EXPECT_EQ(menu[1]->ContentLeft, 4 * 8);
    EXPECT_EQ(menu[1]->YValue, menu[0]->YValue);
    // The text flows on after the floats, outside the link.
    EXPECT_EQ(Left(p, u"text"), 9 * 8);
    TLinkHit hit;
    EXPECT_FALSE(p.doc.LinkAt(p.canvas, 9 * 8 + 4, menu[0]->YValue + 5, hit) & HitLink);
    EXPECT_TRUE(p.doc.LinkAt(p.canvas, 4 * 8 + 4, menu[0]->YValue + 5, hit) & HitLink);
    EXPECT_EQ(hit.link.url, "b.html");
}

TEST(WhiteSpace, PreOutsidePreKeepsLineEndsAndSpaces)
{
    Page p(Html("<div style='white-space:pre'>first\n   second  x\nlast</div><p>a   b</p>"));
    EXPECT_EQ(Top(p, u"second"), Top(p, u"first") + 19);
    EXPECT_EQ(Top(p, u"last"), Top(p, u"first") + 2 * 19);
    // The line keeps its three leading and two inner spaces; elsewhere runs
    // of spaces still merge.
    const TDrawCall* line = p.Painted(u"second");
    ASSERT_NE(line, nullptr);
    EXPECT_EQ(line->rect.left, 0);
    EXPECT_EQ(line->rect.width(), 12 * 8);
    EXPECT_NE(p.Painted(u"a b"), nullptr);
}

TEST(WhiteSpace, PreWrapKeepsSpacesAndStillWraps)
{
    Page p(Html("<span style='white-space:pre-wrap'>aaa  bbb ccc ddd</span>"), 80);
    EXPECT_EQ(Top(p, u"ccc"), Top(p, u"aaa") + 19);
    EXPECT_EQ(Left(p, u"ccc"), 0);
    const TDrawCall* first = p.Painted(u"aaa");
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(first->rect.width(), 8 * 8); // "aaa  bbb" (its last space hangs)
}

TEST(Buttons, ClickingAButtonsContentSubmitsItsForm)
{
    for (const std::string type : {"", " type=submit", " type=bogus", " type=reset", " type=button"}) {
        Page p(Html("<form action=go.cgi><input name=q value=x><button name=b value=v" + type +
                    ">Send <b>now</b></button></form>"));
        std::vector<TFormSubmission> sent;
        p.doc.Objects.Host.formSubmit = [&](TFormSubmission s) { sent.push_back(std::move(s)); };
        const TDrawCall* word = p.Painted(u"now");
        ASSERT_NE(word, nullptr);
        TLinkHit hit;
        ASSERT_TRUE(p.doc.LinkAt(p.canvas, word->rect.left + 2, word->rect.top + 5, hit) & HitControl) << type;
        ASSERT_NE(hit.control, nullptr);
        hit.control->Click();
        const bool submits = type.empty() || type == " type=submit" || type == " type=bogus";
        ASSERT_EQ(sent.size(), submits ? 1u : 0u) << type;
        if (submits) {
            EXPECT_EQ(sent[0].action, "go.cgi");
            EXPECT_EQ(sent[0].items, (std::vector<std::string>{"q=x", "b=v"}));
        }
    }
}

TEST(Buttons, AButtonOutsideAFormIsText)
{
    Page p(Html("<button>Alone</button>"));
    const TDrawCall* word = p.Painted(u"Alone");
    ASSERT_NE(word, nullptr);
    TLinkHit hit;
    EXPECT_FALSE(p.doc.LinkAt(p.canvas, word->rect.left + 2, word->rect.top + 5, hit) & HitControl);
}

TEST(InlineBoxes, AHiddenBorderedElementBoxesNothing)
{
    // A hidden button (its own border) ahead of all text, and a hidden
    // bordered span inside a line: neither draws a box around the text that
    // follows; the one visible bordered span draws its own.
    Page p(Html("<style>.bar { display: none }</style><div class=bar><button>Menu</button></div>"
                "<p>Text after <a href='#'>a link</a>.</p>"
                "<p>and <span style='display:none; border:2px solid'>hidden</span> more "
                "<span style='border:1px solid'>boxed</span></p>"));
    p.PaintTexts();
    EXPECT_EQ(BorderPieceCount(p.doc), 1u);
}

TEST(InlineBlock, ListItemsOfAMenuStandSideBySide)
{
    Page p(Html("<style>li { display: inline-block; padding: 0 4px }</style>"
                "<ul><li>Home</li> <li>About <b>us</b></li><li><p>Contact</p></li></ul><p>After</p>"));
    EXPECT_EQ(Top(p, u"Home"), Top(p, u"About"));
    EXPECT_EQ(Top(p, u"Home"), Top(p, u"Contact"));
    // Each item is a box of its own width, its padding on both sides.
    EXPECT_GE(Left(p, u"About"), Left(p, u"Home") + 4 * 8 + 4 + 4);
    EXPECT_GE(Left(p, u"Contact"), Left(p, u"About") + 8 * 8 + 4 + 4);
    EXPECT_LT(Left(p, u"Contact"), Left(p, u"About") + 8 * 8 + 4 + 4 + 2 * 8);
    EXPECT_GT(Top(p, u"After"), Top(p, u"Home"));
}
