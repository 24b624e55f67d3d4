#include "game/RecordKeeper.h"

#include "game/FileProblems.h"
#include "game/PlayerFile.h"
#include "game/RecordBook.h"
#include "game/SoundCues.h"
#include "game/Statistics.h"
#include "platform/MessageBoxes.h"

RecordKeeper::RecordKeeper(PlayerFile &file, SoundCues &cues, MessageBoxes &boxes, QObject *parent)
    : QObject(parent)
    , file_(file)
    , cues_(cues)
    , boxes_(boxes)
{
}

void RecordKeeper::loadAbsolute()
{
    const RecordBook::AbsRecords abs = RecordBook::loadAbsRecords(file_);
    if (!abs.written)
        reportWriteProblem(boxes_, file_.path(), file_.errorString());
    absMini_ = abs.mini;
    emit absoluteMiniShown(Statistics::absMiniLoadedCaption(abs.miniName, absMini_));
    absAverage_ = abs.average;
    emit absoluteAverageShown(Statistics::absAverageLoadedCaption(abs.averageName, absAverage_));
}

void RecordKeeper::findPlayer(const QString &name)
{
    playerRecNo_ = 0;
    const RecordBook::Lookup found = RecordBook::findPlayer(file_, name);
    playerRecNo_ = found.recordNumber;
    persoMini_ = found.record.Mini;
    persoAverage_ = found.record.Average;
    if (found.created) {
        if (!found.written)
            reportWriteProblem(boxes_, file_.path(), file_.errorString());
        boxes_.show(QStringLiteral("Bienvenue au Club CLAVIMO !"), name, BoxButtons::Ok,
                    BoxIcon::Information);
    }
    emit personalMiniShown(Statistics::persoMiniCaption(found.record.Mini));
    emit personalAverageShown(Statistics::persoAverageCaption(found.record.Average));
}

void RecordKeeper::afterItem(qint64 gameMini, const QString &player)
{
    if (gameMini < absMini_) {
        announce(Cue::AbsoluteMini, QStringLiteral("Record mini absolu !"), player);
        absMini_ = gameMini;
        PlayerRecord record = file_.read(1);
        record.Mini = qint16(absMini_);
        record.setName(player);
        emit absoluteMiniShown(Statistics::absMiniBeatenCaption(record.Name, absMini_));
        write(1, record);
    }
    if (gameMini < persoMini_) {
        announce(Cue::PersonalMini, QStringLiteral("Record mini perso !"), player);
        persoMini_ = gameMini;
        writePersonal(player);
        emit personalMiniShown(Statistics::persoMiniCaption(persoMini_));
    }
}

void RecordKeeper::afterGame(qint64 gameAverage, const QString &player)
{
    if (gameAverage < persoAverage_) {
        announce(Cue::PersonalAverage, QStringLiteral("Record perso moyenne !"), player);
        persoAverage_ = gameAverage;
        emit personalAverageShown(Statistics::persoAverageCaption(persoAverage_));
        writePersonal(player);
    }
    if (gameAverage < absAverage_) {
        announce(Cue::AbsoluteAverage, QStringLiteral("Record absolu moyenne !"), player);
        absAverage_ = gameAverage;
        PlayerRecord record = file_.read(2);
        record.setName(player);
        record.Average = qint16(gameAverage);
        emit absoluteAverageShown(Statistics::absAverageBeatenCaption(player, absAverage_));
        write(2, record);
    }
}

void RecordKeeper::announce(const QString &cue, const QString &text, const QString &player)
{
    cues_.play(cue);
    boxes_.show(text, player, BoxButtons::Ok, BoxIcon::Information);
}

void RecordKeeper::write(qint64 k, const PlayerRecord &record)
{
    if (!file_.write(k, record))
        reportWriteProblem(boxes_, file_.path(), file_.errorString());
}

void RecordKeeper::writePersonal(const QString &player)
{
    PlayerRecord record = file_.read(playerRecNo_);
    record.Mini = qint16(persoMini_);
    record.Average = qint16(persoAverage_);
    record.setName(player);
    write(playerRecNo_, record);
}
