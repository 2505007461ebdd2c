#pragma once
#include <QDialog>

class QComboBox;
class QPrinter;
class QRadioButton;

// "Printer Setup": chooses the printer, the paper and the orientation the
// print commands use. It only sets them up: nothing is printed from here.
class TFM_PrinterSetup : public QDialog {
    Q_OBJECT
public:
    explicit TFM_PrinterSetup(const QPrinter& printer, QWidget* parent = nullptr);
    // Gives the printer the choices made (after OK).
    void ApplyTo(QPrinter& printer) const;

private:
    QComboBox* CB_Printer = nullptr;
    QComboBox* CB_Paper = nullptr;
    QRadioButton* RB_Portrait = nullptr;
    QRadioButton* RB_Landscape = nullptr;
};
