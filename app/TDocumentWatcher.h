#pragma once
// Tells when the files of the shown document (every frame's file of a frame
// set) change on disk, so the window can reload them. A file being written is
// left alone until it has been quiet for a moment, and a file rewritten many
// times a second gives one reload every MaxDelayMs at most: no reload storm
// and no reload of half a file.
#include <QDateTime>
#include <QObject>
#include <QStringList>

class QFileSystemWatcher;
class QTimer;

class TDocumentWatcher : public QObject {
    Q_OBJECT
public:
    static constexpr int QuietMs = 250;
    static constexpr int MaxDelayMs = 1000;

    explicit TDocumentWatcher(QObject* parent = nullptr);

    // Watches exactly these files from now on (an empty list stops watching).
    void Watch(const QStringList& files);
    QStringList Watched() const { return FFiles; }

signals:
    // The watched files changed and have been quiet since.
    void Changed();

private:
    void fileChanged(const QString& path);
    void settle();

    QFileSystemWatcher* FWatcher;
    QTimer* FQuiet;
    QStringList FFiles;
    QDateTime FFirstChange;
};
