#include "app/ImportSheet.h"

#include "i18n/L10n.h"
#include "model/Store.h"
#include "model/Text.h"
#include "settings/PopUpButton.h"
#include "ui/InkButton.h"
#include "ui/OutlineButton.h"
#include "ui/Theme.h"

#include <QAbstractTableModel>
#include <QGridLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QListWidget>
#include <QSignalBlocker>
#include <QTableView>
#include <QVBoxLayout>
#include <algorithm>

using namespace CsvImport;

namespace {
constexpr int kRolePickersPerLine = 5;
constexpr int kLineColumn = 0;
constexpr int kStateColumn = 1;
constexpr int kFirstFileColumn = 2;

QString count(const Store& store, qsizetype n)
{
    return L10n::locale(store.language()).toString(qint64(n));
}

QLabel* smallLabel(QWidget* parent)
{
    auto* label = new QLabel(parent);
    label->setFont(Theme::font(11, QFont::DemiBold));
    label->setStyleSheet(QStringLiteral("color: %1;").arg(Theme::muted().name()));
    return label;
}

// The picker's entry holding `value`; -1 when none does.
int entryOf(const QComboBox* picker, const QVariant& value)
{
    return picker->findData(value);
}
} // namespace

// The file's records as rows: a check box with the line number, what becomes of the row, then the
// file's cells under their header and role. Reads the sheet's preview; never copies it.
class ImportTableModel final : public QAbstractTableModel
{
public:
    ImportTableModel(Store& store, ImportSheet& sheet)
        : QAbstractTableModel(&sheet), m_store(store), m_sheet(sheet)
    {}

    void reset()
    {
        beginResetModel();
        const Preview& p = m_sheet.preview();
        m_rowOf.clear();
        m_problemOf.clear();
        m_rowOf.reserve(p.rows.size());
        for (int i = 0; i < p.rows.size(); ++i)
            m_rowOf.insert(p.rows.at(i).line, i);
        for (int i = 0; i < p.problems.size(); ++i)
            m_problemOf.insert(p.problems.at(i).line, i);
        endResetModel();
    }

    int rowCount(const QModelIndex& parent = {}) const override
    {
        return parent.isValid() ? 0 : int(m_sheet.preview().records.size());
    }
    int columnCount(const QModelIndex& parent = {}) const override
    {
        return parent.isValid() ? 0 : kFirstFileColumn + int(m_sheet.preview().header.size());
    }

    Qt::ItemFlags flags(const QModelIndex& index) const override
    {
        Qt::ItemFlags f = Qt::ItemIsEnabled | Qt::ItemIsSelectable;
        if (index.column() == kLineColumn && row(index.row()))
            f |= Qt::ItemIsUserCheckable;
        return f;
    }

    QVariant data(const QModelIndex& index, int role) const override
    {
        const Preview& p = m_sheet.preview();
        if (!index.isValid() || index.row() >= p.records.size())
            return {};
        const int line = p.recordLines.at(index.row());
        const Row* r = row(index.row());
        const RowProblem* problem = problemAt(line);
        const int column = index.column();
        if (column == kLineColumn) {
            if (role == Qt::DisplayRole)
                return line;
            if (role == Qt::CheckStateRole && r)
                return m_sheet.isTicked(*r) ? Qt::Checked : Qt::Unchecked;
            if (role == Qt::ForegroundRole)
                return Theme::muted();
            return {};
        }
        if (column == kStateColumn) {
            if (role == Qt::DisplayRole) {
                if (problem)
                    return m_store.tr(QStringLiteral("Cannot import"), QStringLiteral("Aktarılamaz"));
                if (r && r->duplicate)
                    return m_store.tr(QStringLiteral("Duplicate"), QStringLiteral("Zaten var"));
                return {};
            }
            if (role == Qt::ToolTipRole && problem)
                return problemText(*problem, m_store);
            if (role == Qt::ForegroundRole)
                return problem ? Theme::rose() : Theme::muted();
            return {};
        }
        const int cell = column - kFirstFileColumn;
        if (role == Qt::DisplayRole || role == Qt::ToolTipRole) {
            const QStringList& cells = p.records.at(index.row());
            return cell < cells.size() ? cells.at(cell) : QString();
        }
        if (role == Qt::ForegroundRole) {
            const Role columnRole = cell < p.roles.size() ? p.roles.at(cell) : Role::ignore;
            if (problem && problem->column == columnRole && columnRole != Role::ignore)
                return Theme::rose();
            if (columnRole == Role::ignore)
                return Theme::faint();
            return Theme::ink();
        }
        return {};
    }

