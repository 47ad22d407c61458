#include "editor/ProjectEditor.h"

#include "editor/AmountField.h"
#include "editor/ComboField.h"
#include "editor/FieldPlate.h"
#include "editor/StatusPicker.h"
#include "i18n/CurrencyRate.h"
#include "model/Amount.h"
#include "model/Store.h"
#include "ui/Eyebrow.h"
#include "ui/GlyphButton.h"
#include "ui/InkButton.h"
#include "ui/InvalidOutline.h"
#include "ui/OutlineButton.h"
#include "ui/TextLabel.h"
#include "ui/Theme.h"

#include <QDateEdit>
#include <QDialog>
#include <QGraphicsOpacityEffect>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QSignalBlocker>
#include <QVBoxLayout>

namespace {
constexpr int kPadding = 24;
constexpr int kSpacing = 16;
constexpr int kRowSpacing = 10;

// The title row with the close button, and the hairline a little below it.
class EditorHeader final : public QWidget
{
public:
    static constexpr int kBelow = 14; // room for the hairline under the row

    using QWidget::QWidget;

protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter p(this);
        // Ten pixels under the row's padded bottom edge (the row has 4 pixels of padding).
        p.fillRect(QRectF(0, height() - kBelow + 4 - 1 + 10, width(), 1), Theme::border());
    }
};

// The locale's short date with the whole year, so the day is never ambiguous.
QString dayFormat()
{
    QString format = QLocale().dateFormat(QLocale::ShortFormat);
    if (!format.contains(QLatin1String("yyyy")))
        format.replace(QLatin1String("yy"), QLatin1String("yyyy"));
    return format;
}

QLabel* hintLabel(const QString& text, int size, QWidget* parent)
{
    QLabel* label = TextLabel::make(Theme::font(size), Theme::muted(), parent);
    label->setText(text);
    return label;
}
} // namespace

QString ProjectEditor::title(const Store& store, const EditorTarget& target)
{
    return target.isNew() ? store.tr(QStringLiteral("New Project"), QStringLiteral("Yeni Proje"))
                          : store.tr(QStringLiteral("Edit Project"), QStringLiteral("Projeyi Düzenle"));
}

