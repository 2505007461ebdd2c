#include "app/TFM_SrhDefault.h"

#include <QCheckBox>
#include <QFileDialog>
#include <QFileInfo>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QToolButton>

#include "app/TFM_Helpers.h"
#include "app/WidgetHelpers.h"

namespace {

constexpr int MaxBannerLength = 255;

} // namespace

TFM_SrhDefault::TFM_SrhDefault(QWidget* parent) : QDialog(parent)
{
    setObjectName("TFM_SrhDefault");
    setWindowTitle(QStringLiteral("Search Engine Defaults"));
    setModal(true);
    ED_Header = NamedLineEdit("ED_Header");
    ED_SubHeader = NamedLineEdit("ED_SubHeader");
    ED_FileType = NamedLineEdit("ED_FileType");
    DirTreeLimit = NamedLineEdit("DirTreeLimit");
    DirTreeLimit->setToolTip(QStringLiteral("Limit Search to this directory branch"));
    ED_Banner = new QPlainTextEdit;
    ED_Banner->setObjectName("ED_Banner");
    ED_StartCpt = NamedLineEdit("ED_StartCpt");
    ED_ResultFile = NamedLineEdit("ED_ResultFile");
    CHK_SubDir = NamedCheckBox("CHK_SubDir", "Include Sub Directories");
    CHK_HIDEDIR = NamedCheckBox("CHK_HIDEDIR", "Hide");
    CHK_HIDEFT = NamedCheckBox("CHK_HIDEFT", "Hide");
    CHK_HIDEADV = NamedCheckBox("CHK_HIDEADV", "Hide Advance Search Options");
    CHK_DirRO = NamedCheckBox("CHK_DirRO", "Read Only");
    CHK_LOCALRF = NamedCheckBox("CHK_LOCALRF", "In &Executable's Directory",
                           "If checked, always looking for the file in the program's running directory");
    CHK_TEMP = NamedCheckBox("CHK_TEMP", "In Windows Temporary Directory",
                        "If checked, stores result file under Windows default temporary directory");
    connect(CHK_LOCALRF, &QCheckBox::clicked, this, &TFM_SrhDefault::localRFClicked);
    connect(CHK_TEMP, &QCheckBox::clicked, this, &TFM_SrhDefault::tempClicked);
    // The banner holds at most 255 characters.
    connect(ED_Banner, &QPlainTextEdit::textChanged, this, [this] {
        const QString text = ED_Banner->toPlainText();
        if (text.size() > MaxBannerLength) {
            ED_Banner->setPlainText(text.left(MaxBannerLength));
            ED_Banner->moveCursor(QTextCursor::End);
        }
    });

    QToolButton* dirButton = NamedBrowseButton("BT_DirTree");
    connect(dirButton, &QToolButton::clicked, this, &TFM_SrhDefault::chooseDirectory);
    QToolButton* fileButton = NamedBrowseButton("BT_ResultFile");
    connect(fileButton, &QToolButton::clicked, this, &TFM_SrhDefault::chooseResultFile);

    auto* grid = new QGridLayout;
    int row = 0;
    auto addRow = [&](const char* caption, QWidget* field, QWidget* extra1 = nullptr, QWidget* extra2 = nullptr) {
        auto* label = new QLabel(QString::fromUtf8(caption));
        label->setBuddy(field);
        grid->addWidget(label, row, 0);
        grid->addWidget(field, row, 1);
        if (extra1)
            grid->addWidget(extra1, row, 2);
        if (extra2)
            grid->addWidget(extra2, row, 3);
        ++row;
    };
    addRow("&Heading", ED_Header);
    addRow("&SubHeading", ED_SubHeader);
    addRow("File Type", ED_FileType, CHK_HIDEFT);
    addRow("Limit to Directory", DirTreeLimit, dirButton, CHK_HIDEDIR);
    grid->addWidget(CHK_SubDir, row, 1);
    grid->addWidget(CHK_DirRO, row++, 3);
    grid->addWidget(CHK_HIDEADV, row++, 1);
    addRow("Start &Button Caption", ED_StartCpt);
    addRow("&Result file location", ED_ResultFile, fileButton);
    grid->addWidget(CHK_LOCALRF, row++, 1);
    grid->addWidget(CHK_TEMP, row++, 1);
    auto* bannerLabel = new QLabel(QStringLiteral("Message displays on top of search results screen (understands HTML)"));
    bannerLabel->setBuddy(ED_Banner);
    grid->addWidget(bannerLabel, row++, 0, 1, 4);
    grid->addWidget(ED_Banner, row++, 0, 1, 4);
    grid->setColumnStretch(1, 1);

    auto* ok = new QPushButton(QStringLiteral("&OK"));
    ok->setObjectName("BT_OK");
    ok->setDefault(true);
    auto* cancel = new QPushButton(QStringLiteral("&Cancel"));
    cancel->setObjectName("BT_Cancel");
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(ok);
    buttons->addWidget(cancel);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addLayout(buttons);
    resize(560, sizeHint().height());
}

