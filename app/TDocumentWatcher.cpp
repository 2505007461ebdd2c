#include "app/TDocumentWatcher.h"

#include <QFileInfo>
#include <QFileSystemWatcher>
#include <QTimer>

TDocumentWatcher::TDocumentWatcher(QObject* parent)
    : QObject(parent), FWatcher(new QFileSystemWatcher(this)), FQuiet(new QTimer(this))
{
    FQuiet->setSingleShot(true);
    connect(FWatcher, &QFileSystemWatcher::fileChanged, this, &TDocumentWatcher::fileChanged);
    connect(FQuiet, &QTimer::timeout, this, &TDocumentWatcher::settle);
}

void TDocumentWatcher::Watch(const QStringList& files)
{
    QStringList existing;
    for (const QString& file : files)
        if (!file.isEmpty() && QFileInfo(file).isFile() && !existing.contains(file))
            existing.append(file);
    if (existing == FFiles)
        return;
    if (!FWatcher->files().isEmpty())
        FWatcher->removePaths(FWatcher->files());
    FFiles = existing;
    if (!FFiles.isEmpty())
        FWatcher->addPaths(FFiles);
    FQuiet->stop();
    FFirstChange = QDateTime();
}

void TDocumentWatcher::fileChanged(const QString& path)
{
    // Editors save by writing a new file and renaming it over the old one,
    // which ends the watch on the old one: watch the name again.
    if (QFileInfo(path).isFile() && !FWatcher->files().contains(path))
        FWatcher->addPath(path);
    if (!FFirstChange.isValid())
        FFirstChange = QDateTime::currentDateTime();
    const qint64 waited = FFirstChange.msecsTo(QDateTime::currentDateTime());
    // Each change restarts the quiet period, but never past the longest delay.
    FQuiet->start(int(std::max<qint64>(0, std::min<qint64>(QuietMs, MaxDelayMs - waited))));
}

void TDocumentWatcher::settle()
{
    FFirstChange = QDateTime();
    // A file that went away during a rewrite comes back under the same name.
    for (const QString& file : FFiles)
        if (QFileInfo(file).isFile() && !FWatcher->files().contains(file))
            FWatcher->addPath(file);
    emit Changed();
}
