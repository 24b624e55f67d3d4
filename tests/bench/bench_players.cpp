// Prints how long the steps that read the whole record file take with a large classroom's
// file (100,000 players by default): the player list dialog opening, a new player being
// greeted, the records list opening, and the memory the program then holds. It asserts
// nothing about time; it fails only when a step gives a wrong result.
#include "game/GameSession.h"
#include "game/PlayerFile.h"
#include "game/PlayerNames.h"
#include "support/RecordBytes.h"
#include "support/TestDoubles.h"
#include "ui/PlayerListDialog.h"
#include "ui/RecordsWindow.h"

#include <QApplication>
#include <QComboBox>
#include <QElapsedTimer>
#include <QTest>

#if defined(Q_OS_UNIX)
#include <sys/resource.h>
#endif

namespace {

double peakMegabytes()
{
#if defined(Q_OS_UNIX)
    rusage usage {};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss / 1024.0;
#else
    return 0;
#endif
}

} // namespace

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    const int players = argc > 1 ? atoi(argv[1]) : 100000;
    ScratchFolder folder;
    folder.write(PlayerFile::fileNameFor(1), classFile(players));
    TestServices ts;
    GameSession session(ts.services());
    session.prepare();
    if (!session.openFiles() || !session.activate(false))
        return 1;
    qInfo("%d players, %lld bytes", players, session.playerFile().length());

    QElapsedTimer timer;
    timer.start();
    const qsizetype known = PlayerNames::known(session.playerFile(), PlayerNames::Order()).size();
    qInfo("  of which reading and sorting the names: %lld ms (%lld names)", timer.elapsed(), qint64(known));

    timer.restart();
    {
        PlayerListDialog dialog(session.playerFile(), {}, ts.boxes);
        dialog.show();
        QCoreApplication::processEvents();
        const qint64 ms = timer.elapsed();
        const int offered = dialog.findChild<QComboBox *>()->count();
        qInfo("player list dialog open: %lld ms (%d names offered)", ms, offered);
        if (offered != players)
            return 1;
    }

    // OK on a name nobody has: found nowhere, appended, greeted.
    timer.restart();
    session.setPlayers({QStringLiteral("Newcomer")});
    session.activate(false);
    session.afterPlayersChosen();
    qInfo("new player greeted: %lld ms (record %lld)", timer.elapsed(), session.records().playerRecordNumber());
    if (ts.boxes.texts() != QStringList{QStringLiteral("Bienvenue au Club CLAVIMO !")})
        return 1;

    timer.restart();
    {
        RecordsWindow records(session.playerFile(), 1);
        records.show();
        QCoreApplication::processEvents();
        const qint64 ms = timer.elapsed();
        qInfo("records list open: %lld ms (%lld lines)", ms, qint64(records.lines().size()));
        if (records.lines().size() != players + 1)
            return 1;
    }
    qInfo("peak memory: %.1f MB", peakMegabytes());
    return 0;
}
