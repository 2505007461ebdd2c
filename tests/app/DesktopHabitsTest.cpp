// The habits of a desktop reader: recent documents, dropped files, the shown
// document following its file on disk, zoom commands in a menu, the About text.
#include <gtest/gtest.h>

#include <QAction>
#include <QDir>
#include <QElapsedTimer>
#include <QMenu>
#include <QMimeData>
#include <QSignalSpy>
#include <QTest>
#include <QUrl>
#include <filesystem>

#include "AppTestSupport.h"
#include "PromptedWindow.h"
#include "app/TDocumentWatcher.h"
#include "app/TRecentDocuments.h"
#include "html/viewer/TFrameViewer.h"
#include "html/viewer/THTMLViewer.h"
#include "util/TIniFile.h"

namespace {

class DesktopHabits : public AppTest {
protected:
    QString page(const char* name, const std::string& body)
    {
        write(name, "<title>" + std::string(name) + "</title><p>" + body);
        return QString::fromStdString(file(name));
    }
    static QString shownText(TFM_PlatForm& w)
    {
        THTMLViewer* view = w.Viewer()->ActiveView();
        return QString::fromStdString(view->DocumentSource());
    }
};

QStringList menuCaptions(QMenu* menu)
{
    QStringList captions;
    for (QAction* action : menu->actions())
        captions << action->text();
    return captions;
}

} // namespace

TEST_F(DesktopHabits, RecentDocumentsKeepTheNewestTenOnceEachAcrossRestarts)
{
    std::vector<QString> pages;
    for (int i = 0; i < 12; ++i)
        pages.push_back(page(("p" + std::to_string(i) + ".htm").c_str(), "page"));
    {
        PromptedWindow w;
        for (const QString& p : pages)
            w.LoadHTMLFile(p);
        w.LoadHTMLFile(pages[5]);
        ASSERT_TRUE(w.errors.isEmpty()) << w.errors.join("; ").toStdString();
        const QStringList recent = w.RecentDocuments()->Locations();
        ASSERT_EQ(recent.size(), TRecentDocuments::Capacity);
        EXPECT_EQ(recent.front(), pages[5]);
        EXPECT_EQ(recent[1], pages[11]);
        EXPECT_EQ(recent.count(pages[5]), 1);
        EXPECT_FALSE(recent.contains(pages[0])) << "the oldest fell off";
    }
    // A new window reads the list back from the settings file.
    std::filesystem::remove(file("p11.htm"));
    PromptedWindow again;
    const QStringList recent = again.RecentDocuments()->Locations();
    ASSERT_EQ(recent.size(), TRecentDocuments::Capacity);
    EXPECT_EQ(recent.front(), pages[5]);
    QMenu* menu = again.findChild<QMenu*>("MNU_RecentDocuments");
    ASSERT_NE(menu, nullptr);
    const QStringList captions = menuCaptions(menu);
    EXPECT_EQ(captions[1], pages[11] + " (not found)") << "a file that has gone is marked";
    EXPECT_EQ(captions[0], pages[5]);

    // Choosing a gone entry says so like any missing file, and the list stays.
    menu->actions()[1]->trigger();
    EXPECT_FALSE(again.errors.isEmpty());
    EXPECT_EQ(again.RecentDocuments()->Locations().size(), TRecentDocuments::Capacity);
}

TEST_F(DesktopHabits, TheResultsPageIsNotARecentDocument)
{
    PromptedWindow w;
    const QString a = page("a.htm", "a");
    w.LoadHTMLFile(a);
    write("KVRESULT.HTM", "<p>results");
    w.LoadHTMLFile(QString::fromStdString(file("KVRESULT.HTM")));
    EXPECT_EQ(w.RecentDocuments()->Locations(), QStringList{a});
}

