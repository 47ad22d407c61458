#pragma once

#include "model/Status.h"
#include "model/StoreTypes.h"

#include <QAbstractButton>

class QMenu;

// The editor's status drop-down: the status dot, its title and a chevron on a cream plate; its
// menu lists the three statuses in their fixed order.
class StatusPicker final : public QAbstractButton
{
    Q_OBJECT

public:
    explicit StatusPicker(AppLanguage language, QWidget* parent = nullptr);

    Status status() const { return m_status; }
    void setStatus(Status status);
    QMenu* menu() const { return m_menu; }

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

signals:
    // The user picked a status from the menu.
    void statusChosen(Status status);

protected:
    void paintEvent(QPaintEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void openMenu();

    AppLanguage m_language;
    Status m_status = Status::ongoing;
    QMenu* m_menu;
};
