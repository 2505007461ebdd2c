#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QTabWidget>
#include <filesystem>

#include "AppTestSupport.h"
#include "app/TFM_PlatForm.h"
#include "html/viewer/TFrameViewer.h"
#include "html/viewer/THTMLViewer.h"

namespace {

// The main window with its error boxes recorded instead of shown.
class TestWindow : public TFM_PlatForm {
public:
    QStringList errors;

protected:
    void ReportError(const QString& message) override { errors << message; }
};

class Navigation : public AppTest {
protected:
    void SetUp() override
    {
        AppTest::SetUp();
        previous = std::filesystem::current_path();
    }
    void TearDown() override
    {
        std::filesystem::current_path(previous);
        AppTest::TearDown();
    }
    QString page(const QString& relative, const QString& title)
    {
        QString path = dir.path() + "/" + relative;
        QDir().mkpath(QFileInfo(path).path());
        write(relative.toUtf8().constData(), "<title>" + title.toStdString() + "</title><p>" + title.toStdString());
        return path;
    }
    std::filesystem::path previous;
};

} // namespace

TEST_F(Navigation, LoadsAFileAndFollowsTheViewer)
{
    QString a = page("a.htm", "Page A");
    TestWindow w;
    w.show();
    w.LoadHTMLFile(a);
    EXPECT_TRUE(w.errors.isEmpty()) << w.errors.join("; ").toStdString();
    EXPECT_EQ(w.CurrentFile(), a);
    EXPECT_EQ(w.LocationText(), a);
    EXPECT_EQ(w.windowTitle(), "Page A - Quillon");
    EXPECT_EQ(std::filesystem::current_path(), std::filesystem::path(dir.path().toStdString()));
}

TEST_F(Navigation, MissingFileShowsTheLoadErrorAndKeepsTheLocation)
{
    QString a = page("a.htm", "Page A");
    TestWindow w;
    w.show();
    w.LoadHTMLFile(a);
    w.LoadHTMLFile(dir.path() + "/missing.htm");
    ASSERT_EQ(w.errors.size(), 1);
    EXPECT_TRUE(w.errors.front().startsWith("Can't locate file: ")) << w.errors.front().toStdString();
    EXPECT_EQ(w.LocationText(), a);
    EXPECT_EQ(w.CurrentFile(), a);
}

TEST_F(Navigation, MacroInCapitalsLoadsFromTheProgramFolder)
{
    page("b.htm", "Page B");
    TestWindow w;
    w.show();
    w.LoadHTMLFile("%EXEDIR%b.htm");
    EXPECT_TRUE(w.errors.isEmpty()) << w.errors.join("; ").toStdString();
    EXPECT_EQ(QFileInfo(w.CurrentFile()).canonicalFilePath(), QFileInfo(dir.path() + "/b.htm").canonicalFilePath());
}

TEST_F(Navigation, HistoryMenuKeepsTheNewestTen)
{
    TestWindow w;
    w.show();
    for (int i = 0; i < 11; ++i)
        w.LoadHTMLFile(page(QStringLiteral("p%1.htm").arg(i), QStringLiteral("Page %1").arg(i)));
    int shown = 0;
    for (int i = 0; i < TFM_PlatForm::HistoryEntryCount; ++i)
        shown += w.HistoryEntry(i)->isVisible() ? 1 : 0;
    EXPECT_EQ(shown, 10);
    EXPECT_TRUE(w.HistoryEntry(0)->text().endsWith("p10.htm")) << w.HistoryEntry(0)->text().toStdString();
    EXPECT_TRUE(w.HistoryEntry(0)->isChecked());
    EXPECT_TRUE(w.HistoryMenu()->menuAction()->isVisible());
    w.HistoryClick(3);
    EXPECT_TRUE(w.CurrentFile().endsWith("p7.htm")) << w.CurrentFile().toStdString();
}

TEST_F(Navigation, BackIntoAnotherFolderChangesTheCurrentDirectory)
{
    QString b = page("B/doc.htm", "In B");
    QString a = page("A/doc.htm", "In A");
    TestWindow w;
    w.show();
    w.LoadHTMLFile(b);
    w.LoadHTMLFile(a);
    EXPECT_EQ(std::filesystem::current_path().filename(), "A");
    w.GoBack();
    EXPECT_EQ(w.CurrentFile(), b);
    EXPECT_EQ(std::filesystem::current_path().filename(), "B");
    EXPECT_TRUE(w.findChild<QAction*>("TB_Next")->isEnabled());
}

