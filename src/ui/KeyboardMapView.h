#pragma once

#include "game/KeyboardMap.h"

#include <QList>
#include <QRectF>
#include <QWidget>

// The French keyboard drawn in code, each key coloured by its error rate: green for no
// wrong key, through yellow, to red from 10 % up; grey for a key never due. The figures
// show on hover, and for the keyboard, on the key chosen with the arrow keys.
class KeyboardMapView : public QWidget
{
    Q_OBJECT

public:
    explicit KeyboardMapView(QWidget *parent = nullptr);

    void setFigures(const QList<KeyboardMap::KeyFigures> &figures);
    const QList<KeyboardMap::KeyFigures> &figures() const { return figures_; }
    // The key chosen with the arrow keys (the first one at the start); its figures are
    // reported while the map has the focus.
    int currentKey() const { return current_; }
    QString currentDescription() const;
    // The key at a point of the widget, or -1.
    int keyAt(const QPointF &point) const;
    // The rate above which a key is fully red.
    static constexpr double kRedRate = 0.10;
    static QColor colourFor(double rate);

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

signals:
    void currentChanged(const QString &description);

protected:
    bool event(QEvent *e) override;
    void paintEvent(QPaintEvent *e) override;
    void keyPressEvent(QKeyEvent *e) override;
    // The figures of the chosen key are reported when the keyboard takes the focus.
    void focusInEvent(QFocusEvent *e) override;

private:
    // Each key's place, in key units, in the order of KeyboardMap::rows().
    struct Place
    {
        int row;
        QRectF rect;
    };
    QRectF keyRect(int index) const;
    void moveCurrent(int key);

    QList<Place> places_;
    QList<KeyboardMap::KeyFigures> figures_;
    int current_ = 0;
};
