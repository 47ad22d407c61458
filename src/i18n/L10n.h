#pragma once

#include "model/StoreTypes.h"

#include <QString>

namespace L10n {
// The one selection rule for every text pair.
inline QString tr(AppLanguage language, const QString& en, const QString& tr)
{
    return language == AppLanguage::tr ? tr : en;
}

// Upper-casing for small section labels: Turkish rules in Turkish (i -> İ).
QString upper(AppLanguage language, const QString& text);
} // namespace L10n

// The display currency codes and their labels, in menu order.
namespace Currency {
struct Code
{
    QString code;
    QString label;
};
const QVector<Code>& all();
} // namespace Currency
