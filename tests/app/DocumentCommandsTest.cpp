#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QDir>
#include <QDoubleSpinBox>
#include <QElapsedTimer>
#include <QFile>
#include <QFocusEvent>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QProcess>
#include <QProgressDialog>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>
#include <QTimer>
#include <filesystem>
#include <sys/stat.h>
#include <fstream>

#include "AppTestSupport.h"
#include "PromptedWindow.h"
#include "app/PlainTextExport.h"
#include "app/TFM_Find.h"
#include "app/TFM_PrintPreview.h"
#include "app/TSearchPage.h"
#include "html/viewer/TFrameViewer.h"
#include "html/viewer/THTMLViewer.h"
#include "html/viewer/TPrintPreviewView.h"
#include "util/Utilities.h"

namespace {

class DocumentCommands : public AppTest {
protected:
    QString path(const char* name) const { return QString::fromStdString(file(name)); }
    QString page(const char* name, const std::string& html)
    {
        write(name, html);
        return path(name);
    }
};

std::string pdfText(const QString& pdf)
{
    QProcess p;
    p.start("pdftotext", { pdf, "-" });
    if (!p.waitForFinished(20000))
        return "";
    return p.readAllStandardOutput().toStdString();
}

// A print dialog that chooses a PDF file and, when given, a page range.
std::function<bool(QPrinter&)> printToPdf(const QString& pdf, int from = 0, int to = 0)
{
    return [=](QPrinter& printer) {
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(pdf);
        printer.setPrintRange(from > 0 ? QPrinter::PageRange : QPrinter::AllPages);
        printer.setFromTo(from, to);
        return true;
    };
}

std::string paragraphs(int count)
{
    std::string html = "<title>Long</title>";
    for (int i = 1; i <= count; ++i)
        html += "<p>Paragraph " + std::to_string(i) + " with some words to fill the line.</p>\n";
    return html;
}

} // namespace

TEST(PlainText, TagsGoAndHeadingsKeepTheirWordsApart)
{
    const int utf8 = 65001;
    EXPECT_EQ(HtmlLinesToPlainText({ "<H1>Title</H1>word" }, utf8), std::vector<std::string> { "Title word" });
    EXPECT_EQ(HtmlLinesToPlainText({ "one<br>two<p>three", "a > b" }, utf8),
        (std::vector<std::string> { "one two three", "a  b" }));
    // A tag spanning lines is removed across the line break, and only it.
    EXPECT_EQ(HtmlLinesToPlainText({ "before <a", "href=x.htm>link</a> after" }, utf8),
        (std::vector<std::string> { "before ", "link after" }));
    EXPECT_EQ(HtmlLinesToPlainText({ "<!-- open", "still inside", "--> out" }, utf8),
        (std::vector<std::string> { "", "", " out" }));
}

TEST(PlainText, CharacterReferencesAreDecodedAfterTheTagsGo)
{
    EXPECT_EQ(HtmlLinesToPlainText({ "5&nbsp;% &gt; 4 &#8211; &lt;b&gt; is text &amp;amp;" }, 65001),
        std::vector<std::string> { "5 % > 4 \u2013 <b> is text &amp;" });
    // Windows pages: their bytes and their numbered punctuation.
    EXPECT_EQ(HtmlLinesToPlainText({ "Caf\xe9 &#150; &eacute;t&eacute; &#x41;&unknown; & done" }, 1252),
        std::vector<std::string> { "Caf\u00e9 \u2013 \u00e9t\u00e9 A&unknown; & done" });
    EXPECT_EQ(ExportCodePage("<meta charset=\"windows-1252\"><p>caf\xc3\xa9"), 1252);
    EXPECT_EQ(ExportCodePage("<p>caf\xc3\xa9"), 65001);
    EXPECT_EQ(ExportCodePage("<p>caf\xe9"), 1252);
}