ProjectEditor::ProjectEditor(Store& store, const EditorTarget& target, QDialog* sheet, QWidget* parent)
    : QWidget(parent ? parent : sheet), m_store(store), m_target(target), m_sheet(sheet),
      m_id(QUuid::createUuid())
{
    setObjectName(QStringLiteral("projectEditor"));
    setFixedWidth(kWidth);
    setAutoFillBackground(true);
    QPalette pal = palette();
    pal.setColor(QPalette::Window, Qt::white);
    setPalette(pal);

    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(kPadding, kPadding, kPadding, kPadding);
    column->setSpacing(0);
    column->addWidget(buildHeader());
    column->addSpacing(kSpacing - 2);

    auto* namePlate = new FieldPlate(12, Theme::cream(), Theme::border(), this);
    m_name = FieldPlate::plainLineEdit(Theme::font(12, QFont::DemiBold), namePlate);
    m_name->setObjectName(QStringLiteral("nameField"));
    m_name->setPlaceholderText(m_store.tr(QStringLiteral("e.g. Brand Identity Overhaul"),
                                          QStringLiteral("örn. Marka Kimliği Yenileme")));
    auto* nameRow = new QHBoxLayout(namePlate);
    nameRow->setContentsMargins(14, 8, 14, 8);
    nameRow->addWidget(m_name);
    namePlate->setFocusProxy(m_name);
    const QString nameTitle = m_store.tr(QStringLiteral("Project Name"), QStringLiteral("Proje Adı"));
    m_name->setAccessibleName(nameTitle);
    column->addWidget(labelled(nameTitle, namePlate));
    column->addSpacing(kSpacing);

    const QString clientTitle = m_store.tr(QStringLiteral("Client"), QStringLiteral("Müşteri"));
    const QString categoryTitle = m_store.tr(QStringLiteral("Category"), QStringLiteral("Kategori"));
    m_client = new ComboField(clientTitle, this);
    m_client->setObjectName(QStringLiteral("clientField"));
    m_client->lineEdit()->setAccessibleName(clientTitle);
    m_category = new ComboField(categoryTitle, this);
    m_category->setObjectName(QStringLiteral("categoryField"));
    m_category->lineEdit()->setAccessibleName(categoryTitle);
    auto* people = new QHBoxLayout;
    people->setSpacing(kRowSpacing);
    people->addWidget(labelled(clientTitle, m_client), 1);
    people->addWidget(labelled(categoryTitle, m_category), 1);
    column->addLayout(people);
    column->addSpacing(kSpacing);

    m_fee = new AmountField({Theme::cream(), Theme::font(12, QFont::Bold), QMargins(14, 8, 14, 8)}, this);
    m_fee->setObjectName(QStringLiteral("feeField"));
    m_fee->setPlaceholder(m_store.tr(QStringLiteral("6000"), QStringLiteral("300000")));
    m_fee->lineEdit()->setAccessibleName(QStringLiteral("Fee"));
    m_status = new StatusPicker(m_store.language(), this);
    m_status->setObjectName(QStringLiteral("statusPicker"));
    // Side by side with the fee, the same height keeps both titles on one line.
    m_status->setFixedHeight(m_fee->sizeHint().height());
    auto* money = new QHBoxLayout;
    money->setSpacing(kRowSpacing);
    money->addWidget(labelled(m_store.tr(QStringLiteral("Fee"), QStringLiteral("Ücret")), m_fee), 1);
    money->addWidget(labelled(m_store.tr(QStringLiteral("Status"), QStringLiteral("Durum")), m_status), 1);
    column->addLayout(money);
    column->addSpacing(kSpacing);

    column->addWidget(labelled(m_store.tr(QStringLiteral("Date"), QStringLiteral("Tarih")), buildDateRow()));
    column->addSpacing(kSpacing);
    column->addWidget(buildPaymentDays());
    column->addWidget(buildOutsourceBox());
    column->addSpacing(kSpacing + 4);
    column->addWidget(buildButtons());

    setTabOrder(m_name, m_client->lineEdit());
    setTabOrder(m_client->lineEdit(), m_category->lineEdit());
    setTabOrder(m_category->lineEdit(), m_fee->lineEdit());
    setTabOrder(m_fee->lineEdit(), m_status);
    setTabOrder(m_status, m_date);
    setTabOrder(m_date, m_due);
    setTabOrder(m_due, m_paidOn);
    setTabOrder(m_paidOn, m_outsource->lineEdit());
    setTabOrder(m_outsource->lineEdit(), m_save);
    setTabOrder(m_save, m_cancel);
    if (m_delete)
        setTabOrder(m_cancel, m_delete);
    // The window's first focus goes to the name, whatever comes first in the chain.
    m_name->setFocus(Qt::OtherFocusReason);

    const auto changed = [this] { refresh(); };
    connect(m_name, &QLineEdit::textChanged, this, changed);
    connect(m_client, &ComboField::textChanged, this, changed);
    connect(m_category, &ComboField::textChanged, this, changed);
    connect(m_fee, &AmountField::textChanged, this, changed);
    connect(m_outsource, &AmountField::textChanged, this, changed);
    connect(m_date, &QDateEdit::dateChanged, this, changed);
    connect(m_status, &StatusPicker::statusChosen, this, [this] {
        fillPaymentDays();
        refresh();
    });
    // Terms are the client's: a due day the user has not set follows the client field.
    connect(m_client, &ComboField::textChanged, this, [this] {
        if (!m_dueEdited)
            fillPaymentDays();
    });
    connect(m_due, &QDateEdit::dateChanged, this, [this] {
        m_dueEdited = true;
        refresh();
    });
    connect(m_paidOn, &QDateEdit::dateChanged, this, [this] {
        m_paidOnEdited = true;
        refresh();
    });
    connect(&m_store, &Store::dataChanged, this, [this] {
        m_client->setOptions(m_store.data().clients);
        m_category->setOptions(m_store.data().categories);
    });
    m_client->setOptions(m_store.data().clients);
    m_category->setOptions(m_store.data().categories);
    setDay(QDateTime::currentDateTime());
    refresh();
}

QWidget* ProjectEditor::buildHeader()
{
    auto* header = new EditorHeader(this);
    auto* row = new QHBoxLayout(header);
    row->setContentsMargins(0, 0, 0, EditorHeader::kBelow);
    m_title = TextLabel::make(Theme::font(15, QFont::ExtraBold), Theme::ink(), header);
    m_title->setText(title(m_store, m_target));
    m_title->setObjectName(QStringLiteral("editorTitle"));
    m_close = new GlyphButton(
        {QStringLiteral("xmark"), Theme::muted(), 11, QFont::DemiBold, 28, Theme::cream(), QFont()}, header);
    m_close->setObjectName(QStringLiteral("closeButton"));
    m_close->setAccessibleName(QStringLiteral("Close"));
    m_close->setFocusPolicy(Qt::NoFocus);
    connect(m_close, &QAbstractButton::clicked, this, &ProjectEditor::cancel);
    row->addWidget(m_title);
    row->addStretch(1);
    row->addWidget(m_close);
    return header;
}

