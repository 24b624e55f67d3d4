#include "ui/MainWindow.h"

#include "game/session/GameSession.h"
#include "game/session/Statistics.h"
#include "ui/AboutWindow.h"
#include "ui/Announcer.h"
#include "ui/Artwork.h"
#include "ui/Gauge.h"
#include "ui/HandOverWindow.h"
#include "ui/PlayerListDialog.h"
#include "ui/ClassWindow.h"
#include "ui/ProgressionWindow.h"
#include "ui/RecordsWindow.h"
#include "ui/Screen.h"
#include "ui/SpokenText.h"
#include "ui/Twips.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QGroupBox>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QMenuBar>
#include <QTimer>

#include <utility>

namespace {

// The item's font: large for a letter, smaller for a word. These sizes are not scaled by
// the re-layout.
constexpr double kLetterFontSize = 79.5;
constexpr double kWordFontSize = 25;

} // namespace

MainWindow::MainWindow(GameSession &session, HistoryReader &history, MessageBoxes &boxes, Shell &shell,
                       KeyboardLayouts &layouts, QWidget *parent)
    : QMainWindow(parent)
    , session_(session)
    , history_(history)
    , boxes_(boxes)
    , shell_(shell)
    , layouts_(layouts)
{
    setWindowTitle(QStringLiteral("Clavimo"));
    setWindowIcon(programIcon());
    createControls();
    createMenus();
    applyGeometry();
    connectSession();
    // Characters composed with dead keys (ê, ï, ...) arrive as input-method commits, which
    // the window only receives when it takes part in input methods.
    setAttribute(Qt::WA_InputMethodEnabled);
    setFocusPolicy(Qt::StrongFocus);
    qApp->installEventFilter(this);

    if (!session_.soundChecked())
        soundAction_->setChecked(false);
    const int menuHeight = menuBar()->sizeHint().height();
    resize(twipsToPixels(kMainClientWidth), twipsToPixels(kMainClientHeight) + menuHeight);
    layout_ = layoutReferenceAt(float(pixelsToTwips(width())), float(pixelsToTwips(height())));
    centreOnScreen(this);
}

MainWindow::~MainWindow()
{
    qApp->removeEventFilter(this);
}

void MainWindow::setHandOverWait(int ms)
{
    handOverWaitMs_ = ms;
}

void MainWindow::connectSession()
{
    connect(&session_, &GameSession::gameReset, this, &MainWindow::showGameReset);
    connect(&session_, &GameSession::promptChanged, this, [this](const QString &caption, bool visible) {
        setPromptCaption(caption);
        prompt_->setVisible(visible);
    });
    connect(&session_, &GameSession::itemShown, this, &MainWindow::showItem);
    connect(&session_, &GameSession::typedChanged, this, &MainWindow::showTyped);
    connect(&session_, &GameSession::itemCompleted, this, &MainWindow::showItemCompleted);
    connect(&session_, &GameSession::gameMiniShown, this, [this](const QString &caption) {
        showScore(gameMini_, gameFrame_->title(), caption);
    });
    connect(&session_, &GameSession::gameAverageShown, this, [this](const QString &caption) {
        showScore(gameAverage_, gameFrame_->title(), caption);
    });
    connect(&session_, &GameSession::playerShown, this, [this](const QString &name) {
        playerName_->setText(name);
        playerName_->setAccessibleName(QStringLiteral("Joueur\u00A0: ") + name);
        personalFrame_->setTitle(QStringLiteral("Records ") + name);
    });
    connect(&session_, &GameSession::soundSwitched, soundAction_, &QAction::setChecked);
    connect(&session_, &GameSession::gameOver, this, &MainWindow::showHandOver);
    connect(&session_, &GameSession::ending, gaugeTimer_, &QTimer::stop);

    RecordKeeper &records = session_.records();
    // The same titles as the sentences set with the controls.
    const QString absolute = QStringLiteral("Record absolu");
    const QString personal = QStringLiteral("Record personnel");
    connect(&records, &RecordKeeper::absoluteMiniShown, this,
            [this, absolute](const QString &caption) { showScore(absoluteMini_, absolute, caption); });
    connect(&records, &RecordKeeper::absoluteAverageShown, this,
            [this, absolute](const QString &caption) { showScore(absoluteAverage_, absolute, caption); });
    connect(&records, &RecordKeeper::personalMiniShown, this,
            [this, personal](const QString &caption) { showScore(personalMini_, personal, caption); });
    connect(&records, &RecordKeeper::personalAverageShown, this,
            [this, personal](const QString &caption) { showScore(personalAverage_, personal, caption); });
}