    bool setData(const QModelIndex& index, const QVariant& value, int role) override
    {
        const Row* r = index.column() == kLineColumn ? row(index.row()) : nullptr;
        if (role != Qt::CheckStateRole || !r)
            return false;
        m_sheet.setTicked(r->line, value.toInt() == Qt::Checked);
        return true;
    }

    QVariant headerData(int section, Qt::Orientation orientation, int role) const override
    {
        if (orientation != Qt::Horizontal)
            return {};
        const Preview& p = m_sheet.preview();
        if (role == Qt::DisplayRole) {
            if (section == kLineColumn)
                return m_store.tr(QStringLiteral("Line"), QStringLiteral("Satır"));
            if (section == kStateColumn)
                return QString();
            const int cell = section - kFirstFileColumn;
            const Role r = cell < p.roles.size() ? p.roles.at(cell) : Role::ignore;
            return p.header.value(cell) + u'\n' +
                   (r == Role::ignore ? QStringLiteral("—") : QStringLiteral("→ ") + roleName(r, m_store));
        }
        return {};
    }

    // Tells the view that the line's check box changed.
    void tickChanged(int line)
    {
        const int at = int(m_sheet.preview().recordLines.indexOf(line));
        if (at >= 0)
            emit dataChanged(index(at, kLineColumn), index(at, kLineColumn), {Qt::CheckStateRole});
    }

    // The importable row behind a table row.
    const Row* row(int record) const
    {
        const Preview& p = m_sheet.preview();
        const auto it = m_rowOf.constFind(p.recordLines.at(record));
        return it == m_rowOf.constEnd() ? nullptr : &p.rows.at(*it);
    }

private:
    const RowProblem* problemAt(int line) const
    {
        const auto it = m_problemOf.constFind(line);
        return it == m_problemOf.constEnd() ? nullptr : &m_sheet.preview().problems.at(*it);
    }

    Store& m_store;
    ImportSheet& m_sheet;
    QHash<int, int> m_rowOf;
    QHash<int, int> m_problemOf;
};

ImportSheet::ImportSheet(Store& store, const QByteArray& bytes, const QString& fileName, QWidget* parent)
    : QDialog(parent), m_store(store), m_bytes(bytes), m_fileName(fileName)
{
    setObjectName(QStringLiteral("importSheet"));
    setAutoFillBackground(true);
    QPalette palette = this->palette();
    palette.setColor(QPalette::Window, Theme::cream());
    setPalette(palette);
    setMinimumSize(640, 480);
    resize(940, 640);

    m_preview = CsvImport::preview(m_bytes, m_store.data());
    // What the user chose for this header line last time, re-applied to this file.
    if (m_preview.refusal == Preview::Refusal::none) {
        m_options = remembered(m_preview.header);
        if (m_options.roles || m_options.dateFormat || m_options.decimalSeparator ||
            !m_options.statuses.isEmpty())
            m_preview = CsvImport::preview(m_bytes, m_store.data(), m_options);
    }
    build();
    connect(&m_store, &Store::languageChanged, this, &ImportSheet::refresh);
    refresh();
}

QString ImportSheet::title(const Store& store)
{
    return store.tr(QStringLiteral("Import CSV"), QStringLiteral("CSV İçe Aktar"));
}