TEST_F(Navigation, HomePageAsABareNameAndNotReloadedWhenCurrent)
{
    page("home.htm", "Home");
    write("KOVRA32.INI", "[StartUp]\nHomePage=home.htm\n");
    TestWindow w;
    w.show();
    w.LoadHTMLFile("HOME");
    EXPECT_TRUE(w.errors.isEmpty()) << w.errors.join("; ").toStdString();
    EXPECT_TRUE(w.CurrentFile().endsWith("/home.htm"));
    int entries = w.Viewer()->HistoryCount();
    w.Notebook()->setCurrentIndex(1);
    w.LoadHTMLFile("home");
    EXPECT_EQ(w.Viewer()->HistoryCount(), entries) << "the current home page is not loaded again";
    EXPECT_EQ(w.Notebook()->currentIndex(), 0);
}

TEST_F(Navigation, HomeWithoutHomePageSaysSo)
{
    TestWindow w;
    w.show();
    w.LoadHTMLFile("Home");
    EXPECT_EQ(w.errors, QStringList{"No home page defined yet."});
}

TEST_F(Navigation, FirstDocumentFromOneArgumentOnly)
{
    QString a = page("a.htm", "Page A");
    QString h = page("home.htm", "Home");
    write("KOVRA32.INI", "[StartUp]\nLoadHome=1\nHomePage=" + h.toStdString() + "\n");
    {
        TestWindow w;
        w.show();
        w.FirstActivation({a});
        EXPECT_EQ(w.CurrentFile(), a);
    }
    TestWindow two;
    two.show();
    two.FirstActivation({a, a});
    EXPECT_EQ(two.CurrentFile(), h) << "two arguments are ignored; the home page rule applies";
}

TEST_F(Navigation, CloseFileEmptiesTheView)
{
    TestWindow w;
    w.show();
    w.LoadHTMLFile(page("a.htm", "Page A"));
    w.CloseFile();
    EXPECT_EQ(w.CurrentFile(), "");
    EXPECT_EQ(w.LocationText(), "");
    EXPECT_EQ(w.windowTitle(), "Quillon");
}

TEST_F(Navigation, RelativeLocationsLoadFromTheCurrentDirectory)
{
    page("sub/rel.htm", "Relative");
    std::filesystem::current_path(dir.path().toStdString());
    TestWindow w;
    w.show();
    w.LoadHTMLFile("sub/rel.htm");
    EXPECT_TRUE(w.errors.isEmpty()) << w.errors.join("; ").toStdString();
    EXPECT_EQ(w.windowTitle(), "Relative - Quillon");
    EXPECT_EQ(std::filesystem::current_path().filename(), "sub");
}

// Typing into the location bar and pressing Enter, as a user does, with a
// small collection: history.htm and two letters in archive/.
class TypedLocation : public Navigation {
protected:
    void SetUp() override
    {
        Navigation::SetUp();
        history = page("history.htm", "History");
        letter1 = page("archive/letter1.htm", "Letter one");
        letter2 = page("archive/letter2.htm", "Letter two");
        // Made after the private program folder is in place.
        window = std::make_unique<TestWindow>();
        window->show();
        window->LoadHTMLFile(history);
    }
    void type(const QString& text)
    {
        auto* edit = window->findChild<QLineEdit*>("ED_Location");
        ASSERT_NE(edit, nullptr);
        edit->setText(text);
        emit edit->returnPressed();
    }
    std::filesystem::path folder() const { return dir.path().toStdString(); }

    QString history, letter1, letter2;
    std::unique_ptr<TestWindow> window;
};

TEST_F(TypedLocation, RelativeNamesResolveBesideTheShownDocument)
{
    std::filesystem::current_path("/"); // wherever the directory went, the shown document decides
    type("archive/letter1.htm");
    EXPECT_TRUE(window->errors.isEmpty()) << window->errors.join("; ").toStdString();
    EXPECT_EQ(window->CurrentFile(), letter1);
    EXPECT_EQ(std::filesystem::current_path(), folder() / "archive");

    type("letter2.htm");
    EXPECT_EQ(window->CurrentFile(), letter2);
    type("..\\history.htm");
    EXPECT_EQ(window->CurrentFile(), history);
    type("archive\\letter1.htm#top");
    EXPECT_TRUE(window->errors.isEmpty()) << window->errors.join("; ").toStdString();
    EXPECT_EQ(window->CurrentFile(), letter1);
    EXPECT_EQ(window->LocationText(), letter1 + "#top");
}

