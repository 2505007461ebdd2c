#pragma once
#include <QDialog>
#include <QString>
#include <functional>

#include "app/TBookmarkList.h"

class QListWidget;

// The "BookMark Manager": lists, orders, edits, deletes and opens the
// bookmarks. Created once at start; it reads the bookmark file then and keeps
// its lists for the whole run, between showings. However it is left ("Done",
// "Goto", a double click, Escape or its close box), changes made in it are
// written to the file: none of them is lost by closing it another way.
class TFM_BMMgr : public QDialog {
    Q_OBJECT
public:
    // The dialog's result when it was left with "Goto".
    static constexpr int GotoResult = 2;

    TFM_BMMgr(const QString& bookmarkFile, QWidget* parent = nullptr);

    TBookmarkList& Bookmarks() { return FList; }
    const QString& BookmarkFile() const { return FFile; }
    // The location of the bookmark chosen with "Goto", as stored.
    const QString& GotoLocation() const { return FGotoLocation; }
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
    // Rewrites the file from the lists, keeping the lines others added to or
    // removed from it meanwhile, and closes; a refused write is reported and
    // the lists stay as they are.
    void DoneClick();
    // Every way out: saves changes first (with "Done", always).
    void done(int result) override;

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
    void changed(int selected);
    void saveLists();
    QString FFile;
    TBookmarkList FList;
    QString FGotoLocation;
    // Whether the lists hold changes the file has not got yet.
    bool FModified = false;
    QListWidget* LB_BookMarks = nullptr;
};
