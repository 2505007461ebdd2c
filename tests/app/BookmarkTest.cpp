#include <gtest/gtest.h>

#include <QAction>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <csignal>
#include <filesystem>
#include <sys/resource.h>

#include "AppTestSupport.h"
#include "PromptedWindow.h"
#include "app/TBookmarkList.h"
#include "html/viewer/TFrameViewer.h"
#include "util/Exception.h"

namespace {

using Entry = TBookmarkList::TEntry;

// The captions of the bookmark entries of the "&Bookmark" menu.
QStringList menuEntries(TFM_PlatForm& w)
{
    QStringList captions;
    const QList<QAction*> items = w.findChild<QMenu*>("MNU_Bookmark")->actions();
    for (qsizetype i = 3; i < items.size(); ++i)
        captions << items[i]->text();
    return captions;
}

QStringList listed(TFM_BMMgr& manager)
{
    QStringList items;
    for (int i = 0; i < manager.List()->count(); ++i)
        items << manager.List()->item(i)->text();
    return items;
}

class Bookmarks : public AppTest {
protected:
    QString page(const char* name, const std::string& title)
    {
        write(name, "<title>" + title + "</title><p>" + title + " text");
        return QString::fromStdString(file(name));
    }
    void writeBookmarks(int count)
    {
        std::string text;
        for (int i = 0; i < count; ++i)
            text += "/doc" + std::to_string(i) + ".htm Bookmark " + std::to_string(i) + "\n";
        write("BOOKMARK.TXT", text);
    }
};

} // namespace

TEST(BookmarkLines, LocationEndsAtTheFirstSpaceAndSpacesAreEncoded)
{
    EXPECT_EQ(TBookmarkList::ParseLine("/a/b.htm A title with spaces").Location, "/a/b.htm");
    EXPECT_EQ(TBookmarkList::ParseLine("/a/b.htm A title with spaces").Description, "A title with spaces");
    Entry noSpace = TBookmarkList::ParseLine("justtext");
    EXPECT_EQ(noSpace.Location, "");
    EXPECT_EQ(noSpace.Description, "justtext");
    EXPECT_EQ(TBookmarkList::ParseLine("/a.htm ").Description, "");

    Entry spaced { "My notes", "/home/me/My Books/100% done.htm" };
    std::string line = TBookmarkList::FormatLine(spaced);
    EXPECT_EQ(line, "/home/me/My%20Books/100%25%20done.htm My notes");
    Entry back = TBookmarkList::ParseLine(line);
    EXPECT_EQ(back.Location, spaced.Location);
    EXPECT_EQ(back.Description, spaced.Description);
    // Lines of older copies have no such sequences and read as before; other
    // percent sequences stay as they are.
    EXPECT_EQ(TBookmarkList::ParseLine("C:\\DOCS\\A.HTM Old").Location, "C:\\DOCS\\A.HTM");
    EXPECT_EQ(TBookmarkList::DecodeLocation("a%41%2"), "a%41%2");
    // A description cannot break its line.
    EXPECT_EQ(TBookmarkList::FormatLine({ "two\nlines", "/x.htm" }), "/x.htm two lines");
}

TEST_F(Bookmarks, ReadingSurvivesOddFiles)
{
    TBookmarkList list;
    write("cr.txt", "/a.htm A\r/b.htm B\r\n/c.htm C\n\n\r");
    list.Read(file("cr.txt"));
    ASSERT_EQ(list.Count(), 3u);
    EXPECT_EQ(list.At(1).Location, "/b.htm");
    EXPECT_EQ(list.At(2).Description, "C");

    std::string garbage;
    for (int i = 0; i < 70000; ++i)
        garbage += char((i * 7919) % 256);
    write("garbage.txt", garbage);
    list.Read(file("garbage.txt"));
    EXPECT_GT(list.Count(), 0u);
    // Written back and read again, every bookmark is as it was.
    list.Save(file("again.txt"));
    TBookmarkList again;
    again.Read(file("again.txt"));
    ASSERT_EQ(again.Count(), list.Count());
    for (size_t i = 0; i < list.Count(); ++i) {
        EXPECT_EQ(again.At(i).Location, list.At(i).Location) << i;
        EXPECT_EQ(again.At(i).Description, list.At(i).Description) << i;
    }

    list.Read(file("missing.txt"));
    EXPECT_EQ(list.Count(), 0u);
}

