#include "history/ServerHistory.h"

#include "history/PostgresStore.h"
#include "history/ServerLink.h"
#include "history/SqliteHistory.h"
#include "platform/Services.h"

#include <chrono>
#include <future>

ServerHistory::ServerHistory(SqliteHistory &local, const ServerAddress &address, MessageBoxes &boxes)
    : local_(local)
    , address_(address)
    , boxes_(boxes)
    , thread_(std::make_unique<QThread>())
    , link_(new ServerLink(address, local.path()))
    , unanswered_(std::make_shared<std::atomic<int>>(0))
{
    local_.setOutbox(true);
    link_->moveToThread(thread_.get());
    connect(thread_.get(), &QThread::finished, link_, &QObject::deleteLater);
    connect(link_, &ServerLink::problem, this, &ServerHistory::noteProblem);
    connect(link_, &ServerLink::drained, this, &ServerHistory::drained);
    connect(link_, &ServerLink::problem, this, &ServerHistory::unavailable);
    thread_->setObjectName(QStringLiteral("clavimo-server"));
    thread_->start();
    flush();
}

ServerHistory::~ServerHistory()
{
    stop(1000);
}

bool ServerHistory::stop(int waitMs)
{
    if (stopped_)
        return thread_ != nullptr;
    stopped_ = true;
    thread_->quit();
    if (thread_->wait(waitMs))
        return true;
    // Still inside a call to a server that does not answer: the thread cannot be ended
    // from here, so its objects are left to the end of the process.
    (void)thread_.release();
    return false;
}

void ServerHistory::flush()
{
    if (!stopped_)
        QMetaObject::invokeMethod(link_, &ServerLink::flush, Qt::QueuedConnection);
}

void ServerHistory::record(const FinishedGame &game)
{
    local_.record(game);
    // A problem met while sending the earlier games is told now, between two games,
    // rather than in a box that would take the keys in the middle of one.
    if (!pending_.isEmpty())
        tell(pending_, false);
    flush();
}

void ServerHistory::noteProblem(const QString &reason)
{
    if (!told_)
        pending_ = reason;
}

void ServerHistory::tell(const QString reason, bool reading)
{
    pending_.clear();
    if (told_)
        return;
    told_ = true;
    QString text = QStringLiteral("Le serveur d'historique de la classe «\u00A0%1\u00A0» ne peut pas être utilisé "
                                  "(%2)\u00A0: les parties sont gardées sur cet ordinateur et lui seront envoyées "
                                  "dès que possible.")
                       .arg(address_.display(), reason);
    if (reading)
        text += QStringLiteral(" La progression montre en attendant les parties jouées sur cet ordinateur.");
    boxes_.show(text, QStringLiteral("Clavimo"), BoxButtons::Ok, BoxIcon::Exclamation);
}

template <class R>
std::optional<R> ServerHistory::ask(std::function<std::optional<R>(PostgresStore &)> question)
{
    if (stopped_ || unanswered_->load() > 0)
        return std::nullopt;
    struct Answer
    {
        std::optional<R> value;
        QString problem;
    };
    auto promise = std::make_shared<std::promise<Answer>>();
    std::future<Answer> future = promise->get_future();
    ++*unanswered_;
    QMetaObject::invokeMethod(
        link_,
        [link = link_, promise, question, unanswered = unanswered_] {
            Answer answer;
            answer.value = question(link->store());
            if (!answer.value)
                answer.problem = link->store().problem();
            --*unanswered;
            promise->set_value(std::move(answer));
        },
        Qt::QueuedConnection);
    if (future.wait_for(std::chrono::milliseconds(kReadWaitMs)) != std::future_status::ready) {
        tell(QStringLiteral("pas de réponse à temps"), true);
        return std::nullopt;
    }
    Answer answer = future.get();
    if (!answer.value)
        tell(answer.problem, true);
    return answer.value;
}

QStringList ServerHistory::players()
{
    if (auto found = ask<QStringList>([](PostgresStore &s) { return s.players(); }))
        return *found;
    return local_.players();
}

QList<GameSummary> ServerHistory::games(const QString &player, int mode)
{
    if (auto found = ask<QList<GameSummary>>([player, mode](PostgresStore &s) { return s.games(player, mode); }))
        return *found;
    return local_.games(player, mode);
}

QList<CharacterCount> ServerHistory::characterCounts(const QString &player, int mode)
{
    if (auto found = ask<QList<CharacterCount>>(
            [player, mode](PostgresStore &s) { return s.characterCounts(player, mode); }))
        return *found;
    return local_.characterCounts(player, mode);
}

QList<RecentCharacter> ServerHistory::recentCharacters(const QString &player, int mode, int lastGames)
{
    if (auto found = ask<QList<RecentCharacter>>([player, mode, lastGames](PostgresStore &s) {
            return s.recentCharacters(player, mode, lastGames);
        }))
        return *found;
    return local_.recentCharacters(player, mode, lastGames);
}

QList<ItemLine> ServerHistory::itemLines(const QString &player)
{
    if (auto found = ask<QList<ItemLine>>([player](PostgresStore &s) { return s.itemLines(player); }))
        return *found;
    return local_.itemLines(player);
}

LessonHistory ServerHistory::lessons(const QString &player, int lastGames)
{
    if (auto found = ask<LessonHistory>([player, lastGames](PostgresStore &s) { return s.lessons(player, lastGames); }))
        return *found;
    return local_.lessons(player, lastGames);
}

QList<PlayerFigures> ServerHistory::classFigures(int mode, const QDateTime &weekStart, int recentGames,
                                                 int characterGames)
{
    if (auto found = ask<QList<PlayerFigures>>([=](PostgresStore &s) {
            return s.classFigures(mode, weekStart, recentGames, characterGames);
        }))
        return *found;
    return local_.classFigures(mode, weekStart, recentGames, characterGames);
}
