// The habits of a desktop reader: files dropped on the window open, the File
// menu remembers recent documents, and the shown document follows its file
// when that changes on disk.
#include <QAction>
#include <QApplication>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileInfo>
#include <QMenu>
#include <QMimeData>
#include <cstdio> // before jpeglib.h, which uses FILE
#include <jpeglib.h>
#include <png.h>
#include <zlib.h>

#include "app/TDocumentWatcher.h"
#include "app/TFM_PlatForm.h"
#include "app/TRecentDocuments.h"
#include "app/TSearchPage.h"
#include "app/WidgetHelpers.h"
#include "html/viewer/TFrameSet.h"
#include "html/viewer/TFrameViewer.h"
#include "html/viewer/TfvFrame.h"

namespace {

// The local file a drop names: a file URL, or a path dropped as text.
QString droppedFile(const QMimeData& data)
{
    if (data.hasUrls()) {
        const QUrl url = data.urls().front();
        return url.isLocalFile() ? url.toLocalFile() : QString();
    }
    const QString text = data.text().trimmed();
    if (text.startsWith(QLatin1String("file://")))
        return QUrl(text).toLocalFile();
    return text.startsWith(QLatin1Char('/')) ? text : QString();
}

} // namespace

void TFM_PlatForm::createDesktopHabits(QAction* beforeExit)
{
    auto* recentMenu = new QMenu(QStringLiteral("Recent &documents"), this);
    recentMenu->setObjectName("MNU_RecentDocuments");
    FFileMenu->insertMenu(beforeExit, recentMenu);
    FFileMenu->insertSeparator(beforeExit);
    FRecentDocuments = new TRecentDocuments(FSettingsFile, recentMenu, this);
    FRecentDocuments->Load();
    connect(FRecentDocuments, &TRecentDocuments::Chosen, this, [this](const QString& location) {
        NB_MAIN->setCurrentIndex(0);
        LoadHTMLFile(location);
    });

    FDocumentWatcher = new TDocumentWatcher(this);
    connect(FDocumentWatcher, &TDocumentWatcher::Changed, this, &TFM_PlatForm::shownFilesChanged);
    setAcceptDrops(true);
}

TRecentDocuments* TFM_PlatForm::RecentDocuments() const
{
    return FRecentDocuments;
}

TDocumentWatcher* TFM_PlatForm::DocumentWatcher() const
{
    return FDocumentWatcher;
}

QStringList TFM_PlatForm::ShownFiles() const
{
    QStringList files;
    TFrameSet& set = HTMLViewer1->CurrentFrameSet();
    std::vector<TfvFrame*> frames = set.Frames();
    if (frames.empty()) {
        files.append(CurrentFile());
        return files;
    }
    // A frame set is its own file, and each frame shows one more.
    files.append(ToQString(set.CurrentFile));
    for (TfvFrame* frame : frames)
        if (frame->Viewer())
            files.append(ToQString(frame->Viewer()->CurrentFile()));
    return files;
}

void TFM_PlatForm::documentShown()
{
    const QString current = CurrentFile();
    // The results page is rewritten by every search: it is not a document
    // a reader comes back to.
    if (!current.isEmpty() && QFileInfo(current) != QFileInfo(FSearchPage->ResultFile()))
        FRecentDocuments->Add(current);
    FDocumentWatcher->Watch(ShownFiles());
    highlightShownDocument();
}

void TFM_PlatForm::shownFilesChanged()
{
    // A reload while a load or a program runs would pile onto it; the next
    // change brings the document up to date.
    if (FLoading || !isEnabled() || CurrentFile().isEmpty())
        return;
    Refresh();
}

void TFM_PlatForm::dragEnterEvent(QDragEnterEvent* event)
{
    if (!droppedFile(*event->mimeData()).isEmpty())
        event->acceptProposedAction();
}

void TFM_PlatForm::dropEvent(QDropEvent* event)
{
    const QString file = droppedFile(*event->mimeData());
    if (file.isEmpty())
        return;
    event->acceptProposedAction();
    OpenDropped(file);
}

void TFM_PlatForm::OpenDropped(const QString& file)
{
    const QFileInfo info(file);
    if (info.isDir()) {
        ShowMessage(QMessageBox::Information,
                    QStringLiteral("%1 is a folder. Drop a document from it, or search it on the MERL page.")
                        .arg(file));
        return;
    }
    NB_MAIN->setCurrentIndex(0);
    LoadHTMLFile(file);
}

QString TFM_PlatForm::AboutText()
{
    return QStringLiteral("<b>Quillon %1</b><br>An offline reader for HTML document collections,"
                          "<br>with the KOVRA local search engine.<br><br>Made with Qt %2, zlib %3, libpng %4"
                          " and libjpeg %5.")
        .arg(QApplication::applicationVersion().isEmpty() ? QStringLiteral("(development)")
                                                          : QApplication::applicationVersion(),
             QString::fromLatin1(qVersion()), QString::fromLatin1(zlibVersion()),
             QString::fromLatin1(png_get_libpng_ver(nullptr)), QString::number(JPEG_LIB_VERSION));
}
