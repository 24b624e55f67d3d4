#pragma once

#include "game/keyboard/KeyboardMap.h"

#include "game/keyboard/Keyboard.h"

#include <QList>
#include <QRectF>
#include <QStringList>
#include <QWidget>

// A keyboard drawn in code, each key coloured by its error rate on a scale that only gets
// darker (pale yellow for no wrong key, through orange and red, to dark wine from 10 % up),
// so that it reads in greys and whatever colours the player tells apart; a key never due
// is white and hatched. Each key due shows its rate as text; the figures show on hover,
// and for the keyboard, on the key chosen with the arrow keys.
class KeyboardMapView : public QWidget
{
    Q_OBJECT

public:
    explicit KeyboardMapView(QWidget *parent = nullptr);

    // The keys to draw; the figures go back to none.
    void setKeyboard(const Keyboard &keyboard);
    void setFigures(const QList<KeyboardMap::KeyFigures> &figures);
    const QList<KeyboardMap::KeyFigures> &figures() const { return figures_; }
    // Notes written on the keys instead of their rates (the keyboard course's "apprise"),
    // what screen readers and the tooltip say of each key instead of its figures, and one
    // key drawn with a thick border; `drawn` and `spoken` have one text per key (none: back
    // to the rates). The figures still give the colours.
    void setNotes(const QStringList &drawn, const QStringList &spoken, int emphasised);
    // What is said of a key: its spoken note, or its figures.
    QString spokenKey(int index) const;
    // The key chosen with the arrow keys (the first one at the start); its figures are
    // reported while the map has the focus.
    int currentKey() const { return current_; }
    QString currentDescription() const;
    // The key at a point of the widget, or -1.
    int keyAt(const QPointF &point) const;
    // The rate from which a key has the darkest colour.
    static constexpr double kDarkestRate = 0.10;
    // The colour of a rate, darker as it grows; white for a key never due (negative rate).
    static QColor colourFor(double rate);
    // The colour of the writing on a key of that colour.
    static QColor textColourOn(const QColor &fill);

    // The rate as written on a key due ("2,5 %").
    static QString rateText(double rate);
    // Where a key is drawn in the widget, and the rooms its name and its rate are written in.
    QRectF keyRect(int index) const;
    static QRectF labelRoom(const QRectF &key);
    static QRectF rateRoom(const QRectF &key);
    // The fonts of the names and of the rates at the map's present size: as large as the
    // keys allow, and small enough that every name and rate shown fits its room.
    struct KeyFonts
    {
        QFont label;
        QFont rate;
    };
    KeyFonts keyFonts() const;

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
    // Each key's place, in key units, row after row.
    struct Place
    {
        int row;
        QRectF rect;
    };
    void moveCurrent(int key);
    // Tells screen readers which key has the focus, while the map has it.
    void reportFocusedKey();

    QList<Place> places_;
    QList<KeyboardMap::KeyFigures> figures_;
    QStringList drawnNotes_;
    QStringList spokenNotes_;
    int emphasised_ = -1;
    int current_ = 0;
};
