// THTMLViewer: what the document's pictures and forms ask of the viewer —
// image files next to the document, pictures whose data comes later, and
// form submission.
#include <QFileDialog>
#include <QFileInfo>
#include <QTimer>

#include "html/layout/TDocumentObjects.h"
#include "html/layout/TSectionList.h"
#include "html/viewer/QtPictures.h"
#include "html/viewer/THTMLViewer.h"
#include "html/viewer/TPaintPanel.h"
#include "util/FileLookup.h"

void THTMLViewer::ConnectObjectHost()
{
    TObjectHost& host = FSectionList->Objects.Host;
    // Pictures are files found like links: relative to the document's
    // folder, with letter case ignored when the name does not match.
    host.viewerExpandName = [this](const std::string& name) { return ResolveFileName(ExpandLinkName(name)); };
    host.drawingRequest = ReadQtPicture;
    host.formSubmit = [this](TFormSubmission submission) {
        // Submitting may load another document, which frees the control
        // that was clicked: the viewer answers once the click is over.
        QTimer::singleShot(0, this, [this, s = std::move(submission)] {
            if (OnFormSubmit)
                OnFormSubmit(this, s.action, s.target, s.encType, s.method, s.items);
        });
    };
    host.fileBrowse = [this](std::u16string& fileName) { return BrowseForFile(fileName); };
}

bool THTMLViewer::BrowseForFile(std::u16string& fileName)
{
    if (OnFileBrowse)
        return OnFileBrowse(this, fileName);
    // The dialog runs an event loop of its own: a refresh or a timer must not
    // replace the document, which owns the control that asks.
    const bool wasProcessing = FProcessing;
    FProcessing = true;
    QString start = QString::fromStdU16String(fileName);
    if (start.isEmpty() && !FCurrentFile.empty())
        start = QFileInfo(QString::fromStdString(FCurrentFile)).absolutePath();
    const QString chosen = QFileDialog::getOpenFileName(this, QStringLiteral("Choose a file"), start);
    FProcessing = wasProcessing;
    if (chosen.isEmpty())
        return false;
    fileName = chosen.toStdU16String();
    return true;
}

void THTMLViewer::InsertImage(const std::string& source, TByteSpan data)
{
    TDocumentObjects& objects = FSectionList->Objects;
    std::string name = objects.ExpandImageName(source);
    if (objects.InsertImage(name, data) > 0)
        RelayoutKeepPosition();
    else
        FPaintPanel->update();
}
