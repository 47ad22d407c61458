#include "model/DocumentMerge.h"

#include <QHash>
#include <QJsonObject>
#include <QMap>
#include <QSet>
#include <algorithm>
#include <optional>
#include <utility>

namespace DocumentMerge {

using DocumentDiff::ProjectField;

namespace {

// A project's identity within one document. Ids are unique after a load, but a document made
// otherwise may repeat one: its second copy then matches the other sides' second copy, so no
// project is ever folded into another.
struct Key
{
    QUuid id;
    int copy = 0;
    bool operator==(const Key& o) const { return id == o.id && copy == o.copy; }
};

size_t qHash(const Key& k, size_t seed = 0)
{
    return qHashMulti(seed, k.id, k.copy);
}

class Index
{
public:
    explicit Index(const QVector<Project>& projects) : m_projects(projects), m_copy(projects.size(), 0)
    {
        m_first.reserve(projects.size());
        for (qsizetype i = 0; i < projects.size(); ++i) {
            const QUuid& id = projects.at(i).id;
            const qsizetype had = m_first.size();
            qsizetype& first = m_first[id];
            if (m_first.size() != had) {
                first = i;
                continue;
            }
            const int copy = ++m_repeats[id];
            m_copy[i] = copy;
            m_later.insert({id, copy}, i);
        }
    }

    Key keyAt(qsizetype i) const { return {m_projects.at(i).id, m_copy.at(i)}; }

    // As find(), trying `guess` first: documents mostly keep the order they share, so a
    // look-up seldom needs the hash, whose random reads cost most of a large merge.
    qsizetype find(const Key& k, qsizetype guess) const
    {
        if (guess >= 0 && guess < m_copy.size() && m_copy.at(guess) == k.copy &&
            m_projects.at(guess).id == k.id)
            return guess;
        return find(k);
    }