TEST_F(DocumentCommands, ExportGoesToAPrivateFolderAndLeavesTheUsersFilesAlone)
{
    QString doc = page("doc.htm", "<H1>Title</H1>word\n<p>next &amp; <b\nclass=x>bold</b>");
    write("TMPFILE.TXT", "the user's own notes");
    std::string exported;
    {
        PromptedWindow w;
        w.LoadHTMLFile(doc);
        w.ExportPlainText();
        ASSERT_TRUE(w.errors.isEmpty()) << w.errors.join("; ").toStdString();
        ASSERT_EQ(w.opened.size(), 1);
        exported = w.opened[0].toStdString();
        EXPECT_TRUE(exported.ends_with("/TMPFILE.TXT")) << exported;
        EXPECT_EQ(exported.find(dir.path().toStdString()), std::string::npos) << "not in the document's folder";
        std::ifstream in(exported);
        EXPECT_EQ(std::string(std::istreambuf_iterator<char>(in), {}), "Title word\n next & \nbold\n");
        struct stat info {};
        ASSERT_EQ(::stat(exported.c_str(), &info), 0);
        EXPECT_EQ(info.st_mode & 0777, 0600u);
        ASSERT_EQ(::stat(ExtractDir(exported).c_str(), &info), 0);
        EXPECT_EQ(info.st_mode & 0777, 0700u);
        EXPECT_EQ(read("TMPFILE.TXT"), "the user's own notes");

        // A second export replaces only our own file.
        w.ExportPlainText();
        EXPECT_EQ(w.opened.value(1).toStdString(), exported);

        // A document whose file went away: an error, nothing written.
        std::filesystem::remove(doc.toStdString());
        w.ExportPlainText();
        EXPECT_EQ(w.errors.size(), 1);
    }
    EXPECT_FALSE(std::filesystem::exists(ExtractDir(exported))) << "the run's folder goes with it";
    EXPECT_EQ(read("TMPFILE.TXT"), "the user's own notes");
}

TEST_F(DocumentCommands, SaveAsCopiesAsksBeforeOverwritingAndOpensTheCopy)
{
    QString doc = page("doc.htm", "<title>Doc</title><p>Body");
    PromptedWindow w;
    w.LoadHTMLFile(doc);
    w.saveFileName = path("copy.htm");
    w.SaveAs();
    EXPECT_EQ(w.questions, QStringList { "save:" + doc });
    EXPECT_EQ(read("copy.htm"), "<title>Doc</title><p>Body");
    EXPECT_EQ(w.CurrentFile(), path("copy.htm"));

    write("other.htm", "old");
    w.saveFileName = path("other.htm");
    w.answerYes = false;
    w.questions.clear();
    w.SaveAs();
    EXPECT_EQ(w.questions.last(), "File already exists, overwrite?");
    EXPECT_EQ(read("other.htm"), "old");
    w.answerYes = true;
    w.SaveAs();
    EXPECT_EQ(read("other.htm"), "<title>Doc</title><p>Body");

    // Onto its own file: no question, the file stays whole.
    w.questions.clear();
    w.saveFileName = w.CurrentFile();
    w.SaveAs();
    EXPECT_EQ(w.questions.size(), 1);
    EXPECT_EQ(read("other.htm"), "<title>Doc</title><p>Body");
    EXPECT_TRUE(w.errors.isEmpty()) << w.errors.join("; ").toStdString();
}

TEST_F(DocumentCommands, SaveAsOfTheResultsPageWritesThePage)
{
    PromptedWindow w;
    std::string results = w.SearchPage()->ResultFile().toStdString();
    std::ofstream(results) << "<title>Results</title><p>hit";
    w.LoadHTMLFile(QString::fromStdString(results));
    w.findChild<QLineEdit*>("ED_Location")->setText("KOVRA RESULTS");
    w.saveFileName = path("saved.htm");
    w.SaveAs();
    EXPECT_EQ(w.questions.first(), "save:UNTITLED.HTM");
    EXPECT_EQ(read("saved.htm"), "<title>Results</title><p>hit");
    EXPECT_EQ(w.CurrentFile(), path("saved.htm"));
}

