#include "app/TUserPrompts.h"

#include <QApplication>
#include <QDesktopServices>
#include <QDir>
#include <QFileDialog>
#include <QMessageBox>
#include <QPushButton>
#include <QUrl>

void TUserPrompts::Inform(const QString& text)
{
    QMessageBox::information(FParent, QApplication::applicationName(), text);
}

void TUserPrompts::Error(const QString& text)
{
    QMessageBox::critical(FParent, QApplication::applicationName(), text);
}

bool TUserPrompts::Confirm(const QString& text)
{
    return QMessageBox::warning(FParent, QApplication::applicationName(), text, QMessageBox::Yes | QMessageBox::No)
        == QMessageBox::Yes;
}

QString TUserPrompts::SaveFileName(const QString& proposed)
{
    // The overwrite question is the caller's own, asked once.
    return QFileDialog::getSaveFileName(FParent, QStringLiteral("Save As"), QDir::current().filePath(proposed),
                                        QStringLiteral("All Files (*)"), nullptr, QFileDialog::DontConfirmOverwrite);
}

TUserPrompts::TUnknownFileChoice TUserPrompts::AskUnknownFile(const QString& fileName)
{
    QMessageBox box(QMessageBox::Question, QApplication::applicationName(),
                    QStringLiteral("%1 is not a document this program can show.").arg(fileName), QMessageBox::NoButton,
                    FParent);
    QPushButton* open = box.addButton(QStringLiteral("&Open with the desktop's program"), QMessageBox::AcceptRole);
    QPushButton* save = box.addButton(QStringLiteral("&Save to disk..."), QMessageBox::ActionRole);
    box.addButton(QMessageBox::Cancel);
    box.exec();
    if (box.clickedButton() == open)
        return TUnknownFileChoice::Open;
    if (box.clickedButton() == save)
        return TUnknownFileChoice::Save;
    return TUnknownFileChoice::Cancel;
}

bool TUserPrompts::OpenWithDesktop(const QUrl& url)
{
    return QDesktopServices::openUrl(url);
}
