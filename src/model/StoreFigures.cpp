#include "model/Store.h"

#include "i18n/CurrencyRate.h"
#include "i18n/L10n.h"
#include "model/Text.h"

#include <QCollator>
#include <QLocale>
#include <algorithm>
#include <cmath>
#include <set>

QVector<int> Store::years() const
{
    std::set<int, std::greater<int>> set{currentYear(), m_activeYear};
    for (const Project& p : m_data.projects)
        set.insert(p.year());
    return QVector<int>(set.begin(), set.end());
}

bool Store::listsCurrent() const
{
    return m_lists.generation == m_generation && m_lists.year == m_activeYear &&
           m_lists.query == m_ui.searchQuery();
}

void Store::validateLists() const
{
    if (listsCurrent())
        return;
    if (m_lists.generation == m_generation && m_lists.year == m_activeYear) {
        // Only the search text changed: the year's lists hold, those it filters may not.
        const bool sameFilter = searchKey(m_lists.query) == searchKey(m_ui.searchQuery());
        m_lists.query = m_ui.searchQuery();
        if (!sameFilter) {
            m_lists.visible.reset();
            for (auto& list : m_lists.byStatus)
                list.reset();
        }
        return;
    }
    m_lists = ListCache();
    m_lists.generation = m_generation;
    m_lists.year = m_activeYear;
    m_lists.query = m_ui.searchQuery();
}

void Store::patchListsForStatus(int index, Status from, Status to)
{
    if (from == to || !m_lists.yearIndex)
        return; // every other list is built from the year index
    const QVector<int>& year = *m_lists.yearIndex;
    const auto it = std::lower_bound(year.begin(), year.end(), index);
    if (it == year.end() || *it != index)
        return; // not a project of the active year: no list holds it
    const int k = int(it - year.begin());
    // A project's place in a per-status list: the year projects of that status before it.
    const auto rank = [&](Status s) {
        int n = 0;
        for (int j = 0; j < k; ++j) {
            if (m_data.projects.at(year.at(j)).status == s)
                ++n;
        }
        return n;
    };
    const Project& project = m_data.projects.at(index);
    if (m_lists.yearProjects)
        (*m_lists.yearProjects)[k] = project; // the status and the days it set
    if (!Text::trimBlanks(m_ui.searchQuery()).isEmpty()) {
        // Search results are small; they are simply built again.
        m_lists.visible.reset();
        for (auto& list : m_lists.byStatus)
            list.reset();
    } else {
        if (auto& list = m_lists.byStatus[size_t(from)])
            list->remove(rank(from));
        if (auto& list = m_lists.byStatus[size_t(to)])
            list->insert(rank(to), project);
    }
    if (m_lists.paid && from == Status::paid)
        m_lists.paid->remove(rank(Status::paid));
    if (m_lists.paid && to == Status::paid)
        m_lists.paid->insert(rank(Status::paid), project);
}

const QVector<int>& Store::yearIndex() const
{
    validateLists();
    if (!m_lists.yearIndex) {
        QVector<int> index;
        // The year's days as a range: a local day is then compared, not split into its year, for
        // every project.
        const QDate first(m_activeYear, 1, 1);
        const QDate next(m_activeYear + 1, 1, 1);
        const bool byDays = first.isValid() && next.isValid();
        for (int i = 0; i < m_data.projects.size(); ++i) {
            const QDate day = m_data.projects.at(i).localDay();
            const bool inYear = byDays ? day >= first && day < next : day.year() == m_activeYear;
            if (inYear)
                index.append(i);
        }
        m_lists.yearIndex = index;
    }
    return *m_lists.yearIndex;
}

QVector<Project> Store::yearProjects() const
{
    const QVector<int>& index = yearIndex();
    if (!m_lists.yearProjects) {
        QVector<Project> out;
        out.reserve(index.size());
        for (int i : index)
            out.append(m_data.projects.at(i));
        m_lists.yearProjects = out;
    }
    return *m_lists.yearProjects;
}

const QVector<Store::SearchTexts>& Store::yearSearchTexts() const
{
    const QVector<int>& index = yearIndex();
    if (!m_lists.yearSearchTexts) {
        QVector<SearchTexts> texts;
        texts.reserve(index.size());
        for (int i : index) {
            const Project& p = m_data.projects.at(i);
            texts.append(SearchTexts{p.name.toLower(), p.client.toLower(), p.category.toLower()});
        }
        m_lists.yearSearchTexts = texts;
    }
    return *m_lists.yearSearchTexts;
}

QString Store::searchKey(const QString& query)
{
    return Text::trimBlanks(query).toLower();
}

bool Store::matchesSearch(const SearchTexts& texts, const QString& q)
{
    return texts.name.contains(q) || texts.client.contains(q) || texts.category.contains(q);
}

QVector<Project> Store::visibleProjects() const
{
    const QString q = searchKey(m_ui.searchQuery());
    if (q.isEmpty())
        return yearProjects();
    const QVector<int>& index = yearIndex();
    if (!m_lists.visible) {
        const QVector<SearchTexts>& texts = yearSearchTexts();
        QVector<Project> out;
        for (qsizetype k = 0; k < index.size(); ++k) {
            if (matchesSearch(texts.at(k), q))
                out.append(m_data.projects.at(index.at(k)));
        }
        m_lists.visible = out;
    }
    return *m_lists.visible;
}

