#pragma once

#include <QWidget>

class QGraphicsOpacityEffect;
class QLabel;
class QLineEdit;
class SpringAnimation;
class Store;

// The search row under the header. It follows ui().searchVisible: sliding down with a fade and
// taking the caret when shown, dropping focus and emptying the query when hidden.
class SearchBar final : public QWidget
{
    Q_OBJECT

public:
    explicit SearchBar(Store& store, QWidget* parent = nullptr);

    QLineEdit* field() const { return m_field; }
    // 0 fully hidden, 1 fully shown (a spring may pass 1 briefly).
    qreal progress() const { return m_progress; }

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    void resizeEvent(QResizeEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void visibilityChanged();
    void setProgress(qreal progress);
    void retranslate();
    int naturalHeight() const;

    Store& m_store;
    QWidget* m_bar;
    QLabel* m_icon;
    QLineEdit* m_field;
    QGraphicsOpacityEffect* m_opacity;
    SpringAnimation* m_spring;
    qreal m_progress = 0;
};
