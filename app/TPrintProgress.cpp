#include "app/TPrintProgress.h"

#include <QCoreApplication>
#include <QProgressDialog>
#include <algorithm>

#include "html/viewer/ViewerPrint.h"

namespace {

// A job that ends sooner shows no window.
constexpr int ShowAfterMs = 500;

} // namespace

TPrintProgress::TPrintProgress(QWidget* parent)
    : FDialog(std::make_unique<QProgressDialog>(QStringLiteral("Counting pages..."), QStringLiteral("Cancel"), 0, 0,
                                                parent))
{
    FDialog->setObjectName("PrintProgressDialog");
    FDialog->setWindowTitle(QStringLiteral("Printing"));
    FDialog->setWindowModality(Qt::WindowModal);
    FDialog->setMinimumDuration(ShowAfterMs);
    FDialog->setAutoClose(false);
    FDialog->setAutoReset(false);
    FDialog->setValue(0);
}

TPrintProgress::~TPrintProgress() { FDialog->close(); }

bool TPrintProgress::Report(TPrintStage stage, int done, int total)
{
    if (stage == TPrintStage::Counting) {
        FDialog->setLabelText(QStringLiteral("Counting pages... %1").arg(done));
        FDialog->setRange(0, 0);
    } else {
        FDialog->setLabelText(QStringLiteral("Printing page %1 of %2").arg(done).arg(total));
        FDialog->setRange(0, std::max(total, 1));
    }
    FDialog->setValue(stage == TPrintStage::Counting ? 0 : done);
    // The Cancel button is pressed between pages.
    QCoreApplication::processEvents();
    return FDialog->wasCanceled();
}

bool TPrintProgress::Cancelled() const { return FDialog->wasCanceled(); }

QString TPrintProgress::Text() const { return FDialog->labelText(); }