TEST_F(DocumentCommands, FindAgainRetriesTheSearchKeywordsAndSaysWhatWasNotFound)
{
    QString doc = page("doc.htm", "<p>alpha beta gamma");
    PromptedWindow w;
    w.show();
    w.LoadHTMLFile(doc);
    TFM_Find* find = w.FindDialog();
    w.findChild<QAction*>("MNU_Find")->trigger();
    EXPECT_TRUE(find->isVisible());
    EXPECT_FALSE(find->isModal());
    find->SetFindText("beta");
    EXPECT_TRUE(w.FindNextClick());
    EXPECT_EQ(w.Viewer()->ActiveView()->SelText(), u"beta");

    find->SetFindText("delta");
    EXPECT_FALSE(w.FindNextClick());
    EXPECT_EQ(w.messages, QStringList { "\"delta\" not found" });
    EXPECT_EQ(w.Viewer()->ActiveView()->SelText(), u"beta");

    // Match case.
    find->SetFindText("GAMMA");
    find->SetMatchCase(true);
    EXPECT_FALSE(w.FindNextClick());
    find->SetMatchCase(false);
    EXPECT_TRUE(w.FindNextClick());

    // After a search for "zeta gamma" the words of that search are tried in turn.
    emit w.SearchPage()->FindTextChanged("zeta gamma");
    w.LoadHTMLFile(page("other.htm", "<p>a gamma and a beta"));
    find->SetFindText("gamma ray");
    EXPECT_TRUE(w.FindNextClick());
    EXPECT_EQ(w.Viewer()->ActiveView()->SelText(), u"gamma");
    find->SetFindText("omega");
    EXPECT_FALSE(w.FindNextClick());
    EXPECT_EQ(w.messages.last(), "\"omega\" not found");
    emit w.SearchPage()->FindTextChanged("");
}

TEST_F(DocumentCommands, ContextMenuOffersTheLinkOnlyOverALink)
{
    QString doc = page("doc.htm", "<p><a href=\"target.htm\">the link</a> and text");
    PromptedWindow w;
    w.show();
    w.LoadHTMLFile(doc);
    TRightClickParameters overLink;
    overLink.URL = "target.htm";
    w.ShowDocumentMenu(overLink, QPoint(10, 10));
    QMenu* menu = w.DocumentMenu();
    EXPECT_TRUE(menu->isVisible());
    QAction* copyLink = w.findChild<QAction*>("POP_CopyLink");
    EXPECT_TRUE(copyLink->isVisible());
    EXPECT_FALSE(w.findChild<QAction*>("POP_Back")->isEnabled());
    copyLink->trigger();
    EXPECT_EQ(QApplication::clipboard()->text(), QString::fromStdString(file("target.htm"))) << "where the link leads";
    menu->hide();

    w.ShowDocumentMenu(TRightClickParameters {}, QPoint(10, 10));
    EXPECT_FALSE(copyLink->isVisible());
    menu->hide();
    QStringList captions;
    for (QAction* action : menu->actions())
        captions << action->text();
    EXPECT_EQ(captions,
        (QStringList {
            "&Back", "&Forward", "&Copy selected text to clipboard", "Copy &Link Location to clipboard" }));
}

TEST_F(DocumentCommands, PrintIdleRestsThePrintCommandsAlsoAfterCancel)
{
    write("KOVRA32.INI", "[StartUp]\nPrintIdle=30\n");
    write("QLACCESS.INI", "[Advance]\nHTML_PRINT=1\n");
    QString doc = page("doc.htm", "<p>Printed");
    PromptedWindow w;
    w.LoadHTMLFile(doc);
    QAction* menuPrint = w.findChild<QAction*>("MNU_Print");
    QAction* toolPrint = w.findChild<QAction*>("TB_Print");
    EXPECT_EQ(w.PrintIdleTimer()->interval(), 30000);
    w.LoadHTMLFile("print"); // the command word, cancelled
    EXPECT_EQ(w.printDialogs, 1);
    EXPECT_FALSE(menuPrint->isEnabled());
    EXPECT_FALSE(toolPrint->isEnabled());
    EXPECT_TRUE(w.PrintIdleTimer()->isActive());
    EXPECT_GT(w.PrintIdleTimer()->remainingTime(), 29000);
    // The cool-down ends (here without waiting half a minute).
    w.PrintIdleTimer()->setInterval(1);
    w.PrintIdleTimer()->start();
    QElapsedTimer clock;
    clock.start();
    while (!menuPrint->isEnabled() && clock.elapsed() < 5000)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    EXPECT_TRUE(menuPrint->isEnabled());
    EXPECT_TRUE(toolPrint->isEnabled());
    EXPECT_FALSE(w.PrintIdleTimer()->isActive());
}

