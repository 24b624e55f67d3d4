#pragma once

#include "ui/MainDesign.h"
#include "ui/MainLayout.h"

#include <QMainWindow>
#include <QString>

#include <functional>

class Announcer;
class GameSession;
class Gauge;
class KeyboardLayouts;
class MessageBoxes;
class Shell;
class HistoryReader;
class QAction;
class QGroupBox;
class QLabel;
class QMenu;
class QTimer;

// The main window, where the game is played. It shows what the game session reports and
// hands it every character typed and every menu command; the other windows are shown
// modally over it.
class MainWindow : public QMainWindow
{
    Q_OBJECT

public:
    MainWindow(GameSession &session, HistoryReader &history, MessageBoxes &boxes, Shell &shell,
               KeyboardLayouts &layouts, QWidget *parent = nullptr);
    ~MainWindow() override;

    // Runs at the first showing (called by whoever shows the window) and each time one of
    // the program's own modal windows over this one closes.
    void activate(bool afterHandOver = false);
    // How long the hand-over window stays (2000 ms unless a test shortens it).
    void setHandOverWait(int ms);
    // Opens the keyboard course of a player over `owner` and returns once it is closed; the
    // composition root gives it, as the course needs the services and the history's writer.
    using CourseOpener = std::function<void(QWidget *owner, const QString &player)>;
    void setCourseOpener(CourseOpener opener) { openCourse_ = std::move(opener); }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void changeEvent(QEvent *event) override;
    void closeEvent(QCloseEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    QVariant inputMethodQuery(Qt::InputMethodQuery query) const override;

private slots:
    void newGame();
    void newPractice();
    void showCourse();
    void showScores();
    void showProgression();
    void showClass();
    void changePlayers();
    void quit();
    void selectOneLetter();
    void selectSixLetters();
    void toggleSound();
    void help();
    void showAbout();

private:
    void createControls();
    void createMenus();
    void connectSession();
    void applyGeometry();
    void relayout();
    void setPromptCaption(const QString &text);
    void setItemFontSize(double points);
    void setItemCommandsEnabled(bool enabled);
    void showGameReset(int mode);
    void showItem(const QString &item, int number);
    void showItemCompleted(qint64 time);
    void showHandOver(const QString &nextPlayer);
    // Shows a score caption, and its sentence to screen readers.
    void showScore(QLabel *label, const QString &title, const QString &caption);
    void showTyped(const QString &typed);
    void announceGameOver();

    GameSession &session_;
    HistoryReader &history_;
    MessageBoxes &boxes_;
    Shell &shell_;
    KeyboardLayouts &layouts_;

    QGroupBox *absoluteFrame_ = nullptr;
    QGroupBox *personalFrame_ = nullptr;
    QGroupBox *gameFrame_ = nullptr;
    QLabel *playerName_ = nullptr;
    QLabel *item_ = nullptr;
    QLabel *typed_ = nullptr;
    QLabel *prompt_ = nullptr;
    QLabel *itemNumber_ = nullptr;
    QLabel *itemTime_ = nullptr;
    QLabel *gameMini_ = nullptr;
    QLabel *gameAverage_ = nullptr;
    QLabel *absoluteMini_ = nullptr;
    QLabel *absoluteAverage_ = nullptr;
    QLabel *personalMini_ = nullptr;
    QLabel *personalAverage_ = nullptr;
    QLabel *logo_ = nullptr;
    Gauge *gauge_ = nullptr;
    QTimer *gaugeTimer_ = nullptr;
    Announcer *announcer_ = nullptr;
    CourseOpener openCourse_;
    // What screen readers are told of a finished game, until it is said.
    QString gameOverWords_;

    QAction *newGameAction_ = nullptr;
    QAction *practiceAction_ = nullptr;
    QAction *courseAction_ = nullptr;
    QAction *scoresAction_ = nullptr;
    QAction *progressionAction_ = nullptr;
    QAction *classAction_ = nullptr;
    QAction *changePlayersAction_ = nullptr;
    QAction *quitAction_ = nullptr;
    QAction *oneLetterAction_ = nullptr;
    QAction *sixLettersAction_ = nullptr;
    QAction *soundAction_ = nullptr;
    QAction *helpAction_ = nullptr;
    QAction *aboutAction_ = nullptr;

    // Geometry of the controls in twips and their font sizes, as the layout keeps them,
    // and the window size the last layout was made for.
    MainGeometry geometry_;
    LayoutReference layout_;
    // Where the About window's scrolling line stands, kept from one showing to the next.
    int aboutScrollPosition_ = 0;
    int handOverWaitMs_ = 2000;
};
