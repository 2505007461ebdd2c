#include "app/TFM_PrintPreview.h"

#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QVBoxLayout>
#include <algorithm>

#if defined(__GLIBC__)
#include <malloc.h>
#endif

#include "app/WidgetHelpers.h"
#include "html/viewer/THTMLViewer.h"
#include "html/viewer/TPrintPreviewView.h"
#include "html/viewer/TViewerPrintJob.h"

TFM_PrintPreview::TFM_PrintPreview(THTMLViewer& viewer, QPrinter& printer, QWidget* parent)
    : QDialog(parent), FJob(std::make_unique<TViewerPrintJob>(viewer))
{
    setObjectName("PrintPreviewDialog");
    setWindowTitle(QStringLiteral("Print Preview"));
    FView = new TPrintPreviewView(this);
    FView->setObjectName("PA_Pages");
    LB_Pages = new QLabel(this);
    LB_Pages->setObjectName("LB_Pages");
    QPushButton* zoomIn = NamedPushButton("BT_ZoomIn", "Zoom &In");
    QPushButton* zoomOut = NamedPushButton("BT_ZoomOut", "Zoom &Out");
    QPushButton* fitWidth = NamedPushButton("BT_FitWidth", "&Fit Width");
    QPushButton* print = NamedPushButton("BT_Print", "&Print...");
    QPushButton* close = NamedPushButton("BT_Close", "&Close");
    auto* bar = new QHBoxLayout;
    for (QPushButton* button : {zoomIn, zoomOut, fitWidth})
        bar->addWidget(button);
    bar->addSpacing(12);
    bar->addWidget(LB_Pages, 1);
    bar->addWidget(print);
    bar->addWidget(close);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(bar);
    layout->addWidget(FView, 1);
    connect(zoomIn, &QPushButton::clicked, this, [this] { FView->SetZoom(FView->Zoom() * 1.25); });
    connect(zoomOut, &QPushButton::clicked, this, [this] { FView->SetZoom(FView->Zoom() / 1.25); });
    connect(fitWidth, &QPushButton::clicked, this, [this] { FView->FitWidth(); });
    connect(print, &QPushButton::clicked, this, [this] {
        FPrintChosen = true;
        accept();
    });
    connect(close, &QPushButton::clicked, this, &QDialog::reject);
    FView->OnPagesCounted = [this](int pages, bool complete) { ShowPageCount(pages, complete); };
    FView->OnCurrentPage = [this](int page) { ShowCurrentPage(page); };

    QScreen* screen = parent ? parent->screen() : QGuiApplication::primaryScreen();
    const QRect room = screen ? screen->availableGeometry() : QRect(0, 0, 1024, 768);
    resize(std::min(900, room.width() * 9 / 10), room.height() * 9 / 10);
    FView->Start(viewer.SectionList(), printer, FJob->Settings(), FJob->Callbacks());
    LB_Pages->setText(QStringLiteral("Counting pages..."));
}

TFM_PrintPreview::~TFM_PrintPreview() = default;

void TFM_PrintPreview::reject()
{
    // Escape or Close while the pages are still being counted stops that too.
    FView->StopCounting();
    QDialog::reject();
}

void TFM_PrintPreview::ShowPageCount(int pages, bool complete)
{
    FCountComplete = complete;
    if (!complete) {
        LB_Pages->setText(QStringLiteral("Counting pages... %1").arg(pages));
        return;
    }
    ShowCurrentPage(FView->CurrentPage());
}

void TFM_PrintPreview::ShowCurrentPage(int page)
{
    if (!FCountComplete)
        return;
    LB_Pages->setText(QStringLiteral("Page %1 of %2").arg(std::max(page, 1)).arg(FView->PageCount()));
}

void TFM_PrintPreview::ReturnFreedMemory()
{
#if defined(__GLIBC__)
    malloc_trim(0);
#endif
}
