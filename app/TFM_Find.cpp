#include "app/TFM_Find.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "app/WidgetHelpers.h"

TFM_Find::TFM_Find(QWidget* parent)
    : QDialog(parent)
{
    setWindowTitle(QStringLiteral("Find"));
    setModal(false);
    auto* layout = new QGridLayout(this);
    auto* label = new QLabel(QStringLiteral("Fi&nd what:"));
    ED_FindText = NamedLineEdit("ED_FindText");
    label->setBuddy(ED_FindText);
    layout->addWidget(label, 0, 0);
    layout->addWidget(ED_FindText, 0, 1, 1, 2);

    CHK_MatchCase = NamedCheckBox("CHK_MatchCase", "Match &case");
    layout->addWidget(CHK_MatchCase, 1, 0, 1, 2, Qt::AlignBottom);
    CHK_HighlightAll = NamedCheckBox("CHK_HighlightAll", "&Highlight all");
    layout->addWidget(CHK_HighlightAll, 2, 0, 1, 2);
    connect(CHK_HighlightAll, &QCheckBox::toggled, this, &TFM_Find::HighlightAllChanged);
    const auto changedWhileOn = [this] {
        if (CHK_HighlightAll->isChecked())
            emit HighlightAllChanged();
    };
    connect(ED_FindText, &QLineEdit::textEdited, this, changedWhileOn);
    connect(CHK_MatchCase, &QCheckBox::toggled, this, changedWhileOn);
    auto* direction = new QGroupBox(QStringLiteral("Direction"));
    auto* directionLayout = new QHBoxLayout(direction);
    RB_Up = new QRadioButton(QStringLiteral("&Up"));
    RB_Down = new QRadioButton(QStringLiteral("&Down"));
    RB_Up->setObjectName("RB_Up");
    RB_Down->setObjectName("RB_Down");
    RB_Down->setChecked(true);
    directionLayout->addWidget(RB_Up);
    directionLayout->addWidget(RB_Down);
    layout->addWidget(direction, 1, 2);

    auto* buttons = new QVBoxLayout;
    auto* find = new QPushButton(QStringLiteral("&Find Next"));
    find->setObjectName("BT_FindNext");
    find->setDefault(true);
    auto* cancel = NamedPushButton("BT_Cancel", "Cancel");
    connect(find, &QPushButton::clicked, this, &TFM_Find::FindNextRequested);
    connect(cancel, &QPushButton::clicked, this, &QDialog::hide);
    buttons->addWidget(find);
    buttons->addWidget(cancel);
    buttons->addStretch();
    layout->addLayout(buttons, 0, 3, 3, 1);
}

QString TFM_Find::FindText() const
{
    return ED_FindText->text();
}

void TFM_Find::SetFindText(const QString& text)
{
    ED_FindText->setText(text);
    ED_FindText->selectAll();
}

bool TFM_Find::MatchCase() const
{
    return CHK_MatchCase->isChecked();
}

void TFM_Find::SetMatchCase(bool matchCase)
{
    CHK_MatchCase->setChecked(matchCase);
}

bool TFM_Find::SearchUp() const
{
    return RB_Up->isChecked();
}

void TFM_Find::SetSearchUp(bool up)
{
    (up ? RB_Up : RB_Down)->setChecked(true);
}

bool TFM_Find::HighlightAll() const
{
    return CHK_HighlightAll->isChecked();
}

void TFM_Find::SetHighlightAll(bool on)
{
    CHK_HighlightAll->setChecked(on);
}

void TFM_Find::FocusFindText()
{
    ED_FindText->setFocus();
    ED_FindText->selectAll();
}