void ImportSheet::build()
{
    m_title = new QLabel(this);
    m_title->setFont(Theme::font(18, QFont::Bold));
    m_title->setStyleSheet(QStringLiteral("color: %1;").arg(Theme::ink().name()));
    m_subtitle = new QLabel(this);
    m_subtitle->setFont(Theme::font(12));
    m_subtitle->setStyleSheet(QStringLiteral("color: %1;").arg(Theme::muted().name()));

    const auto picker = [this](const QString& name, QLabel*& label) {
        auto* box = new PopUpButton(this);
        box->setObjectName(name);
        box->setMinimumWidth(170);
        label = smallLabel(this);
        label->setBuddy(box);
        return box;
    };
    m_encoding = picker(QStringLiteral("importEncoding"), m_encodingLabel);
    m_delimiter = picker(QStringLiteral("importDelimiter"), m_delimiterLabel);
    m_dateFormat = picker(QStringLiteral("importDateFormat"), m_dateLabel);
    m_decimal = picker(QStringLiteral("importDecimal"), m_decimalLabel);
    for (Encoding e :
         {Encoding::utf8, Encoding::utf8Bom, Encoding::utf16Le, Encoding::utf16Be, Encoding::windows1254})
        m_encoding->addItem(encodingName(e), int(e));

    // A change of the encoding or the delimiter makes other columns: their roles are guessed again.
    connect(m_encoding, &QComboBox::activated, this, [this] {
        m_options.encoding = Encoding(m_encoding->currentData().toInt());
        m_options.roles.reset();
        reread();
    });
    connect(m_delimiter, &QComboBox::activated, this, [this] {
        m_options.delimiter = m_delimiter->currentData().toChar();
        m_options.roles.reset();
        reread();
    });
    connect(m_dateFormat, &QComboBox::activated, this, [this] {
        const int format = m_dateFormat->currentData().toInt();
        if (format < 0)
            return;
        m_options.dateFormat = DateFormat(format);
        reread();
    });
    connect(m_decimal, &QComboBox::activated, this, [this] {
        const QVariant separator = m_decimal->currentData();
        if (!separator.isValid())
            return;
        m_options.decimalSeparator = separator.toChar();
        reread();
    });

    auto* pickers = new QHBoxLayout;
    pickers->setSpacing(14);
    for (auto [label, box] :
         {std::pair{m_encodingLabel, m_encoding}, std::pair{m_delimiterLabel, m_delimiter},
          std::pair{m_dateLabel, m_dateFormat}, std::pair{m_decimalLabel, m_decimal}}) {
        auto* column = new QVBoxLayout;
        column->setSpacing(4);
        column->addWidget(label);
        column->addWidget(box);
        pickers->addLayout(column);
    }
    pickers->addStretch(1);

    m_columnsLabel = smallLabel(this);
    m_columnsBox = new QWidget(this);
    m_columnsGrid = new QGridLayout(m_columnsBox);
    m_columnsGrid->setContentsMargins(0, 0, 0, 0);
    m_columnsGrid->setHorizontalSpacing(14);
    m_columnsGrid->setVerticalSpacing(4);

    m_statusesLabel = smallLabel(this);
    m_statusesBox = new QWidget(this);
    m_statusesGrid = new QGridLayout(m_statusesBox);
    m_statusesGrid->setContentsMargins(0, 0, 0, 0);
    m_statusesGrid->setHorizontalSpacing(14);
    m_statusesGrid->setVerticalSpacing(6);

    m_model = new ImportTableModel(m_store, *this);
    m_table = new QTableView(this);
    m_table->setObjectName(QStringLiteral("importTable"));
    m_table->setModel(m_model);
    m_table->setFont(Theme::font(12));
    m_table->setWordWrap(false);
    m_table->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_table->setSelectionMode(QAbstractItemView::SingleSelection);
    m_table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_table->verticalHeader()->hide();
    // Fixed row heights: a file of 10,000 rows opens as fast as one of ten.
    m_table->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    m_table->verticalHeader()->setDefaultSectionSize(QFontMetrics(m_table->font()).height() + 10);
    m_table->horizontalHeader()->setResizeContentsPrecision(100);
    m_table->horizontalHeader()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    m_table->horizontalHeader()->setHighlightSections(false);
    m_table->horizontalHeader()->setStretchLastSection(true);
    m_table->setShowGrid(false);
    m_table->setAlternatingRowColors(true);
    m_table->setStyleSheet(
        QStringLiteral("QTableView { background: white; alternate-background-color: %2; border: 1px solid %1;"
                       " border-radius: 10px; selection-background-color: %3; selection-color: %4; }"
                       "QHeaderView { background: transparent; }"
                       "QHeaderView::section { background: white; color: %5; border: none;"
                       " border-bottom: 1px solid %1; padding: 4px 8px; }")
            .arg(Theme::border().name(), Theme::divider().name(), Theme::segment().name(),
                 Theme::ink().name(), Theme::secondary().name()));
    // Space ticks and unticks the current row whichever cell has the focus, as a click on its box does.
    m_table->installEventFilter(this);

    m_problemsLabel = smallLabel(this);
    m_problemsLabel->setStyleSheet(QStringLiteral("color: %1;").arg(Theme::rose().name()));
    m_problems = new QListWidget(this);
    m_problems->setObjectName(QStringLiteral("importProblems"));
    m_problems->setUniformItemSizes(true);
    m_problems->setFont(Theme::font(12));
    // Three lines: the table keeps the room, the list scrolls.
    m_problems->setMaximumHeight(QFontMetrics(m_problems->font()).height() * 3 + 16);
    m_problems->setStyleSheet(
        QStringLiteral(
            "QListWidget { background: white; border: 1px solid %1; border-radius: 10px; color: %2; }")
            .arg(Theme::border().name(), Theme::ink().name()));
    m_problemsLabel->setBuddy(m_problems);

    m_notice = new QLabel(this);
    m_notice->setObjectName(QStringLiteral("importNotice"));
    m_notice->setWordWrap(true);
    m_notice->setFont(Theme::font(12, QFont::Medium));

    m_cancel = new OutlineButton(QString(), QString(), this);
    m_cancel->setObjectName(QStringLiteral("importCancel"));
    m_cancel->setAutoDefault(false);
    connect(m_cancel, &QPushButton::clicked, this, &QDialog::reject);
    m_import = new InkButton(QString(), QString(), this);
    m_import->setObjectName(QStringLiteral("importButton"));
    m_import->setAutoDefault(false);
    connect(m_import, &QPushButton::clicked, this, &ImportSheet::runImport);

    auto* stack = new QVBoxLayout(this);
    stack->setContentsMargins(28, 22, 28, 22);
    stack->setSpacing(8);
    stack->addWidget(m_title);
    stack->addWidget(m_subtitle);
    stack->addSpacing(6);
    stack->addLayout(pickers);
    stack->addSpacing(6);
    stack->addWidget(m_columnsLabel);
    stack->addWidget(m_columnsBox);
    stack->addSpacing(4);
    stack->addWidget(m_statusesLabel);
    stack->addWidget(m_statusesBox);
    stack->addSpacing(4);
    stack->addWidget(m_table, 1);
    stack->addWidget(m_problemsLabel);
    stack->addWidget(m_problems);
    auto* bottom = new QHBoxLayout;
    bottom->setSpacing(10);
    bottom->addWidget(m_notice, 1);
    bottom->addWidget(m_cancel);
    bottom->addWidget(m_import);
    stack->addSpacing(6);
    stack->addLayout(bottom);
}