QWidget* ProjectEditor::labelled(const QString& title, QWidget* input)
{
    auto* box = new QWidget(this);
    auto* stack = new QVBoxLayout(box);
    stack->setContentsMargins(0, 0, 0, 0);
    stack->setSpacing(6);
    stack->addWidget(new Eyebrow(title, Theme::muted(), &m_store, box));
    input->setParent(box);
    stack->addWidget(input);
    return box;
}

namespace {
// A date field that Tab passes as one stop: stepping through its day, month and year sections
// would keep the focus there, and typing meant for the next field would change the date.
class DayField final : public QDateEdit
{
public:
    using QDateEdit::QDateEdit;

protected:
    bool focusNextPrevChild(bool next) override { return QAbstractSpinBox::focusNextPrevChild(next); }
};

// A day field on a cream plate, with a hint at its right end when one is given.
FieldPlate* dayPlate(QWidget* parent, QDateEdit*& field, const QString& name, const QString& accessible,
                     QLabel* hint = nullptr)
{
    auto* plate = new FieldPlate(12, Theme::cream(), Theme::border(), parent);
    auto* row = new QHBoxLayout(plate);
    row->setContentsMargins(10, 4, 10, 4);
    row->setSpacing(8);
    field = new DayField(plate);
    field->setObjectName(name);
    field->setCalendarPopup(true);
    field->setFrame(false);
    field->setFont(Theme::font(12, QFont::DemiBold));
    // Noon of any day in this range is a moment the data file can hold, in every time zone.
    field->setDateRange(QDate(100, 1, 1), QDate(9998, 12, 31));
    field->setDisplayFormat(dayFormat());
    field->setAccessibleName(accessible);
    field->setStyleSheet(QStringLiteral("QDateEdit { background: transparent; border: none; }"));
    row->addWidget(field);
    row->addStretch(1);
    if (hint) {
        hint->setParent(plate);
        row->addWidget(hint);
    }
    return plate;
}
} // namespace

QWidget* ProjectEditor::buildDateRow()
{
    m_yearHint = hintLabel(QString(), 11, this);
    m_yearHint->setObjectName(QStringLiteral("yearHint"));
    return dayPlate(this, m_date, QStringLiteral("dateField"), QStringLiteral("Date"), m_yearHint);
}

QWidget* ProjectEditor::buildPaymentDays()
{
    auto* box = new QWidget(this);
    auto* stack = new QVBoxLayout(box);
    stack->setContentsMargins(0, 0, 0, 0);
    stack->setSpacing(0);
    // The first day a field offers stands for "not set".
    const QString none = m_store.tr(QStringLiteral("None"), QStringLiteral("Yok"));

    const QString dueTitle = m_store.tr(QStringLiteral("Due"), QStringLiteral("Vade Tarihi"));
    m_dueHint = hintLabel(QString(), 11, this);
    m_dueHint->setObjectName(QStringLiteral("dueHint"));
    m_dueBox = labelled(dueTitle, dayPlate(this, m_due, QStringLiteral("dueField"), dueTitle, m_dueHint));
    const QString paidTitle = m_store.tr(QStringLiteral("Paid on"), QStringLiteral("Ödeme Tarihi"));
    m_paidOnBox = labelled(paidTitle, dayPlate(this, m_paidOn, QStringLiteral("paidOnField"), paidTitle));
    for (QDateEdit* field : {m_due, m_paidOn}) {
        field->setMinimumDate(noDay());
        field->setSpecialValueText(none);
    }
    for (QWidget* w : {m_dueBox, m_paidOnBox}) {
        w->layout()->setContentsMargins(0, 0, 0, kSpacing);
        stack->addWidget(w);
        w->hide();
    }
    return box;
}