TEST_F(TypedLocation, FailedLoadKeepsTheFolderAndPutsTheShownNameBack)
{
    type("archive/nothere.htm");
    ASSERT_EQ(window->errors.size(), 1);
    EXPECT_TRUE(window->errors.front().startsWith("Can't locate file: ")) << window->errors.front().toStdString();
    EXPECT_EQ(window->LocationText(), history);
    EXPECT_EQ(window->CurrentFile(), history);
    EXPECT_EQ(std::filesystem::current_path(), folder());

    // The next relative name still resolves from the shown document's folder.
    type("archive\\letter1.htm");
    EXPECT_EQ(window->errors.size(), 1);
    EXPECT_EQ(window->CurrentFile(), letter1);
}

namespace {

QString statusText(const TFM_PlatForm& w) { return w.findChild<QLabel*>("LB_URL")->text().trimmed(); }

} // namespace

TEST_F(Navigation, RefreshingAPageWhoseFileHasGoneLeavesTheWindowWorking)
{
    QString a = page("a.htm", "Page A");
    QString b = page("b.htm", "Page B");
    TestWindow w;
    w.show();
    w.LoadHTMLFile(a);
    ASSERT_TRUE(QFile::remove(a));
    w.Refresh();
    ASSERT_EQ(w.errors.size(), 1);
    EXPECT_TRUE(w.errors.front().startsWith("Can't locate file: ")) << w.errors.front().toStdString();
    EXPECT_TRUE(w.isEnabled());
    EXPECT_FALSE(w.Viewer()->Busy());
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
    w.LoadHTMLFile(b);
    EXPECT_EQ(w.CurrentFile(), b);
    EXPECT_EQ(w.LocationText(), b);
    EXPECT_EQ(w.windowTitle(), "Page B - Quillon");
    EXPECT_EQ(w.errors.size(), 1);
}

TEST_F(Navigation, ALoadRefusedWhileAnotherRunsSaysSoAndLeavesTheLocation)
{
    QString a = page("a.htm", "Page A");
    QString b = page("b.htm", "Page B");
    TestWindow w;
    w.show();
    // A second load asked for while the first one is being built (as a
    // hand-over or a timer may).
    auto processing = w.Viewer()->OnProcessing;
    bool asked = false;
    w.Viewer()->OnProcessing = [&](TFrameViewer* v, bool on) {
        processing(v, on);
        if (on && !asked) {
            asked = true;
            w.LoadHTMLFile(b);
        }
    };
    w.LoadHTMLFile(a);
    EXPECT_TRUE(asked);
    EXPECT_EQ(w.CurrentFile(), a);
    EXPECT_EQ(w.LocationText(), a);
    EXPECT_EQ(statusText(w), "Still loading a document: " + b + " was not opened");
    EXPECT_TRUE(w.isEnabled());
}

TEST_F(Navigation, RefreshButtonComesBackAfterCloseFile)
{
    TestWindow w;
    w.show();
    QAction* refresh = w.findChild<QAction*>("TB_Refresh");
    w.LoadHTMLFile(page("a.htm", "Page A"));
    EXPECT_TRUE(refresh->isEnabled());
    w.CloseFile();
    w.Refresh(); // as Auto Refresh does when the window is activated
    EXPECT_FALSE(refresh->isEnabled());
    w.LoadHTMLFile(page("b.htm", "Page B"));
    EXPECT_TRUE(refresh->isEnabled());
}

TEST_F(Navigation, AMissingFileGivesOneMessageTypedOrLinked)
{
    QString a = page("a.htm", "Page A");
    write("links.htm", "<title>Links</title><p><a href=\"gone.htm\">gone</a>");
    TestWindow w;
    w.show();
    w.LoadHTMLFile(dir.path() + "/links.htm");
    w.LoadHTMLFile(dir.path() + "/gone.htm");
    ASSERT_EQ(w.errors.size(), 1);
    THTMLViewer* view = w.Viewer()->ActiveView();
    ASSERT_NE(view, nullptr);
    w.Viewer()->FrameLinkClick(*view, "gone.htm");
    ASSERT_EQ(w.errors.size(), 2);
    EXPECT_EQ(w.errors[0], w.errors[1]);
    EXPECT_EQ(w.errors[1], "Can't locate file: " + dir.path() + "/gone.htm");
    EXPECT_EQ(w.LocationText(), dir.path() + "/links.htm");
}

TEST_F(Navigation, ReloadingTheShownLocationAddsNoBackStep)
{
    QString a = page("a.htm", "Page A");
    QString b = page("b.htm", "Page B");
    TestWindow w;
    w.show();
    w.LoadHTMLFile(a);
    w.LoadHTMLFile(b);
    w.LoadHTMLFile(b);
    w.GoBack();
    EXPECT_EQ(w.CurrentFile(), a);
    EXPECT_EQ(w.LocationText(), a);
}
