#pragma once

#include "model/StoreTypes.h"

#include <QString>

// The texts a directory card builds from its noun and its names, in either language.
namespace DirectoryText {
// "5 Clients", "1 Category", "3 Categories"; in Turkish the noun is never inflected ("12 Müşteri").
QString badge(AppLanguage language, qsizetype count, const QString& nounEn, const QString& nounTr);
// "Add Client" / "Müşteri Ekle".
QString addButton(AppLanguage language, const QString& nounEn, const QString& nounTr);
// "Edit Acme" / "Acme adını düzenle".
QString editLabel(AppLanguage language, const QString& name);
// "Remove Acme from the list" / "Acme listesinden kaldır".
QString removeLabel(AppLanguage language, const QString& name);
// The unit of a client's payment terms: "d" / "g" (days, gün).
QString daysUnit(AppLanguage language);
// The terms as the row shows them: "30 d" / "30 g".
QString termsChip(AppLanguage language, int days);
// "Payment terms of Acme" / "Acme için ödeme vadesi".
QString termsLabel(AppLanguage language, const QString& name);
} // namespace DirectoryText