QWidget* ProjectEditor::buildOutsourceBox()
{
    auto* box = new FieldPlate(16, Theme::cream(), Theme::border(), this);
    box->setObjectName(QStringLiteral("outsourceBox"));
    auto* stack = new QVBoxLayout(box);
    stack->setContentsMargins(12, 12, 12, 12);
    stack->setSpacing(6);
    auto* top = new QHBoxLayout;
    top->addWidget(
        new Eyebrow(m_store.tr(QStringLiteral("Outsource Expenses"), QStringLiteral("Dış Kaynak Masrafı")),
                    Theme::secondary(), &m_store, box));
    top->addStretch(1);
    top->addWidget(hintLabel(
        m_store.tr(QStringLiteral("Contractor cut"), QStringLiteral("Alt yüklenici payı")), 10, box));
    stack->addLayout(top);
    m_outsource = new AmountField({Qt::white, Theme::font(12, QFont::Medium), QMargins(14, 7, 14, 7)}, box);
    m_outsource->setObjectName(QStringLiteral("outsourceField"));
    m_outsource->setPlaceholder(QStringLiteral("0"));
    m_outsource->lineEdit()->setAccessibleName(QStringLiteral("Outsource expenses"));
    stack->addWidget(m_outsource);
    return box;
}

QWidget* ProjectEditor::buildButtons()
{
    auto* bar = new QWidget(this);
    auto* row = new QHBoxLayout(bar);
    row->setContentsMargins(0, 0, 0, 0);
    row->setSpacing(8);
    if (!m_target.isNew()) {
        m_delete = new GlyphButton({QStringLiteral("trash"), Theme::rose(), 12, QFont::DemiBold, 24, QColor(),
                                    Theme::font(12, QFont::DemiBold)},
                                   bar);
        m_delete->setObjectName(QStringLiteral("deleteButton"));
        m_delete->setText(m_store.tr(QStringLiteral("Delete"), QStringLiteral("Sil")));
        connect(m_delete, &QAbstractButton::clicked, this, &ProjectEditor::deleteProject);
        row->addWidget(m_delete);
    }
    row->addStretch(1);
    m_cancel =
        new OutlineButton(m_store.tr(QStringLiteral("Cancel"), QStringLiteral("İptal")), QString(), bar);
    m_cancel->setObjectName(QStringLiteral("cancelButton"));
    // Return always means Save, wherever the focus is.
    m_cancel->setAutoDefault(false);
    connect(m_cancel, &QAbstractButton::clicked, this, &ProjectEditor::cancel);
    m_save = new InkButton(m_store.tr(QStringLiteral("Save Project"), QStringLiteral("Projeyi Kaydet")),
                           QString(), bar);
    m_save->setObjectName(QStringLiteral("saveButton"));
    m_save->setDefault(true);
    m_saveOpacity = new QGraphicsOpacityEffect(m_save);
    m_save->setGraphicsEffect(m_saveOpacity);
    connect(m_save, &QAbstractButton::clicked, this, &ProjectEditor::save);
    row->addWidget(m_cancel);
    row->addWidget(m_save);
    return bar;
}

void ProjectEditor::showEvent(QShowEvent* event)
{
    load();
    QWidget::showEvent(event);
}

double ProjectEditor::rate() const
{
    return m_store.language() == AppLanguage::tr ? CurrencyRate::usdToTry() : 1.0;
}

void ProjectEditor::load()
{
    if (m_loaded)
        return;
    m_loaded = true;
    const AppData& doc = m_store.data();
    if (!m_target.isNew()) {
        const auto it = std::find_if(doc.projects.cbegin(), doc.projects.cend(),
                                     [this](const Project& p) { return p.id == m_target.id; });
        // A project deleted meanwhile leaves the fields empty; saving then adds a new one.
        if (it != doc.projects.cend()) {
            m_id = it->id;
            m_name->setText(it->name);
            m_client->setText(it->client);
            m_category->setText(it->category);
            m_status->setStatus(it->status);
            setDay(it->date);
            m_fee->fill(it->fee, rate());
            m_outsource->fill(it->outsource, rate(), it->outsource > 0);
            m_stored = true;
            m_storedStatus = it->status;
            m_storedPendingSince = it->pendingSince;
            m_storedDue = it->dueDate;
            m_storedPaidOn = it->paidOn;
        }
    } else {
        m_client->setText(doc.clients.value(0));
        m_category->setText(doc.categories.value(0));
        const QDateTime now = QDateTime::currentDateTime();
        if (now.date().year() != m_store.activeYear()) {
            const QDateTime midJune(QDate(m_store.activeYear(), 6, 15), QTime(12, 0));
            setDay(midJune.isValid() ? midJune : now);
        }
    }
    fillPaymentDays();
    refresh();
}

QDate ProjectEditor::pendingSince() const
{
    return m_storedPendingSince.isValid() ? m_storedPendingSince : m_store.today();
}

