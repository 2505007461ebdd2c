#include "app/TEditButton.h"

#include <QAction>
#include <QApplication>
#include <QFileInfo>
#include <QMessageBox>
#include <QStyle>

#include "app/HelperLookup.h"
#include "util/FileLookup.h"
#include "util/Utilities.h"

namespace {

// The icon theme's entry named after the program, else a generic program icon.
QIcon programIcon(const QString& programPath)
{
    const QString name = QFileInfo(programPath).completeBaseName().toLower();
    const QIcon generic = QIcon::fromTheme(QStringLiteral("application-x-executable"),
                                           QApplication::style()->standardIcon(QStyle::SP_FileIcon));
    return QIcon::fromTheme(name, generic);
}

} // namespace

TEditButton::TEditButton(QAction* action, QString settingsFile, std::function<QString()> currentFile,
                         QWidget* messageParent)
    : QObject(action), FAction(action), FSettingsFile(std::move(settingsFile)), FCurrentFile(std::move(currentFile)),
      FMessageParent(messageParent), FDefaultCaption(action->text()), FDefaultIcon(action->icon())
{
    connect(FAction, &QAction::triggered, this, &TEditButton::Click);
}

void TEditButton::Refresh()
{
    const std::string program = EditorProgram(FSettingsFile.toStdString());
    if (program.empty() || !LocalFileExists(ToNativeSeparators(program))) {
        // No usable editor: the button shows what it does by default.
        FAction->setText(FDefaultCaption);
        FAction->setToolTip(FDefaultCaption);
        FAction->setIcon(FDefaultIcon);
        return;
    }
    const QString caption = QString::fromStdString(EditorCaption(program));
    FAction->setText(caption);
    FAction->setToolTip(caption);
    FAction->setIcon(programIcon(QString::fromStdString(ToNativeSeparators(program))));
}

void TEditButton::Click()
{
    const std::string program = EditorProgram(FSettingsFile.toStdString());
    if (program.empty())
        return;
    const std::string error = RunProgram(program, FCurrentFile().toStdString());
    if (!error.empty())
        QMessageBox::critical(FMessageParent, QApplication::applicationName(), QString::fromStdString(error));
}
