#pragma once

#include "board/ChasePopover.h"
#include "board/TargetPopover.h"
#include "ui/PanelFrame.h"

#include <QPointer>

class AmountLabel;
class CountBadge;
class OverdueButton;
class Eyebrow;
class ProgressTrack;
class QLabel;
class Store;
class TargetButton;
class TaxRateBox;

// The card at the top of the board: what the active year has earned and leaves after tax, how
// far it is towards the annual target (edited in a popover), and the size of the whole pipeline
// with the share collected. It also edits the tax rate inline. Under the target it shows the
// year's forecast, and under the pipeline what is overdue, which opens the chase list.
class SummaryPanel final : public PanelFrame
{
    Q_OBJECT

public:
    explicit SummaryPanel(Store& store, QWidget* parent = nullptr);

    AmountLabel* earnedAmount() const { return m_earned; }
    TaxRateBox* taxBox() const { return m_tax; }
    QLabel* netText() const { return m_net; }
    CountBadge* targetPercent() const { return m_percent; }
    TargetButton* targetButton() const { return m_targetButton; }
    QLabel* remainingText() const { return m_remaining; }
    ProgressTrack* progress() const { return m_progress; }
    QLabel* contractorText() const { return m_contractor; }
    CountBadge* projectCount() const { return m_count; }
    AmountLabel* pipelineAmount() const { return m_pipeline; }
    QLabel* collectionText() const { return m_collection; }
    // "Overdue: $4,300 in 2 projects"; hidden when nothing is overdue. It opens the chase list.
    OverdueButton* overdueButton() const { return m_overdue; }
    // "Forecast: $96,400 · 80% of target"; hidden when there is no target.
    QLabel* forecastText() const { return m_forecast; }
    // The open chase list, or nullptr.
    ChasePopover* chaseList() const { return m_chase; }
    void openChaseList();
    Eyebrow* earnedTitle() const { return m_earnedTitle; }
    // The open target popover, or nullptr.
    TargetPopover* targetEditor() const { return m_popover; }
    bool editingTarget() const;
    void openTargetEditor();

    // "42.4%" / "%42", and with the word: "42.4% realized" / "%42 tahsil edildi".
    static QString collectionRatePercent(double rate, bool turkish);
    static QString collectionRateText(double rate, bool turkish);

private:
    QWidget* buildEarned();
    QWidget* buildTarget();
    QWidget* buildPipeline();
    void refresh();
    void retranslate();

    Store& m_store;
    Eyebrow* m_earnedTitle = nullptr;
    AmountLabel* m_earned = nullptr;
    QLabel* m_taxLabel = nullptr;
    TaxRateBox* m_tax = nullptr;
    QLabel* m_net = nullptr;
    Eyebrow* m_targetTitle = nullptr;
    CountBadge* m_percent = nullptr;
    TargetButton* m_targetButton = nullptr;
    QLabel* m_remaining = nullptr;
    ProgressTrack* m_progress = nullptr;
    QLabel* m_pacing = nullptr;
    QLabel* m_contractor = nullptr;
    Eyebrow* m_pipelineTitle = nullptr;
    CountBadge* m_count = nullptr;
    AmountLabel* m_pipeline = nullptr;
    QLabel* m_stages = nullptr;
    QLabel* m_collectionLabel = nullptr;
    QLabel* m_collection = nullptr;
    QPointer<TargetPopover> m_popover;
    OverdueButton* m_overdue = nullptr;
    QLabel* m_forecast = nullptr;
    QPointer<ChasePopover> m_chase;
};
