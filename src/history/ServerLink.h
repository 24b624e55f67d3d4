#pragma once

#include "history/ServerAddress.h"

#include <QList>
#include <QObject>
#include <QSet>
#include <QString>

#include <memory>

class LocalOutbox;
class PostgresStore;
class QTimer;

// Sends the games waiting in the history file to the classroom's server, from a thread of
// its own: the connection may wait on the network for seconds (or for ever, when the
// server hangs), and the game must never wait with it. One game goes per turn of the
// thread's event loop, so that a read of the progression window slips in between.
class ServerLink : public QObject
{
    Q_OBJECT

public:
    // How long after a failure the waiting games are tried again, without a new game.
    static constexpr int kRetryMs = 15000;

    ServerLink(const ServerAddress &address, const QString &historyFile);
    ~ServerLink() override;

    // The server's connection, for the questions asked in this thread.
    PostgresStore &store();

public slots:
    // Sends whatever is waiting, the game just kept included.
    void flush();

signals:
    // Nothing is waiting any more.
    void drained();
    // The waiting games could not be sent; they are tried again later. In French.
    void problem(const QString &reason);

private:
    void step();
    void prepare();

    ServerAddress address_;
    QString historyFile_;
    std::unique_ptr<PostgresStore> store_;
    std::unique_ptr<LocalOutbox> outbox_;
    QTimer *retry_ = nullptr;
    QList<qint64> queue_;
    // Games the file holds in a form that cannot be read back (edited by hand): skipped for
    // the rest of the run rather than tried at every step.
    QSet<qint64> unreadable_;
    bool stepping_ = false;
    bool again_ = false;
};