    // The position of the project with that identity; -1 when there is none.
    qsizetype find(const Key& k) const
    {
        if (k.copy == 0)
            return m_first.value(k.id, -1);
        return m_later.value(k, -1);
    }

private:
    const QVector<Project>& m_projects;
    QHash<QUuid, qsizetype> m_first;
    QHash<QUuid, int> m_repeats;
    QHash<Key, qsizetype> m_later;
    QVector<int> m_copy;
};

// Look-ups in one document for the projects of another, in order: each guesses the place the
// previous one was found at, shifted by one.
class Cursor
{
public:
    explicit Cursor(const Index& in) : m_in(in) {}
    qsizetype find(const Key& k, qsizetype at)
    {
        const qsizetype found = m_in.find(k, at + m_shift);
        if (found >= 0)
            m_shift = found - at;
        return found;
    }

private:
    const Index& m_in;
    qsizetype m_shift = 0;
};

using Members = QMap<QString, QJsonValue>;

// Not QJsonObject::value(): an object Qt parsed out of order may not find its own keys.
Members byKey(const QJsonObject& o)
{
    Members out;
    for (const auto& [key, value] : sortedMembers(o))
        out.insert(key, value);
    return out;
}

bool sameAt(const Members& a, const Members& b, const QString& key)
{
    const auto x = a.constFind(key);
    const auto y = b.constFind(key);
    if ((x == a.constEnd()) != (y == b.constEnd()))
        return false;
    return x == a.constEnd() || sameMembers(QJsonObject{{key, *x}}, QJsonObject{{key, *y}});
}

struct MemberMerge
{
    QJsonObject mineWins;
    QJsonObject theirsWins;
    bool conflict = false;
};

// Key by key; a key missing on one side counts as a value of its own. Without a base every
// difference is a conflict.
MemberMerge mergeMembers(const QJsonObject* base, const QJsonObject& mine, const QJsonObject& theirs)
{
    if (sameMembers(mine, theirs) || (base && sameMembers(*base, theirs)))
        return {mine, mine, false};
    if (base && sameMembers(*base, mine))
        return {theirs, theirs, false};
    const Members b = base ? byKey(*base) : Members();
    const Members m = byKey(mine);
    const Members t = byKey(theirs);
    QStringList keys = b.keys() + m.keys() + t.keys();
    std::sort(keys.begin(), keys.end());
    keys.erase(std::unique(keys.begin(), keys.end()), keys.end());
    MemberMerge out;
    const auto take = [](QJsonObject& into, const Members& from, const QString& key) {
        const auto it = from.constFind(key);
        if (it != from.constEnd())
            into.insert(key, *it);
    };
    for (const QString& key : std::as_const(keys)) {
        const Members* winner = nullptr;
        if (sameAt(m, t, key) || (base && sameAt(b, t, key)))
            winner = &m;
        else if (base && sameAt(b, m, key))
            winner = &t;
        if (winner) {
            take(out.mineWins, *winner, key);
            take(out.theirsWins, *winner, key);
        } else {
            take(out.mineWins, m, key);
            take(out.theirsWins, t, key);
            out.conflict = true;
        }
    }
    return out;
}

struct ProjectMerge
{
    Project mineWins;
    std::optional<Project> theirsWins; // only with conflicts
    QVector<ProjectField> conflicts;
};

ProjectMerge mergeProject(const Project* base, const Project& mine, const Project& theirs)
{
    if (mine == theirs || (base && *base == theirs))
        return {mine, {}, {}};
    if (base && *base == mine)
        return {theirs, {}, {}};
    ProjectMerge out{mine, {}, {}};
    Project other = mine;
    const auto field = [&](auto member, ProjectField f) {
        const auto& m = mine.*member;
        const auto& t = theirs.*member;
        if (m == t || (base && base->*member == t))
            return;
        if (base && base->*member == m) {
            out.mineWins.*member = t;
            other.*member = t;
            return;
        }
        other.*member = t;
        out.conflicts.append(f);
    };
    field(&Project::name, ProjectField::name);
    field(&Project::client, ProjectField::client);
    field(&Project::category, ProjectField::category);
    field(&Project::fee, ProjectField::fee);
    field(&Project::outsource, ProjectField::outsource);
    field(&Project::status, ProjectField::status);
    field(&Project::date, ProjectField::date);
    field(&Project::pendingSince, ProjectField::pendingSince);
    field(&Project::dueDate, ProjectField::dueDate);
    field(&Project::paidOn, ProjectField::paidOn);
    MemberMerge members = mergeMembers(base ? &base->extra : nullptr, mine.extra, theirs.extra);
    out.mineWins.extra = members.mineWins;
    other.extra = members.theirsWins;
    if (members.conflict)
        out.conflicts.append(ProjectField::other);
    if (!out.conflicts.isEmpty())
        out.theirsWins = other;
    return out;
}

// One side unchanged: the other side's; both changed differently: the newer writer's.
template <typename T> T pick(const T& base, const T& mine, const T& theirs, bool mineNewer)
{
    if (theirs == base)
        return mine;
    if (mine == base)
        return theirs;
    return mineNewer ? mine : theirs;
}

QJsonObject pickMembers(const QJsonObject& base, const QJsonObject& mine, const QJsonObject& theirs,
                        bool mineNewer)
{
    MemberMerge m = mergeMembers(&base, mine, theirs);
    return mineNewer ? m.mineWins : m.theirsWins;
}

// Client by client; a client without terms of its own on one side counts as a value of its own.
QMap<QString, int> mergeTerms(const QMap<QString, int>& base, const QMap<QString, int>& mine,
                              const QMap<QString, int>& theirs, bool mineNewer)
{
    if (theirs == base)
        return mine;
    if (mine == base)
        return theirs;
    QStringList clients = base.keys() + mine.keys() + theirs.keys();
    std::sort(clients.begin(), clients.end());
    clients.erase(std::unique(clients.begin(), clients.end()), clients.end());
    QMap<QString, int> out;
    for (const QString& c : std::as_const(clients)) {
        const auto of = [&c](const QMap<QString, int>& m) {
            return m.contains(c) ? std::optional<int>(m.value(c)) : std::nullopt;
        };
        if (const std::optional<int> days = pick(of(base), of(mine), of(theirs), mineNewer))
            out.insert(c, *days);
    }
    return out;
}

// As sets: kept by both, or added by one and so never removed by the other.
QStringList mergeList(const QStringList& base, const QStringList& mine, const QStringList& theirs)
{
    if (theirs == base)
        return mine;
    if (mine == base)
        return theirs;
    const QSet<QString> inBase(base.begin(), base.end());
    const QSet<QString> inMine(mine.begin(), mine.end());
    const QSet<QString> inTheirs(theirs.begin(), theirs.end());
    QStringList out;
    for (const QString& s : mine) {
        if (inTheirs.contains(s) || !inBase.contains(s))
            out.append(s);
    }
    QSet<QString> added;
    for (const QString& s : theirs) {
        if (!inMine.contains(s) && !inBase.contains(s) && !added.contains(s)) {
            added.insert(s);
            out.append(s);
        }
    }
    return out;
}

} // namespace

Result merge(const AppData& base, const AppData& mine, const AppData& theirs, bool mineSettingsNewer)
{
    Result r;
    // Also keeps the other side's order of projects, which the general rule would not.
    if (mine == base || theirs == base) {
        r.merged = mine == base ? theirs : mine;
        r.theirsPreferred = r.merged;
        return r;
    }

    AppData& d = r.merged;
    d.currency = pick(base.currency, mine.currency, theirs.currency, mineSettingsNewer);
    d.taxRate = pick(base.taxRate, mine.taxRate, theirs.taxRate, mineSettingsNewer);
    d.targetGoal = pick(base.targetGoal, mine.targetGoal, theirs.targetGoal, mineSettingsNewer);
    d.layout = pick(base.layout, mine.layout, theirs.layout, mineSettingsNewer);
    d.columnOrder = pick(base.columnOrder, mine.columnOrder, theirs.columnOrder, mineSettingsNewer);
    d.columnColors = pick(base.columnColors, mine.columnColors, theirs.columnColors, mineSettingsNewer);
    d.clientTerms = mergeTerms(base.clientTerms, mine.clientTerms, theirs.clientTerms, mineSettingsNewer);
    d.forecastPendingPercent = pick(base.forecastPendingPercent, mine.forecastPendingPercent,
                                    theirs.forecastPendingPercent, mineSettingsNewer);
    d.forecastOngoingPercent = pick(base.forecastOngoingPercent, mine.forecastOngoingPercent,
                                    theirs.forecastOngoingPercent, mineSettingsNewer);
    d.extra = pickMembers(base.extra, mine.extra, theirs.extra, mineSettingsNewer);
    d.clients = mergeList(base.clients, mine.clients, theirs.clients);
    d.categories = mergeList(base.categories, mine.categories, theirs.categories);

    const Index bi(base.projects);
    const Index mi(mine.projects);
    const Index ti(theirs.projects);

    // Projects only theirs has, each after its nearest preceding project (in theirs' order) that
    // mine also has: -1 for the start.
    struct Insertion
    {
        qsizetype after;
        qsizetype theirsAt;
        bool deletedHere;
    };
    QVector<Insertion> insertions;
    qsizetype anchor = -1;
    Cursor mineOfTheirs(mi);
    for (qsizetype i = 0; i < theirs.projects.size(); ++i) {
        const Project& p = theirs.projects.at(i);
        const Key key = ti.keyAt(i);
        const qsizetype inMine = mineOfTheirs.find(key, i);
        if (inMine >= 0) {
            anchor = inMine;
            continue;
        }
        const qsizetype inBase = bi.find(key);
        if (inBase >= 0 && base.projects.at(inBase) == p)
            continue; // deleted here, untouched there
        insertions.append({anchor, i, inBase >= 0});
    }
    std::stable_sort(insertions.begin(), insertions.end(),
                     [](const Insertion& a, const Insertion& b) { return a.after < b.after; });

    QVector<std::pair<qsizetype, Project>> theirsVersions;
    d.projects.reserve(mine.projects.size() + insertions.size());
    auto next = insertions.cbegin();
    const auto insertAfter = [&](qsizetype at) {
        for (; next != insertions.cend() && next->after == at; ++next) {
            const Project& p = theirs.projects.at(next->theirsAt);
            if (next->deletedHere)
                r.keptDespiteDeletion.append(p.id);
            d.projects.append(p);
        }
    };
    insertAfter(-1);
    Cursor theirsOfMine(ti);
    Cursor baseOfMine(bi);
    for (qsizetype i = 0; i < mine.projects.size(); ++i) {
        const Project& p = mine.projects.at(i);
        const Key key = mi.keyAt(i);
        const qsizetype inTheirs = theirsOfMine.find(key, i);
        const qsizetype inBase = baseOfMine.find(key, i);
        const Project* b = inBase >= 0 ? &base.projects.at(inBase) : nullptr;
        if (inTheirs >= 0) {
            const Project& t = theirs.projects.at(inTheirs);
            ProjectMerge m = mergeProject(b, p, t);
            if (m.theirsWins) {
                r.conflicts.append({p.id, m.conflicts, p, t});
                theirsVersions.append({d.projects.size(), std::move(*m.theirsWins)});
            }
            d.projects.append(std::move(m.mineWins));
        } else if (!b) {
            d.projects.append(p);
        } else if (*b != p) {
            r.keptDespiteDeletion.append(p.id);
            d.projects.append(p);
        }
        insertAfter(i);
    }

    r.theirsPreferred = d;
    for (const auto& [at, project] : std::as_const(theirsVersions))
        r.theirsPreferred.projects[at] = project;
    return r;
}

} // namespace DocumentMerge