TEST_F(Bookmarks, AppendingStartsANewLineAndFailedRewriteKeepsTheFile)
{
    write("BOOKMARK.TXT", "/a.htm A"); // edited by hand, no line end
    TBookmarkList appender;
    appender.AppendAndSave(file("BOOKMARK.TXT"), { "B", "/b.htm" });
    EXPECT_EQ(read("BOOKMARK.TXT"), "/a.htm A\n/b.htm B\n");

    EXPECT_THROW(appender.AppendAndSave(file("no-such-folder/BOOKMARK.TXT"), { "B", "/b.htm" }), EWriteError);
    TBookmarkList list;
    list.Append({ "C", "/c.htm" });
    try {
        list.Save(file("no-such-folder/BOOKMARK.TXT"));
        FAIL() << "the write should fail";
    } catch (const EWriteError& e) {
        EXPECT_EQ(std::string(e.what()), "Unable to write to " + file("no-such-folder/BOOKMARK.TXT"));
    }
    EXPECT_EQ(read("BOOKMARK.TXT"), "/a.htm A\n/b.htm B\n");
}

TEST_F(Bookmarks, TwelveBookmarksShowTenInTheMenuAndAllInTheManager)
{
    writeBookmarks(12);
    write("QLACCESS.INI", "[Advance]\nSEE_BOOKMARK=1\n");
    PromptedWindow w;
    QStringList menu = menuEntries(w);
    ASSERT_EQ(menu.size(), 10);
    EXPECT_EQ(menu.front(), "Bookmark 0");
    EXPECT_EQ(menu.back(), "Bookmark 9");
    EXPECT_EQ(listed(*w.BookmarkManager()).size(), 12);
    EXPECT_TRUE(w.findChild<QMenu*>("MNU_Bookmark")->menuAction()->isVisible());
    EXPECT_TRUE(w.findChild<QAction*>("MNU_BookmarkSeparator")->isVisible());

    // The menu bar switched off and on keeps the offered menu.
    QAction* bar = w.findChild<QAction*>("MNU_MenuBar");
    bar->trigger();
    EXPECT_FALSE(w.findChild<QMenu*>("MNU_Bookmark")->menuAction()->isVisible());
    bar->trigger();
    EXPECT_TRUE(w.findChild<QMenu*>("MNU_Bookmark")->menuAction()->isVisible());
}

TEST_F(Bookmarks, AddingTheShownPageAppendsToFileMenuAndManager)
{
    QString titled = page("titled.htm", "A Title");
    QString untitled = QString::fromStdString(file("plain.htm"));
    write("plain.htm", "<p>No title here");
    PromptedWindow w;
    w.LoadHTMLFile(titled);
    w.AddBookmarkClick();
    w.LoadHTMLFile(untitled);
    w.AddBookmarkClick();
    ASSERT_TRUE(w.errors.isEmpty()) << w.errors.join("; ").toStdString();
    EXPECT_EQ(read("BOOKMARK.TXT"), titled.toStdString() + " A Title\n" + untitled.toStdString() + " \n");
    // A page without a title is shown by its file name.
    EXPECT_EQ(menuEntries(w), (QStringList { "A Title", "plain.htm" }));
    EXPECT_EQ(listed(*w.BookmarkManager()), (QStringList { "A Title", "plain.htm" }));
    w.GenerateBMList();
    EXPECT_EQ(menuEntries(w), (QStringList { "A Title", "plain.htm" }));

    // The entry opens its page.
    w.findChild<QMenu*>("MNU_Bookmark")->actions().at(3)->trigger();
    EXPECT_EQ(w.CurrentFile(), titled);
}

TEST_F(Bookmarks, ResultsPageIsNotBookmarked)
{
    PromptedWindow w;
    w.findChild<QLineEdit*>("ED_Location")->setText("kovra results");
    w.AddBookmarkClick();
    EXPECT_EQ(w.messages, QStringList { "Please save your search results first before bookmarking" });
    EXPECT_TRUE(menuEntries(w).isEmpty());
    EXPECT_FALSE(std::filesystem::exists(file("BOOKMARK.TXT")));
}

TEST_F(Bookmarks, LocationWithSpacesSurvivesARestart)
{
    std::filesystem::create_directories(file("My Books"));
    QString spaced = page("My Books/100% sure.htm", "Spaced");
    {
        PromptedWindow w;
        w.LoadHTMLFile(spaced);
        w.AddBookmarkClick();
    }
    PromptedWindow again;
    ASSERT_EQ(again.BookmarkManager()->Bookmarks().Count(), 1u);
    again.BookMarkClick(0);
    EXPECT_TRUE(again.errors.isEmpty()) << again.errors.join("; ").toStdString();
    EXPECT_EQ(again.CurrentFile(), spaced);
}

