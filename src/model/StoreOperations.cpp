#include "model/Store.h"

#include "model/Text.h"

#include <algorithm>
#include <cmath>
#include <utility>

namespace {

const QChar Q(u'"');

using Text::findIgnoringCase;

int indexOfProject(const AppData& data, const QUuid& id)
{
    for (int i = 0; i < data.projects.size(); ++i) {
        if (data.projects.at(i).id == id)
            return i;
    }
    return -1;
}

std::optional<QUuid> cardId(const QString& text)
{
    if (!text.startsWith(QLatin1String("card:")))
        return std::nullopt;
    return uuidFromText(text.mid(5));
}

} // namespace

void Store::save(Project project)
{
    const QString* client = findIgnoringCase(m_data.clients, project.client, turkishCase());
    const QString* category = findIgnoringCase(m_data.categories, project.category, turkishCase());
    if (client)
        project.client = *client;
    if (category)
        project.category = *category;
    const int existing = indexOfProject(m_data, project.id);
    // A change of status made in the editor moves the project like any other path.
    Payments::applyEdit(project, existing >= 0 ? &m_data.projects.at(existing) : nullptr, today(),
                        m_data.termsDays(project.client));
    const bool newClient = !client;
    const bool newCategory = !category;
    update([&](AppData& d) {
        if (newClient)
            d.clients.append(project.client);
        if (newCategory)
            d.categories.append(project.category);
        if (existing >= 0)
            d.projects[existing] = project;
        else
            d.projects.prepend(project);
    });
    const bool existed = existing >= 0;
    // An undo of an earlier move would now take back this edit too.
    for (const auto& moved : std::as_const(m_lastMove)) {
        if (moved.first == project.id) {
            m_lastMove.clear();
            break;
        }
    }
    m_ui.show(existed ? tr(QStringLiteral("Project updated"), QStringLiteral("Proje güncellendi"))
                      : tr(QStringLiteral("Project added"), QStringLiteral("Proje eklendi")));
    // A project saved into another year would vanish from the board as the editor closes.
    setActiveYear(project.year());
}

void Store::setTaxRate(double percent)
{
    if (!std::isfinite(percent))
        return;
    const double rate = std::clamp(percent, 0.0, 100.0);
    if (rate != m_data.taxRate)
        update([rate](AppData& d) { d.taxRate = rate; });
}

void Store::setBoardLayout(BoardLayout layout)
{
    if (layout != m_data.layout)
        update([layout](AppData& d) { d.layout = layout; });
}

void Store::setTargetGoal(double dollars)
{
    if (std::isfinite(dollars) && dollars != m_data.targetGoal)
        update([dollars](AppData& d) { d.targetGoal = dollars; });
}

void Store::setCurrency(const QString& code)
{
    if (code == m_data.currency)
        return;
    update([&code](AppData& d) { d.currency = code; });
    m_ui.show(tr(QStringLiteral("Currency changed to ") + code,
                 QStringLiteral("Para birimi ") + code + QStringLiteral(" olarak güncellendi")));
}

void Store::deleteProject(const QUuid& id)
{
    const int i = indexOfProject(m_data, id);
    if (i < 0)
        return;
    const Project project = m_data.projects.at(i);
    m_lastDeleted = DeletedProject{project, i};
    m_lastMove.clear(); // Undo now takes the deletion back
    update([i](AppData& d) { d.projects.remove(i); });
    m_ui.show(QStringLiteral("Deleted ") + Q + project.name + Q, true);
}

void Store::undoDelete()
{
    if (!m_lastDeleted)
        return;
    const DeletedProject deleted = *m_lastDeleted;
    m_lastDeleted.reset();
    update([&](AppData& d) {
        const int at = std::clamp(deleted.index, 0, int(d.projects.size()));
        d.projects.insert(at, deleted.project);
    });
    m_ui.show(QStringLiteral("Restored ") + Q + deleted.project.name + Q);
}

void Store::move(const QUuid& id, Status to)
{
    const int i = indexOfProject(m_data, id);
    if (i < 0)
        return;
    const Payments::StatusDays before = Payments::StatusDays::of(m_data.projects.at(i));
    changeStatus(i, to);
    if (before.status != to)
        m_lastMove = {{id, before}};
    scheduleSave();
    m_ui.show(QStringLiteral("Moved to ") + StatusInfo::titleEn(to), canUndoMove());
}

