#include "model/BackupTexts.h"

#include "i18n/L10n.h"
#include "model/Payments.h"

#include <QLocale>
#include <algorithm>

namespace BackupTexts {

namespace {

QString tr(AppLanguage language, const char* en, const char* trText)
{
    return L10n::tr(language, QString::fromUtf8(en), QString::fromUtf8(trText));
}

// "1 project", "3 projects"; Turkish keeps the singular after a number.
QString projects(int n, AppLanguage language)
{
    if (language == AppLanguage::tr)
        return QStringLiteral("%1 proje").arg(n);
    return n == 1 ? QStringLiteral("1 project") : QStringLiteral("%1 projects").arg(n);
}

QString day(const QDateTime& date, AppLanguage language)
{
    return L10n::day(date.toLocalTime().date(), language);
}

// A payment day; "none" when not set.
QString calendarDay(const QDate& date, AppLanguage language)
{
    if (!date.isValid())
        return tr(language, "none", "yok");
    return L10n::day(date, language);
}

QString status(Status s, AppLanguage language)
{
    return language == AppLanguage::tr ? StatusInfo::titleTr(s) : StatusInfo::titleEn(s);
}

QString projectLine(const Project& p, const Money& money)
{
    QStringList parts{p.name};
    if (!p.client.isEmpty())
        parts << p.client;
    parts << money(p.fee) << day(p.date, money.language);
    return parts.join(QStringLiteral(" · "));
}

QString arrow(const QString& from, const QString& to)
{
    return from + QStringLiteral(" → ") + to;
}

QString orNone(const QString& text, AppLanguage language)
{
    return text.isEmpty() ? tr(language, "none", "yok") : text;
}

// Members only a later version knows: named, not shown.
QString otherFields(const QStringList& keys, AppLanguage language)
{
    return tr(language, "Fields of a later version: ", "Sonraki bir sürümün alanları: ") +
           keys.join(QStringLiteral(", "));
}

QString fieldChange(DocumentDiff::ProjectField f, const Project& a, const Project& b, const Money& money)
{
    using F = DocumentDiff::ProjectField;
    const AppLanguage l = money.language;
    switch (f) {
    case F::name:
        return tr(l, "Name: ", "Ad: ") + arrow(a.name, b.name);
    case F::client:
        return tr(l, "Client: ", "Müşteri: ") + arrow(orNone(a.client, l), orNone(b.client, l));
    case F::category:
        return tr(l, "Category: ", "Kategori: ") + arrow(orNone(a.category, l), orNone(b.category, l));
    case F::fee:
        return tr(l, "Fee: ", "Ücret: ") + arrow(money(a.fee), money(b.fee));
    case F::outsource:
        return tr(l, "Outsource: ", "Dış kaynak: ") + arrow(money(a.outsource), money(b.outsource));
    case F::status:
        return tr(l, "Status: ", "Durum: ") + arrow(status(a.status, l), status(b.status, l));
    case F::date:
        return tr(l, "Date: ", "Tarih: ") + arrow(day(a.date, l), day(b.date, l));
    case F::pendingSince:
        return tr(l, "Pending since: ", "Ödenecek sütununa geçiş: ") +
               arrow(calendarDay(a.pendingSince, l), calendarDay(b.pendingSince, l));
    case F::dueDate:
        return tr(l, "Due: ", "Vade: ") + arrow(calendarDay(a.dueDate, l), calendarDay(b.dueDate, l));
    case F::paidOn:
        return tr(l, "Paid on: ", "Ödeme tarihi: ") +
               arrow(calendarDay(a.paidOn, l), calendarDay(b.paidOn, l));
    case F::other:
        return otherFields(DocumentDiff::changedMembers(a.extra, b.extra), l);
    }
    return {};
}

QString settingChange(DocumentDiff::Setting s, const AppData& a, const AppData& b, const Money& money)
{
    using S = DocumentDiff::Setting;
    const AppLanguage l = money.language;
    const auto layout = [l](BoardLayout v) {
        return v == BoardLayout::table ? tr(l, "Table", "Tablo") : tr(l, "Columns", "Sütunlar");
    };
    switch (s) {
    case S::currency:
        return tr(l, "Currency: ", "Para birimi: ") + arrow(a.currency, b.currency);
    case S::taxRate:
        return tr(l, "Tax rate: ", "Vergi oranı: ") +
               arrow(L10n::percent(a.taxRate / 100, l), L10n::percent(b.taxRate / 100, l));
    case S::targetGoal:
        return tr(l, "Target: ", "Hedef: ") + arrow(money(a.targetGoal), money(b.targetGoal));
    case S::layout:
        return tr(l, "Layout: ", "Görünüm: ") + arrow(layout(a.layout), layout(b.layout));
    case S::columnOrder:
        return tr(l, "The order of the columns", "Sütunların sırası");
    case S::columnColors:
        return tr(l, "The colours of the columns", "Sütunların renkleri");
    case S::clientTerms: {
        QStringList changed;
        QStringList clients = a.clientTerms.keys() + b.clientTerms.keys();
        std::sort(clients.begin(), clients.end());
        clients.erase(std::unique(clients.begin(), clients.end()), clients.end());
        for (const QString& c : std::as_const(clients)) {
            if (a.termsDays(c) != b.termsDays(c))
                changed << c + QStringLiteral(" ") +
                               arrow(Payments::termsText(a.termsDays(c), l),
                                     Payments::termsText(b.termsDays(c), l));
        }
        return tr(l, "Payment terms: ", "Ödeme vadeleri: ") + changed.join(QStringLiteral("; "));
    }
    case S::forecastWeights: {
        const auto weights = [l](const AppData& d) {
            const auto pct = [l](std::optional<double> v, double fallback) {
                return L10n::percent(v.value_or(fallback) / 100, l);
            };
            return pct(d.forecastPendingPercent, AppData::kDefaultForecastPendingPercent) +
                   QStringLiteral(" / ") +
                   pct(d.forecastOngoingPercent, AppData::kDefaultForecastOngoingPercent);
        };
        return tr(l, "Forecast weights (pending / in the works): ",
                  "Tahmin ağırlıkları (ödenecek / devam eden): ") +
               arrow(weights(a), weights(b));
    }
    case S::other:
        return otherFields(DocumentDiff::changedMembers(a.extra, b.extra), l);
    }
    return {};
}

QString directoryChange(const QStringList& added, const QStringList& removed)
{
    QStringList parts;
    if (!added.isEmpty())
        parts << QStringLiteral("+ ") + added.join(QStringLiteral(", "));
    if (!removed.isEmpty())
        parts << QStringLiteral("− ") + removed.join(QStringLiteral(", "));
    return parts.join(QStringLiteral("; "));
}

} // namespace

QString Money::operator()(double amount) const
{
    return L10n::money(amount, language, currency, usdToTry);
}

QString when(const QDateTime& time, AppLanguage language)
{
    return L10n::locale(language).toString(time, QStringLiteral("d MMM yyyy, HH:mm"));
}

QString summary(const Backups::Entry& entry, const Money& money)
{
    const AppLanguage l = money.language;
    QString text;
    if (entry.setAside)
        text = tr(l, "Set aside unreadable · ", "Okunamadığı için ayrılmış · ");
    if (entry.conflict)
        text = tr(l, "Other computer's values · ", "Diğer bilgisayarın değerleri · ");
    if (!entry.described)
        return text + tr(l, "Reading…", "Okunuyor…");
    if (!entry.readable)
        return text + tr(l, "Cannot be read: ", "Okunamıyor: ") + entry.reason;
    text += projects(entry.projects, l);
    if (entry.latestYear > 0)
        text +=
            QStringLiteral(" · ") + tr(l, "%1 paid %2", "%1 ödenen %2")
                                        .arg(QString::number(entry.latestYear), money(entry.paidLatestYear));
    return text;
}

QVector<Line> preview(const DocumentDiff::Diff& diff, const AppData& before, const AppData& after,
                      const Money& money)
{
    using K = Line::Kind;
    const AppLanguage l = money.language;
    QVector<Line> out;
    if (diff.isEmpty()) {
        out.append(
            {K::note, tr(l, "Restoring it would change nothing.", "Geri yüklemek hiçbir şeyi değiştirmez.")});
        return out;
    }
    if (!diff.added.isEmpty()) {
        out.append({K::heading,
                    tr(l, "%1 would come back", "%1 geri gelir").arg(projects(int(diff.added.size()), l))});
        for (const Project& p : diff.added)
            out.append({K::added, projectLine(p, money)});
    }
    if (!diff.removed.isEmpty()) {
        out.append({K::heading,
                    tr(l, "%1 would disappear", "%1 kaybolur").arg(projects(int(diff.removed.size()), l))});
        for (const Project& p : diff.removed)
            out.append({K::removed, projectLine(p, money)});
    }
    if (!diff.changed.isEmpty()) {
        out.append(
            {K::heading, tr(l, "%1 would change", "%1 değişir").arg(projects(int(diff.changed.size()), l))});
        for (const DocumentDiff::ProjectChange& c : diff.changed) {
            out.append({K::changed, c.before.name});
            for (DocumentDiff::ProjectField f : c.fields)
                out.append({K::detail, fieldChange(f, c.before, c.after, money)});
        }
    }
    const QString clients = directoryChange(diff.clientsAdded, diff.clientsRemoved);
    const QString categories = directoryChange(diff.categoriesAdded, diff.categoriesRemoved);
    if (!clients.isEmpty() || !categories.isEmpty() || !diff.settings.isEmpty()) {
        out.append({K::heading, tr(l, "Lists and settings", "Listeler ve ayarlar")});
        if (!clients.isEmpty())
            out.append({K::detail, tr(l, "Clients: ", "Müşteriler: ") + clients});
        if (!categories.isEmpty())
            out.append({K::detail, tr(l, "Categories: ", "Kategoriler: ") + categories});
        for (DocumentDiff::Setting s : diff.settings)
            out.append({K::detail, settingChange(s, before, after, money)});
    }
    return out;
}

} // namespace BackupTexts
