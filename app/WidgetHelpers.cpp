#include "app/WidgetHelpers.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>
#include <QGuiApplication>
#include <QScreen>
#include <QToolButton>
#include <QWidget>

QLineEdit* NamedLineEdit(const char* name, const char* hint)
{
    auto* edit = new QLineEdit;
    edit->setObjectName(name);
    if (*hint)
        edit->setToolTip(QString::fromUtf8(hint));
    return edit;
}

QCheckBox* NamedCheckBox(const char* name, const char* caption, const char* hint, bool checked)
{
    auto* box = new QCheckBox(QString::fromUtf8(caption));
    box->setObjectName(name);
    if (*hint)
        box->setToolTip(QString::fromUtf8(hint));
    box->setChecked(checked);
    return box;
}

QToolButton* NamedBrowseButton(const char* name)
{
    auto* button = new QToolButton;
    button->setObjectName(name);
    button->setText(QStringLiteral("..."));
    return button;
}

QPushButton* NamedPushButton(const char* name, const char* caption)
{
    auto* button = new QPushButton(QString::fromUtf8(caption));
    button->setObjectName(name);
    button->setAutoDefault(false);
    return button;
}

void CentreOnScreen(QWidget* window)
{
    window->adjustSize();
    QScreen* screen = window->screen() ? window->screen() : QGuiApplication::primaryScreen();
    if (screen)
        window->move(screen->availableGeometry().center() - window->rect().center());
}