QVector<Project> Store::sortedVisibleProjects() const
{
    QVector<Project> list = visibleProjects();
    QCollator collator;
    collator.setCaseSensitivity(Qt::CaseInsensitive);
    const auto rank = [this](Status s) {
        const qsizetype i = m_data.columnOrder.indexOf(s);
        return i < 0 ? m_data.columnOrder.size() : i;
    };
    const SortField field = m_ui.sortField();
    const bool ascending = m_ui.sortAscending();
    std::stable_sort(list.begin(), list.end(), [&](const Project& a, const Project& b) {
        int primary = 0;
        switch (field) {
        case SortField::status:
            primary = rank(a.status) < rank(b.status) ? -1 : (rank(a.status) > rank(b.status) ? 1 : 0);
            break;
        case SortField::client:
            primary = collator.compare(a.client, b.client);
            break;
        case SortField::category:
            primary = collator.compare(a.category, b.category);
            break;
        case SortField::name:
            primary = collator.compare(a.name, b.name);
            break;
        case SortField::fee:
            primary = a.fee < b.fee ? -1 : (a.fee > b.fee ? 1 : 0);
            break;
        }
        if (primary != 0)
            return ascending ? primary < 0 : primary > 0;
        const int byName = collator.compare(a.name, b.name);
        if (byName != 0)
            return byName < 0;
        return a.date > b.date;
    });
    return list;
}

QVector<Project> Store::projects(Status in) const
{
    const QVector<int>& index = yearIndex();
    std::optional<QVector<Project>>& cached = m_lists.byStatus[size_t(in)];
    if (!cached) {
        // Straight from the document: a column does not need the year's whole list built.
        const QString q = searchKey(m_ui.searchQuery());
        const QVector<SearchTexts>* texts = q.isEmpty() ? nullptr : &yearSearchTexts();
        QVector<Project> out;
        for (qsizetype k = 0; k < index.size(); ++k) {
            const Project& p = m_data.projects.at(index.at(k));
            if (p.status == in && (!texts || matchesSearch(texts->at(k), q)))
                out.append(p);
        }
        cached = out;
    }
    return *cached;
}

double Store::total(Status status) const
{
    double sum = 0;
    for (int i : yearIndex()) {
        const Project& p = m_data.projects.at(i);
        if (p.status == status)
            sum += p.fee;
    }
    return sum;
}

QVector<Project> Store::paidThisYear() const
{
    const QVector<int>& index = yearIndex();
    if (!m_lists.paid) {
        QVector<Project> out;
        for (int i : index) {
            if (m_data.projects.at(i).status == Status::paid)
                out.append(m_data.projects.at(i));
        }
        m_lists.paid = out;
    }
    return *m_lists.paid;
}

double Store::paidProfit() const
{
    double profit = 0;
    const QVector<Project> list = paidThisYear();
    for (const Project& p : list)
        profit += p.fee - p.outsource;
    return profit;
}

double Store::estimatedTax() const
{
    return paidProfit() * m_data.taxRate / 100;
}

double Store::netAfterTax() const
{
    return paidProfit() - estimatedTax();
}

double Store::targetProgress() const
{
    if (!(m_data.targetGoal > 0))
        return 0;
    return std::min(1.0, total(Status::paid) / m_data.targetGoal);
}

double Store::pipelineTotal() const
{
    double all = 0;
    for (int i : yearIndex())
        all += m_data.projects.at(i).fee;
    return all;
}

double Store::collectionRate() const
{
    const double all = pipelineTotal();
    return all > 0 ? total(Status::paid) / all : 0;
}

QString Store::dueText(const Project& project) const
{
    return Payments::dueText(project, today(), m_language);
}

Payments::Overdue Store::overdue() const
{
    // Straight from the document: only the overdue projects are copied.
    const QDate day = today();
    QVector<Project> late;
    for (int i : yearIndex()) {
        const Project& p = m_data.projects.at(i);
        if (Payments::daysOverdue(p, day))
            late.append(p);
    }
    return Payments::overdue(late, m_data, day);
}

QString Store::overdueSummary() const
{
    return Payments::overdueSummary(overdue(), m_language, [this](double a) { return money(a); });
}

QString Store::chaseListText() const
{
    return Payments::chaseText(overdue(), m_language, [this](double a) { return money(a); });
}

Payments::DaysToPay Store::daysToPay(bool allTime) const
{
    return Payments::daysToPay(m_data.projects, allTime, m_activeYear);
}

Payments::Forecast Store::forecast() const
{
    return Payments::forecast(total(Status::paid), total(Status::pending), total(Status::ongoing),
                              forecastPendingPercent(), forecastOngoingPercent(), m_data.targetGoal);
}

QString Store::forecastText() const
{
    return Payments::forecastText(forecast(), m_language, [this](double a) { return money(a); });
}

QString Store::money(double amount) const
{
    return L10n::money(amount, m_language, m_data.currency, CurrencyRate::usdToTry());
}

QString Store::percent(double fraction) const
{
    return L10n::percent(fraction, m_language);
}

QString Store::tabTitle(MainTab tab) const
{
    return L10n::tabTitle(tab, m_language);
}

Rgb Store::columnColor(Status status) const
{
    const auto it = m_data.columnColors.constFind(StatusInfo::rawValue(status));
    if (it != m_data.columnColors.constEnd())
        return HexColor::fromHex(*it);
    switch (status) {
    case Status::paid:
        return HexColor::fromHex(QStringLiteral("#E7F7ED"));
    case Status::pending:
        return HexColor::fromHex(QStringLiteral("#E4EFFC"));
    case Status::ongoing:
        return HexColor::fromHex(QStringLiteral("#FCEFE2"));
    }
    return {};
}
