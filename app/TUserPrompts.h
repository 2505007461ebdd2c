#pragma once
// What the shell asks and tells the user while it acts on links, and the
// desktop's opener it hands items to. One object per main window; tests put
// a recording one in its place.
#include <QString>

class QUrl;
class QWidget;

class TUserPrompts {
public:
    explicit TUserPrompts(QWidget* parent) : FParent(parent) {}
    virtual ~TUserPrompts() = default;
    TUserPrompts(const TUserPrompts&) = delete;
    TUserPrompts& operator=(const TUserPrompts&) = delete;

    // An information box with OK.
    virtual void Inform(const QString& text);
    // An error box with OK.
    virtual void Error(const QString& text);
    // A warning with Yes and No; true for Yes.
    virtual bool Confirm(const QString& text);
    // The save dialog ("All Files|*.*") proposing a name in the current
    // folder; empty when cancelled.
    virtual QString SaveFileName(const QString& proposed);
    enum class TUnknownFileChoice { Open, Save, Cancel };
    // A file the viewer cannot show: open it with the desktop's program, save it, or leave it.
    virtual TUnknownFileChoice AskUnknownFile(const QString& fileName);
    enum class TRunChoice { RunOnce, Always, DontRun };
    // Before a collection's program starts: the program, the argument it gets
    // and its folder, with "Run once", "Always for this collection" and
    // "Don't run" (the default button, also Escape).
    virtual TRunChoice AskRunProgram(const QString& program, const QString& argument, const QString& folder);
    // The desktop's program for the item (xdg-open); false when none took it.
    virtual bool OpenWithDesktop(const QUrl& url);

protected:
    QWidget* FParent;
};
