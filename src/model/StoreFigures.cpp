#include "model/Store.h"

#include "i18n/CurrencyRate.h"
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

QVector<Project> Store::yearProjects() const
{
    QVector<Project> out;
    for (const Project& p : m_data.projects) {
        if (p.year() == m_activeYear)
            out.append(p);
    }
    return out;
}

QVector<Project> Store::visibleProjects() const
{
    const QString q = Text::trimBlanks(m_searchQuery).toLower();
    QVector<Project> year = yearProjects();
    if (q.isEmpty())
        return year;
    QVector<Project> out;
    for (const Project& p : std::as_const(year)) {
        if (p.name.toLower().contains(q) || p.client.toLower().contains(q) ||
            p.category.toLower().contains(q))
            out.append(p);
    }
    return out;
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
    const SortField field = m_sortField;
    const bool ascending = m_sortAscending;
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
    QVector<Project> out;
    for (const Project& p : visibleProjects()) {
        if (p.status == in)
            out.append(p);
    }
    return out;
}

double Store::total(Status status) const
{
    double sum = 0;
    for (const Project& p : m_data.projects) {
        if (p.status == status && p.year() == m_activeYear)
            sum += p.fee;
    }
    return sum;
}

QVector<Project> Store::paidThisYear() const
{
    QVector<Project> out;
    for (const Project& p : m_data.projects) {
        if (p.status == Status::paid && p.year() == m_activeYear)
            out.append(p);
    }
    return out;
}

double Store::netAfterTax() const
{
    double profit = 0;
    for (const Project& p : paidThisYear())
        profit += p.fee - p.outsource;
    return profit - profit * m_data.taxRate / 100;
}

double Store::targetProgress() const
{
    if (!(m_data.targetGoal > 0))
        return 0;
    return std::min(1.0, total(Status::paid) / m_data.targetGoal);
}

double Store::collectionRate() const
{
    double all = 0;
    for (const Project& p : m_data.projects) {
        if (p.year() == m_activeYear)
            all += p.fee;
    }
    return all > 0 ? total(Status::paid) / all : 0;
}

QString Store::money(double amount) const
{
    if (m_language == AppLanguage::tr) {
        double v = std::round(amount * CurrencyRate::usdToTry());
        if (v == 0)
            v = 0; // no "-0"
        QString text = QLocale(QLocale::Turkish, QLocale::Turkey).toString(v, 'f', 0);
        if (text.isEmpty())
            text = QString::number(v, 'f', 0);
        return text + QStringLiteral(" ₺");
    }
    // Past 1e15 two decimals are below a double's precision anyway.
    double v = std::abs(amount) < 1e15 ? std::round(amount * 100) / 100 : amount;
    if (v == 0)
        v = 0;
    return m_data.currency + QLocale().toString(v, 'f', QLocale::FloatingPointShortest);
}

QString Store::percent(double fraction) const
{
    double n = std::round(fraction * 100);
    if (n == 0)
        n = 0;
    const QString number = QString::number(n, 'f', 0);
    return m_language == AppLanguage::tr ? QStringLiteral("%") + number : number + QStringLiteral("%");
}

QString Store::tabTitle(MainTab tab) const
{
    switch (tab) {
    case MainTab::board:
        return tr(QStringLiteral("Board"), QStringLiteral("Pano"));
    case MainTab::stats:
        return tr(QStringLiteral("Statistics"), QStringLiteral("İstatistikler"));
    case MainTab::settings:
        return tr(QStringLiteral("Settings"), QStringLiteral("Ayarlar"));
    }
    return {};
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
