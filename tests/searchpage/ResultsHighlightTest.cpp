// A hit opened from the results page shows the searched words marked and
// scrolled to; F3 and Shift+F3 step through them; Escape or another document
// takes them away, and Back and Forward from the results page bring them back.
#include "SearchPageSupport.h"

#include <QAction>

#include "app/TFM_PlatForm.h"
#include "app/TSearchHighlight.h"
#include "app/TSearchPage.h"
#include "html/viewer/TFrameViewer.h"
#include "html/viewer/THTMLViewer.h"

namespace {

class ResultsHighlight : public SearchPageTest {
protected:
    void SetUp() override
    {
        SearchPageTest::SetUp();
        std::string filler;
        for (int i = 0; i < 80; ++i)
            filler += "<p>Paragraph " + std::to_string(i) + " of words that fill the page.</p>\n";
        document("hit.htm", "<title>Hit</title>" + filler + "<p>A Lantern here, a lantern there.</p>" + filler +
                                "<p>lanterns at the end</p>");
        document("other.htm", "<title>Other</title><p>no words of the search</p>");
        window = std::make_unique<TFM_PlatForm>();
        window->resize(700, 500);
        window->show();
    }
    void TearDown() override
    {
        window.reset();
        SearchPageTest::TearDown();
    }
    void Search(const char* words, bool wholeWord)
    {
        window->Notebook()->setCurrentIndex(1);
        TSearchPage* page = window->SearchPage();
        child<QLineEdit>(*page, "ED_SearchString")->setText(words);
        child<QComboBox>(*page, "DirTreeLimit")->setEditText(QString::fromStdString(docs));
        child<QCheckBox>(*page, "CHK_WholeWord")->setChecked(wholeWord);
        page->BT_StartClick();
        ASSERT_EQ(window->CurrentFile(), page->ResultFile());
    }
    THTMLViewer& View() { return *window->Viewer()->ActiveView(); }
    QAction* Action(const char* name) { return child<QAction>(*window, name); }

    std::unique_ptr<TFM_PlatForm> window;
};

} // namespace

TEST_F(ResultsHighlight, OpenedHitShowsTheWordsAndF3StepsThroughThem)
{
    Search("lantern", false);
    window->LoadHTMLFile(QString::fromStdString(docs + "hit.htm"));
    ASSERT_EQ(View().Highlights().size(), 3u) << "Lantern, lantern and the start of lanterns";
    EXPECT_EQ(window->Highlight().CurrentIndex(), 0u);
    EXPECT_GT(View().VScrollBarPosition(), 0) << "scrolled down to the first";
    const int first = View().VScrollBarPosition();

    Action("MNU_FindAgain")->trigger();
    Action("MNU_FindAgain")->trigger();
    EXPECT_EQ(window->Highlight().CurrentIndex(), 2u);
    EXPECT_GT(View().VScrollBarPosition(), first) << "the last one is further down";
    Action("MNU_FindAgain")->trigger();
    EXPECT_EQ(window->Highlight().CurrentIndex(), 0u);
    Action("ACT_FindPrevious")->trigger();
    EXPECT_EQ(window->Highlight().CurrentIndex(), 2u);

    // Escape takes the marks away.
    ASSERT_TRUE(Action("ACT_ClearHighlight")->isEnabled());
    Action("ACT_ClearHighlight")->trigger();
    EXPECT_TRUE(View().Highlights().empty());
    EXPECT_FALSE(Action("ACT_ClearHighlight")->isEnabled());

    // Back to the results and Forward to the hit marks it again.
    window->GoBack();
    EXPECT_EQ(window->CurrentFile(), window->SearchPage()->ResultFile());
    EXPECT_TRUE(View().Highlights().empty()) << "the results page is not marked";
    window->GoForward();
    EXPECT_EQ(View().Highlights().size(), 3u);

    // Another document shown from the hit has none.
    window->LoadHTMLFile(QString::fromStdString(docs + "other.htm"));
    EXPECT_TRUE(View().Highlights().empty());
    EXPECT_FALSE(window->Highlight().Active());
    window->GoBack();
    EXPECT_TRUE(View().Highlights().empty()) << "back to the hit, but not from the results";
}

TEST_F(ResultsHighlight, WholeWordSearchMarksWholeWordsOnly)
{
    Search("lantern", true);
    window->LoadHTMLFile(QString::fromStdString(docs + "hit.htm"));
    EXPECT_EQ(View().Highlights().size(), 2u) << "not the start of lanterns";
}