TEST_F(Bookmarks, UnwritableBookmarkFileIsReportedAndTheMenuStillWorks)
{
    QString target = page("a.htm", "Kept");
    std::string unwritable = file("gone/BOOKMARK.TXT");
    write("KOVRA32.INI", "[StartUp]\nBookmark=" + unwritable + "\n");
    PromptedWindow w;
    w.LoadHTMLFile(target);
    w.AddBookmarkClick();
    EXPECT_EQ(w.errors, QStringList { QString::fromStdString("Unable to write to " + unwritable) });
    EXPECT_EQ(menuEntries(w), QStringList { "Kept" });
    w.LoadHTMLFile(page("b.htm", "Other"));
    w.BookMarkClick(0);
    EXPECT_EQ(w.CurrentFile(), target);
}

TEST_F(Bookmarks, ManagerReordersEditsAndDeletes)
{
    writeBookmarks(3);
    PromptedWindow w;
    TFM_BMMgr& m = *w.BookmarkManager();
    m.SetCurrentIndex(0);
    m.MoveUpClick();
    EXPECT_EQ(listed(m), (QStringList { "Bookmark 0", "Bookmark 1", "Bookmark 2" }));
    EXPECT_EQ(m.CurrentIndex(), 0);
    m.SetCurrentIndex(2);
    m.MoveDownClick();
    EXPECT_EQ(listed(m), (QStringList { "Bookmark 0", "Bookmark 1", "Bookmark 2" }));
    m.MoveUpClick();
    EXPECT_EQ(listed(m), (QStringList { "Bookmark 0", "Bookmark 2", "Bookmark 1" }));
    EXPECT_EQ(m.CurrentIndex(), 1);
    EXPECT_EQ(m.Bookmarks().At(1).Location, "/doc2.htm"); // the two lists move together

    m.EditPair = [](QString& description, QString& location) {
        EXPECT_EQ(description, "Bookmark 2");
        description = "Renamed";
        location = "/renamed.htm";
        return true;
    };
    m.EditClick();
    EXPECT_EQ(m.CurrentIndex(), 1);
    EXPECT_EQ(m.Bookmarks().At(1).Location, "/renamed.htm");
    m.EditPair = [](QString&, QString&) { return false; };
    m.EditClick();
    EXPECT_EQ(listed(m).at(1), "Renamed");

    m.SetCurrentIndex(2);
    m.DeleteClick();
    EXPECT_EQ(listed(m), (QStringList { "Bookmark 0", "Renamed" }));
    EXPECT_EQ(m.CurrentIndex(), 1); // the new last item
    m.SetCurrentIndex(0);
    m.DeleteClick();
    EXPECT_EQ(m.CurrentIndex(), 0);
    m.EditPair = [](QString& description, QString& location) {
        description = "Added";
        location = "/added file.htm";
        return true;
    };
    m.AddClick();
    EXPECT_EQ(listed(m), (QStringList { "Renamed", "Added" }));

    m.DoneClick();
    EXPECT_EQ(read("BOOKMARK.TXT"), "/renamed.htm Renamed\n/added%20file.htm Added\n");
}

TEST_F(Bookmarks, EveryWayOutOfTheManagerKeepsItsChanges)
{
    writeBookmarks(3);
    QString target = page("target.htm", "Target");
    write("BOOKMARK.TXT", read("BOOKMARK.TXT") + target.toStdString() + " Target\n");
    PromptedWindow w;
    // Reordered, then left with "Goto": the bookmark opens, the order stays.
    w.managerSession = [](TFM_BMMgr& m) {
        m.SetCurrentIndex(3);
        m.MoveUpClick();
        m.MoveUpClick();
        m.GotoClick();
        return m.result();
    };
    w.BookmarkManagerClick();
    EXPECT_EQ(menuEntries(w), (QStringList { "Bookmark 0", "Target", "Bookmark 1", "Bookmark 2" }));
    EXPECT_EQ(w.CurrentFile(), target);
    EXPECT_EQ(read("BOOKMARK.TXT"),
        "/doc0.htm Bookmark 0\n" + target.toStdString() + " Target\n/doc1.htm Bookmark 1\n/doc2.htm Bookmark 2\n");

    // Escape.
    w.managerSession = [](TFM_BMMgr& m) {
        m.SetCurrentIndex(0);
        m.DeleteClick();
        m.reject();
        return m.result();
    };
    w.BookmarkManagerClick();
    EXPECT_EQ(menuEntries(w), (QStringList { "Target", "Bookmark 1", "Bookmark 2" }));
    EXPECT_EQ(read("BOOKMARK.TXT"), target.toStdString() + " Target\n/doc1.htm Bookmark 1\n/doc2.htm Bookmark 2\n");

    // The close box, and a double click on a row.
    TFM_BMMgr& m = *w.BookmarkManager();
    m.show();
    m.SetCurrentIndex(2);
    m.DeleteClick();
    m.close();
    EXPECT_EQ(read("BOOKMARK.TXT"), target.toStdString() + " Target\n/doc1.htm Bookmark 1\n");
    m.show();
    m.SetCurrentIndex(1);
    m.MoveUpClick();
    emit m.List()->itemDoubleClicked(m.List()->item(0));
    EXPECT_EQ(m.result(), TFM_BMMgr::GotoResult);
    EXPECT_EQ(read("BOOKMARK.TXT"), "/doc1.htm Bookmark 1\n" + target.toStdString() + " Target\n");
    EXPECT_TRUE(w.errors.isEmpty()) << w.errors.join("; ").toStdString();
}