void MainWindow::showScore(QLabel *label, const QString &title, const QString &caption)
{
    label->setText(caption);
    label->setAccessibleName(SpokenText::score(title, caption));
}

void MainWindow::showTyped(const QString &typed)
{
    typed_->setText(typed);
    // Nothing typed yet is nothing to say: an empty name leaves the empty label silent.
    typed_->setAccessibleName(typed.isEmpty() ? QString() : QStringLiteral("Tapé\u00A0: ") + typed);
}

void MainWindow::activate(bool afterHandOver)
{
    if (session_.activate(afterHandOver))
        showMaximized();
}

void MainWindow::showGameReset(int mode)
{
    itemTime_->setText(QStringLiteral("0"));
    itemTime_->setAccessibleName(QStringLiteral("Temps\u00A0: pas encore de temps"));
    itemNumber_->setText(QStringLiteral("1"));
    itemNumber_->setAccessibleName(SpokenText::itemNumber(1, Statistics::kItemsPerGame));
    const bool oneLetter = mode == 1;
    setItemFontSize(oneLetter ? kLetterFontSize : kWordFontSize);
    oneLetterAction_->setChecked(oneLetter);
    sixLettersAction_->setChecked(!oneLetter);
    item_->setText(oneLetter ? QStringLiteral("?") : QStringLiteral("??????"));
    item_->setAccessibleName(oneLetter ? QStringLiteral("Lettre\u00A0: pas encore tirée")
                                       : QStringLiteral("Mot\u00A0: pas encore tiré"));
    showTyped(QString());
    gameOverWords_.clear(); // a new game begun meanwhile makes them untrue
    showScore(gameMini_, gameFrame_->title(), QStringLiteral("Mini"));
    showScore(gameAverage_, gameFrame_->title(), QStringLiteral("Moyenne"));
}

void MainWindow::setItemCommandsEnabled(bool enabled)
{
    for (QAction *action : {newGameAction_, practiceAction_, courseAction_, changePlayersAction_, sixLettersAction_,
                            oneLetterAction_})
        action->setEnabled(enabled);
}

void MainWindow::showItem(const QString &item, int number)
{
    setItemCommandsEnabled(false);
    itemNumber_->setText(QString::number(number));
    itemNumber_->setAccessibleName(SpokenText::itemNumber(number, Statistics::kItemsPerGame));
    showTyped(QString());
    setCursor(Qt::WaitCursor);
    item_->setText(item);
    // Told before the item's start tick is read, as everything this slot does.
    const QString spoken = SpokenText::item(item, session_.mode());
    item_->setAccessibleName(spoken);
    announcer_->announce(spoken);
    gaugeTimer_->start();
    gauge_->setValue(0);
}

void MainWindow::showItemCompleted(qint64 time)
{
    gaugeTimer_->stop();
    prompt_->show();
    setItemCommandsEnabled(true);
    unsetCursor();
    itemTime_->setText(QString::number(time));
    // The end tick has been read before this slot runs: telling the time costs the item
    // nothing.
    const QString spoken = SpokenText::itemTime(time);
    itemTime_->setAccessibleName(spoken);
    announcer_->announce(spoken);
}

void MainWindow::newGame()
{
    if (!session_.hasPlayer()) {
        changePlayers();
        if (session_.isEnded())
            return;
    }
    session_.newGame();
}

void MainWindow::newPractice()
{
    if (!session_.hasPlayer()) {
        changePlayers();
        if (session_.isEnded() || !session_.hasPlayer())
            return;
    }
    session_.newPractice();
}

void MainWindow::changePlayers()
{
    {
        PlayerListDialog dialog(session_.playerFile(), session_.turns().players(), boxes_, this);
        if (dialog.exec() == QDialog::Accepted)
            session_.setPlayers(dialog.players());
        activate();
    }
    if (session_.isEnded())
        return;
    session_.afterPlayersChosen();
}

void MainWindow::showScores()
{
    RecordsWindow dialog(session_.playerFile(), session_.mode(), this);
    dialog.exec();
    activate();
}

void MainWindow::showProgression()
{
    {
        ProgressionWindow dialog(history_, boxes_, layouts_, session_.wallClock(),
                                 session_.hasPlayer() ? session_.shownName() : QString(), session_.mode(), this);
        dialog.exec();
    }
    activate();
}

void MainWindow::showCourse()
{
    if (!session_.hasPlayer()) {
        boxes_.show(QStringLiteral("Le cours apprend le clavier à un joueur : choisissez d'abord qui joue "
                                   "(Jeu, Changement de joueur, F4)."),
                    QStringLiteral("Apprendre le clavier"), BoxButtons::Ok, BoxIcon::Information);
        return;
    }
    if (openCourse_)
        openCourse_(this, session_.shownName());
    activate();
}

