#pragma once

#include "game/records/RecordBook.h"

#include <QObject>
#include <QString>

class MessageBoxes;
class SoundCues;

// The records a game is measured against: the absolute records of the mode (records 1 and
// 2 of the player file) and the current player's own. A time that beats a record is
// offered to the file, which another program may share: when it still beats what the
// file holds, it is written at once, then announced with its cue and a message box titled
// with the player's name; otherwise the record the file holds now is shown. Each label's
// new caption is reported as a signal, at the moment the window shows it.
class RecordKeeper : public QObject
{
    Q_OBJECT

public:
    RecordKeeper(PlayerFile &file, SoundCues &cues, MessageBoxes &boxes, QObject *parent = nullptr);

    // Reads the absolute records, writing the placeholders a new or damaged file lacks.
    void loadAbsolute();
    // Finds the player's record, or creates it and welcomes the newcomer.
    void findPlayer(const QString &name);
    // After each item: the absolute Mini first, then the personal one.
    void afterItem(qint64 gameMini, const QString &player);
    // After the last item: the personal average first, then the absolute one.
    void afterGame(qint64 gameAverage, const QString &player);

    qint64 absoluteMini() const { return absMini_; }
    qint64 absoluteAverage() const { return absAverage_; }
    qint64 personalMini() const { return persoMini_; }
    qint64 personalAverage() const { return persoAverage_; }

signals:
    void absoluteMiniShown(const QString &caption);
    void absoluteAverageShown(const QString &caption);
    void personalMiniShown(const QString &caption);
    void personalAverageShown(const QString &caption);

private:
    void announce(const QString &cue, const QString &text, const QString &player);
    void reportIfUnwritten(const RecordBook::Offer &offer);

    PlayerFile &file_;
    SoundCues &cues_;
    MessageBoxes &boxes_;
    qint64 absMini_ = 0;
    qint64 absAverage_ = 0;
    qint64 persoMini_ = 0;
    qint64 persoAverage_ = 0;
    qint64 playerRecNo_ = 0;
};