TEST_F(Bookmarks, RelativeLocationsOpenFromTheProgramFolder)
{
    std::filesystem::create_directories(file("docs/guide"));
    std::filesystem::create_directories(file("guide"));
    QString inProgramFolder = page("guide/intro.htm", "From the program folder");
    page("docs/guide/intro.htm", "Beside the shown page");
    QString shown = page("docs/index.htm", "Shown");
    write("BOOKMARK.TXT", "guide/intro.htm Intro\n./guide/intro.htm#top Anchored\n");
    PromptedWindow w;
    w.LoadHTMLFile(shown);
    w.BookMarkClick(0);
    EXPECT_EQ(w.CurrentFile(), inProgramFolder);

    w.LoadHTMLFile(shown);
    w.managerSession = [](TFM_BMMgr& m) {
        m.SetCurrentIndex(1);
        m.GotoClick();
        return m.result();
    };
    w.BookmarkManagerClick();
    EXPECT_EQ(w.CurrentFile(), inProgramFolder);
    EXPECT_TRUE(w.errors.isEmpty()) << w.errors.join("; ").toStdString();

    const std::string programDir = "/prog/";
    EXPECT_EQ(TBookmarkList::LocationToOpen("sub\\page.htm#a", programDir), "/prog/sub/page.htm#a");
    EXPECT_EQ(TBookmarkList::LocationToOpen("../up.htm", programDir), "/up.htm");
    for (const char* asWritten : { "/abs/page.htm", "C:\\DOCS\\A.HTM", "http://example.org/a.htm",
             "%exedir%page.htm", "HOME", "KOVRA RESULTS", "" })
        EXPECT_EQ(TBookmarkList::LocationToOpen(asWritten, programDir), asWritten);
}

TEST_F(Bookmarks, LargeBookmarkFileLoads)
{
    std::string big;
    big.reserve(10 * 1024 * 1024 + 100);
    int n = 0;
    while (big.size() < 10 * 1024 * 1024)
        big += "/collection/part" + std::to_string(n++)
            + ".htm A long description to fill the file quickly\n";
    write("BOOKMARK.TXT", big);
    PromptedWindow w;
    EXPECT_EQ(w.BookmarkManager()->Bookmarks().Count(), size_t(n));
    EXPECT_EQ(menuEntries(w).size(), 10);
}

TEST(BookmarkMerge, KeepsWhatEachSideChanged)
{
    const std::vector<Entry> base { { "A", "/a.htm" }, { "B", "/b.htm" }, { "C", "/c.htm" } };
    // They removed B and added D; we renamed C and added E.
    const std::vector<Entry> theirs { { "A", "/a.htm" }, { "C", "/c.htm" }, { "D", "/d.htm" } };
    const std::vector<Entry> ours { { "A", "/a.htm" }, { "B", "/b.htm" }, { "C2", "/c.htm" }, { "E", "/e.htm" } };
    EXPECT_EQ(TBookmarkList::Merge(base, theirs, ours),
        (std::vector<Entry> { { "A", "/a.htm" }, { "C2", "/c.htm" }, { "E", "/e.htm" }, { "D", "/d.htm" } }));
    // The same bookmark added on both sides is kept once; a bookmark both
    // sides removed stays removed; our order wins.
    EXPECT_EQ(TBookmarkList::Merge(base, { { "C", "/c.htm" }, { "X", "/x.htm" } },
                  { { "X", "/x.htm" }, { "C", "/c.htm" } }),
        (std::vector<Entry> { { "X", "/x.htm" }, { "C", "/c.htm" } }));
    // Duplicates count: they added a second copy of A.
    EXPECT_EQ(TBookmarkList::Merge(base, { base[0], base[1], base[2], base[0] }, base),
        (std::vector<Entry> { base[0], base[1], base[2], base[0] }));
}

