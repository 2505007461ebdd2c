#include "app/TFM_BMMgr.h"

#include <QApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QMenu>
#include <QMessageBox>
#include <QPushButton>
#include <QStyle>
#include <QToolButton>
#include <QVBoxLayout>

#include "app/TFM_BookMark.h"
#include "app/WidgetHelpers.h"

TFM_BMMgr::TFM_BMMgr(const QString& bookmarkFile, QWidget* parent)
    : QDialog(parent)
    , FFile(bookmarkFile)
{
    setWindowTitle(QStringLiteral("BookMark Manager"));
    EditPair = [this](QString& description, QString& location) {
        TFM_BookMark dialog(description, location, this);
        if (dialog.exec() != QDialog::Accepted)
            return false;
        description = dialog.Description();
        location = dialog.Location();
        return true;
    };
    ReportError = [this](const QString& message) {
        QMessageBox::critical(this, QApplication::applicationName(), message);
    };

    auto* layout = new QHBoxLayout(this);
    auto* left = new QVBoxLayout;
    auto* label = new QLabel(QStringLiteral("BookMarks"));
    LB_BookMarks = new QListWidget;
    LB_BookMarks->setObjectName("LB_BookMarks");
    LB_BookMarks->setMinimumSize(300, 220);
    label->setBuddy(LB_BookMarks);
    left->addWidget(label);
    left->addWidget(LB_BookMarks, 1);
    layout->addLayout(left, 1);

    auto* moves = new QVBoxLayout;
    auto arrow = [this](const char* name, const char* hint, QStyle::StandardPixmap icon) {
        auto* button = new QToolButton;
        button->setObjectName(name);
        button->setToolTip(QString::fromLatin1(hint));
        button->setIcon(style()->standardIcon(icon));
        return button;
    };
    QToolButton* up = arrow("BT_Up", "Move Item Up", QStyle::SP_ArrowUp);
    QToolButton* down = arrow("BT_Down", "Move Item Down", QStyle::SP_ArrowDown);
    connect(up, &QToolButton::clicked, this, &TFM_BMMgr::MoveUpClick);
    connect(down, &QToolButton::clicked, this, &TFM_BMMgr::MoveDownClick);
    moves->addStretch();
    moves->addWidget(up);
    moves->addWidget(down);
    moves->addStretch();
    layout->addLayout(moves);

    auto* buttons = new QVBoxLayout;
    auto button = [&](const char* name, const char* caption, void (TFM_BMMgr::*handler)()) {
        QPushButton* b = NamedPushButton(name, caption);
        connect(b, &QPushButton::clicked, this, handler);
        buttons->addWidget(b);
        return b;
    };
    button("BT_Add", "Add", &TFM_BMMgr::AddClick);
    button("BT_Delete", "Delete", &TFM_BMMgr::DeleteClick);
    button("BT_Edit", "Edit", &TFM_BMMgr::EditClick);
    button("BT_Goto", "Goto", &TFM_BMMgr::GotoClick)->setToolTip(QStringLiteral("Goto this bookmark"));
    buttons->addStretch();
    button("BT_Done", "Done", &TFM_BMMgr::DoneClick);
    layout->addLayout(buttons);

    auto* popup = new QMenu(this);
    popup->setObjectName("POP_BookMarks");
    connect(popup->addAction(QStringLiteral("Add")), &QAction::triggered, this, &TFM_BMMgr::AddClick);
    connect(popup->addAction(QStringLiteral("Delete")), &QAction::triggered, this, &TFM_BMMgr::DeleteClick);
    connect(popup->addAction(QStringLiteral("Edit")), &QAction::triggered, this, &TFM_BMMgr::EditClick);
    LB_BookMarks->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(LB_BookMarks, &QWidget::customContextMenuRequested, this,
        [this, popup](const QPoint& at) { popup->exec(LB_BookMarks->viewport()->mapToGlobal(at)); });
    connect(LB_BookMarks, &QListWidget::itemDoubleClicked, this, &TFM_BMMgr::GotoClick);

    FList.Read(ToUtf8(FFile));
    refill(-1);
    CentreOnScreen(this);
}

void TFM_BMMgr::refill(int selected)
{
    LB_BookMarks->clear();
    for (size_t i = 0; i < FList.Count(); ++i)
        LB_BookMarks->addItem(ToQString(TBookmarkList::DisplayText(FList.At(i))));
    SetCurrentIndex(selected);
}

void TFM_BMMgr::changed(int selected)
{
    FModified = true;
    refill(selected);
}

int TFM_BMMgr::CurrentIndex() const
{
    return LB_BookMarks->currentRow();
}

void TFM_BMMgr::SetCurrentIndex(int index)
{
    LB_BookMarks->setCurrentRow(index >= 0 && index < LB_BookMarks->count() ? index : -1);
}

void TFM_BMMgr::AddBookmark(const QString& location, const QString& description)
{
    LB_BookMarks->addItem(ToQString(TBookmarkList::DisplayText({ ToUtf8(description), ToUtf8(location) })));
    FList.AppendAndSave(ToUtf8(FFile), { ToUtf8(description), ToUtf8(location) });
}

void TFM_BMMgr::MoveUpClick()
{
    int index = CurrentIndex();
    if (index > 0)
        changed(int(FList.MoveUp(size_t(index))));
}

void TFM_BMMgr::MoveDownClick()
{
    int index = CurrentIndex();
    if (index >= 0)
        changed(int(FList.MoveDown(size_t(index))));
}

void TFM_BMMgr::AddClick()
{
    QString description, location;
    if (!EditPair(description, location))
        return;
    FList.Append({ ToUtf8(description), ToUtf8(location) });
    changed(CurrentIndex());
}

void TFM_BMMgr::DeleteClick()
{
    int index = CurrentIndex();
    if (index < 0)
        return;
    FList.Remove(size_t(index));
    changed(std::min(index, int(FList.Count()) - 1));
}

void TFM_BMMgr::EditClick()
{
    int index = CurrentIndex();
    if (index < 0)
        return;
    const TBookmarkList::TEntry& entry = FList.At(size_t(index));
    QString description = ToQString(entry.Description), location = ToQString(entry.Location);
    if (!EditPair(description, location))
        return;
    FList.Replace(size_t(index), { ToUtf8(description), ToUtf8(location) });
    changed(index);
}

void TFM_BMMgr::GotoClick()
{
    int index = CurrentIndex();
    if (index < 0)
        return;
    // Kept by location: saving may merge others' changes and move the rows.
    FGotoLocation = ToQString(FList.At(size_t(index)).Location);
    done(GotoResult);
}

void TFM_BMMgr::DoneClick()
{
    accept();
}

void TFM_BMMgr::done(int result)
{
    if (FModified || result == QDialog::Accepted)
        saveLists();
    QDialog::done(result);
}

void TFM_BMMgr::saveLists()
{
    try {
        // Lines another copy of the program or an editor added meanwhile are
        // kept; the list shows them from now on.
        const int selected = CurrentIndex();
        if (FList.Save(ToUtf8(FFile)))
            refill(selected);
        FModified = false;
    } catch (const std::exception& e) {
        ReportError(QString::fromUtf8(e.what()));
    }
}