void ProjectEditor::fillPaymentDays()
{
    const Status status = m_status->status();
    m_dueBox->setVisible(status == Status::pending);
    m_paidOnBox->setVisible(status == Status::paid);
    const QDate today = m_store.today();
    m_paidOn->setMaximumDate(std::max(today, noDay().addDays(1)));
    // What a move would set; the days of the status the project already has are shown as stored.
    if (status == Status::pending && !m_dueEdited) {
        QDate due = m_storedDue;
        if (!due.isValid() && !(m_stored && m_storedStatus == Status::pending))
            due = pendingSince().addDays(m_store.paymentTerms(m_client->text().trimmed()));
        const QSignalBlocker quiet(m_due);
        m_due->setDate(due.isValid() ? due : noDay());
    }
    if (status == Status::paid && !m_paidOnEdited) {
        const QDate paid = m_stored && m_storedStatus == Status::paid ? m_storedPaidOn : today;
        const QSignalBlocker quiet(m_paidOn);
        m_paidOn->setDate(paid.isValid() ? paid : noDay());
    }
}

bool ProjectEditor::dueValid() const
{
    if (m_status->status() != Status::pending || m_due->date() == noDay())
        return true;
    return m_due->date() >= pendingSince();
}

void ProjectEditor::setDay(const QDateTime& moment)
{
    const QDate day = moment.toLocalTime().date();
    if (day.isValid())
        m_date->setDate(day);
}

bool ProjectEditor::outsourceValid() const
{
    return m_outsource->isBlank() || m_outsource->isReadable(rate());
}

bool ProjectEditor::canSave() const
{
    return !m_name->text().trimmed().isEmpty() && !m_client->text().trimmed().isEmpty() &&
           !m_category->text().trimmed().isEmpty() && m_fee->isReadable(rate()) && outsourceValid() &&
           dueValid();
}

qreal ProjectEditor::saveOpacity() const
{
    return m_saveOpacity->opacity();
}

void ProjectEditor::refresh()
{
    setInvalid(m_fee, !m_fee->isBlank() && !m_fee->isReadable(rate()));
    setInvalid(m_outsource, !outsourceValid());
    const bool dueOk = dueValid();
    setInvalid(m_due->parentWidget(), !dueOk);
    const QString since = QLocale().toString(pendingSince(), dayFormat());
    m_dueHint->setText(
        dueOk
            ? m_store.tr(QStringLiteral("Pending since %1"), QStringLiteral("%1 tarihinden beri")).arg(since)
            : m_store.tr(QStringLiteral("Not before %1"), QStringLiteral("%1 tarihinden önce olamaz"))
                  .arg(since));
    m_fee->lineEdit()->setAccessibleDescription(m_fee->accessibleDescription());
    m_outsource->lineEdit()->setAccessibleDescription(m_outsource->accessibleDescription());

    const bool ready = canSave();
    m_save->setEnabled(ready);
    m_saveOpacity->setOpacity(ready ? 1.0 : 0.5);

    const int year = m_date->date().year();
    m_yearHint->setText(m_store.tr(QStringLiteral("Counts toward %1"), QStringLiteral("%1 yılına dahil"))
                            .arg(QString::number(year)));
}

void ProjectEditor::save()
{
    if (!canSave())
        return;
    const double r = rate();
    // Starting from the stored project keeps what the editor does not show.
    const AppData& doc = m_store.data();
    const auto stored = std::find_if(doc.projects.cbegin(), doc.projects.cend(),
                                     [this](const Project& p) { return p.id == m_id; });
    Project p = stored != doc.projects.cend() ? *stored : Project();
    p.id = m_id;
    p.name = m_name->text().trimmed();
    p.client = m_client->text().trimmed();
    p.category = m_category->text().trimmed();
    p.fee = m_fee->amount(r).value_or(0);
    p.outsource = m_outsource->amount(r).value_or(0);
    p.status = m_status->status();
    // A day the user set is kept as given; the others follow the move of status.
    const auto day = [](const QDateEdit* field) {
        return field->date() == noDay() ? QDate() : field->date();
    };
    if (p.status == Status::pending && m_dueEdited)
        p.dueDate = day(m_due);
    if (p.status == Status::paid && m_paidOnEdited)
        p.paidOn = day(m_paidOn);
    p.date = atNoon(QDateTime(m_date->date(), QTime(12, 0)));
    m_store.save(p);
    dismiss(true);
}

void ProjectEditor::deleteProject()
{
    m_store.deleteProject(m_id);
    dismiss(true);
}

void ProjectEditor::cancel()
{
    dismiss(false);
}

void ProjectEditor::dismiss(bool accepted)
{
    if (m_sheet) {
        if (accepted)
            m_sheet->accept();
        else
            m_sheet->reject();
    } else {
        m_store.ui().setEditor(std::nullopt);
    }
}
