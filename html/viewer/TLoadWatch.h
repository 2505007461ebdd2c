#pragma once
// Watches a document load that runs on the GUI thread: it keeps the window
// painting (pending events are handled every 100 ms), tells how far the
// load got once it has taken half a second (bytes read, bytes built, then
// layout), and catches Escape, which cancels the load. While it watches, the
// user's other input is dropped: a click meant for the page being replaced
// must not land on the page that replaces it.
#include <QElapsedTimer>
#include <QObject>
#include <cstdint>
#include <functional>
#include <string>

enum class TLoadStage { Reading, Building, LayingOut };

class TLoadWatch : public QObject {
public:
    using TReport = std::function<void(TLoadStage stage, std::int64_t done, std::int64_t total)>;
    explicit TLoadWatch(TReport report);
    ~TLoadWatch() override;

    // Called again and again by the load; handles events and reports.
    void Step(TLoadStage stage, std::int64_t done, std::int64_t total);
    // Escape was pressed since the load began.
    bool Cancelled() const { return FCancelled; }
    // What the reports are held back for: a quick load shows nothing.
    static constexpr qint64 QuietMs = 500;
    // The status line of a report: "Building 3.2 of 8.0 MB (Esc stops)".
    static std::string StatusText(TLoadStage stage, std::int64_t done, std::int64_t total);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    TReport FReport;
    QElapsedTimer FSinceStart;
    QElapsedTimer FSincePump;
    bool FCancelled = false;
    bool FReported = false;
};