TEST_F(DocumentCommands, PrintsWithTheFooterTemplateAndTheChosenRange)
{
    if (QProcess::execute("pdftotext", { "-v" }) != 0)
        GTEST_SKIP() << "pdftotext is not installed";
    QString doc = page("long.htm", paragraphs(170));
    PromptedWindow w;
    w.LoadHTMLFile(doc);
    w.ApplyPageMargins(TPageMargins { 1.5, 1.5, 2.0, 2.0, "#FILENAME", "Page #PAGENUM of #PAGENUM" });
    w.printChoice = printToPdf(path("all.pdf"));
    w.PrintDocument();
    ASSERT_TRUE(w.errors.isEmpty()) << w.errors.join("; ").toStdString();
    std::string all = pdfText(path("all.pdf"));
    EXPECT_NE(all.find("Page 3 of #PAGENUM"), std::string::npos) << all.substr(0, 400);
    EXPECT_NE(all.find(doc.toStdString()), std::string::npos);

    w.printChoice = printToPdf(path("two.pdf"), 2, 2);
    w.PrintDocument();
    std::string two = pdfText(path("two.pdf"));
    EXPECT_NE(two.find("Page 2 of"), std::string::npos);
    EXPECT_EQ(two.find("Page 1 of"), std::string::npos);
    EXPECT_EQ(two.find("Page 3 of"), std::string::npos);
}

TEST_F(DocumentCommands, NothingToPrintAndAFrameSetSayWhatToDo)
{
    PromptedWindow w;
    w.printChoice = printToPdf(path("none.pdf"));
    w.PrintDocument();
    EXPECT_EQ(w.messages, QStringList { "There is no document to print." });
    EXPECT_EQ(w.printDialogs, 0);
}

TEST_F(DocumentCommands, FrameSetPrintsOnlyOnceAFrameHadTheFocus)
{
    page("left.htm", "<p>Left side");
    page("right.htm", "<p>Right side");
    QString set = page("set.htm",
        "<frameset cols=\"*,*\"><frame name=left src=left.htm>"
        "<frame name=right src=right.htm></frameset>");
    PromptedWindow w;
    w.LoadHTMLFile(set);
    w.printChoice = printToPdf(path("frame.pdf"));
    w.PrintDocument();
    EXPECT_EQ(w.messages,
        QStringList { "This page is made of frames. Click in the frame you want to print, then print again.\n"
                      "Its frames: left (left.htm), right (right.htm)." });
    EXPECT_EQ(w.printDialogs, 0);

    THTMLViewer* left = w.Viewer()->ViewFromTarget("left");
    ASSERT_NE(left, nullptr);
    QFocusEvent focus(QEvent::FocusIn, Qt::MouseFocusReason);
    QApplication::sendEvent(left, &focus);
    w.PrintDocument();
    EXPECT_EQ(w.printDialogs, 1);
    EXPECT_EQ(w.Viewer()->PrintedPages(), 1);
    EXPECT_TRUE(QFile::exists(path("frame.pdf")));
}

TEST_F(DocumentCommands, PageMarginsDialogShowsMillimetresAndInsertsPlaceholders)
{
    TPageMargins start { 2.5, 1.0, 2.0, 3.0, "", "Page #PAGENUM" };
    TFM_PageMargins dialog(start);
    QStringList shown;
    dialog.ShowMessage = [&](const QString& text) { shown << text; };
    dialog.show();
    QApplication::setActiveWindow(&dialog);
    auto* top = dialog.findChild<QDoubleSpinBox*>("ED_Top");
    ASSERT_NE(top, nullptr);
    EXPECT_DOUBLE_EQ(top->value(), 25.0);
    EXPECT_DOUBLE_EQ(dialog.findChild<QDoubleSpinBox*>("ED_Right")->value(), 30.0);
    auto* header = dialog.findChild<QLineEdit*>("ED_Header");
    EXPECT_EQ(header->text(), "");

    top->setFocus();
    dialog.InsertPlaceholder("#TIMESTAMP");
    EXPECT_EQ(shown, QStringList { "Please place your cusor in Header / Footer box first" });

    header->setFocus();
    dialog.InsertPlaceholder("#FILENAME");
    auto* footer = dialog.findChild<QLineEdit*>("ED_Footer");
    footer->setFocus();
    footer->setCursorPosition(5);
    dialog.InsertPlaceholder("#TIMESTAMP ");
    top->setValue(12.0);
    TPageMargins result = dialog.Margins();
    EXPECT_EQ(result.Header, "#FILENAME");
    EXPECT_EQ(result.Footer, "Page #TIMESTAMP #PAGENUM");
    EXPECT_DOUBLE_EQ(result.Top, 1.2);
    EXPECT_DOUBLE_EQ(result.Left, 2.0);
}

