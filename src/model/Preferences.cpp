#include "model/Preferences.h"

#include "model/PreferenceSignals.h"

#include <QSettings>

namespace Preferences {

#define TB_SETTINGS QSettings settings(QStringLiteral("Tallybrook"), QStringLiteral("Tallybrook"))

std::optional<QString> text(const char* key)
{
    TB_SETTINGS;
    const QVariant v = settings.value(QLatin1String(key));
    if (!v.isValid())
        return std::nullopt;
    return v.toString();
}

void setText(const char* key, const QString& value)
{
    TB_SETTINGS;
    const bool changed =
        settings.value(QLatin1String(key)).toString() != value || !settings.contains(QLatin1String(key));
    settings.setValue(QLatin1String(key), value);
    if (changed)
        emit PreferenceSignals::instance()->changed(QLatin1String(key));
}

std::optional<bool> boolean(const char* key)
{
    const auto t = text(key);
    if (t == QLatin1String("true"))
        return true;
    if (t == QLatin1String("false"))
        return false;
    return std::nullopt;
}

bool boolean(const char* key, bool fallback)
{
    return boolean(key).value_or(fallback);
}

void setBoolean(const char* key, bool value)
{
    setText(key, value ? QStringLiteral("true") : QStringLiteral("false"));
}

} // namespace Preferences
