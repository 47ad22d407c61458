#pragma once

#include "model/AppData.h"
#include "model/DocumentDiff.h"

#include <QUuid>
#include <QVector>

// Joins the changes two computers made to one document since the version both started from
// ("base"): this computer's ("mine") and the file's on disk ("theirs"). Projects are matched by
// id and merged field by field; nothing edited on either side is lost.
namespace DocumentMerge {

// A project both sides changed, some fields to different values.
struct Conflict
{
    QUuid id;
    QVector<DocumentDiff::ProjectField> fields; // in the enum's order; `other` for kept members
    Project mine;
    Project theirs;
};

struct Result
{
    // What is written: this computer wins every field both sides changed differently.
    AppData merged;
    // The same merge with the other side winning those fields; equal to `merged` without
    // conflicts.
    AppData theirsPreferred;
    // In mine's order of projects.
    QVector<Conflict> conflicts;
    // Projects one side deleted and the other edited: kept, as edited. Deleted here when the id
    // is missing from `mine`, on the other computer otherwise.
    QVector<QUuid> keptDespiteDeletion;
};

// Settings both sides changed differently go to the newer writer: mine when `mineSettingsNewer`.
// A document unchanged since `base` on one side gives the other side's document exactly.
Result merge(const AppData& base, const AppData& mine, const AppData& theirs, bool mineSettingsNewer);

} // namespace DocumentMerge
