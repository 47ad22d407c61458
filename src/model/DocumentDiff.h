#pragma once

#include "model/AppData.h"

#include <QStringList>
#include <QVector>

// What replacing one document by another would change, project by project (matched by id), in
// the directories and in the settings. "Before" is the document in use, "after" the other one.
namespace DocumentDiff {

// `other`: members of the file this version does not know (kept from a later version).
enum class ProjectField {
    name,
    client,
    category,
    fee,
    outsource,
    status,
    date,
    pendingSince,
    dueDate,
    paidOn,
    other
};
enum class Setting {
    currency,
    taxRate,
    targetGoal,
    layout,
    columnOrder,
    columnColors,
    clientTerms,
    forecastWeights,
    other
};

struct ProjectChange
{
    Project before;
    Project after;
    QVector<ProjectField> fields; // in the order above
};

struct Diff
{
    QVector<Project> added;   // only in the other document: they would come back
    QVector<Project> removed; // only in the one in use: they would disappear
    QVector<ProjectChange> changed;
    QStringList clientsAdded, clientsRemoved;
    QStringList categoriesAdded, categoriesRemoved;
    QVector<Setting> settings;

    bool isEmpty() const
    {
        return added.isEmpty() && removed.isEmpty() && changed.isEmpty() && clientsAdded.isEmpty() &&
               clientsRemoved.isEmpty() && categoriesAdded.isEmpty() && categoriesRemoved.isEmpty() &&
               settings.isEmpty();
    }
};

// Projects keep the order of the document they come from: added and changed ones the other
// document's, removed ones the current's.
Diff compare(const AppData& before, const AppData& after);

// The keys whose members differ between two sets of kept members, in key order.
QStringList changedMembers(const QJsonObject& before, const QJsonObject& after);

} // namespace DocumentDiff
