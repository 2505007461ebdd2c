#include "app/TFM_HomePage.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QVBoxLayout>

namespace {

QSpinBox* secondsBox(const char* name, int value)
{
    auto* box = new QSpinBox;
    box->setObjectName(name);
    box->setRange(5, 65);
    box->setValue(std::clamp(value, 5, 65));
    return box;
}

} // namespace

TFM_HomePage::TFM_HomePage(const THomePageSettings& s, QWidget* parent) : QDialog(parent)
{
    setWindowTitle(QStringLiteral("Home Page"));
    auto* layout = new QVBoxLayout(this);

    auto* start = new QGroupBox(QStringLiteral("Start program with"));
    auto* startLayout = new QHBoxLayout(start);
    RB_Blank = new QRadioButton(QStringLiteral("Blank Page"));
    RB_Home = new QRadioButton(QStringLiteral("Home Page"));
    RB_Search = new QRadioButton(QStringLiteral("Local Search Engine"));
    RB_Blank->setObjectName("RB_Blank");
    RB_Home->setObjectName("RB_Home");
    RB_Search->setObjectName("RB_Search");
    for (QRadioButton* b : {RB_Blank, RB_Home, RB_Search})
        startLayout->addWidget(b);
    (s.LoadHome ? RB_Home : s.ShowMERL ? RB_Search : RB_Blank)->setChecked(true);
    layout->addWidget(start);

    auto* location = new QGroupBox(QStringLiteral("Home Page Location"));
    auto* locationLayout = new QHBoxLayout(location);
    ED_HomePage = new QLineEdit(s.HomePage);
    ED_HomePage->setObjectName("ED_HomePage");
    auto* browseButton = new QPushButton(QStringLiteral("Browse"));
    connect(browseButton, &QPushButton::clicked, this, &TFM_HomePage::browse);
    locationLayout->addWidget(ED_HomePage, 1);
    locationLayout->addWidget(browseButton);
    layout->addWidget(location);

    auto* idle = new QGridLayout;
    CHK_GoBack = new QCheckBox(QStringLiteral("Load Home Page after"));
    CHK_GoBack->setObjectName("CHK_GoBack");
    SE_IdleSec = secondsBox("SE_IdleSec", s.IdleSec);
    CHK_AutoClose = new QCheckBox(QStringLiteral("Close Application after"));
    CHK_AutoClose->setObjectName("CHK_AutoClose");
    SE_CloseSec = secondsBox("SE_CloseSec", s.CloseSec);
    idle->addWidget(CHK_GoBack, 0, 0);
    idle->addWidget(SE_IdleSec, 0, 1);
    idle->addWidget(new QLabel(QStringLiteral("Seconds idle time")), 0, 2);
    idle->addWidget(CHK_AutoClose, 1, 0);
    idle->addWidget(SE_CloseSec, 1, 1);
    idle->addWidget(new QLabel(QStringLiteral("Seconds idle time")), 1, 2);
    layout->addLayout(idle);
    // Each number field follows its check box, so the close delay can be set
    // here as well as in the settings file.
    connect(CHK_GoBack, &QCheckBox::toggled, SE_IdleSec, &QWidget::setEnabled);
    connect(CHK_AutoClose, &QCheckBox::toggled, SE_CloseSec, &QWidget::setEnabled);
    CHK_GoBack->setChecked(s.GoBack);
    CHK_AutoClose->setChecked(s.AutoClose);
    SE_IdleSec->setEnabled(s.GoBack);
    SE_CloseSec->setEnabled(s.AutoClose);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout->addWidget(buttons);
    setFixedSize(sizeHint());
}

THomePageSettings TFM_HomePage::Settings() const
{
    THomePageSettings s;
    s.LoadHome = RB_Home->isChecked();
    s.ShowMERL = RB_Search->isChecked();
    s.HomePage = ED_HomePage->text();
    s.GoBack = CHK_GoBack->isChecked();
    s.AutoClose = CHK_AutoClose->isChecked();
    s.IdleSec = SE_IdleSec->value();
    s.CloseSec = SE_CloseSec->value();
    return s;
}

void TFM_HomePage::browse()
{
    QString file = QFileDialog::getOpenFileName(this, QStringLiteral("Home Page"), ED_HomePage->text(),
                                                QStringLiteral("HTM Files (*.HTM *.htm);;HTML Files (*.HTML *.html);;"
                                                               "All Files (*)"));
    if (!file.isEmpty())
        ED_HomePage->setText(file);
}
