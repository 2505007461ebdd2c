// The main window's "&Bookmark" menu: adding the shown document, the manager,
// and one entry per bookmark (at most ten).
#include <QAction>
#include <QMenu>

#include "app/TFM_BMMgr.h"
#include "app/TFM_PlatForm.h"
#include "app/WidgetHelpers.h"
#include "html/viewer/TFrameViewer.h"
#include "util/ProgramFolder.h"
#include "util/Utilities.h"

namespace {

constexpr int fixedBookmarkItems = 3; // "&Add Bookmark", "&Bookmark Manager", separator
constexpr int bookmarkMenuEntries = 10;

// A description is shown as it is: "&" would otherwise become an accelerator.
QString menuCaption(const QString& description)
{
    return QString(description).replace('&', QStringLiteral("&&"));
}

} // namespace

void TFM_PlatForm::createBookmarkMenu()
{
    connect(addAction(FBookmarkMenu, "MNU_AddBookmark", "&Add Bookmark"), &QAction::triggered, this,
        &TFM_PlatForm::AddBookmarkClick);
    connect(addAction(FBookmarkMenu, "MNU_BookmarkManager", "&Bookmark Manager"), &QAction::triggered, this,
        &TFM_PlatForm::BookmarkManagerClick);
    QAction* separator = FBookmarkMenu->addSeparator();
    separator->setObjectName("MNU_BookmarkSeparator");
    separator->setVisible(false);
}

void TFM_PlatForm::createBookmarkManager()
{
    FBookmarkManager = new TFM_BMMgr(FBookmarkFile, this);
    FBookmarkManager->setObjectName("FM_BMMgr");
    FBookmarkManager->ReportError = [this](const QString& message) { ReportError(message); };
}

void TFM_PlatForm::appendBookmarkEntry(int index, const QString& description)
{
    QAction* entry = FBookmarkMenu->addAction(menuCaption(description));
    entry->setObjectName(QStringLiteral("MNU_Bookmark%1").arg(index));
    entry->setData(index);
    connect(entry, &QAction::triggered, this, [this, index] { BookMarkClick(index); });
    FBookmarkMenu->actions().at(fixedBookmarkItems - 1)->setVisible(true);
}

void TFM_PlatForm::GenerateBMList()
{
    QList<QAction*> items = FBookmarkMenu->actions();
    for (qsizetype i = fixedBookmarkItems; i < items.size(); ++i) {
        FBookmarkMenu->removeAction(items[i]);
        items[i]->deleteLater();
    }
    const TBookmarkList& list = FBookmarkManager->Bookmarks();
    const int shown = std::min<int>(int(list.Count()), bookmarkMenuEntries);
    for (int i = 0; i < shown; ++i)
        appendBookmarkEntry(i, ToQString(TBookmarkList::DisplayText(list.At(size_t(i)))));
}

void TFM_PlatForm::openBookmark(const std::string& location)
{
    // As the current directory, the program folder is where relative names
    // in the page chosen resolve until it loads.
    try {
        ChangeDir(ProgramDir());
    } catch (const std::exception&) {
    }
    LoadHTMLFile(ToQString(TBookmarkList::LocationToOpen(location, ProgramDir())));
}

void TFM_PlatForm::BookMarkClick(int index)
{
    const TBookmarkList& list = FBookmarkManager->Bookmarks();
    if (index < 0 || size_t(index) >= list.Count())
        return;
    openBookmark(list.At(size_t(index)).Location);
}

void TFM_PlatForm::AddBookmarkClick()
{
    if (LocationText().toUpper() == QLatin1String("KOVRA RESULTS")) {
        ShowMessage(QMessageBox::Question,
            QStringLiteral("Please save your search results first before bookmarking"));
        return;
    }
    QString title = ToQString(HTMLViewer1->DocumentTitle());
    appendBookmarkEntry(int(FBookmarkManager->Bookmarks().Count()),
        ToQString(TBookmarkList::DisplayText({ ToUtf8(title), ToUtf8(CurrentFile()) })));
    try {
        FBookmarkManager->AddBookmark(CurrentFile(), title);
    } catch (const std::exception& e) {
        // The bookmark stays in the menu and the manager for this run.
        ReportError(QString::fromUtf8(e.what()));
    }
}

void TFM_PlatForm::BookmarkManagerClick()
{
    int result = execBookmarkManager();
    GenerateBMList();
    if (result == TFM_BMMgr::GotoResult)
        openBookmark(ToUtf8(FBookmarkManager->GotoLocation()));
}

int TFM_PlatForm::execBookmarkManager()
{
    return FBookmarkManager->exec();
}