void Store::undoMove()
{
    if (m_lastMove.isEmpty())
        return;
    const auto moves = std::exchange(m_lastMove, {});
    bool any = false;
    // In reverse: a drop that named one card twice ends as it began.
    for (auto it = moves.crbegin(); it != moves.crend(); ++it) {
        const int i = indexOfProject(m_data, it->first);
        if (i < 0)
            continue; // deleted since, or gone with a reload
        changeStatus(i, it->second.status, &it->second);
        any = true;
    }
    if (!any)
        return;
    scheduleSave();
    m_ui.show(tr(QStringLiteral("Move undone"), QStringLiteral("Taşıma geri alındı")));
}

bool Store::handleDrop(const QStringList& texts, Status onto)
{
    bool result = false;
    QVector<std::pair<QUuid, Payments::StatusDays>> moved;
    for (const QString& text : texts) {
        if (text.startsWith(QLatin1String("card:"))) {
            const auto id = cardId(text);
            if (!id)
                continue;
            const int i = indexOfProject(m_data, *id);
            if (i < 0 || m_data.projects.at(i).status == onto)
                continue;
            moved.append({*id, Payments::StatusDays::of(m_data.projects.at(i))});
            changeStatus(i, onto);
            m_lastMove = moved;
            scheduleSave();
            m_ui.show(QStringLiteral("Moved to ") + StatusInfo::titleEn(onto), true);
            result = true;
        } else if (text.startsWith(QLatin1String("col:"))) {
            const auto column = StatusInfo::fromRaw(text.mid(4));
            if (!column || *column == onto)
                continue;
            const int j = int(m_data.columnOrder.indexOf(*column));
            const int t = int(m_data.columnOrder.indexOf(onto));
            if (j < 0 || t < 0)
                continue;
            update([&](AppData& d) {
                d.columnOrder.remove(j);
                d.columnOrder.insert(t, *column);
            });
            m_ui.show(QStringLiteral("Column order updated"));
            result = true;
        }
    }
    return result;
}

bool Store::handleTrashDrop(const QStringList& texts)
{
    for (const QString& text : texts) {
        if (const auto id = cardId(text)) {
            // Only the first card of a drop is deleted: undo keeps one project.
            deleteProject(*id);
            return true;
        }
    }
    return false;
}

void Store::moveColumn(Status column, int by)
{
    const int j = int(m_data.columnOrder.indexOf(column));
    if (j < 0)
        return;
    const int k = j + by;
    if (k < 0 || k >= m_data.columnOrder.size())
        return;
    update([j, k](AppData& d) { std::swap(d.columnOrder[j], d.columnOrder[k]); });
    m_ui.show(QStringLiteral("Column order updated"));
}

void Store::addDirectoryEntry(QStringList AppData::*list, const QString& name, const QString& en,
                              const QString& trText)
{
    const QString t = Text::trimBlanks(name);
    if (t.isEmpty() || findIgnoringCase(m_data.*list, t, turkishCase()))
        return;
    update([&](AppData& d) { (d.*list).append(t); });
    m_ui.show(tr(en.arg(Q + t + Q), trText.arg(Q + t + Q)));
}

void Store::editDirectoryEntry(QStringList AppData::*list, QString Project::*field, const QString& from,
                               const QString& to, const QString& doneEn, const QString& doneTr,
                               const std::function<void(AppData&, const QString&)>& alsoChange)
{
    const QString t = Text::trimBlanks(to);
    if (t.isEmpty())
        return;
    if (!Text::sameIgnoringCase(from, t, turkishCase()) && findIgnoringCase(m_data.*list, t, turkishCase())) {
        m_ui.show(
            tr(Q + t + Q + QStringLiteral(" already exists"), Q + t + Q + QStringLiteral(" zaten mevcut")));
        return;
    }
    update([&](AppData& d) {
        QStringList& entries = d.*list;
        const qsizetype i = entries.indexOf(from);
        if (i >= 0)
            entries[i] = t;
        for (Project& p : d.projects) {
            if (p.*field == from)
                p.*field = t;
        }
        if (alsoChange)
            alsoChange(d, t);
    });
    m_ui.show(tr(doneEn, doneTr));
}

void Store::removeDirectoryEntry(QStringList AppData::*list, const QString& name, const QString& en,
                                 const QString& trText)
{
    update([&](AppData& d) { (d.*list).removeAll(name); });
    m_ui.show(tr(en, trText));
}

