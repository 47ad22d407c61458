#include "model/StoreTypes.h"

namespace MainTabInfo {
QString rawValue(MainTab tab)
{
    switch (tab) {
    case MainTab::board:
        return QStringLiteral("Board");
    case MainTab::stats:
        return QStringLiteral("Statistics");
    case MainTab::settings:
        return QStringLiteral("Settings");
    }
    return {};
}
} // namespace MainTabInfo

namespace AppLanguageInfo {
QString rawValue(AppLanguage l)
{
    return l == AppLanguage::tr ? QStringLiteral("tr") : QStringLiteral("en");
}

QString label(AppLanguage l)
{
    return l == AppLanguage::tr ? QStringLiteral("Türkçe") : QStringLiteral("English");
}

std::optional<AppLanguage> fromRaw(const QString& raw)
{
    if (raw == QLatin1String("en"))
        return AppLanguage::en;
    if (raw == QLatin1String("tr"))
        return AppLanguage::tr;
    return std::nullopt;
}
} // namespace AppLanguageInfo

QString EditorTarget::identity() const
{
    return isNew() ? QStringLiteral("new") : uuidText(id);
}
