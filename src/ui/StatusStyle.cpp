#include "ui/StatusStyle.h"

#include "ui/Theme.h"

namespace StatusStyle {
namespace {
struct Look
{
    const char* upperEn;
    const char* upperTr;
    QColor dot;
    QColor strong;
    QColor text;
    QColor tint;
};

const Look& look(Status status)
{
    // The paid column's strong and text greens are the palette's own emeralds.
    static const Look paid{"PAID",
                           "ÖDENDİ",
                           Theme::statusDot(Status::paid),
                           Theme::emerald700(),
                           Theme::emerald800(),
                           Theme::hex(QStringLiteral("#D1FAE5"))};
    static const Look pending{"PENDING",
                              "ÖDENECEK",
                              Theme::statusDot(Status::pending),
                              Theme::hex(QStringLiteral("#0369A1")),
                              Theme::hex(QStringLiteral("#075985")),
                              Theme::hex(QStringLiteral("#E0F2FE"))};
    static const Look ongoing{"IN THE WORKS",
                              "DEVAM EDİYOR",
                              Theme::statusDot(Status::ongoing),
                              Theme::hex(QStringLiteral("#B45309")),
                              Theme::hex(QStringLiteral("#92400E")),
                              Theme::hex(QStringLiteral("#FEF3C7"))};
    switch (status) {
    case Status::paid:
        return paid;
    case Status::pending:
        return pending;
    case Status::ongoing:
        break;
    }
    return ongoing;
}
} // namespace

QString upperTitle(Status status, AppLanguage language)
{
    const Look& l = look(status);
    return QString::fromUtf8(language == AppLanguage::tr ? l.upperTr : l.upperEn);
}

QString title(Status status, AppLanguage language)
{
    return language == AppLanguage::tr ? StatusInfo::titleTr(status) : StatusInfo::titleEn(status);
}

QColor dot(Status status)
{
    return look(status).dot;
}

QColor strong(Status status)
{
    return look(status).strong;
}

QColor text(Status status)
{
    return look(status).text;
}

QColor tint(Status status)
{
    return look(status).tint;
}
} // namespace StatusStyle