bool ImportSheet::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_table && event->type() == QEvent::KeyPress &&
        static_cast<QKeyEvent*>(event)->key() == Qt::Key_Space && m_table->currentIndex().isValid()) {
        if (const Row* r = m_model->row(m_table->currentIndex().row()))
            setTicked(r->line, !isTicked(*r));
        return true;
    }
    return QDialog::eventFilter(watched, event);
}

void ImportSheet::rebuildColumns()
{
    qDeleteAll(m_roleLabels);
    qDeleteAll(m_roles);
    m_roleLabels.clear();
    m_roles.clear();
    m_shownHeader = m_preview.header;
    for (int i = 0; i < m_preview.header.size(); ++i) {
        auto* label = smallLabel(m_columnsBox);
        const QString name = Text::shown(m_preview.header.at(i));
        label->setText(label->fontMetrics().elidedText(
            name.isEmpty() ? QStringLiteral("#%1").arg(i + 1) : name, Qt::ElideRight, 170));
        label->setToolTip(name);
        auto* box = new PopUpButton(m_columnsBox);
        box->setObjectName(QStringLiteral("importRole%1").arg(i));
        box->setMinimumWidth(150);
        label->setBuddy(box);
        for (int r = 0; r <= int(Role::paidOn); ++r)
            box->addItem(roleName(Role(r), m_store), r);
        connect(box, &QComboBox::activated, this, [this, i, box] {
            QVector<Role> roles = m_preview.roles;
            if (i >= roles.size())
                return;
            const Role chosen = Role(box->currentData().toInt());
            // A role belongs to one column: the column that had it lets it go.
            if (chosen != Role::ignore)
                std::replace(roles.begin(), roles.end(), chosen, Role::ignore);
            roles[i] = chosen;
            m_options.roles = roles;
            reread();
        });
        const int at = i % kRolePickersPerLine;
        const int line = i / kRolePickersPerLine;
        m_columnsGrid->addWidget(label, line * 2, at);
        m_columnsGrid->addWidget(box, line * 2 + 1, at);
        m_roleLabels.append(label);
        m_roles.append(box);
    }
    m_columnsGrid->setColumnStretch(kRolePickersPerLine, 1);
}

