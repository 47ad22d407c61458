#pragma once

#include "model/Status.h"
#include "model/StoreTypes.h"

#include <QDateTime>
#include <QPointer>
#include <QUuid>
#include <QWidget>

class AmountField;
class ComboField;
class GlyphButton;
class InkButton;
class OutlineButton;
class QDateEdit;
class QDialog;
class QGraphicsOpacityEffect;
class QLabel;
class QLineEdit;
class StatusPicker;
class Store;

// The sheet in which a project is created or edited. It fills itself from the Store once, when
// first shown, and hands the result to Store::save; it never writes the document itself.
class ProjectEditor final : public QWidget
{
    Q_OBJECT

public:
    static constexpr int kWidth = 440;
    // "New Project" or "Edit Project" in the current language.
    static QString title(const Store& store, const EditorTarget& target);

    // `sheet` is the dialog the editor lives in and dismisses; without one the editor clears
    // ui().editor instead.
    ProjectEditor(Store& store, const EditorTarget& target, QDialog* sheet, QWidget* parent = nullptr);

    const EditorTarget& target() const { return m_target; }
    QUuid projectId() const { return m_id; }
    // Fills the fields from the Store; only the first call does anything.
    void load();
    bool isLoaded() const { return m_loaded; }
    bool canSave() const;
    bool outsourceValid() const;
    // Dollars per shown unit of money: the lira rate in Turkish, 1 otherwise.
    double rate() const;

    void save();
    void deleteProject();
    void cancel();

    QLineEdit* nameField() const { return m_name; }
    ComboField* clientField() const { return m_client; }
    ComboField* categoryField() const { return m_category; }
    AmountField* feeField() const { return m_fee; }
    AmountField* outsourceField() const { return m_outsource; }
    StatusPicker* statusPicker() const { return m_status; }
    QDateEdit* dateField() const { return m_date; }
    // "Due", shown for a Pending project, and "Paid on", shown for a Paid one. A field showing
    // "None" holds noDay().
    QDateEdit* dueField() const { return m_due; }
    QDateEdit* paidOnField() const { return m_paidOn; }
    QWidget* dueBox() const { return m_dueBox; }
    QWidget* paidOnBox() const { return m_paidOnBox; }
    bool dueValid() const;
    static QDate noDay() { return QDate(100, 1, 1); }
    QLabel* yearHint() const { return m_yearHint; }
    QLabel* titleLabel() const { return m_title; }
    GlyphButton* closeButton() const { return m_close; }
    GlyphButton* deleteButton() const { return m_delete; }
    OutlineButton* cancelButton() const { return m_cancel; }
    InkButton* saveButton() const { return m_save; }
    // The opacity the Save button is drawn at.
    qreal saveOpacity() const;

protected:
    void showEvent(QShowEvent* event) override;

private:
    QWidget* buildHeader();
    QWidget* labelled(const QString& title, QWidget* input);
    QWidget* buildDateRow();
    QWidget* buildOutsourceBox();
    QWidget* buildPaymentDays();
    // What the payment fields show for the picked status, unless the user has changed them.
    void fillPaymentDays();
    // The day the project counts as pending from: the stored one, or today for a move into Pending.
    QDate pendingSince() const;
    QWidget* buildButtons();
    void setDay(const QDateTime& moment);
    void refresh();
    void dismiss(bool accepted);

    Store& m_store;
    EditorTarget m_target;
    QPointer<QDialog> m_sheet;
    QUuid m_id;
    bool m_loaded = false;

    QLabel* m_title = nullptr;
    GlyphButton* m_close = nullptr;
    QLineEdit* m_name = nullptr;
    ComboField* m_client = nullptr;
    ComboField* m_category = nullptr;
    AmountField* m_fee = nullptr;
    StatusPicker* m_status = nullptr;
    QDateEdit* m_date = nullptr;
    QLabel* m_yearHint = nullptr;
    QWidget* m_dueBox = nullptr;
    QDateEdit* m_due = nullptr;
    QLabel* m_dueHint = nullptr;
    QWidget* m_paidOnBox = nullptr;
    QDateEdit* m_paidOn = nullptr;
    bool m_dueEdited = false;
    bool m_paidOnEdited = false;
    // The status and payment days as stored when the editor was filled.
    Status m_storedStatus = Status::ongoing;
    QDate m_storedPendingSince;
    QDate m_storedDue;
    QDate m_storedPaidOn;
    bool m_stored = false;
    AmountField* m_outsource = nullptr;
    GlyphButton* m_delete = nullptr;
    OutlineButton* m_cancel = nullptr;
    InkButton* m_save = nullptr;
    QGraphicsOpacityEffect* m_saveOpacity = nullptr;
};
