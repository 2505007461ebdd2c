#include "app/TFM_DirButtons.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QFileDialog>
#include <QFileInfo>
#include <QLabel>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

TFM_DirButtons::TFM_DirButtons(const TEntries& entries, QWidget* parent) : QDialog(parent), FEntries(entries)
{
    setWindowTitle(QStringLiteral("Directory Buttons Maintenace"));
    auto* layout = new QVBoxLayout(this);

    auto* row = new QHBoxLayout;
    auto* group = new QButtonGroup(this);
    for (int i = 0; i < TFM_PlatForm::DirButtonCount; ++i) {
        auto* toggle = new QPushButton(FEntries[size_t(i)].Caption);
        toggle->setObjectName(QStringLiteral("TB_Entry%1").arg(i));
        toggle->setCheckable(true);
        toggle->setMinimumWidth(40);
        group->addButton(toggle, i);
        row->addWidget(toggle);
        FToggles[size_t(i)] = toggle;
    }
    FToggles[0]->setChecked(true);
    connect(group, &QButtonGroup::idClicked, this, &TFM_DirButtons::SelectEntry);
    layout->addLayout(row);

    auto* form = new QFormLayout;
    ED_Caption = new QLineEdit;
    ED_Caption->setObjectName("ED_Caption");
    ED_Target = new QLineEdit;
    ED_Target->setObjectName("ED_Target");
    auto* browseButton = new QPushButton(QStringLiteral("&Browse"));
    connect(browseButton, &QPushButton::clicked, this, &TFM_DirButtons::browse);
    auto* targetRow = new QHBoxLayout;
    targetRow->addWidget(ED_Target, 1);
    targetRow->addWidget(browseButton);
    form->addRow(QStringLiteral("&Caption"), ED_Caption);
    // A label of a row of widgets has no field of its own: without a buddy
    // it would show its "&" instead of underlining the letter.
    auto* targetLabel = new QLabel(QStringLiteral("&HTML File"));
    targetLabel->setBuddy(ED_Target);
    form->addRow(targetLabel, targetRow);
    CHK_ExeDir = new QCheckBox(QStringLiteral("In &Executable's Directory"));
    CHK_ExeDir->setObjectName("CHK_ExeDir");
    CHK_ExeDir->setToolTip(QStringLiteral("If checked, always looking for the file in the program's running directory"));
    form->addRow(CHK_ExeDir);
    layout->addLayout(form);

    auto* buttons = new QHBoxLayout;
    auto* apply = new QPushButton(QStringLiteral("&Apply"));
    auto* close = new QPushButton(QStringLiteral("&Close"));
    connect(apply, &QPushButton::clicked, this, &TFM_DirButtons::Apply);
    connect(close, &QPushButton::clicked, this, &QDialog::accept);
    buttons->addStretch(1);
    buttons->addWidget(apply);
    buttons->addWidget(close);
    layout->addLayout(buttons);
    showEntry(0);
}

void TFM_DirButtons::SelectEntry(int index)
{
    if (index < 0 || index >= TFM_PlatForm::DirButtonCount || index == FSelected)
        return;
    Apply();
    FSelected = index;
    FToggles[size_t(index)]->setChecked(true);
    showEntry(index);
}

void TFM_DirButtons::showEntry(int index)
{
    const TDirButtonEntry& entry = FEntries[size_t(index)];
    ED_Caption->setText(entry.Caption);
    ED_Target->setText(entry.Target);
    CHK_ExeDir->setChecked(entry.InExeDir);
}

void TFM_DirButtons::Apply()
{
    TDirButtonEntry& entry = FEntries[size_t(FSelected)];
    entry.Caption = ED_Caption->text();
    entry.InExeDir = CHK_ExeDir->isChecked();
    // A file in the program's folder is kept by its name alone.
    entry.Target = entry.InExeDir ? QFileInfo(ED_Target->text()).fileName() : ED_Target->text();
    FToggles[size_t(FSelected)]->setText(entry.Caption);
}

void TFM_DirButtons::browse()
{
    QString file = QFileDialog::getOpenFileName(
        this, QStringLiteral("HTML File"), ED_Target->text(),
        QStringLiteral("HTM Files (*.HTM *.htm);;HTML Files (*.HTML *.html);;Programs (*.exe);;All Files (*)"));
    if (!file.isEmpty())
        ED_Target->setText(file);
}
