#pragma once

#include "game/progress/HistoryRows.h"
#include "game/keyboard/Keyboard.h"

#include <QGroupBox>
#include <QList>

class KeyboardLayouts;
class KeyboardMapView;
class QComboBox;
class QLabel;

// The progression window's keyboard: the choice of layout (the one in use at first), the
// map of the wrong keys on that layout, the figures of the chosen key and the most
// missed characters.
class KeyboardPanel : public QGroupBox
{
    Q_OBJECT

public:
    explicit KeyboardPanel(KeyboardLayouts &layouts, QWidget *parent = nullptr);

    // The characters of the games shown, with their wrong keys.
    void setCounts(const QList<CharacterCount> &counts);

    QComboBox *layoutBox() const { return layoutBox_; }
    KeyboardMapView *map() const { return map_; }

private:
    void showLayout();

    KeyboardLayouts &layouts_;
    QList<CharacterCount> counts_;
    Keyboard keyboard_;
    QComboBox *layoutBox_ = nullptr;
    KeyboardMapView *map_ = nullptr;
    QLabel *notice_ = nullptr;
    QLabel *keyLabel_ = nullptr;
    QLabel *missedLabel_ = nullptr;
};