void ImportSheet::rebuildStatuses()
{
    while (QLayoutItem* item = m_statusesGrid->takeAt(0)) {
        delete item->widget();
        delete item;
    }
    m_statuses.clear();
    m_statusLabels.clear();
    m_shownStatuses.clear();
    for (const UnknownStatus& unknown : std::as_const(m_preview.mappableStatuses)) {
        m_shownStatuses.append(statusKey(unknown.text));
        auto* label = new QLabel(m_statusesBox);
        label->setFont(Theme::font(12, QFont::Medium));
        label->setStyleSheet(QStringLiteral("color: %1;").arg(Theme::ink().name()));
        auto* box = new PopUpButton(m_statusesBox);
        box->setObjectName(QStringLiteral("importStatus%1").arg(m_statuses.size()));
        box->setMinimumWidth(170);
        label->setBuddy(box);
        const QString text = unknown.text;
        connect(box, &QComboBox::activated, this, [this, box, text] {
            const QVariant status = box->currentData();
            if (!status.isValid())
                return;
            m_options.statuses.insert(statusKey(text), Status(status.toInt()));
            reread();
        });
        const int line = int(m_statuses.size());
        m_statusesGrid->addWidget(label, line, 0);
        m_statusesGrid->addWidget(box, line, 1);
        m_statuses.append(box);
        m_statusLabels.append(label);
    }
    m_statusesGrid->setColumnStretch(2, 1);
}

void ImportSheet::reread()
{
    m_preview = CsvImport::preview(m_bytes, m_store.data(), m_options);
    refresh();
}

void ImportSheet::refresh()
{
    if (m_shownHeader != m_preview.header || m_roles.size() != m_preview.header.size())
        rebuildColumns();
    QStringList statuses;
    for (const UnknownStatus& status : std::as_const(m_preview.mappableStatuses))
        statuses.append(statusKey(status.text));
    if (statuses != m_shownStatuses)
        rebuildStatuses();
    retranslate();
    m_model->reset();
    m_table->resizeColumnsToContents();
    for (int c = kFirstFileColumn; c < m_model->columnCount(); ++c)
        m_table->setColumnWidth(c, std::clamp(m_table->columnWidth(c), 90, 260));
}

