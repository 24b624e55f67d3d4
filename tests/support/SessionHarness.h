#pragma once

#include "game/progress/GameHistory.h"
#include "game/session/GameSession.h"
#include "game/session/PlayerNames.h"
#include "support/TestDoubles.h"

#include <QMap>
#include <QTest>

#include <memory>

// Keeps the games it is given.
struct FakeHistory : GameHistory
{
    void record(const FinishedGame &game) override { games << game; }
    QList<FinishedGame> games;
};

// The session with test doubles, and what it last asked each label to show (`shown`, the
// item's time as "time", the prompt empty when hidden). The hand-over window is stood in
// for by returning to the session at once, as the window does when its wait is over.
struct Harness
{
    ScratchFolder folder;
    TestServices ts;
    FakeHistory history;
    std::unique_ptr<GameSession> session = std::make_unique<GameSession>(ts.services());
    QMap<QString, QString> shown;
    QStringList handOvers;

    Harness()
    {
        GameSession *s = session.get();
        s->setHistory(&history);
        const auto label = [this](const char *name) { return [this, name](const QString &t) { shown[name] = t; }; };
        QObject::connect(s, &GameSession::playerShown, label("player"));
        QObject::connect(s, &GameSession::gameMiniShown, label("gameMini"));
        QObject::connect(s, &GameSession::itemCompleted, [this](qint64 t) { shown["time"] = QString::number(t); });
        QObject::connect(s, &GameSession::promptChanged, [this](const QString &c, bool visible) { shown["prompt"] = visible ? c : QString(); });
        QObject::connect(&s->records(), &RecordKeeper::absoluteMiniShown, label("absMini"));
        QObject::connect(&s->records(), &RecordKeeper::personalMiniShown, label("persoMini"));
        QObject::connect(&s->records(), &RecordKeeper::personalAverageShown, label("persoAverage"));
        QObject::connect(s, &GameSession::gameOver, [this, s](const QString &next) {
            handOvers << next;
            s->activate(true);
        });
    }

    // The start-up as the splash and the main window run it, the window maximised at its
    // first activation.
    bool start()
    {
        session->prepare();
        if (!session->openFiles())
            return false;
        session->playStartCue();
        return session->activate(false) && !session->isEnded();
    }

    // The player list dialog closed with OK on these names as typed.
    void choosePlayers(const QStringList &typed)
    {
        QStringList names;
        for (const QString &name : typed)
            names << PlayerNames::normalised(name);
        session->setPlayers(names);
        session->activate(false);
        session->afterPlayersChosen();
    }

    bool startGame(const QStringList &names)
    {
        if (!start())
            return false;
        choosePlayers(names);
        session->newGame();
        return session->game().isRunning();
    }

    void type(const QString &text)
    {
        for (QChar c : text)
            session->typeKey(c);
    }

    // `count` times: shows an item with the space bar, types `wrong` wrong keys, then the
    // item in lower case `raw` milliseconds after it was shown.
    void playItem(qint64 raw, int wrong = 0, int count = 1)
    {
        for (int i = 0; i < count; ++i) {
            type(QStringLiteral(" "));
            QVERIFY(session->game().isItemShown());
            type(QString(wrong, QLatin1Char('#')));
            ts.clock.now += raw;
            type(session->game().item().toLower());
            QVERIFY(!session->game().isItemShown());
        }
    }

    QByteArray file(const char *name) const { return folder.read(QString::fromLatin1(name)); }
};
