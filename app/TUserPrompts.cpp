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

TUserPrompts::TRunChoice TUserPrompts::AskRunProgram(const QString& program, const QString& argument,
                                                     const QString& folder)
{
    QMessageBox box(QMessageBox::Warning, QApplication::applicationName(),
                    QStringLiteral("This page wants to start a program of its collection."), QMessageBox::NoButton,
                    FParent);
    box.setTextFormat(Qt::PlainText);
    box.setInformativeText(QStringLiteral("Program: %1\nArgument: %2\nFolder: %3\n\nA program can do anything you "
                                          "can do. Start it only when you trust where this collection came from.")
                               .arg(program, argument.isEmpty() ? QStringLiteral("(none)") : argument, folder));
    QPushButton* once = box.addButton(QStringLiteral("Run once"), QMessageBox::AcceptRole);
    QPushButton* always = box.addButton(QStringLiteral("Always for this collection"), QMessageBox::AcceptRole);
    QPushButton* dontRun = box.addButton(QStringLiteral("Don't run"), QMessageBox::RejectRole);
    box.setDefaultButton(dontRun);
    box.setEscapeButton(dontRun);
    box.exec();
    if (box.clickedButton() == once)
        return TRunChoice::RunOnce;
    if (box.clickedButton() == always)
        return TRunChoice::Always;
    return TRunChoice::DontRun;
}

bool TUserPrompts::OpenWithDesktop(const QUrl& url)
{
    return QDesktopServices::openUrl(url);
}
