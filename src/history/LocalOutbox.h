#pragma once

#include "game/session/FinishedGame.h"

#include <QList>
#include <QString>

#include <optional>

// A finished game kept in the history file and not yet on the classroom's server.
struct WaitingGame
{
    qint64 localId = 0;
    QString uid;
    FinishedGame game;
};

// The games of the history file waiting to be sent to the server, read through a
// connection of its own, so that it serves the thread that sends them. It never creates
// the file nor changes its schema: the history does that when it keeps a game.
class LocalOutbox
{
public:
    explicit LocalOutbox(const QString &path);
    ~LocalOutbox();
    LocalOutbox(const LocalOutbox &) = delete;
    LocalOutbox &operator=(const LocalOutbox &) = delete;

    // The ids of the waiting games, oldest first; none when the file or its outbox is missing.
    QList<qint64> waiting();
    // A waiting game as it was played; nothing when it cannot be read.
    std::optional<WaitingGame> load(qint64 localId);
    // The game is on the server: it leaves the outbox (it stays in the file's history).
    bool remove(qint64 localId);

private:
    bool ensureOpen();
    void close();

    QString path_;
    QString connection_;
    bool open_ = false;
};
