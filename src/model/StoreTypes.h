#pragma once

#include "model/AppData.h"

#include <QString>
#include <QUuid>
#include <array>
#include <optional>

enum class MainTab : quint8 { board, stats, settings };

namespace MainTabInfo {
constexpr std::array<MainTab, 3> all{MainTab::board, MainTab::stats, MainTab::settings};
QString rawValue(MainTab tab);
} // namespace MainTabInfo

// Declared order matters to the table's header.
enum class SortField : quint8 { status, client, category, name, fee };

enum class AppLanguage : quint8 { en, tr };

namespace AppLanguageInfo {
constexpr std::array<AppLanguage, 2> allCases{AppLanguage::en, AppLanguage::tr};
QString rawValue(AppLanguage l);
QString label(AppLanguage l);
// Exactly "en" or "tr".
std::optional<AppLanguage> fromRaw(const QString& raw);
} // namespace AppLanguageInfo

// What the project editor works on: a new project, or an existing one by id.
struct EditorTarget
{
    enum class Kind : quint8 { create, edit };
    Kind kind = Kind::create;
    QUuid id;

    static EditorTarget newProject() { return {}; }
    static EditorTarget edit(const QUuid& projectId) { return {Kind::edit, projectId}; }
    bool isNew() const { return kind == Kind::create; }
    // "new", or the id in canonical upper-case form.
    QString identity() const;

    bool operator==(const EditorTarget& o) const { return kind == o.kind && (isNew() || id == o.id); }
    bool operator!=(const EditorTarget& o) const { return !(*this == o); }
};

struct Toast
{
    QUuid id;
    QString message;
    bool canUndo = false;
    // Its button merges the copies sync engines left (instead of Undo).
    bool offersMerge = false;

    bool operator==(const Toast& o) const
    {
        return id == o.id && message == o.message && canUndo == o.canUndo && offersMerge == o.offersMerge;
    }
    bool operator!=(const Toast& o) const { return !(*this == o); }
};

// The result of reading the data file.
struct Load
{
    AppData data;
    bool blockSaving = false;
    bool firstLaunch = false;
    bool needsResave = false;
    QString message; // empty when there is none
};

struct DeletedProject
{
    Project project;
    int index = 0;
};
