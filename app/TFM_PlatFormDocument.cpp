// The main window's commands on the shown document: find, copy, the context
// menu, Save As, export as plain text, printing with its cool-down, the page
// margins with the header and footer templates, and the print preview.
#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QCursor>
#include <QDateTime>
#include <QDesktopServices>
#include <QFileDialog>
#include <QFileInfo>
#include <QLocale>
#include <QMenu>
#include <QPrintDialog>
#include <QPrinter>
#include <QPushButton>
#include <QScreen>
#include <QTimer>
#include <QUrl>

#include "app/HelperLookup.h"
#include "app/PlainTextExport.h"
#include "app/TFM_Find.h"
#include "app/TFM_PageMargins.h"
#include "app/TFM_PlatForm.h"
#include "app/TFM_PrinterSetup.h"
#include "app/TFM_PrintPreview.h"
#include "app/TPrintProgress.h"
#include "app/TSearchHighlight.h"
#include "app/TSearchPage.h"
#include "app/WidgetHelpers.h"
#include "html/viewer/PrintHeaderFooter.h"
#include "html/viewer/TFrameSet.h"
#include "html/viewer/TFrameViewer.h"
#include "html/viewer/THTMLViewer.h"
#include "html/viewer/TfvFrame.h"
#include "util/FileReplace.h"
#include "util/Exception.h"
#include "util/TSessionFolder.h"
#include "util/Utilities.h"

namespace {

// The all-pages choice and an open range print up to this page.
constexpr int lastPrintablePage = 9999;

bool isResultsLocation(const QString& location)
{
    return location.toUpper() == QLatin1String("KOVRA RESULTS");
}

std::vector<std::string> splitLines(const std::string& bytes)
{
    std::vector<std::string> lines;
    size_t start = 0;
    while (start < bytes.size()) {
        size_t end = bytes.find('\n', start);
        std::string line = bytes.substr(start, end == std::string::npos ? std::string::npos : end - start);
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        lines.push_back(std::move(line));
        if (end == std::string::npos)
            break;
        start = end + 1;
    }
    return lines;
}

int screenUnitsPerInch()
{
    QScreen* screen = QGuiApplication::primaryScreen();
    int dpi = screen ? int(screen->logicalDotsPerInchY()) : 96;
    return dpi > 0 ? dpi : 96;
}

} // namespace

// ---- construction -------------------------------------------------------------

void TFM_PlatForm::createDocumentCommands()
{
    FDocumentMenu = new QMenu(this);
    FDocumentMenu->setObjectName("POP_Document");
    auto item = [this](const char* name, const QString& caption, const QKeySequence& key = {}) {
        QAction* action = FDocumentMenu->addAction(caption);
        action->setObjectName(name);
        action->setShortcut(key);
        return action;
    };
    connect(item("POP_Back", QStringLiteral("&Back"), QKeySequence("Alt+Left")), &QAction::triggered, this,
        &TFM_PlatForm::GoBack);
    connect(item("POP_Forward", QStringLiteral("&Forward"), QKeySequence("Alt+Right")), &QAction::triggered,
        this, &TFM_PlatForm::GoForward);
    connect(item("POP_Copy", QStringLiteral("&Copy selected text to clipboard")), &QAction::triggered, this,
        [this] { HTMLViewer1->CopyToClipboard(); });
    QAction* copyLink = item("POP_CopyLink", QStringLiteral("Copy &Link Location to clipboard"));
    copyLink->setVisible(false);
    connect(copyLink, &QAction::triggered, this, [this] { QApplication::clipboard()->setText(FLinkToCopy); });

    FFindDialog = new TFM_Find(this);
    FFindDialog->setObjectName("FindDialog1");
    connect(FFindDialog, &TFM_Find::FindNextRequested, this, &TFM_PlatForm::FindNextClick);
}