TEST_F(DocumentCommands, PageSetupHandsTheMarginsToTheViewerAndSaveOptionsKeepsThem)
{
    PromptedWindow w;
    w.marginsChoice = [](TPageMargins& m) {
        EXPECT_DOUBLE_EQ(m.Top, 2.0);
        m = TPageMargins { 1.0, 1.5, 2.5, 3.0, "#FILENAME", "Page #PAGENUM" };
        return true;
    };
    w.findChild<QAction*>("MNU_PageSetup")->trigger();
    EXPECT_DOUBLE_EQ(w.Viewer()->PrintMarginTop, 1.0);
    EXPECT_DOUBLE_EQ(w.Viewer()->PrintMarginRight, 3.0);
    w.SaveOptions();
    std::string ini = read("KOVRA32.INI");
    EXPECT_NE(ini.find("MTop=10"), std::string::npos);
    EXPECT_NE(ini.find("MLeft=25"), std::string::npos);
    EXPECT_NE(ini.find("Footer=Page #PAGENUM"), std::string::npos);

    w.marginsChoice = [](TPageMargins& m) {
        m.Top = 9.0;
        return false; // Cancel
    };
    w.PageSetupClick();
    EXPECT_DOUBLE_EQ(w.Viewer()->PrintMarginTop, 1.0);
}

TEST_F(DocumentCommands, CancelInThePrintProgressWindowLeavesNoFile)
{
    QString doc = page("long.htm", paragraphs(600));
    PromptedWindow w;
    w.LoadHTMLFile(doc);
    w.printChoice = printToPdf(path("cancelled.pdf"));
    // The job lets the window's events through between its steps: the
    // Cancel button is pressed then.
    bool cancelledWhilePrinting = false;
    QTimer::singleShot(0, &w, [&] {
        if (auto* progress = w.findChild<QProgressDialog*>("PrintProgressDialog")) {
            progress->cancel();
            cancelledWhilePrinting = true;
        }
    });
    w.PrintDocument();
    EXPECT_TRUE(cancelledWhilePrinting);
    EXPECT_TRUE(w.errors.isEmpty()) << w.errors.join("; ").toStdString();
    EXPECT_FALSE(QFile::exists(path("cancelled.pdf")));
    EXPECT_EQ(QDir(dir.path()).entryList({".quillon-print-*"}, QDir::Files | QDir::Hidden), QStringList());
    EXPECT_EQ(w.findChild<QProgressDialog*>("PrintProgressDialog"), nullptr);
    EXPECT_TRUE(w.findChild<QLabel*>("LB_URL")->text().contains("Printing cancelled"));
}

