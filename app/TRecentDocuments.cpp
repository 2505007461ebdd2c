#include "app/TRecentDocuments.h"

#include <QAction>
#include <QFileInfo>
#include <QMenu>

#include "util/TIniFile.h"

namespace {

constexpr char Section[] = "Recent";

std::string keyOf(int index)
{
    return "File" + std::to_string(index + 1);
}

QString localPath(const QString& location)
{
    // Anchors and link arguments are not part of the file.
    QString path = location;
    path = path.left(path.indexOf(QLatin1Char('#')) < 0 ? path.size() : path.indexOf(QLatin1Char('#')));
    if (path.startsWith(QLatin1String("file://")))
        path = path.mid(7);
    return path;
}

} // namespace

TRecentDocuments::TRecentDocuments(QString settingsFile, QMenu* menu, QObject* parent)
    : QObject(parent), FSettingsFile(std::move(settingsFile)), FMenu(menu)
{
    // A medium may have been removed or put back since the list was filled.
    connect(FMenu, &QMenu::aboutToShow, this, &TRecentDocuments::fillMenu);
}

void TRecentDocuments::Load()
{
    TIniFile ini(FSettingsFile.toStdString());
    FLocations.clear();
    for (int i = 0; i < Capacity; ++i) {
        QString location = QString::fromStdString(ini.ReadString(Section, keyOf(i), ""));
        if (!location.isEmpty() && !FLocations.contains(location))
            FLocations.append(location);
    }
    fillMenu();
}

bool TRecentDocuments::Add(const QString& location)
{
    if (location.isEmpty())
        return true;
    QStringList updated = FLocations;
    updated.removeAll(location);
    updated.prepend(location);
    while (updated.size() > Capacity)
        updated.removeLast();
    if (updated == FLocations)
        return true;
    try {
        TIniFile ini(FSettingsFile.toStdString());
        for (int i = 0; i < Capacity; ++i) {
            if (i < updated.size())
                ini.WriteString(Section, keyOf(i), updated[i].toStdString());
            else if (ini.ValueExists(Section, keyOf(i)))
                ini.DeleteKey(Section, keyOf(i));
        }
    } catch (const std::exception&) {
        return false;
    }
    FLocations = updated;
    fillMenu();
    return true;
}

QString TRecentDocuments::Caption(const QString& location)
{
    // "&" would become a mnemonic in a menu caption.
    QString caption = location;
    caption.replace(QLatin1Char('&'), QLatin1String("&&"));
    if (!QFileInfo::exists(localPath(location)))
        caption += QStringLiteral(" (not found)");
    return caption;
}

void TRecentDocuments::fillMenu()
{
    FMenu->clear();
    for (int i = 0; i < FLocations.size(); ++i) {
        const QString location = FLocations[i];
        QAction* entry = FMenu->addAction(Caption(location));
        entry->setObjectName(QStringLiteral("MNU_Recent%1").arg(i));
        connect(entry, &QAction::triggered, this, [this, location] { emit Chosen(location); });
    }
    FMenu->menuAction()->setEnabled(!FLocations.isEmpty());
}
