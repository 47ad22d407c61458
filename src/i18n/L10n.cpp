#include "i18n/L10n.h"

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
