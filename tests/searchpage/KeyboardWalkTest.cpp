// A reader who uses no mouse: open a document from the location bar, follow
// a link, search, open a hit from the results page and print, with keys
// alone, each going where the keyboard focus is.
#include "SearchPageSupport.h"

#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTest>

#include "app/TSearchPage.h"
#include "html/viewer/TFrameViewer.h"
#include "html/viewer/THTMLViewer.h"
#include "tests/app/PromptedWindow.h"

namespace {

class KeyboardWalk : public SearchPageTest {
protected:
    void SetUp() override
    {
        SearchPageTest::SetUp();
        write("QLACCESS.INI", "[Advance]\nHTML_PRINT=1\n");
        window = std::make_unique<PromptedWindow>();
        window->show();
        QApplication::setActiveWindow(window.get());
        QApplication::processEvents();
    }
    void TearDown() override
    {
        window.reset();
        SearchPageTest::TearDown();
    }
    QWidget* Focus() { return QApplication::focusWidget() ? QApplication::focusWidget() : window.get(); }
    void Press(int key, Qt::KeyboardModifiers modifiers = {})
    {
        QTest::keyClick(Focus(), Qt::Key(key), modifiers);
        QApplication::processEvents();
    }
    void Type(const std::string& text)
    {
        QTest::keyClicks(Focus(), QString::fromStdString(text));
        QApplication::processEvents();
    }
    // Tab until the document's focused link is url (at most tries presses).
    bool TabToLink(const std::string& url, int tries = 20)
    {
        for (int i = 0; i < tries; ++i) {
            THTMLViewer* view = window->Viewer()->ActiveView();
            if (view && view->FocusedLink().ends_with(url))
                return true;
            Press(Qt::Key_Tab);
        }
        return false;
    }
    std::unique_ptr<PromptedWindow> window;
};

} // namespace

TEST_F(KeyboardWalk, OpenFollowSearchOpenAHitAndPrintWithKeysAlone)
{
    document("start.htm", "<title>Start</title><p>Go to <a href=\"harbour.htm\">the harbour</a>.");
    document("harbour.htm", "<title>Harbour</title><p>Boats rest here.");
    document("lamp.htm", "<title>Lamp</title><p>The lantern burns all night.");

    // Open: Alt+L is the location bar's label key.
    Press(Qt::Key_L, Qt::AltModifier);
    ASSERT_EQ(Focus()->objectName(), "ED_Location");
    Type(docs + "start.htm");
    Press(Qt::Key_Return);
    EXPECT_TRUE(window->CurrentFile().endsWith("start.htm")) << window->CurrentFile().toStdString();

    // F6 takes the focus into the document; Tab reaches its link, Enter follows it.
    Press(Qt::Key_F6);
    ASSERT_NE(dynamic_cast<THTMLViewer*>(Focus()), nullptr);
    ASSERT_TRUE(TabToLink("harbour.htm"));
    Press(Qt::Key_Return);
    EXPECT_TRUE(window->CurrentFile().endsWith("harbour.htm"));

    // Search: F1 shows the search page with its keyword box ready.
    Press(Qt::Key_F1);
    ASSERT_EQ(window->Notebook()->currentIndex(), 1);
    TSearchPage* page = window->SearchPage();
    auto* keywords = child<QLineEdit>(*page, "ED_SearchString");
    for (int i = 0; i < 30 && Focus() != keywords; ++i)
        Press(Qt::Key_Tab);
    ASSERT_EQ(Focus(), keywords);
    Type("lantern");
    auto* folder = child<QComboBox>(*page, "DirTreeLimit");
    for (int i = 0; i < 30 && Focus() != folder && !folder->isAncestorOf(Focus()); ++i)
        Press(Qt::Key_Tab);
    ASSERT_TRUE(Focus() == folder || folder->isAncestorOf(Focus()));
    Press(Qt::Key_A, Qt::ControlModifier);
    Type(docs);
    auto* start = child<QPushButton>(*page, "BT_Start");
    for (int i = 0; i < 30 && Focus() != start; ++i)
        Press(Qt::Key_Tab);
    ASSERT_EQ(Focus(), start) << "the start button is a Tab stop";
    Press(Qt::Key_Space);
    ASSERT_EQ(window->Notebook()->currentIndex(), 0) << "the results page is shown";
    EXPECT_EQ(window->CurrentFile(), page->ResultFile());

    // Open the hit: Tab to its link on the results page.
    Press(Qt::Key_F6);
    ASSERT_TRUE(TabToLink("lamp.htm", 40));
    Press(Qt::Key_Return);
    EXPECT_TRUE(window->CurrentFile().endsWith("lamp.htm"));

    // Print: F4, into a PDF file the print dialog chooses.
    QString pdf = QString::fromStdString(file("lamp.pdf"));
    window->printChoice = [pdf](QPrinter& printer) {
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(pdf);
        return true;
    };
    Press(Qt::Key_F4);
    EXPECT_EQ(window->printDialogs, 1);
    EXPECT_GT(QFileInfo(pdf).size(), 0);
    EXPECT_TRUE(window->errors.isEmpty()) << window->errors.join("; ").toStdString();
}
