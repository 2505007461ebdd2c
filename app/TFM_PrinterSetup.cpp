#include "app/TFM_PrinterSetup.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QPageLayout>
#include <QPageSize>
#include <QPrinter>
#include <QPrinterInfo>
#include <QPushButton>
#include <QRadioButton>

namespace {

// The entry that keeps printing into a file (what the print dialog chose).
const QString PrintToFile = QStringLiteral("Print to file (PDF)");

constexpr QPageSize::PageSizeId Papers[] = { QPageSize::A4, QPageSize::Letter, QPageSize::Legal, QPageSize::A3,
    QPageSize::A5 };

} // namespace

TFM_PrinterSetup::TFM_PrinterSetup(const QPrinter& printer, QWidget* parent)
    : QDialog(parent)
{
    setWindowTitle(QStringLiteral("Printer Setup"));
    auto* form = new QFormLayout(this);
    CB_Printer = new QComboBox;
    CB_Printer->setObjectName("CB_Printer");
    CB_Printer->addItems(QPrinterInfo::availablePrinterNames());
    CB_Printer->addItem(PrintToFile);
    const bool toFile = printer.outputFormat() == QPrinter::PdfFormat || CB_Printer->count() == 1;
    CB_Printer->setCurrentText(toFile ? PrintToFile : printer.printerName());
    form->addRow(QStringLiteral("&Printer:"), CB_Printer);

    CB_Paper = new QComboBox;
    CB_Paper->setObjectName("CB_Paper");
    for (QPageSize::PageSizeId id : Papers)
        CB_Paper->addItem(QPageSize::name(id), int(id));
    CB_Paper->setCurrentIndex(std::max(0, CB_Paper->findData(int(printer.pageLayout().pageSize().id()))));
    form->addRow(QStringLiteral("Paper &size:"), CB_Paper);

    RB_Portrait = new QRadioButton(QStringLiteral("P&ortrait"));
    RB_Landscape = new QRadioButton(QStringLiteral("&Landscape"));
    RB_Portrait->setObjectName("RB_Portrait");
    RB_Landscape->setObjectName("RB_Landscape");
    (printer.pageLayout().orientation() == QPageLayout::Landscape ? RB_Landscape : RB_Portrait)->setChecked(true);
    auto* orientation = new QHBoxLayout;
    orientation->addWidget(RB_Portrait);
    orientation->addWidget(RB_Landscape);
    form->addRow(QStringLiteral("Orientation:"), orientation);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    buttons->button(QDialogButtonBox::Ok)->setObjectName("BT_OK");
    buttons->button(QDialogButtonBox::Cancel)->setObjectName("BT_Cancel");
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    form->addRow(buttons);
}

void TFM_PrinterSetup::ApplyTo(QPrinter& printer) const
{
    if (CB_Printer->currentText() == PrintToFile) {
        printer.setOutputFormat(QPrinter::PdfFormat);
    } else {
        printer.setOutputFormat(QPrinter::NativeFormat);
        printer.setPrinterName(CB_Printer->currentText());
    }
    printer.setPageSize(QPageSize(QPageSize::PageSizeId(CB_Paper->currentData().toInt())));
    printer.setPageOrientation(RB_Landscape->isChecked() ? QPageLayout::Landscape : QPageLayout::Portrait);
}
