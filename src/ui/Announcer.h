#pragma once

#include <QWidget>

// Says short texts to a screen reader: an alert, read as it appears. It takes a single pixel in a
// corner of its parent and no input.
class Announcer final : public QWidget
{
    Q_OBJECT

public:
    explicit Announcer(QWidget* parent);

    void say(const QString& text);
};