TEST_F(DocumentCommands, PreviewCountsThePrintedPagesAndPaintsOnlyThoseInView)
{
    QString doc = page("long.htm", paragraphs(600));
    PromptedWindow w;
    w.LoadHTMLFile(doc);
    int previewPages = -1, paintedOnOpen = -1, paintedAfterScroll = -1;
    QString caption;
    size_t cacheBytes = 0, cacheLimit = 0;
    // The preview is modal: look at it once it has counted its pages, page
    // down a few times, then close it.
    QTimer watch;
    QObject::connect(&watch, &QTimer::timeout, [&] {
        auto* preview = qobject_cast<TFM_PrintPreview*>(QApplication::activeModalWidget());
        if (!preview || preview->View().Counting() || preview->View().PageCount() == 0)
            return;
        TPrintPreviewView& view = preview->View();
        view.repaint();
        previewPages = view.PageCount();
        paintedOnOpen = view.PaintedPages();
        for (int i = 0; i < 8; ++i)
            view.ShowPage(view.CurrentPage() + 1), view.repaint();
        paintedAfterScroll = view.PaintedPages();
        caption = preview->findChild<QLabel*>("LB_Pages")->text();
        cacheBytes = view.Cache().Bytes();
        cacheLimit = view.Cache().MaxBytes();
        preview->reject();
    });
    watch.start(50);
    QTimer::singleShot(30000, [] {
        if (auto* preview = qobject_cast<TFM_PrintPreview*>(QApplication::activeModalWidget()))
            preview->reject();
    });
    // A printer that printed into a file before previews all the same.
    w.Printer().setOutputFormat(QPrinter::PdfFormat);
    w.Printer().setOutputFileName(path("earlier.pdf"));
    w.PrintPreview();
    EXPECT_TRUE(w.errors.isEmpty()) << w.errors.join("; ").toStdString();
    EXPECT_FALSE(QFile::exists(path("earlier.pdf")));
    ASSERT_GE(previewPages, 12);
    // Only what was in view, and a page on each side, was painted.
    EXPECT_GE(paintedOnOpen, 1);
    EXPECT_LE(paintedOnOpen, 3);
    EXPECT_LE(paintedAfterScroll, paintedOnOpen + 8 + 2);
    EXPECT_LT(paintedAfterScroll, previewPages);
    EXPECT_LE(cacheBytes, cacheLimit);
    EXPECT_EQ(caption, QStringLiteral("Page 9 of %1").arg(previewPages));

    // The same pages come out of the printer.
    w.printChoice = printToPdf(path("all.pdf"));
    w.PrintDocument();
    EXPECT_EQ(w.Viewer()->PrintedPages(), previewPages);
}

namespace {

// Red pixels of page 1 of a PDF rendered at 30 pixels per inch.
int redPixels(const QString& pdf)
{
    QString png = pdf + "-page";
    if (QProcess::execute("pdftoppm", { "-r", "30", "-png", "-singlefile", pdf, png }) != 0)
        return -1;
    QImage image(png + ".png");
    int count = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) {
            QColor c = image.pixelColor(x, y);
            count += c.red() > 150 && c.green() < 100 && c.blue() < 100;
        }
    return count;
}

} // namespace

TEST_F(DocumentCommands, PrintedTextKeepsItsColour)
{
    if (QProcess::execute("pdftoppm", { "-v" }) != 0)
        GTEST_SKIP() << "pdftoppm is not installed";
    QString doc = page("red.htm", "<p><font color=red size=7>Red words</font> <a href=x.htm>a link</a>");
    PromptedWindow w;
    w.LoadHTMLFile(doc);
    EXPECT_FALSE(w.Viewer()->fvOptions & fvPrintMonochromeBlack);
    w.printChoice = printToPdf(path("red.pdf"));
    w.PrintDocument();
    ASSERT_TRUE(w.errors.isEmpty()) << w.errors.join("; ").toStdString();
    EXPECT_GT(redPixels(path("red.pdf")), 20);
}

TEST_F(DocumentCommands, FindAgainAfterASearchFindsTheSearchedWordsAndGoesRound)
{
    QString doc = page("doc.htm", "<p>alpha beta gamma beta");
    PromptedWindow w;
    w.show();
    w.LoadHTMLFile(doc);
    TFM_Find* find = w.FindDialog();
    find->SetFindText("older text");
    // A search for "beta" puts its words in the dialog: F3 finds them.
    emit w.SearchPage()->FindTextChanged("beta");
    EXPECT_EQ(find->FindText(), "beta");
    w.findChild<QAction*>("MNU_FindAgain")->trigger();
    EXPECT_EQ(w.Viewer()->ActiveView()->SelText(), u"beta");
    const int first = w.Viewer()->ActiveView()->SelStart();
    EXPECT_TRUE(w.FindNextClick());
    EXPECT_GT(w.Viewer()->ActiveView()->SelStart(), first);
    QLabel* status = w.findChild<QLabel*>("LB_URL");
    EXPECT_FALSE(status->text().contains("Passed"));
    EXPECT_TRUE(w.FindNextClick());
    EXPECT_EQ(w.Viewer()->ActiveView()->SelStart(), first);
    EXPECT_EQ(status->text().trimmed(), "Passed the end, continued from the top");
    EXPECT_TRUE(w.messages.isEmpty());
    emit w.SearchPage()->FindTextChanged("");
}

