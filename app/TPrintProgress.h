#pragma once
// The progress window of a long print job: "Counting pages..." while the
// page breaks are found, then "Printing page n of N", with a Cancel button
// that stops the job at the next page. It shows itself only when the job
// lasts: short jobs print without a flash of a window.
#include <QString>
#include <memory>

class QProgressDialog;
class QWidget;
enum class TPrintStage;

class TPrintProgress {
public:
    explicit TPrintProgress(QWidget* parent);
    ~TPrintProgress();

    // What the job reports; answers true when the user cancelled.
    bool Report(TPrintStage stage, int done, int total);
    bool Cancelled() const;
    // The window's text now (for the status of a long job and for tests).
    QString Text() const;

private:
    std::unique_ptr<QProgressDialog> FDialog;
};
