#include "settings/DirectoryText.h"

#include "i18n/L10n.h"

namespace DirectoryText {

QString badge(AppLanguage language, qsizetype count, const QString& nounEn, const QString& nounTr)
{
    const QString number = QString::number(count) + QLatin1Char(' ');
    if (language == AppLanguage::tr)
        return number + nounTr;
    if (count == 1)
        return number + nounEn;
    if (nounEn == QLatin1String("Category"))
        return number + QStringLiteral("Categories");
    return number + nounEn + QLatin1Char('s');
}

QString addButton(AppLanguage language, const QString& nounEn, const QString& nounTr)
{
    return L10n::tr(language, QStringLiteral("Add ") + nounEn, nounTr + QStringLiteral(" Ekle"));
}

QString editLabel(AppLanguage language, const QString& name)
{
    return L10n::tr(language, QStringLiteral("Edit ") + name, name + QStringLiteral(" adını düzenle"));
}

QString removeLabel(AppLanguage language, const QString& name)
{
    return L10n::tr(language, QStringLiteral("Remove ") + name + QStringLiteral(" from the list"),
                    name + QStringLiteral(" listesinden kaldır"));
}

QString daysUnit(AppLanguage language)
{
    return L10n::tr(language, QStringLiteral("d"), QStringLiteral("g"));
}

QString termsChip(AppLanguage language, int days)
{
    return QString::number(days) + QLatin1Char(' ') + daysUnit(language);
}

QString termsLabel(AppLanguage language, const QString& name)
{
    return L10n::tr(language, QStringLiteral("Payment terms of ") + name,
                    name + QStringLiteral(" için ödeme vadesi"));
}

} // namespace DirectoryText