void ImportSheet::retranslate()
{
    const auto tr = [this](const QString& en, const QString& turkish) { return m_store.tr(en, turkish); };
    const QString heading = title(m_store);
    setWindowTitle(heading);
    m_title->setText(heading);
    const qsizetype records = m_preview.records.size();
    m_subtitle->setText(
        m_fileName + QStringLiteral(" · ") +
        (records == 1
             ? tr(QStringLiteral("1 row"), QStringLiteral("1 satır"))
             : tr(QStringLiteral("%1 rows"), QStringLiteral("%1 satır")).arg(count(m_store, records))));
    m_encodingLabel->setText(tr(QStringLiteral("Encoding"), QStringLiteral("Kodlama")));
    m_delimiterLabel->setText(tr(QStringLiteral("Delimiter"), QStringLiteral("Ayırıcı")));
    m_dateLabel->setText(tr(QStringLiteral("Dates"), QStringLiteral("Tarihler")));
    m_decimalLabel->setText(tr(QStringLiteral("Amounts"), QStringLiteral("Tutarlar")));
    m_columnsLabel->setText(tr(QStringLiteral("Columns"), QStringLiteral("Sütunlar")));
    m_statusesLabel->setText(tr(QStringLiteral("Statuses to map"), QStringLiteral("Eşlenecek durumlar")));
    m_cancel->setText(tr(QStringLiteral("Cancel"), QStringLiteral("Vazgeç")));
    const QString choose = tr(QStringLiteral("Choose…"), QStringLiteral("Seçin…"));

    {
        const QSignalBlocker blocker(m_encoding);
        m_encoding->setCurrentIndex(entryOf(m_encoding, int(m_preview.encoding)));
    }
    {
        const QSignalBlocker blocker(m_delimiter);
        m_delimiter->clear();
        m_delimiter->addItem(tr(QStringLiteral("Comma ( , )"), QStringLiteral("Virgül ( , )")), QChar(u','));
        m_delimiter->addItem(tr(QStringLiteral("Semicolon ( ; )"), QStringLiteral("Noktalı virgül ( ; )")),
                             QChar(u';'));
        m_delimiter->addItem(tr(QStringLiteral("Tab"), QStringLiteral("Sekme")), QChar(u'\t'));
        m_delimiter->setCurrentIndex(entryOf(m_delimiter, m_preview.delimiter));
    }
    {
        const QSignalBlocker blocker(m_dateFormat);
        m_dateFormat->clear();
        if (!m_preview.dateFormat)
            m_dateFormat->addItem(choose, -1);
        for (DateFormat f : {DateFormat::iso, DateFormat::dayMonthYearDots, DateFormat::dayMonthYearSlashes,
                             DateFormat::monthDayYearSlashes})
            m_dateFormat->addItem(dateFormatName(f), int(f));
        m_dateFormat->setCurrentIndex(m_preview.dateFormat ? entryOf(m_dateFormat, int(*m_preview.dateFormat))
                                                           : 0);
    }
    {
        const QSignalBlocker blocker(m_decimal);
        m_decimal->clear();
        if (!m_preview.decimalSeparator)
            m_decimal->addItem(choose);
        m_decimal->addItem(QStringLiteral("1,234.56"), QChar(u'.'));
        m_decimal->addItem(QStringLiteral("1.234,56"), QChar(u','));
        m_decimal->setCurrentIndex(
            m_preview.decimalSeparator ? entryOf(m_decimal, *m_preview.decimalSeparator) : 0);
    }
    for (int i = 0; i < m_roles.size(); ++i) {
        PopUpButton* box = m_roles.at(i);
        const QSignalBlocker blocker(box);
        for (int r = 0; r < box->count(); ++r)
            box->setItemText(r, roleName(Role(r), m_store));
        box->setCurrentIndex(int(m_preview.roles.value(i, Role::ignore)));
        box->setAccessibleName(
            tr(QStringLiteral("Role of column “%1”"), QStringLiteral("“%1” sütununun rolü"))
                .arg(Text::shown(m_preview.header.value(i))));
    }

    for (int i = 0; i < m_statuses.size(); ++i) {
        const UnknownStatus& unknown = m_preview.mappableStatuses.at(i);
        QLabel* label = m_statusLabels.at(i);
        const QString rows =
            unknown.rows == 1
                ? tr(QStringLiteral("1 row"), QStringLiteral("1 satır"))
                : tr(QStringLiteral("%1 rows"), QStringLiteral("%1 satır")).arg(count(m_store, unknown.rows));
        const QString what = unknown.text.isEmpty() ? tr(QStringLiteral("Rows without a status"),
                                                         QStringLiteral("Durumu olmayan satırlar"))
                                                    : u'“' + Text::shown(unknown.text) + u'”';
        label->setText(what + QStringLiteral(" · ") + rows);
        PopUpButton* box = m_statuses.at(i);
        const QSignalBlocker blocker(box);
        box->clear();
        box->addItem(choose);
        for (Status s : StatusInfo::all)
            box->addItem(tr(StatusInfo::titleEn(s), StatusInfo::titleTr(s)), int(s));
        const auto mapped = m_options.statuses.constFind(statusKey(unknown.text));
        box->setCurrentIndex(mapped == m_options.statuses.constEnd() ? 0 : entryOf(box, int(*mapped)));
        box->setAccessibleName(what);
    }
    m_statusesLabel->setVisible(!m_statuses.isEmpty());
    m_statusesBox->setVisible(!m_statuses.isEmpty());

    m_problems->clear();
    QStringList problems;
    problems.reserve(m_preview.problems.size());
    for (const RowProblem& problem : std::as_const(m_preview.problems))
        problems.append(problemText(problem, m_store));
    m_problems->addItems(problems);
    const qsizetype bad = m_preview.problems.size();
    m_problemsLabel->setText(
        bad == 1
            ? tr(QStringLiteral("1 row cannot be imported"), QStringLiteral("1 satır içe aktarılamaz"))
            : tr(QStringLiteral("%1 rows cannot be imported"), QStringLiteral("%1 satır içe aktarılamaz"))
                  .arg(count(m_store, bad)));
    m_problemsLabel->setVisible(bad > 0);
    m_problems->setVisible(bad > 0);
    m_problems->setAccessibleName(m_problemsLabel->text());
    m_table->setAccessibleName(tr(QStringLiteral("Rows of the file"), QStringLiteral("Dosyanın satırları")));
    updateNotice();
}

