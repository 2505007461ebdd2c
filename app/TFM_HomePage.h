#pragma once
#include <QDialog>

class QCheckBox;
class QLineEdit;
class QRadioButton;
class QSpinBox;

// The start-up choices of section "StartUp": what to show first, the home
// page, and the idle times after which the program goes home or closes.
struct THomePageSettings {
    bool LoadHome = false;
    bool ShowMERL = false;
    QString HomePage;
    bool GoBack = false;
    bool AutoClose = false;
    int IdleSec = 5;
    int CloseSec = 5;
};

// The "Home Page" dialog of the Options menu.
class TFM_HomePage : public QDialog {
    Q_OBJECT
public:
    explicit TFM_HomePage(const THomePageSettings& settings, QWidget* parent = nullptr);
    THomePageSettings Settings() const;

private:
    void browse();

    QRadioButton* RB_Blank = nullptr;
    QRadioButton* RB_Home = nullptr;
    QRadioButton* RB_Search = nullptr;
    QLineEdit* ED_HomePage = nullptr;
    QCheckBox* CHK_GoBack = nullptr;
    QSpinBox* SE_IdleSec = nullptr;
    QCheckBox* CHK_AutoClose = nullptr;
    QSpinBox* SE_CloseSec = nullptr;
};
