#include "html/viewer/QtFontCache.h"

#include <QCoreApplication>
#include <QFontDatabase>
#include <QPointer>
#include <QFontInfo>
#include <cstdlib>

#include "html/viewer/QtFont.h"

namespace {

QString ResolvedFamily(const QString& family)
{
    QFont font(family);
    return QFontInfo(font).family();
}

} // namespace

TFontRef TQtFontCache::font(const TFontSpec& spec)
{
    TKey key{spec.name, std::abs(spec.height), spec.style, spec.charset};
    auto found = FFonts.find(key);
    if (found != FFonts.end())
        return found->second;
    TFontRef made = std::make_shared<TQtFont>(spec);
    FFonts.emplace(std::move(key), made);
    return made;
}

bool TQtFontCache::installed(std::string_view family)
{
    auto found = FInstalled.find(family);
    if (found != FInstalled.end())
        return found->second;
    QString name = QString::fromUtf8(family.data(), qsizetype(family.size())).trimmed();
    if (FDefaultFamily.empty())
        FDefaultFamily = ResolvedFamily(QStringLiteral("quillon-no-such-family")).toStdString();
    bool result = !name.isEmpty() && (QFontDatabase::hasFamily(name) ||
                                      ResolvedFamily(name).toStdString() != FDefaultFamily);
    FInstalled.emplace(std::string(family), result);
    return result;
}

void TQtFontCache::clear()
{
    FFonts.clear();
    FInstalled.clear();
    FDefaultFamily.clear();
}

TQtFontCache& TQtFontCache::shared()
{
    static TQtFontCache cache;
    static QPointer<QCoreApplication> watched;
    QCoreApplication* app = QCoreApplication::instance();
    if (app && watched != app) {
        watched = app;
        QObject::connect(app, &QObject::destroyed, [] { cache.clear(); });
    }
    return cache;
}
