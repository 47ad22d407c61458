#include "board/TargetPopover.h"

#include "editor/AmountField.h"
#include "i18n/CurrencyRate.h"
#include "model/Amount.h"
#include "model/Store.h"
#include "ui/Eyebrow.h"
#include "ui/InvalidOutline.h"
#include "ui/Theme.h"

#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLineEdit>
#include <QLocale>
#include <QPainter>
#include <QPainterPath>
#include <QPushButton>
#include <QScreen>
#include <QVBoxLayout>
#include <cmath>

namespace {
QPainterPath outline(const QRectF& r)
{
    // A rounded card with a small arrow on its top edge, pointing up at the anchor.
    const QRectF body = r.adjusted(0, TargetPopover::kArrow, 0, 0);
    QPainterPath path;
    path.addRoundedRect(body, 10, 10);
    QPainterPath arrow;
    const qreal mid = r.center().x();
    arrow.moveTo(mid - TargetPopover::kArrow, body.top() + 1);
    arrow.lineTo(mid, r.top());
    arrow.lineTo(mid + TargetPopover::kArrow, body.top() + 1);
    arrow.closeSubpath();
    return path.united(arrow);
}
} // namespace

TargetPopover::TargetPopover(Store& store, QWidget* parent)
    : QWidget(parent, Qt::Popup | Qt::FramelessWindowHint), m_store(store)
{
    setObjectName(QStringLiteral("targetEditor"));
    setFixedWidth(kWidth);
    auto* stack = new QVBoxLayout(this);
    stack->setContentsMargins(16, 16 + kArrow, 16, 16);
    stack->setSpacing(12);

    m_title = new Eyebrow(QString(), Theme::muted(), &store, this);
    m_field = new QLineEdit(this);
    m_field->setObjectName(QStringLiteral("targetField"));
    // The same words in both languages.
    m_field->setAccessibleName(QStringLiteral("Annual target"));
    m_field->setFont(Theme::font(13, QFont::Normal));

    m_cancel = new QPushButton(this);
    m_cancel->setObjectName(QStringLiteral("targetCancel"));
    m_save = new QPushButton(this);
    m_save->setObjectName(QStringLiteral("targetSave"));
    m_save->setDefault(true);
    auto* buttons = new QHBoxLayout;
    buttons->setSpacing(8);
    buttons->addStretch(1);
    buttons->addWidget(m_cancel);
    buttons->addWidget(m_save);

    stack->addWidget(m_title);
    stack->addWidget(m_field);
    stack->addLayout(buttons);

    connect(m_field, &QLineEdit::textChanged, this, &TargetPopover::validate);
    connect(m_field, &QLineEdit::returnPressed, this, &TargetPopover::saveTarget);
    connect(m_save, &QPushButton::clicked, this, &TargetPopover::saveTarget);
    connect(m_cancel, &QPushButton::clicked, this, &QWidget::close);
    connect(&m_store, &Store::languageChanged, this, &TargetPopover::retranslate);
    retranslate();
}

QString TargetPopover::draftText(double target)
{
    QLocale locale;
    locale.setNumberOptions(locale.numberOptions() | QLocale::OmitGroupSeparator);
    // At most three fraction digits, trailing zeros dropped, as a plain decimal number does.
    const double rounded = std::abs(target) < 1e15 ? std::round(target * 1000) / 1000 : target;
    return locale.toString(rounded, 'f', QLocale::FloatingPointShortest);
}

void TargetPopover::open(QWidget* anchor)
{
    m_filledTarget.reset();
    m_filledText.clear();
    const double target = m_store.data().targetGoal;
    const double r = rate();
    m_filledTarget = target;
    m_filledText = r == 1.0 ? draftText(target) : AmountField::wholeText(target * r);
    m_field->setText(m_filledText);
    validate();
    adjustSize();
    if (anchor) {
        QPoint pos = anchor->mapToGlobal(QPoint(anchor->width() / 2 - kWidth / 2, anchor->height() + 2));
        if (const QScreen* screen = anchor->screen()) {
            const QRect area = screen->availableGeometry();
            pos.setX(std::clamp(pos.x(), area.left(), std::max(area.left(), area.right() - kWidth)));
        }
        move(pos);
    }
    show();
    m_field->setFocus(Qt::PopupFocusReason);
    m_field->selectAll();
}

bool TargetPopover::draftValid() const
{
    return Amount::fromField(m_field->text(), m_filledText, m_filledTarget, rate()).has_value();
}

void TargetPopover::validate()
{
    const bool valid = draftValid();
    setInvalid(m_field, !valid);
    m_save->setEnabled(valid);
}

double TargetPopover::rate() const
{
    return m_store.language() == AppLanguage::tr ? CurrencyRate::usdToTry() : 1.0;
}

void TargetPopover::saveTarget()
{
    const auto amount = Amount::fromField(m_field->text(), m_filledText, m_filledTarget, rate());
    if (!amount)
        return;
    m_store.setTargetGoal(*amount);
    close();
}

void TargetPopover::retranslate()
{
    auto tr = [this](const QString& en, const QString& trText) { return m_store.tr(en, trText); };
    m_title->setText(tr(QStringLiteral("Annual target"), QStringLiteral("Yıllık hedef")));
    m_field->setPlaceholderText(tr(QStringLiteral("Target"), QStringLiteral("Hedef")));
    m_cancel->setText(tr(QStringLiteral("Cancel"), QStringLiteral("İptal")));
    m_save->setText(tr(QStringLiteral("Save"), QStringLiteral("Kaydet")));
}

void TargetPopover::keyPressEvent(QKeyEvent* event)
{
    switch (event->key()) {
    case Qt::Key_Escape:
        close();
        return;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        // The field answers Return itself (and passes the key on): save only once.
        if (m_cancel->hasFocus())
            close();
        else if (!m_field->hasFocus())
            saveTarget();
        return;
    default:
        QWidget::keyPressEvent(event);
    }
}

void TargetPopover::hideEvent(QHideEvent* event)
{
    QWidget::hideEvent(event);
    emit closed();
}

void TargetPopover::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    // Without a compositor a popup cannot be see-through: the shape is cut out instead.
    setMask(outline(QRectF(rect())).toFillPolygon().toPolygon());
}

void TargetPopover::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    const QPainterPath path = outline(QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5));
    p.fillPath(path, Qt::white);
    p.setPen(QPen(Theme::border(), 1));
    p.drawPath(path);
}