void TFM_SrhDefault::LoadFrom(const TSearchSettings& settings)
{
    FLoaded = settings;
    ED_Header->setText(ToQString(settings.Heading));
    ED_SubHeader->setText(ToQString(settings.SubHeading));
    ED_FileType->setText(ToQString(settings.FileType));
    DirTreeLimit->setText(ToQString(settings.Directory));
    ED_Banner->setPlainText(ToQString(settings.Banner));
    ED_StartCpt->setText(ToQString(settings.StartCpt));
    ED_ResultFile->setText(ToQString(settings.ResultFile));
    CHK_SubDir->setChecked(settings.IncludeSub);
    CHK_HIDEDIR->setChecked(settings.HideDir);
    CHK_HIDEFT->setChecked(settings.HideFT);
    CHK_HIDEADV->setChecked(settings.HideAdv);
    CHK_DirRO->setChecked(settings.DirRO);
    CHK_LOCALRF->setChecked(settings.LocalRF == 2);
    CHK_TEMP->setChecked(settings.LocalRF == 3);
}

TSearchSettings TFM_SrhDefault::Settings() const
{
    TSearchSettings s = FLoaded;
    s.Heading = ToUtf8(ED_Header->text());
    s.SubHeading = ToUtf8(ED_SubHeader->text());
    s.FileType = ToUtf8(ED_FileType->text());
    s.Directory = ToUtf8(DirTreeLimit->text());
    s.Banner = ToUtf8(ED_Banner->toPlainText());
    s.StartCpt = ToUtf8(ED_StartCpt->text());
    s.ResultFile = ToUtf8(ED_ResultFile->text());
    s.IncludeSub = CHK_SubDir->isChecked();
    s.HideDir = CHK_HIDEDIR->isChecked();
    s.HideFT = CHK_HIDEFT->isChecked();
    s.HideAdv = CHK_HIDEADV->isChecked();
    s.DirRO = CHK_DirRO->isChecked();
    s.LocalRF = CHK_LOCALRF->isChecked() ? 2 : CHK_TEMP->isChecked() ? 3 : 1;
    return s;
}

void TFM_SrhDefault::localRFClicked()
{
    if (!CHK_LOCALRF->isChecked())
        return;
    CHK_TEMP->setChecked(false);
    reduceResultFileToName();
}

void TFM_SrhDefault::tempClicked()
{
    if (!CHK_TEMP->isChecked())
        return;
    CHK_LOCALRF->setChecked(false);
    reduceResultFileToName();
}

void TFM_SrhDefault::reduceResultFileToName()
{
    QString path = ED_ResultFile->text();
    path.replace('\\', '/');
    ED_ResultFile->setText(path.mid(path.lastIndexOf('/') + 1));
}

void TFM_SrhDefault::chooseDirectory()
{
    const QString chosen = QFileDialog::getExistingDirectory(this, QStringLiteral("Limit to Directory"),
                                                             ChooserStartDirectory(DirTreeLimit->text()));
    if (!chosen.isEmpty())
        DirTreeLimit->setText(chosen);
}

void TFM_SrhDefault::chooseResultFile()
{
    const QString chosen = QFileDialog::getSaveFileName(this, QStringLiteral("Result file location"),
                                                        ED_ResultFile->text(), QStringLiteral("HTML Files (*.htm)"));
    if (!chosen.isEmpty())
        ED_ResultFile->setText(chosen);
}