void TFM_PlatForm::connectDocumentCommands()
{
    auto on = [this](const char* name, auto handler) {
        connect(findChild<QAction*>(name), &QAction::triggered, this, handler);
    };
    on("MNU_SelectAll", [this] { HTMLViewer1->SelectAll(); });
    on("MNU_Copy", [this] { HTMLViewer1->CopyToClipboard(); });
    on("TB_Copy", [this] { HTMLViewer1->CopyToClipboard(); });
    on("MNU_Find", &TFM_PlatForm::FindClick);
    on("MNU_FindAgain", [this] { FindAgainClick(THighlightStep::Next); });
    connect(FFindTextButton, &QPushButton::clicked, this, &TFM_PlatForm::FindClick);
    connect(FFindNextButton, &QPushButton::clicked, this, &TFM_PlatForm::FindNextClick);
    on("MNU_Print", &TFM_PlatForm::PrintDocument);
    on("TB_Print", &TFM_PlatForm::PrintDocument);
    on("MNU_PrintPreview", &TFM_PlatForm::PrintPreview);
    on("MNU_PrinterSetup", [this] {
        // Sets the printer up for the print commands; prints nothing.
        TFM_PrinterSetup dialog(Printer(), this);
        dialog.setObjectName("PrinterSetupDialog");
        if (dialog.exec() == QDialog::Accepted)
            dialog.ApplyTo(Printer());
    });
    on("MNU_PageSetup", &TFM_PlatForm::PageSetupClick);
    on("MNU_SaveAs", &TFM_PlatForm::SaveAs);
    on("MNU_Export", &TFM_PlatForm::ExportPlainText);

    connect(Timer2, &QTimer::timeout, this, [this] {
        Timer2->stop();
        findChild<QAction*>("TB_Print")->setEnabled(true);
        findChild<QAction*>("MNU_Print")->setEnabled(true);
    });

    HTMLViewer1->OnRightClick = [this](THTMLViewer*, const TRightClickParameters& parameters) {
        ShowDocumentMenu(parameters, QCursor::pos());
    };
    HTMLViewer1->OnPrintHeader = [this](THTMLViewer*, TCanvas& canvas, int page, int, int height, bool&) {
        printBand(canvas, page, TPrintBand::Header, height);
    };
    HTMLViewer1->OnPrintFooter = [this](THTMLViewer*, TCanvas& canvas, int page, int, int height, bool&) {
        printBand(canvas, page, TPrintBand::Footer, height);
    };
}

// ---- prompts ----------------------------------------------------------------------

void TFM_PlatForm::ShowMessage(QMessageBox::Icon icon, const QString& text)
{
    QMessageBox box(icon, QApplication::applicationName(), text, QMessageBox::Ok, this);
    box.exec();
}

bool TFM_PlatForm::AskYesNo(const QString& text)
{
    QMessageBox box(QMessageBox::Warning, QApplication::applicationName(), text,
        QMessageBox::Yes | QMessageBox::No, this);
    return box.exec() == QMessageBox::Yes;
}

QString TFM_PlatForm::AskSaveFileName(const QString& proposed)
{
    // The overwrite question is ours, with our own words.
    return QFileDialog::getSaveFileName(this, QStringLiteral("Save As"), proposed,
        QStringLiteral("HTM Files (*.HTM);;HTML Files (*.HTML);;All Files (*)"), nullptr,
        QFileDialog::DontConfirmOverwrite);
}

bool TFM_PlatForm::ExecPrintDialog(QPrinter& printer)
{
    QPrintDialog dialog(&printer, this);
    dialog.setOption(QAbstractPrintDialog::PrintPageRange, true);
    dialog.setMinMax(1, lastPrintablePage);
    return dialog.exec() == QDialog::Accepted;
}

bool TFM_PlatForm::ExecPageMargins(TPageMargins& margins)
{
    TFM_PageMargins dialog(margins, this);
    if (dialog.exec() != QDialog::Accepted)
        return false;
    margins = dialog.Margins();
    return true;
}

void TFM_PlatForm::OpenExportedText(const QString& path)
{
    std::string editor = EditorProgram(ToUtf8(FSettingsFile));
    if (editor.empty()) {
        QDesktopServices::openUrl(QUrl::fromLocalFile(path));
        return;
    }
    std::string error = RunProgram(editor, ToUtf8(path));
    if (!error.empty())
        ReportError(ToQString(error));
}

// ---- find and the context menu ---------------------------------------------------

void TFM_PlatForm::FindClick()
{
    if (FFindDialog->FindText().isEmpty())
        FFindDialog->SetFindText(FFindText);
    FFindDialog->show();
    FFindDialog->raise();
    FFindDialog->activateWindow();
}

