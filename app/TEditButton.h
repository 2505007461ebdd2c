#pragma once
// The "Edit" tool button: shows the configured editor (caption, hint and icon
// from its file name) and opens the current document in it.
#include <QIcon>
#include <QObject>
#include <QString>
#include <functional>

class QAction;
class QWidget;

class TEditButton : public QObject {
    Q_OBJECT
public:
    // currentFile answers the document the editor should open.
    TEditButton(QAction* action, QString settingsFile, std::function<QString()> currentFile, QWidget* messageParent);

    // Re-reads "Editor"/"Program" and updates the button.
    void Refresh();
    // Runs the editor on the current document; failures are shown in an error box.
    void Click();

private:
    QAction* FAction;
    QString FSettingsFile;
    std::function<QString()> FCurrentFile;
    QWidget* FMessageParent;
    QString FDefaultCaption;
    QIcon FDefaultIcon;
};
