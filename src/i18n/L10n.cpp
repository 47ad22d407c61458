#include "i18n/L10n.h"

#include <QLocale>
#include <cmath>

namespace L10n {

QString upper(AppLanguage language, const QString& text)
{
    if (language != AppLanguage::tr)
        return text.toUpper();
    // Done by hand so the dotted capital does not depend on how Qt was built.
    QString t = text;
    t.replace(QChar(u'i'), QChar(u'\u0130'));
    return t.toUpper();
}

QString money(double amount, AppLanguage language, const QString& currency, double usdToTry)
{
    // Sums of absurd fees overflow; no figure is better than "inf" or "nan".
    if (!std::isfinite(amount))
        return kNoFigure;
    if (language == AppLanguage::tr) {
        double v = std::round(amount * usdToTry);
        if (!std::isfinite(v))
            return kNoFigure;
        if (v == 0)
            v = 0; // no "-0"
        // Built once: money() runs for every card and row that is painted.
        static const QLocale turkish(QLocale::Turkish, QLocale::Turkey);
        QString text = turkish.toString(v, 'f', 0);
        if (text.isEmpty())
            text = QString::number(v, 'f', 0);
        return text + QStringLiteral(" ₺");
    }
    // Past 1e15 two decimals are below a double's precision anyway.
    double v = std::abs(amount) < 1e15 ? std::round(amount * 100) / 100 : amount;
    if (v == 0)
        v = 0;
    return currency + QLocale().toString(v, 'f', QLocale::FloatingPointShortest);
}

QString percent(double fraction, AppLanguage language)
{
    if (!std::isfinite(fraction))
        return kNoFigure;
    double n = std::round(fraction * 100);
    if (n == 0)
        n = 0;
    const QString number = QString::number(n, 'f', 0);
    return language == AppLanguage::tr ? QStringLiteral("%") + number : number + QStringLiteral("%");
}

QLocale locale(AppLanguage language)
{
    return language == AppLanguage::tr ? QLocale(QLocale::Turkish, QLocale::Turkey)
                                       : QLocale(QLocale::English, QLocale::UnitedStates);
}

QString day(const QDate& date, AppLanguage language)
{
    return locale(language).toString(date, QStringLiteral("d MMM yyyy"));
}

std::optional<double> parseNumber(const QString& text)
{
    const QString trimmed = text.trimmed();
    bool ok = false;
    double value = QLocale().toDouble(trimmed, &ok);
    // "17.5" on a Turkish or German system, "17,5" on an English one, means the same number.
    if (!ok)
        value = QLocale::c().toDouble(QString(trimmed).replace(QLatin1Char(','), QLatin1Char('.')), &ok);
    if (!ok || !std::isfinite(value))
        return std::nullopt;
    return value;
}

QString tabTitle(MainTab tab, AppLanguage language)
{
    switch (tab) {
    case MainTab::board:
        return tr(language, QStringLiteral("Board"), QStringLiteral("Pano"));
    case MainTab::stats:
        return tr(language, QStringLiteral("Statistics"), QStringLiteral("İstatistikler"));
    case MainTab::settings:
        return tr(language, QStringLiteral("Settings"), QStringLiteral("Ayarlar"));
    }
    return {};
}

} // namespace L10n

namespace Currency {

const QVector<Code>& all()
{
    static const QVector<Code> codes{
        {QStringLiteral("$"), QStringLiteral("$ (USD)")},
        {QStringLiteral("CA$"), QStringLiteral("CA$ (CAD)")},
        {QStringLiteral("€"), QStringLiteral("€ (EUR)")},
        {QStringLiteral("£"), QStringLiteral("£ (GBP)")},
        {QStringLiteral("₺"), QStringLiteral("₺ (TRY)")},
        {QStringLiteral("¥"), QStringLiteral("¥ (JPY)")},
    };
    return codes;
}

} // namespace Currency