void ImportSheet::updateNotice()
{
    const auto tr = [this](const QString& en, const QString& turkish) { return m_store.tr(en, turkish); };
    const qsizetype bad = m_preview.problems.size();
    // What stands between the user and the import, or what the import will do.
    QString notice;
    bool blocked = true;
    if (m_preview.refusal != Preview::Refusal::none) {
        notice = refusalText(m_preview, m_store);
    } else if (!m_preview.missingRoles.isEmpty()) {
        QStringList names;
        for (Role r : std::as_const(m_preview.missingRoles))
            names.append(roleName(r, m_store));
        notice = tr(QStringLiteral("Choose the column that holds: %1."),
                    QStringLiteral("Şunu tutan sütunu seçin: %1."))
                     .arg(names.join(tr(QStringLiteral(", "), QStringLiteral(", "))));
    } else if (!m_preview.dateFormat) {
        notice = tr(QStringLiteral("The dates can be read more than one way: choose their format."),
                    QStringLiteral("Tarihler birden çok şekilde okunabiliyor: biçimlerini seçin."));
    } else if (!m_preview.decimalSeparator) {
        notice = tr(QStringLiteral("The amounts can be read more than one way: choose how they are written."),
                    QStringLiteral("Tutarlar birden çok şekilde okunabiliyor: nasıl yazıldıklarını seçin."));
    } else if (!m_preview.unknownStatuses.isEmpty()) {
        notice = tr(QStringLiteral("Choose what each status above means."),
                    QStringLiteral("Yukarıdaki her durumun anlamını seçin."));
    } else if (m_preview.rows.isEmpty()) {
        notice =
            tr(QStringLiteral("No row can be imported."), QStringLiteral("İçe aktarılabilecek satır yok."));
    } else {
        blocked = false;
        QStringList parts;
        const int duplicates = m_preview.duplicates();
        if (duplicates > 0)
            parts.append(duplicates == 1 ? tr(QStringLiteral("1 duplicate left unticked"),
                                              QStringLiteral("1 tekrar işaretsiz bırakıldı"))
                                         : tr(QStringLiteral("%1 duplicates left unticked"),
                                              QStringLiteral("%1 tekrar işaretsiz bırakıldı"))
                                               .arg(count(m_store, duplicates)));
        if (bad > 0)
            parts.append(bad == 1 ? tr(QStringLiteral("1 row left out, listed above"),
                                       QStringLiteral("1 satır dışarıda kaldı, yukarıda listelendi"))
                                  : tr(QStringLiteral("%1 rows left out, listed above"),
                                       QStringLiteral("%1 satır dışarıda kaldı, yukarıda listelendi"))
                                        .arg(count(m_store, bad)));
        notice = parts.isEmpty() ? tr(QStringLiteral("Every row can be imported."),
                                      QStringLiteral("Bütün satırlar içe aktarılabilir."))
                                 : parts.join(QStringLiteral(" · "));
    }
    m_notice->setText(notice);
    m_notice->setStyleSheet(
        QStringLiteral("color: %1;").arg((blocked ? Theme::rose() : Theme::secondary()).name()));

    const qsizetype n = blocked ? 0 : tickedCount();
    m_import->setText(blocked ? tr(QStringLiteral("Import Projects"), QStringLiteral("Projeleri İçe Aktar"))
                      : n == 1
                          ? tr(QStringLiteral("Import 1 Project"), QStringLiteral("1 Projeyi İçe Aktar"))
                          : tr(QStringLiteral("Import %1 Projects"), QStringLiteral("%1 Projeyi İçe Aktar"))
                                .arg(count(m_store, n)));
    m_import->setEnabled(n > 0);
    m_import->updateGeometry();
}

