#pragma once

#include <QWidget>

class QStyleOptionProgressBar;

// The gauge that runs along the bottom of the main window while an item is shown. It
// looks like a progress bar from 0 to 100 without text, but it only shows that time is
// passing: unlike a progress bar it sends no value change to screen readers, which would
// otherwise be told a new percentage twenty times a second. A reader finds it by its name,
// as an animation.
class Gauge : public QWidget
{
    Q_OBJECT

public:
    explicit Gauge(QWidget *parent = nullptr);

    int value() const { return value_; }
    void setValue(int value);

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    void initStyleOption(QStyleOptionProgressBar *option) const;

    int value_ = 0;
};
