#pragma once
#include <QDialog>
#include <QString>
#include <functional>

#include "app/TBookmarkList.h"

class QListWidget;

// The "BookMark Manager": lists, orders, edits, deletes and opens the
// bookmarks. Created once at start; it reads the bookmark file then and keeps
// its lists for the whole run, between showings.
class TFM_BMMgr : public QDialog {
    Q_OBJECT
public:
    // The dialog's result when it was left with "Goto".
    static constexpr int GotoResult = 2;

    TFM_BMMgr(const QString& bookmarkFile, QWidget* parent = nullptr);

    TBookmarkList& Bookmarks() { return FList; }
    const QString& BookmarkFile() const { return FFile; }
    // The bookmark chosen with "Goto".
    int GotoIndex() const { return FGotoIndex; }
    // Adds the shown document's bookmark (list and file). Raises EWriteError
    // after the lists took it, so the menu keeps working for the run.
    void AddBookmark(const QString& location, const QString& description);

    // The buttons.
    void MoveUpClick();
    void MoveDownClick();
    void AddClick();
    void DeleteClick();
    void EditClick();
    void GotoClick();
    // Rewrites the file from the lists and closes; a refused write is reported
    // and the lists stay as they are.
    void DoneClick();

    int CurrentIndex() const;
    void SetCurrentIndex(int index);
    QListWidget* List() const { return LB_BookMarks; }

    // Asks for one description and location (the "BookMark" dialog); answers
    // whether OK was pressed. Tests replace it.
    std::function<bool(QString& description, QString& location)> EditPair;
    // Shows an error text. Tests replace it.
    std::function<void(const QString& message)> ReportError;

private:
    void refill(int selected);
    QString FFile;
    TBookmarkList FList;
    int FGotoIndex = -1;
    QListWidget* LB_BookMarks = nullptr;
};
