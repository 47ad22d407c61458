#pragma once

#include <QWidget>

class InkButton;
class PillSegment;
class QAbstractButton;
class QGridLayout;
class SampleTip;
class Store;
class YearMenu;

// The top of the main window: logo, year menu, search and new-project buttons in a full-width
// row, and the tab selector with the sample-data tip centred over it, never over its sides.
// Dragging its background moves the window.
class MainWindowHeader final : public QWidget
{
    Q_OBJECT

public:
    explicit MainWindowHeader(Store& store, QWidget* parent = nullptr);

    // The space above the rows; smaller when a menu bar already sits above the header.
    void setTopPadding(int padding);

    QAbstractButton* logoButton() const { return m_logo; }
    YearMenu* yearMenu() const { return m_years; }
    PillSegment* tabs() const { return m_tabs; }
    QAbstractButton* searchButton() const { return m_search; }
    InkButton* newProjectButton() const { return m_newProject; }
    SampleTip* sampleTip() const { return m_tip; }

    // The least room kept between the tabs or the tip and the row's two sides.
    static constexpr int kSideGap = 16;
    static constexpr int kTipGap = 12;

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    bool event(QEvent* event) override;

private:
    void retranslate();
    void placeCentre();

    Store& m_store;
    QGridLayout* m_grid;
    QAbstractButton* m_logo;
    YearMenu* m_years;
    PillSegment* m_tabs;
    QAbstractButton* m_search;
    InkButton* m_newProject;
    SampleTip* m_tip;
};
