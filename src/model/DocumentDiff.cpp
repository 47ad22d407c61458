#include "model/DocumentDiff.h"

#include <QHash>
#include <QJsonObject>
#include <QSet>
#include <algorithm>

namespace DocumentDiff {

namespace {

QVector<ProjectField> changedFields(const Project& a, const Project& b)
{
    QVector<ProjectField> out;
    if (a.name != b.name)
        out.append(ProjectField::name);
    if (a.client != b.client)
        out.append(ProjectField::client);
    if (a.category != b.category)
        out.append(ProjectField::category);
    if (a.fee != b.fee)
        out.append(ProjectField::fee);
    if (a.outsource != b.outsource)
        out.append(ProjectField::outsource);
    if (a.status != b.status)
        out.append(ProjectField::status);
    if (a.date != b.date)
        out.append(ProjectField::date);
    if (a.pendingSince != b.pendingSince)
        out.append(ProjectField::pendingSince);
    if (a.dueDate != b.dueDate)
        out.append(ProjectField::dueDate);
    if (a.paidOn != b.paidOn)
        out.append(ProjectField::paidOn);
    if (!sameMembers(a.extra, b.extra))
        out.append(ProjectField::other);
    return out;
}

// Entries of `from` missing in `other`, in `from`'s order.
QStringList missing(const QStringList& from, const QStringList& other)
{
    const QSet<QString> present(other.begin(), other.end());
    QStringList out;
    for (const QString& s : from) {
        if (!present.contains(s))
            out.append(s);
    }
    return out;
}

} // namespace

Diff compare(const AppData& before, const AppData& after)
{
    Diff d;
    QHash<QUuid, qsizetype> beforeIndex;
    beforeIndex.reserve(before.projects.size());
    for (qsizetype i = 0; i < before.projects.size(); ++i)
        beforeIndex.insert(before.projects.at(i).id, i);
    QSet<QUuid> seen;
    seen.reserve(after.projects.size());
    for (const Project& p : after.projects) {
        seen.insert(p.id);
        const auto it = beforeIndex.constFind(p.id);
        if (it == beforeIndex.constEnd()) {
            d.added.append(p);
            continue;
        }
        const Project& old = before.projects.at(*it);
        const QVector<ProjectField> fields = changedFields(old, p);
        if (!fields.isEmpty())
            d.changed.append({old, p, fields});
    }
    for (const Project& p : before.projects) {
        if (!seen.contains(p.id))
            d.removed.append(p);
    }
    d.clientsAdded = missing(after.clients, before.clients);
    d.clientsRemoved = missing(before.clients, after.clients);
    d.categoriesAdded = missing(after.categories, before.categories);
    d.categoriesRemoved = missing(before.categories, after.categories);
    if (before.currency != after.currency)
        d.settings.append(Setting::currency);
    if (before.taxRate != after.taxRate)
        d.settings.append(Setting::taxRate);
    if (before.targetGoal != after.targetGoal)
        d.settings.append(Setting::targetGoal);
    if (before.layout != after.layout)
        d.settings.append(Setting::layout);
    if (before.columnOrder != after.columnOrder)
        d.settings.append(Setting::columnOrder);
    if (before.columnColors != after.columnColors)
        d.settings.append(Setting::columnColors);
    if (before.clientTerms != after.clientTerms)
        d.settings.append(Setting::clientTerms);
    if (before.forecastPendingPercent != after.forecastPendingPercent ||
        before.forecastOngoingPercent != after.forecastOngoingPercent)
        d.settings.append(Setting::forecastWeights);
    if (!sameMembers(before.extra, after.extra))
        d.settings.append(Setting::other);
    return d;
}

QStringList changedMembers(const QJsonObject& before, const QJsonObject& after)
{
    QStringList keys = before.keys() + after.keys();
    std::sort(keys.begin(), keys.end());
    keys.erase(std::unique(keys.begin(), keys.end()), keys.end());
    QStringList out;
    for (const QString& k : std::as_const(keys)) {
        const QJsonObject x{{k, before.value(k)}};
        const QJsonObject y{{k, after.value(k)}};
        if (before.contains(k) != after.contains(k) || !sameMembers(x, y))
            out.append(k);
    }
    return out;
}

} // namespace DocumentDiff