bool TFM_PlatForm::FindNextClick()
{
    const QString text = FFindDialog->FindText();
    if (text.isEmpty()) {
        FindClick();
        return false;
    }
    const bool matchCase = FFindDialog->MatchCase();
    const bool up = FFindDialog->SearchUp();
    TFindOutcome outcome = HTMLViewer1->FindWrapping(ToUtf8(text), matchCase, up);
    // The words of the last search find the hit on a results page even when
    // the whole text does not appear together (on from the match shown: a
    // word already passed is not found again for a text that is nowhere).
    const QStringList keywords = FFindText.split(' ', Qt::SkipEmptyParts);
    for (qsizetype i = 0; outcome == TFindOutcome::NotFound && i < keywords.size(); ++i)
        if (HTMLViewer1->FindInText(ToUtf8(keywords[i]), matchCase, up))
            outcome = TFindOutcome::Found;
    if (outcome == TFindOutcome::Wrapped)
        ShowStatusNote(up ? QStringLiteral("Passed the top, continued from the end")
                          : QStringLiteral("Passed the end, continued from the top"));
    if (outcome != TFindOutcome::NotFound)
        return true;
    ShowMessage(QMessageBox::Information, '"' + text + QStringLiteral("\" not found"));
    // The next Enter searches again: the dialog keeps the keyboard.
    if (FFindDialog->isVisible()) {
        FFindDialog->raise();
        FFindDialog->activateWindow();
        FFindDialog->FocusFindText();
    }
    return false;
}

void TFM_PlatForm::ShowDocumentMenu(const TRightClickParameters& parameters, const QPoint& globalPosition)
{
    // The clipboard gets where the link leads, not what the page wrote.
    FLinkToCopy = parameters.URL.empty() ? QString() : ToQString(HTMLViewer1->ExpandLinkName(parameters.URL));
    findChild<QAction*>("POP_CopyLink")->setVisible(!FLinkToCopy.isEmpty());
    findChild<QAction*>("POP_Back")->setEnabled(HTMLViewer1->BackButtonEnabled());
    findChild<QAction*>("POP_Forward")->setEnabled(HTMLViewer1->FwdButtonEnabled());
    FDocumentMenu->popup(globalPosition);
}

// ---- save and export -------------------------------------------------------------

void TFM_PlatForm::SaveAs()
{
    const bool results = isResultsLocation(LocationText());
    const QString current = CurrentFile();
    if (!results && current.isEmpty())
        return;
    QString target = AskSaveFileName(results ? QStringLiteral("UNTITLED.HTM") : current);
    if (target.isEmpty())
        return;
    QFileInfo targetInfo(target);
    // Saving the document onto its own file leaves the file as it is.
    const bool sameFile = !results && targetInfo.exists()
        && targetInfo.canonicalFilePath() == QFileInfo(current).canonicalFilePath();
    if (!sameFile && targetInfo.exists() && !AskYesNo(QStringLiteral("File already exists, overwrite?")))
        return;
    try {
        if (results) {
            std::optional<std::string> page = ReadFileBytes(ToUtf8(FSearchPage->ResultFile()));
            if (!page)
                throw EFileError("Cannot open file \"" + ToUtf8(FSearchPage->ResultFile()) + "\"");
            WriteFileAtomically(ToUtf8(target), *page);
        } else if (!sameFile) {
            CopyFileKeepDate(ToUtf8(current), ToUtf8(target));
        }
    } catch (const std::exception& e) {
        ReportError(QString::fromUtf8(e.what()));
        return;
    }
    LoadHTMLFile(target);
}

void TFM_PlatForm::ExportPlainText()
{
    const QString current = CurrentFile();
    std::optional<std::string> bytes = ReadFileBytes(ToUtf8(current.section('#', 0, 0)));
    if (!bytes) {
        ReportError(QStringLiteral("Cannot open file \"%1\"").arg(current));
        return;
    }
    try {
        std::string path = WritePlainTextExport(
            HtmlLinesToPlainText(splitLines(*bytes), ExportCodePage(*bytes)), FSessionFolder->Path());
        OpenExportedText(ToQString(path));
    } catch (const std::exception& e) {
        ReportError(QString::fromUtf8(e.what()));
    }
}

// ---- printing --------------------------------------------------------------------

bool TFM_PlatForm::checkPrintable()
{
    if (HTMLViewer1->ActiveView())
        return true;
    if (HTMLViewer1->CurrentFile().empty()) {
        ShowMessage(QMessageBox::Information, QStringLiteral("There is no document to print."));
        return false;
    }
    // A frame set whose frames the user has not chosen between yet.
    QStringList frames;
    for (TfvFrame* frame : HTMLViewer1->CurrentFrameSet().Frames()) {
        const QString source = QFileInfo(ToQString(frame->Source)).fileName();
        const QString name = ToQString(frame->Name);
        frames << (name.isEmpty() ? source : source.isEmpty() ? name : name + " (" + source + ")");
    }
    ShowMessage(QMessageBox::Information,
        QStringLiteral("This page is made of frames. Click in the frame you want to print, then print again.\n"
                       "Its frames: %1.")
            .arg(frames.join(QStringLiteral(", "))));
    return false;
}

