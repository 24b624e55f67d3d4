#include "history/ServerLink.h"

#include "history/LocalOutbox.h"
#include "history/PostgresStore.h"

#include <QTimer>

ServerLink::ServerLink(const ServerAddress &address, const QString &historyFile)
    : address_(address)
    , historyFile_(historyFile)
{
}

ServerLink::~ServerLink() = default;

void ServerLink::prepare()
{
    // Made here, in the thread that uses them: a database connection belongs to the thread
    // that opens it.
    if (store_)
        return;
    store_ = std::make_unique<PostgresStore>(address_);
    outbox_ = std::make_unique<LocalOutbox>(historyFile_);
    retry_ = new QTimer(this);
    retry_->setSingleShot(true);
    connect(retry_, &QTimer::timeout, this, &ServerLink::flush);
}

PostgresStore &ServerLink::store()
{
    prepare();
    return *store_;
}

void ServerLink::flush()
{
    prepare();
    again_ = true;
    if (stepping_)
        return;
    stepping_ = true;
    QMetaObject::invokeMethod(this, &ServerLink::step, Qt::QueuedConnection);
}

void ServerLink::step()
{
    if (queue_.isEmpty() && again_) {
        again_ = false;
        for (qint64 id : outbox_->waiting()) {
            if (!unreadable_.contains(id))
                queue_ << id;
        }
    }
    if (queue_.isEmpty()) {
        stepping_ = false;
        emit drained();
        return;
    }
    const qint64 id = queue_.first();
    const auto waiting = outbox_->load(id);
    if (!waiting) {
        unreadable_ << id;
        queue_.removeFirst();
    } else if (store_->send(waiting->uid, waiting->game)) {
        // Taken off the outbox once the server has it; should this fail, the game is sent
        // again later and the server keeps its first copy.
        outbox_->remove(id);
        queue_.removeFirst();
    } else {
        queue_.clear();
        again_ = false;
        stepping_ = false;
        retry_->start(kRetryMs);
        emit problem(store_->problem());
        return;
    }
    QMetaObject::invokeMethod(this, &ServerLink::step, Qt::QueuedConnection);
}