bool ImportSheet::isTicked(const Row& row) const
{
    return m_ticks.value(row.line, !row.duplicate);
}

QVector<Project> ImportSheet::ticked() const
{
    QVector<Project> out;
    if (!m_preview.ready())
        return out;
    out.reserve(m_preview.rows.size());
    for (const Row& r : m_preview.rows) {
        if (isTicked(r))
            out.append(r.project);
    }
    return out;
}

int ImportSheet::tickedCount() const
{
    if (!m_preview.ready())
        return 0;
    return int(std::count_if(m_preview.rows.cbegin(), m_preview.rows.cend(),
                             [this](const Row& r) { return isTicked(r); }));
}

void ImportSheet::setTicked(int line, bool ticked)
{
    m_ticks.insert(line, ticked);
    m_model->tickChanged(line);
    updateNotice();
}

void ImportSheet::runImport()
{
    const QVector<Project> projects = ticked();
    if (projects.isEmpty())
        return;
    m_store.importProjects(projects);
    remember(m_preview.header, m_preview.choices());
    // Shown where they went: an import of earlier years would otherwise seem to have done nothing.
    const int year = m_store.activeYear();
    if (std::none_of(projects.cbegin(), projects.cend(),
                     [year](const Project& p) { return p.year() == year; })) {
        const auto latest =
            std::max_element(projects.cbegin(), projects.cend(),
                             [](const Project& a, const Project& b) { return a.year() < b.year(); });
        m_store.setActiveYear(latest->year());
    }
    accept();
}