TEST_F(Bookmarks, DoneKeepsLinesAnotherCopyOrAnEditorWroteMeanwhile)
{
    writeBookmarks(3);
    PromptedWindow w;
    TFM_BMMgr& m = *w.BookmarkManager();
    // Another program folder sharing the file adds a bookmark and an editor
    // removes one while this manager holds its own copy.
    TBookmarkList other;
    other.Read(file("BOOKMARK.TXT"));
    other.AppendAndSave(file("BOOKMARK.TXT"), { "From elsewhere", "/elsewhere.htm" });
    std::string text = read("BOOKMARK.TXT");
    text.erase(text.find("/doc1.htm"), std::string("/doc1.htm Bookmark 1\n").size());
    write("BOOKMARK.TXT", text);

    m.SetCurrentIndex(2);
    m.MoveUpClick();
    m.DoneClick();
    ASSERT_TRUE(w.errors.isEmpty()) << w.errors.join("; ").toStdString();
    EXPECT_EQ(read("BOOKMARK.TXT"), "/doc0.htm Bookmark 0\n/doc2.htm Bookmark 2\n/elsewhere.htm From elsewhere\n");
    EXPECT_EQ(listed(m), (QStringList { "Bookmark 0", "Bookmark 2", "From elsewhere" }));

    // A second Done with nothing changed elsewhere writes the list as it is.
    m.SetCurrentIndex(2);
    m.MoveUpClick();
    m.DoneClick();
    EXPECT_EQ(read("BOOKMARK.TXT"), "/doc0.htm Bookmark 0\n/elsewhere.htm From elsewhere\n/doc2.htm Bookmark 2\n");
}

TEST_F(Bookmarks, BookmarkFileReachedThroughALinkStaysALink)
{
    std::filesystem::create_directories(file("shared"));
    write("shared/BOOKMARK.TXT", "/a.htm A\n");
    std::filesystem::create_symlink(file("shared/BOOKMARK.TXT"), file("BOOKMARK.TXT"));
    TBookmarkList list;
    list.Read(file("BOOKMARK.TXT"));
    list.AppendAndSave(file("BOOKMARK.TXT"), { "B", "/b.htm" });
    list.MoveUp(1);
    list.Save(file("BOOKMARK.TXT"));
    EXPECT_TRUE(std::filesystem::is_symlink(file("BOOKMARK.TXT")));
    EXPECT_EQ(read("shared/BOOKMARK.TXT"), "/b.htm B\n/a.htm A\n");
}

TEST_F(Bookmarks, AFullDiskLeavesNoPartOfAnAddedLine)
{
    write("BOOKMARK.TXT", "/a.htm A\n");
    TBookmarkList list;
    list.Read(file("BOOKMARK.TXT"));
    // A file size limit just past the file's end stands in for a full disk:
    // the write takes a few bytes of the line and then fails.
    struct rlimit old {};
    ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &old), 0);
    auto oldSignal = std::signal(SIGXFSZ, SIG_IGN);
    struct rlimit tight = old;
    tight.rlim_cur = 20;
    ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &tight), 0);
    bool failed = false;
    try {
        list.AppendAndSave(file("BOOKMARK.TXT"), { "A long description", "/long/location.htm" });
    } catch (const EWriteError&) {
        failed = true;
    }
    ::setrlimit(RLIMIT_FSIZE, &old);
    std::signal(SIGXFSZ, oldSignal);
    EXPECT_TRUE(failed);
    EXPECT_EQ(read("BOOKMARK.TXT"), "/a.htm A\n");
    // The bookmark stays in the list for the run.
    EXPECT_EQ(list.Count(), 2u);
}

TEST_F(Bookmarks, ASaveAfterTheFileWentAwayKeepsEveryBookmark)
{
    writeBookmarks(2);
    TBookmarkList list;
    list.Read(file("BOOKMARK.TXT"));
    std::filesystem::remove(file("BOOKMARK.TXT"));
    list.Append({ "New", "/new.htm" });
    list.Save(file("BOOKMARK.TXT"));
    EXPECT_EQ(read("BOOKMARK.TXT"), "/doc0.htm Bookmark 0\n/doc1.htm Bookmark 1\n/new.htm New\n");
}