void TFM_PlatForm::preparePrintBands()
{
    // The header and footer need room inside their margins; a margin too
    // small for them leaves less room for the body instead of being printed over.
    const int space = PrintBandSpace(screenUnitsPerInch());
    HTMLViewer1->PrintHeaderSpace = FViewerOptions.PrintHeader.isEmpty() ? 0 : space;
    HTMLViewer1->PrintFooterSpace = FViewerOptions.PrintFooter.isEmpty() ? 0 : space;
}

void TFM_PlatForm::PrintDocument()
{
    if (!checkPrintable())
        return;
    preparePrintBands();
    QPrinter& printer = Printer();
    if (ExecPrintDialog(printer)) {
        const bool range = printer.printRange() == QPrinter::PageRange;
        const int first = range && printer.fromPage() > 0 ? printer.fromPage() : 1;
        const int last = range && printer.toPage() > 0 ? printer.toPage() : lastPrintablePage;
        printWithProgress(first, last, printer);
    }
    startPrintIdle();
}

void TFM_PlatForm::printWithProgress(int first, int last, QPrinter& printer)
{
    TPrintProgress progress(this);
    HTMLViewer1->OnPrintWatch = [&progress](THTMLViewer*, TPrintStage stage, int done, int total) {
        return progress.Report(stage, done, total);
    };
    QApplication::setOverrideCursor(Qt::WaitCursor);
    try {
        HTMLViewer1->Print(first, last, printer);
    } catch (const std::exception& e) {
        QApplication::restoreOverrideCursor();
        ReportError(QString::fromUtf8(e.what()));
        QApplication::setOverrideCursor(Qt::WaitCursor);
    }
    QApplication::restoreOverrideCursor();
    HTMLViewer1->OnPrintWatch = nullptr;
    if (progress.Cancelled())
        ShowStatusNote(QStringLiteral("Printing cancelled"));
}

void TFM_PlatForm::startPrintIdle()
{
    // "PrintIdle" keeps a kiosk's printer from being flooded: the print
    // commands rest for that many seconds after each print dialog.
    if (Timer2->interval() <= 0)
        return;
    findChild<QAction*>("TB_Print")->setEnabled(false);
    findChild<QAction*>("MNU_Print")->setEnabled(false);
    Timer2->start();
}

void TFM_PlatForm::printBand(TCanvas& canvas, int page, TPrintBand band, int bandHeight)
{
    const QString& text
        = band == TPrintBand::Header ? FViewerOptions.PrintHeader : FViewerOptions.PrintFooter;
    if (text.isEmpty())
        return;
    TPrintPageFacts facts;
    facts.page = page;
    facts.timestamp = QLocale().toString(QDateTime::currentDateTime(), QLocale::ShortFormat).toStdU16String();
    facts.fileName = CurrentFile().toStdU16String();
    DrawPrintBand(canvas, band, ExpandPrintTemplate(text.toStdU16String(), facts), screenUnitsPerInch(), bandHeight);
}

void TFM_PlatForm::PageSetupClick()
{
    TPageMargins margins { FViewerOptions.PrintMarginTop, FViewerOptions.PrintMarginBottom,
        FViewerOptions.PrintMarginLeft, FViewerOptions.PrintMarginRight, FViewerOptions.PrintHeader,
        FViewerOptions.PrintFooter };
    if (ExecPageMargins(margins))
        ApplyPageMargins(margins);
}

void TFM_PlatForm::ApplyPageMargins(const TPageMargins& m)
{
    FViewerOptions.PrintMarginTop = m.Top;
    FViewerOptions.PrintMarginBottom = m.Bottom;
    FViewerOptions.PrintMarginLeft = m.Left;
    FViewerOptions.PrintMarginRight = m.Right;
    FViewerOptions.PrintHeader = m.Header;
    FViewerOptions.PrintFooter = m.Footer;
    HTMLViewer1->PrintMarginTop = m.Top;
    HTMLViewer1->PrintMarginBottom = m.Bottom;
    HTMLViewer1->PrintMarginLeft = m.Left;
    HTMLViewer1->PrintMarginRight = m.Right;
}

void TFM_PlatForm::PrintPreview()
{
    if (!checkPrintable())
        return;
    preparePrintBands();
    THTMLViewer* viewer = HTMLViewer1->ActiveView();
    HTMLViewer1->ApplySettings(*viewer);
    bool print = false;
    try {
        TFM_PrintPreview dialog(*viewer, Printer(), this);
        dialog.exec();
        print = dialog.PrintChosen();
    } catch (const std::exception& e) {
        ReportError(QString::fromUtf8(e.what()));
    }
    TFM_PrintPreview::ReturnFreedMemory();
    if (print)
        PrintDocument();
}