TEST_F(DesktopHabits, DroppedFileOpensAndDroppedFolderGetsAMessage)
{
    PromptedWindow w;
    w.show();
    const QString a = page("dropped.htm", "dropped here");
    QMimeData data;
    data.setUrls({QUrl::fromLocalFile(a)});
    // As a drag does: it enters the window, then drops.
    QDragEnterEvent enter(QPoint(10, 10), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(&w, &enter);
    EXPECT_TRUE(enter.isAccepted());
    QDropEvent drop(QPointF(10, 10), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(&w, &drop);
    EXPECT_EQ(w.CurrentFile(), a);
    EXPECT_TRUE(drop.isAccepted());

    QDir().mkpath(dir.path() + "/folder");
    w.OpenDropped(dir.path() + "/folder");
    ASSERT_EQ(w.messages.size(), 1);
    EXPECT_TRUE(w.messages.front().contains("is a folder")) << w.messages.front().toStdString();
    EXPECT_EQ(w.CurrentFile(), a) << "the shown document stays";

    // A file the viewer cannot read gives the usual message, nothing else.
    w.OpenDropped(dir.path() + "/missing.htm");
    EXPECT_FALSE(w.errors.isEmpty());
}

TEST_F(DesktopHabits, ShownDocumentReloadsWhenItsFileChanges)
{
    PromptedWindow w;
    w.resize(600, 400);
    w.show();
    const std::string lines = [] {
        std::string text;
        for (int i = 0; i < 300; ++i)
            text += "<p>line " + std::to_string(i);
        return text;
    }();
    const QString a = page("live.htm", "first version" + lines);
    w.LoadHTMLFile(a);
    EXPECT_EQ(w.DocumentWatcher()->Watched(), QStringList{a});
    THTMLViewer* view = w.Viewer()->ActiveView();
    view->SetVScrollBarPosition(2000);
    const int position = view->VScrollBarPosition();
    ASSERT_GT(position, 1000);
    QSignalSpy changed(w.DocumentWatcher(), &TDocumentWatcher::Changed);
    page("live.htm", "second version" + lines);
    EXPECT_TRUE(changed.wait(3000));
    EXPECT_TRUE(shownText(w).contains("second version")) << shownText(w).toStdString();
    EXPECT_EQ(w.Viewer()->ActiveView()->VScrollBarPosition(), position) << "the reader keeps their place";
    EXPECT_EQ(w.Viewer()->HistoryCount(), 1) << "a reload is not a new history step";
}

TEST_F(DesktopHabits, AFileRewrittenManyTimesASecondReloadsOnlyAFewTimes)
{
    TDocumentWatcher watcher;
    const QString a = page("busy.htm", "0");
    watcher.Watch({a});
    QSignalSpy changed(&watcher, &TDocumentWatcher::Changed);
    QElapsedTimer clock;
    clock.start();
    int writes = 0;
    while (clock.elapsed() < 2000) {
        page("busy.htm", std::to_string(++writes));
        QTest::qWait(10);
    }
    QTest::qWait(TDocumentWatcher::QuietMs * 3);
    EXPECT_GT(writes, 50);
    EXPECT_GE(changed.count(), 1) << "the last version is reloaded";
    EXPECT_LE(changed.count(), 2000 / TDocumentWatcher::MaxDelayMs + 2) << "no reload storm";
}

TEST_F(DesktopHabits, ZoomCommandsAreMenuItemsWithTheirShortcuts)
{
    PromptedWindow w;
    QMenu* options = w.findChild<QMenu*>("MNU_Options");
    for (const char* name : {"MNU_ZoomIn", "MNU_ZoomOut", "MNU_ZoomReset"}) {
        QAction* action = w.findChild<QAction*>(name);
        ASSERT_NE(action, nullptr) << name;
        EXPECT_TRUE(options->actions().contains(action)) << name;
        EXPECT_FALSE(action->shortcut().isEmpty()) << name;
    }
    EXPECT_EQ(w.findChild<QAction*>("MNU_ZoomReset")->shortcut(), QKeySequence("Ctrl+0"));
    w.findChild<QAction*>("MNU_ZoomIn")->trigger();
    EXPECT_GT(w.Zoom(), 100);
    w.findChild<QAction*>("MNU_ZoomReset")->trigger();
    EXPECT_EQ(w.Zoom(), 100);
}

TEST_F(DesktopHabits, AboutNamesTheVersionAndTheLibraries)
{
    QApplication::setApplicationVersion("9.8.7");
    const QString about = TFM_PlatForm::AboutText();
    QApplication::setApplicationVersion(QString());
    EXPECT_TRUE(about.contains("Quillon 9.8.7")) << about.toStdString();
    for (const char* library : {"Qt ", "zlib ", "libpng ", "libjpeg "})
        EXPECT_TRUE(about.contains(library)) << library;
    EXPECT_TRUE(about.contains(QString::fromLatin1(qVersion())));
}
