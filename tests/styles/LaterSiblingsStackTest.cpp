// The property stack learns what comes after each element as elements end,
// guesses while it does not know yet, and recalls in a second reading what
// the first one learned, by the places of the start tags.
#include "StyleTestSupport.h"
#include "html/style/TLaterSiblings.h"
#include "html/style/TPropStack.h"

namespace {

class LaterSiblingsStackTest : public StyleTest {
protected:
    void SetUp() override
    {
        StyleTest::SetUp();
        stack.UseLaterSiblings(&later);
        stack.Reset(*styles.defaultProperties());
    }
    // Reads <ul><li><li>...</ul> with the list at position 0 and item k at
    // position 10 k; answers the z-index each item got.
    std::vector<int> readList(int items, bool textInItems = true)
    {
        std::vector<int> z;
        stack.Push(styles, "ul", "", "", nullptr, u"", "", nullptr, 0);
        for (int k = 1; k <= items; ++k) {
            z.push_back(stack.Push(styles, "li", "", "", nullptr, u"", "", nullptr, 10 * k)->zIndex());
            if (textInItems)
                stack.NoteContent();
            stack.Pop(styles, "li");
        }
        stack.Pop(styles, "ul");
        return z;
    }
    TLaterSiblings later;
    TPropStack stack;
};

TEST_F(LaterSiblingsStackTest, TheFirstReadingGuessesAndTheSecondKnows)
{
    sheet("li:last-child { z-index: 1 } li:nth-last-child(2) { z-index: 2 }");
    EXPECT_EQ(readList(3), (std::vector<int>{0, 0, 0}));
    stack.Clear();
    EXPECT_TRUE(later.GuessedWrong());
    later.StartSecondReading();
    stack.Reset(*styles.defaultProperties());
    EXPECT_EQ(readList(3), (std::vector<int>{0, 2, 1}));
}

TEST_F(LaterSiblingsStackTest, AGuessThatHeldNeedsNoSecondReading)
{
    // The items were asked whether they are empty and were not; no rule
    // asked about the last of them.
    sheet("li:empty { z-index: 3 } dd:last-child { z-index: 4 }");
    EXPECT_EQ(readList(2), (std::vector<int>{0, 0}));
    stack.Clear();
    EXPECT_FALSE(later.GuessedWrong());
    // An empty item makes the guess for li:empty wrong.
    later.Reset();
    stack.Reset(*styles.defaultProperties());
    readList(2, false);
    stack.Clear();
    EXPECT_TRUE(later.GuessedWrong());
}

TEST_F(LaterSiblingsStackTest, ALookAtTheStyleIsNoChild)
{
    sheet("li:first-child { z-index: 5 }");
    stack.Push(styles, "ul", "", "", nullptr, u"", "", nullptr, 0);
    EXPECT_EQ(stack.Push(styles, "li", "", "", nullptr, u"", "", nullptr, 10)->zIndex(), 5);
    stack.Unpush();
    EXPECT_EQ(stack.Push(styles, "li", "", "", nullptr, u"", "", nullptr, 10)->zIndex(), 5);
}

} // namespace
