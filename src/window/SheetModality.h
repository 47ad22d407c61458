#pragma once

#include <QObject>
#include <QPointer>

class QDialog;
class QWidget;

// Keeps a window's content out of reach while its sheet is open, as a window-modal dialog
// would, but leaves the window's menu bar and the application's commands working: a real
// window-modal dialog blocks the whole window, menu bar and shortcuts included. A click on the
// blocked content brings the sheet forward. Lives as long as the sheet (its parent).
class SheetModality final : public QObject
{
public:
    SheetModality(QDialog* sheet, QWidget* window);
    // Places the sheet, at its present size, over the middle of the window.
    static void centre(QWidget* sheet, const QWidget* window);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    bool inBlockedContent(const QObject* object) const;
    bool blocksShortcut(const QObject* owner) const;
    void bringSheetForward();
    void bringSheetForwardLater();

    QDialog* m_sheet;
    QPointer<QWidget> m_window;
};
