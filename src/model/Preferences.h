#pragma once

#include <QString>
#include <optional>

// The per-user preferences (~/.config/Tallybrook/Tallybrook.conf).
namespace Preferences {

inline constexpr char kLanguage[] = "app_language";
inline constexpr char kShowInDock[] = "showInDock";
inline constexpr char kShowInMenuBar[] = "showInMenuBar";
inline constexpr char kDismissedSampleDataTip[] = "dismissedSampleDataTip";
inline constexpr char kDismissedMoveToApps[] = "dismissedMoveToApps";
// This computer's data folder; empty or missing: the default.
inline constexpr char kDataFolder[] = "dataFolder";

std::optional<QString> text(const char* key);
void setText(const char* key, const QString& value);
// A value counts as boolean only when its stored text is "true" or "false".
std::optional<bool> boolean(const char* key);
bool boolean(const char* key, bool fallback);
void setBoolean(const char* key, bool value);

} // namespace Preferences
