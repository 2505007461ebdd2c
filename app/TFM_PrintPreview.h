#pragma once
// The "Print Preview" window: the printed pages of the shown document, one
// under the other, counted first and painted as they come into view, with
// zoom buttons, the page shown and the page count, and a button that prints.
#include <QDialog>
#include <memory>

class QLabel;
class QPrinter;
class QPushButton;
class THTMLViewer;
class TPrintPreviewView;
class TViewerPrintJob;

class TFM_PrintPreview : public QDialog {
    Q_OBJECT
public:
    TFM_PrintPreview(THTMLViewer& viewer, QPrinter& printer, QWidget* parent = nullptr);
    ~TFM_PrintPreview() override;

    TPrintPreviewView& View() { return *FView; }
    // Whether the window was left with its print button.
    bool PrintChosen() const { return FPrintChosen; }
    // Gives the memory the closed preview freed back to the system: the
    // pages of a long document take much, and the program lives on.
    static void ReturnFreedMemory();
    void reject() override;

private:
    void ShowPageCount(int pages, bool complete);
    void ShowCurrentPage(int page);

    std::unique_ptr<TViewerPrintJob> FJob;
    TPrintPreviewView* FView = nullptr;
    QLabel* LB_Pages = nullptr;
    bool FPrintChosen = false;
    bool FCountComplete = false;
};