void Store::addClient(const QString& name)
{
    addDirectoryEntry(&AppData::clients, name, QStringLiteral("Client %1 added"),
                      QStringLiteral("Müşteri %1 eklendi"));
}

void Store::addCategory(const QString& name)
{
    addDirectoryEntry(&AppData::categories, name, QStringLiteral("Category %1 added"),
                      QStringLiteral("Kategori %1 eklendi"));
}

void Store::editClient(const QString& from, const QString& to)
{
    editDirectoryEntry(&AppData::clients, &Project::client, from, to, QStringLiteral("Client updated"),
                       QStringLiteral("Müşteri adı güncellendi"), [&from](AppData& d, const QString& t) {
                           if (t == from)
                               return;
                           const auto days = d.clientTerms.constFind(from);
                           if (days == d.clientTerms.constEnd()) {
                               // The new name's own terms would otherwise apply to the renamed client.
                               d.clientTerms.remove(t);
                               return;
                           }
                           const int kept = *days;
                           d.clientTerms.remove(from);
                           d.clientTerms.insert(t, kept);
                       });
}

void Store::editCategory(const QString& from, const QString& to)
{
    editDirectoryEntry(&AppData::categories, &Project::category, from, to, QStringLiteral("Category updated"),
                       QStringLiteral("Kategori adı güncellendi"));
}

void Store::removeClient(const QString& name)
{
    update([&name](AppData& d) {
        d.clients.removeAll(name);
        d.clientTerms.remove(name);
    });
    m_ui.show(
        tr(QStringLiteral("Client removed from the list"), QStringLiteral("Müşteri listeden kaldırıldı")));
}

void Store::setPaymentTerms(const QString& client, int days)
{
    const int clamped = std::clamp(days, 0, AppData::kMaxTermsDays);
    if (clamped == m_data.termsDays(client))
        return;
    update([&](AppData& d) {
        if (clamped == AppData::kDefaultTermsDays)
            d.clientTerms.remove(client);
        else
            d.clientTerms.insert(client, clamped);
    });
}

double Store::forecastPendingPercent() const
{
    const double v = m_data.forecastPendingPercent.value_or(AppData::kDefaultForecastPendingPercent);
    return std::isfinite(v) ? std::clamp(v, 0.0, 100.0) : AppData::kDefaultForecastPendingPercent;
}

double Store::forecastOngoingPercent() const
{
    const double v = m_data.forecastOngoingPercent.value_or(AppData::kDefaultForecastOngoingPercent);
    return std::isfinite(v) ? std::clamp(v, 0.0, 100.0) : AppData::kDefaultForecastOngoingPercent;
}

void Store::setForecastWeights(double pendingPercent, double ongoingPercent)
{
    if (!std::isfinite(pendingPercent) || !std::isfinite(ongoingPercent))
        return;
    const double pending = std::clamp(pendingPercent, 0.0, 100.0);
    const double ongoing = std::clamp(ongoingPercent, 0.0, 100.0);
    if (pending == forecastPendingPercent() && ongoing == forecastOngoingPercent())
        return;
    update([&](AppData& d) {
        d.forecastPendingPercent = pending;
        d.forecastOngoingPercent = ongoing;
    });
}

void Store::removeCategory(const QString& name)
{
    removeDirectoryEntry(&AppData::categories, name, QStringLiteral("Category removed from the list"),
                         QStringLiteral("Kategori listeden kaldırıldı"));
}

void Store::setColumnColor(Status status, const Rgb& color)
{
    update([&](AppData& d) { d.columnColors.insert(StatusInfo::rawValue(status), HexColor::toHex(color)); });
}

void Store::resetColumnColors()
{
    update([](AppData& d) { d.columnColors.clear(); });
    m_ui.show(QStringLiteral("Colors reset to defaults"));
}

void Store::eraseAll()
{
    m_lastDeleted.reset();
    m_lastMove.clear();
    update([](AppData& d) { d = AppData::empty(); });
    m_ui.show(QStringLiteral("All data deleted"));
}

void Store::restoreSample()
{
    m_lastDeleted.reset();
    m_lastMove.clear();
    update([](AppData& d) { d = AppData::sample(); });
    setActiveYear(currentYear());
    m_ui.show(QStringLiteral("Sample data restored"));
}
