#pragma once
// The File menu's "Recent documents": the last ten documents shown, newest
// first, kept in the settings file (section "Recent", keys "File1".."File10")
// so they survive a restart. A document that has gone (a removed medium, a
// moved file) stays in the list, marked, so the reader sees why it fails.
#include <QObject>
#include <QString>
#include <QStringList>

class QMenu;

class TRecentDocuments : public QObject {
    Q_OBJECT
public:
    static constexpr int Capacity = 10;

    TRecentDocuments(QString settingsFile, QMenu* menu, QObject* parent = nullptr);

    // Reads the list from the settings file and fills the menu.
    void Load();
    // Puts a shown document at the top (once) and writes the list at once.
    // Returns false, leaving the list as it was, when the settings file
    // cannot be written; the caller decides whether to say so.
    bool Add(const QString& location);
    const QStringList& Locations() const { return FLocations; }

    // The menu caption of an entry: its location, marked when it has gone.
    static QString Caption(const QString& location);

signals:
    // An entry of the menu was chosen.
    void Chosen(const QString& location);

private:
    void fillMenu();

    QString FSettingsFile;
    QMenu* FMenu;
    QStringList FLocations;
};