void MainWindow::showClass()
{
    {
        ClassWindow dialog(history_, boxes_, session_.wallClock(), session_.mode(),
                           [this](QWidget *owner, const QString &player, int mode) {
                               ProgressionWindow progression(history_, boxes_, layouts_, session_.wallClock(), player,
                                                             mode, owner);
                               progression.exec();
                           },
                           this);
        dialog.exec();
    }
    activate();
}

void MainWindow::showAbout()
{
    AboutWindow dialog(boxes_, shell_, aboutScrollPosition_, this);
    dialog.exec();
    activate();
}

void MainWindow::showHandOver(const QString &nextPlayer)
{
    {
        HandOverWindow dialog(nextPlayer, handOverWaitMs_, this);
        dialog.exec();
    }
    activate(true);
    if (session_.isEnded())
        return;
    // The screen keeps "Barre espace pour continuer"; a player who cannot see it is told
    // what comes next once back in this window (see changeEvent).
    gameOverWords_ = SpokenText::gameOver(nextPlayer);
    if (isActiveWindow())
        announceGameOver();
}

void MainWindow::announceGameOver()
{
    if (!gameOverWords_.isEmpty())
        announcer_->announce(std::exchange(gameOverWords_, QString()));
}

void MainWindow::changeEvent(QEvent *event)
{
    QMainWindow::changeEvent(event);
    // Told once the window has the focus again and screen readers have said so: said
    // before, the window's own announcement would cut it short. This is no part of the
    // window's activation logic, which never hangs on these events.
    if (event->type() == QEvent::ActivationChange && isActiveWindow() && !gameOverWords_.isEmpty())
        QTimer::singleShot(0, this, &MainWindow::announceGameOver);
}

void MainWindow::quit()
{
    session_.quit();
}

void MainWindow::selectOneLetter()
{
    session_.selectMode(1);
}

void MainWindow::selectSixLetters()
{
    session_.selectMode(6);
}

void MainWindow::toggleSound()
{
    session_.toggleSound();
}

void MainWindow::help()
{
    session_.help();
}

void MainWindow::closeEvent(QCloseEvent *event)
{
    session_.sayGoodbye();
    event->accept();
}

bool MainWindow::eventFilter(QObject *watched, QEvent *event)
{
    // The window sees every character typed in it before any control does. Keys without
    // a character (function keys, arrows) go on to the menus and shortcuts.
    const bool keyPress = event->type() == QEvent::KeyPress;
    if ((!keyPress && event->type() != QEvent::InputMethod) || session_.isEnded())
        return QMainWindow::eventFilter(watched, event);
    // Only a key typed in this window with nothing open over it is the player's. While a
    // menu is open every key is the menu's: an open menu hands the keys it has no use for
    // to the menu bar, which belongs to this window, so the menu is looked for itself and
    // not only the widget that receives the key.
    auto *widget = qobject_cast<QWidget *>(watched);
    if (!widget || widget->window() != this || QApplication::activePopupWidget()
        || QApplication::activeModalWidget())
        return QMainWindow::eventFilter(watched, event);

    QString text;
    if (keyPress) {
        const auto *key = static_cast<QKeyEvent *>(event);
        switch (key->key()) {
        case Qt::Key_Escape: text = QChar(27); break;
        case Qt::Key_Return:
        case Qt::Key_Enter: text = QChar(13); break;
        case Qt::Key_Backspace: text = QChar(8); break;
        case Qt::Key_Tab: text = QChar(9); break;
        default: text = key->text(); break;
        }
        if (text.isEmpty())
            return QMainWindow::eventFilter(watched, event);
    } else {
        text = static_cast<QInputMethodEvent *>(event)->commitString();
    }
    for (QChar c : text) {
        if (session_.isEnded())
            break;
        session_.typeKey(c);
    }
    return true;
}

QVariant MainWindow::inputMethodQuery(Qt::InputMethodQuery query) const
{
    if (query == Qt::ImEnabled)
        return true;
    return QMainWindow::inputMethodQuery(query);
}

void MainWindow::resizeEvent(QResizeEvent *event)
{
    QMainWindow::resizeEvent(event);
    relayout();
}

void MainWindow::relayout()
{
    // Sizes are taken with the menu bar but without the window manager's frame, which Qt
    // does not know reliably before the window is mapped; what matters is that the same
    // measure is used at load and at every change.
    if (scaleMainLayout(geometry_, layout_, float(pixelsToTwips(width())), float(pixelsToTwips(height())),
                        isMinimized()))
        applyGeometry();
}
