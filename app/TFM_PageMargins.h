#pragma once
#include <QDialog>
#include <functional>

class QDoubleSpinBox;
class QLineEdit;

// Print margins in centimetres and the header and footer templates.
struct TPageMargins {
    double Top = 2.0, Bottom = 2.0, Left = 2.0, Right = 2.0;
    QString Header;
    QString Footer;
};

// The "Page Margins" dialog: the margins in millimetres, the header and footer
// templates, and three panels that insert a placeholder at the cursor of
// whichever template field has the focus.
class TFM_PageMargins : public QDialog {
    Q_OBJECT
public:
    explicit TFM_PageMargins(const TPageMargins& margins, QWidget* parent = nullptr);
    TPageMargins Margins() const;

    // What a placeholder panel does when clicked.
    void InsertPlaceholder(const QString& placeholder);
    // Shows the hint when no template field has the focus. Tests replace it.
    std::function<void(const QString& message)> ShowMessage;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QDoubleSpinBox* millimetres(const char* name, double centimetres);

    QDoubleSpinBox* ED_Top = nullptr;
    QDoubleSpinBox* ED_Bottom = nullptr;
    QDoubleSpinBox* ED_Left = nullptr;
    QDoubleSpinBox* ED_Right = nullptr;
    QLineEdit* ED_Header = nullptr;
    QLineEdit* ED_Footer = nullptr;
};
