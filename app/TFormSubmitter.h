#pragma once
// Hands a submitted form to a local program: writes the parameter file into a
// fresh private folder, runs the form's action with it, and shows what the
// program printed in the frame that submitted. The window keeps working while
// the program runs (busy cursor, status text); Escape or the Stop button ends
// the program and nothing is shown. A submission's folder is removed when the
// next one starts or the window goes.
#include <QObject>
#include <QPointer>
#include <memory>
#include <string>
#include <vector>

class QLabel;
class QPushButton;
class QTimer;
class TFM_PlatForm;
class THTMLViewer;
class TLocalProgramRun;
class TSectionList;

class TFormSubmitter : public QObject {
    Q_OBJECT
public:
    explicit TFormSubmitter(TFM_PlatForm& window);
    ~TFormSubmitter() override;

    // The lines a document's forms send, in document order: NAME=text for
    // single-line edits, NAME=lines joined by backslash-n for multi-line ones,
    // NAME=VALUE for checked boxes and radio buttons; lists, buttons, hidden
    // fields and unchecked boxes send nothing.
    static std::vector<std::string> ParameterLines(const TSectionList& document);

    // Runs the action for a form of the viewer's document.
    void Submit(THTMLViewer* viewer, const std::string& action);
    bool Running() const { return FRun != nullptr; }
    // Ends a running program; its output is not shown.
    void Stop();
    // The folder of the latest submission (parameter and output files); empty when none.
    const std::string& RunFolder() const { return FRunFolder; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // The real path of the action's program when it may start; empty otherwise
    // (refusals are told to the user).
    std::string AdmittedProgram(THTMLViewer& viewer, const std::string& action);
    void Poll();
    void ShowOutput();
    void EndRun();
    void RemoveRunFolder();

    TFM_PlatForm& FWindow;
    QTimer* FPoll;
    // The status bar owns these and may go before us when the window closes.
    QPointer<QPushButton> FStopButton;
    QPointer<QLabel> FStatus;
    std::unique_ptr<TLocalProgramRun> FRun;
    QPointer<THTMLViewer> FViewer;
    std::string FViewerFile;
    std::string FServerRoot;
    std::string FRunFolder;
};