TEST_F(DocumentCommands, NotFoundKeepsTheFindDialogInCharge)
{
    QString doc = page("doc.htm", "<p>alpha beta");
    PromptedWindow w;
    w.show();
    w.LoadHTMLFile(doc);
    w.findChild<QAction*>("MNU_Find")->trigger();
    TFM_Find* find = w.FindDialog();
    find->SetFindText("omega");
    w.activateWindow();
    EXPECT_FALSE(w.FindNextClick());
    EXPECT_EQ(w.messages, QStringList { "\"omega\" not found" });
    QCoreApplication::processEvents();
    EXPECT_EQ(QApplication::activeWindow(), find);
    EXPECT_EQ(find->focusWidget(), find->findChild<QLineEdit*>("ED_FindText"));
}

TEST_F(DocumentCommands, PrinterSetupSetsUpAndPrintsNothing)
{
    QString doc = page("doc.htm", "<p>Printed");
    PromptedWindow w;
    w.LoadHTMLFile(doc);
    w.Printer().setOutputFormat(QPrinter::PdfFormat);
    w.Printer().setOutputFileName(path("setup.pdf"));
    QString title;
    QStringList buttons;
    QTimer::singleShot(0, [&] {
        QWidget* dialog = QApplication::activeModalWidget();
        if (!dialog)
            return;
        title = dialog->windowTitle();
        for (QPushButton* button : dialog->findChildren<QPushButton*>())
            buttons << button->text();
        auto* landscape = dialog->findChild<QRadioButton*>("RB_Landscape");
        if (landscape)
            landscape->setChecked(true);
        dialog->findChild<QPushButton*>("BT_OK")->click();
    });
    w.findChild<QAction*>("MNU_PrinterSetup")->trigger();
    EXPECT_EQ(title, "Printer Setup");
    EXPECT_FALSE(buttons.isEmpty());
    for (const QString& caption : buttons)
        EXPECT_FALSE(caption.contains("Print", Qt::CaseInsensitive)) << caption.toStdString();
    EXPECT_EQ(w.Printer().pageLayout().orientation(), QPageLayout::Landscape);
    EXPECT_FALSE(QFile::exists(path("setup.pdf")));
    EXPECT_EQ(w.Viewer()->PrintedPages(), 0);
}

TEST_F(DocumentCommands, HeaderAndFooterStayOffTheBodyWhenTheMarginsAreSmall)
{
    if (QProcess::execute("pdftotext", { "-v" }) != 0)
        GTEST_SKIP() << "pdftotext is not installed";
    QString doc = page("long.htm", paragraphs(170));
    PromptedWindow w;
    w.LoadHTMLFile(doc);
    w.ApplyPageMargins(TPageMargins { 0.3, 0.3, 2.0, 2.0, "HEADERMARK", "FOOTERMARK" });
    w.printChoice = printToPdf(path("tight.pdf"));
    w.PrintDocument();
    ASSERT_TRUE(w.errors.isEmpty()) << w.errors.join("; ").toStdString();
    // Word boxes of page 1: the header ends above the first line of the body,
    // the footer starts below the last.
    QProcess p;
    p.start("pdftotext", { "-bbox", "-f", "1", "-l", "1", path("tight.pdf"), "-" });
    ASSERT_TRUE(p.waitForFinished(20000));
    const QString boxes = QString::fromUtf8(p.readAllStandardOutput());
    QRegularExpression word("<word xMin=\"([0-9.]+)\" yMin=\"([0-9.]+)\" xMax=\"([0-9.]+)\" yMax=\"([0-9.]+)\">([^<]*)</word>");
    double headerBottom = -1, footerTop = -1, bodyTop = 1e9, bodyBottom = -1;
    for (auto m = word.globalMatch(boxes); m.hasNext();) {
        auto match = m.next();
        const double top = match.captured(2).toDouble(), bottom = match.captured(4).toDouble();
        const QString text = match.captured(5);
        if (text == "HEADERMARK")
            headerBottom = bottom;
        else if (text == "FOOTERMARK")
            footerTop = top;
        else {
            bodyTop = std::min(bodyTop, top);
            bodyBottom = std::max(bodyBottom, bottom);
        }
    }
    ASSERT_GT(headerBottom, 0) << boxes.left(600).toStdString();
    ASSERT_GT(footerTop, 0);
    EXPECT_LE(headerBottom, bodyTop);
    EXPECT_GE(footerTop, bodyBottom);
}
