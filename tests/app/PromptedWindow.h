#pragma once
// The main window with its prompts answered by the test and its messages
// recorded instead of shown.
#include <QPrinter>
#include <QStringList>
#include <functional>

#include "app/TFM_BMMgr.h"
#include "app/TFM_PageMargins.h"
#include "app/TFM_PlatForm.h"

class PromptedWindow : public TFM_PlatForm {
public:
    QStringList errors;
    QStringList messages;
    QStringList questions;
    bool answerYes = true;
    QString saveFileName;
    QStringList opened;
    int printDialogs = 0;
    // Sets the print dialog's choice; none means Cancel.
    std::function<bool(QPrinter&)> printChoice;
    std::function<bool(TPageMargins&)> marginsChoice;
    // Works the manager while it is "shown"; answers its result.
    std::function<int(TFM_BMMgr&)> managerSession;

protected:
    void ReportError(const QString& message) override { errors << message; }
    void ShowMessage(QMessageBox::Icon, const QString& text) override { messages << text; }
    bool AskYesNo(const QString& text) override
    {
        questions << text;
        return answerYes;
    }
    QString AskSaveFileName(const QString& proposed) override
    {
        questions << "save:" + proposed;
        return saveFileName;
    }
    bool ExecPrintDialog(QPrinter& printer) override
    {
        ++printDialogs;
        return printChoice && printChoice(printer);
    }
    bool ExecPageMargins(TPageMargins& margins) override { return marginsChoice && marginsChoice(margins); }
    int execBookmarkManager() override
    {
        return managerSession ? managerSession(*BookmarkManager()) : int(QDialog::Rejected);
    }
    void OpenExportedText(const QString& path) override { opened << path; }
};
