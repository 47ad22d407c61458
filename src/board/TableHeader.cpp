#include "board/TableHeader.h"

#include "board/ProjectRow.h"
#include "board/SortHeaderButton.h"
#include "model/Store.h"
#include "ui/Theme.h"

#include <QPainter>
#include <QPainterPath>

TableHeader::TableHeader(Store& store, qreal radius, QWidget* parent)
    : QWidget(parent), m_store(store), m_radius(radius)
{
    setObjectName(QStringLiteral("tableHeader"));
    setFont(Theme::font(11, QFont::Bold, 0.6));
    setFixedHeight(kHeight);
    connect(&m_store.ui(), &UiState::sortFieldChanged, this, &TableHeader::syncMarks);
    connect(&m_store.ui(), &UiState::sortAscendingChanged, this, &TableHeader::syncMarks);
    connect(&m_store, &Store::languageChanged, this, &TableHeader::rebuild);
    rebuild();
}

SortHeaderButton* TableHeader::button(SortField field) const
{
    for (SortHeaderButton* b : m_buttons) {
        if (b->field() == field)
            return b;
    }
    return nullptr;
}

QString TableHeader::editTitle() const
{
    return m_store.tr(QStringLiteral("EDIT"), QStringLiteral("DÜZENLE"));
}

void TableHeader::rebuild()
{
    qDeleteAll(m_buttons);
    m_buttons.clear();
    const struct
    {
        QString en;
        QString tr;
        SortField field;
    } titles[] = {
        {QStringLiteral("Project Name"), QStringLiteral("Proje Adı"), SortField::name},
        {QStringLiteral("Client"), QStringLiteral("Müşteri"), SortField::client},
        {QStringLiteral("Category"), QStringLiteral("Kategori"), SortField::category},
        {QStringLiteral("Fee"), QStringLiteral("Ücret"), SortField::fee},
        {QStringLiteral("Status"), QStringLiteral("Durum"), SortField::status},
    };
    for (const auto& t : titles) {
        auto* b = new SortHeaderButton(m_store.tr(t.en, t.tr), t.field, m_store.language(), this);
        b->setObjectName(QStringLiteral("sort_") + QString::number(int(t.field)));
        const SortField field = t.field;
        connect(b, &QAbstractButton::clicked, this, [this, field] { m_store.ui().setSort(field); });
        b->show();
        m_buttons.append(b);
    }
    syncMarks();
    place();
    update();
}

void TableHeader::syncMarks()
{
    for (SortHeaderButton* b : std::as_const(m_buttons)) {
        using Mark = SortHeaderButton::Mark;
        b->setMark(b->field() != m_store.ui().sortField() ? Mark::unsorted
                   : m_store.ui().sortAscending()         ? Mark::ascending
                                                          : Mark::descending);
    }
}

void TableHeader::place()
{
    const ProjectRow::Cells cells = ProjectRow::cells(QRectF(rect()));
    for (SortHeaderButton* b : std::as_const(m_buttons)) {
        QRectF cell;
        switch (b->field()) {
        case SortField::name:
            cell = cells.name;
            break;
        case SortField::client:
            cell = cells.client;
            break;
        case SortField::category:
            cell = cells.category;
            break;
        case SortField::fee:
            cell = cells.fee;
            break;
        case SortField::status:
            cell = cells.status;
            break;
        }
        const QSize hint = b->sizeHint();
        const int w = std::min(hint.width(), int(cell.width()));
        int x = int(cell.left());
        if (b->field() == SortField::fee)
            x = int(cell.right()) - w;
        else if (b->field() == SortField::status)
            x = int(cell.center().x() - w / 2.0);
        b->setGeometry(x, (height() - hint.height()) / 2, w, hint.height());
    }
}

void TableHeader::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    place();
}

void TableHeader::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    // The top of the table's rounded frame: cream inside, the frame's outline over it.
    const QRectF frame(0, 0, width(), height() + 2 * m_radius);
    QPainterPath shape;
    shape.addRoundedRect(frame, m_radius, m_radius);
    p.fillPath(shape, Theme::cream());
    p.setPen(QPen(Theme::border(), 1));
    p.setBrush(Qt::NoBrush);
    p.drawRoundedRect(frame.adjusted(0.5, 0.5, -0.5, -0.5), m_radius - 0.5, m_radius - 0.5);

    const QRectF edit = ProjectRow::cells(QRectF(rect())).edit;
    p.setFont(font());
    p.setPen(Theme::secondary());
    p.drawText(edit.adjusted(-ProjectRow::kSpacing, 0, ProjectRow::kSpacing, 0), Qt::AlignCenter,
               editTitle());
}
