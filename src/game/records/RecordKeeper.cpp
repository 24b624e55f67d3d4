#include "game/records/RecordKeeper.h"

#include "game/session/FileProblems.h"
#include "game/records/PlayerFile.h"
#include "game/records/RecordBook.h"
#include "game/session/SoundCues.h"
#include "game/session/Statistics.h"
#include "platform/Services.h"

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
        const RecordBook::Offer o = RecordBook::offer(file_, 1, RecordBook::Field::Mini, qint16(gameMini), player);
        absMini_ = o.record.Mini;
        if (o.beaten) {
            announce(Cue::AbsoluteMini, QStringLiteral("Record mini absolu !"), player);
            emit absoluteMiniShown(Statistics::absMiniBeatenCaption(o.record.Name, absMini_));
            reportIfUnwritten(o);
        } else {
            emit absoluteMiniShown(Statistics::absMiniLoadedCaption(o.record.Name, absMini_));
        }
    }
    if (gameMini < persoMini_) {
        const RecordBook::Offer o =
            RecordBook::offer(file_, playerRecNo_, RecordBook::Field::Mini, qint16(gameMini), player);
        persoMini_ = o.record.Mini;
        if (o.beaten) {
            announce(Cue::PersonalMini, QStringLiteral("Record mini perso !"), player);
            reportIfUnwritten(o);
        }
        emit personalMiniShown(Statistics::persoMiniCaption(persoMini_));
    }
}

void RecordKeeper::afterGame(qint64 gameAverage, const QString &player)
{
    if (gameAverage < persoAverage_) {
        const RecordBook::Offer o =
            RecordBook::offer(file_, playerRecNo_, RecordBook::Field::Average, qint16(gameAverage), player);
        persoAverage_ = o.record.Average;
        if (o.beaten)
            announce(Cue::PersonalAverage, QStringLiteral("Record perso moyenne !"), player);
        emit personalAverageShown(Statistics::persoAverageCaption(persoAverage_));
        reportIfUnwritten(o);
    }
    if (gameAverage < absAverage_) {
        const RecordBook::Offer o =
            RecordBook::offer(file_, 2, RecordBook::Field::Average, qint16(gameAverage), player);
        absAverage_ = o.record.Average;
        if (o.beaten) {
            announce(Cue::AbsoluteAverage, QStringLiteral("Record absolu moyenne !"), player);
            emit absoluteAverageShown(Statistics::absAverageBeatenCaption(player, absAverage_));
            reportIfUnwritten(o);
        } else {
            emit absoluteAverageShown(Statistics::absAverageLoadedCaption(o.record.Name, absAverage_));
        }
    }
}

void RecordKeeper::announce(const QString &cue, const QString &text, const QString &player)
{
    cues_.play(cue);
    boxes_.show(text, player, BoxButtons::Ok, BoxIcon::Information);
}

void RecordKeeper::reportIfUnwritten(const RecordBook::Offer &offer)
{
    if (!offer.written)
        reportWriteProblem(boxes_, file_.path(), file_.errorString());
}
