#pragma once

#include "ui/MainDesign.h"

#include <QMainWindow>
#include <QString>

class QAction;
class QDialog;
class QGroupBox;
class QLabel;
class QMenu;
class QProgressBar;
class QTimer;

// The main window, where the game is played. It owns the state of the current game and
// of the current player; the other windows are shown modally over it.
class clavimo : public QMainWindow
{
    Q_OBJECT

public:
    explicit clavimo(QWidget *parent = nullptr);
    ~clavimo() override;

    // Window events. Form_Activate is called explicitly: at the first showing and each
    // time one of the program's own modal windows over this one closes.
    void Form_Load();
    void Form_Activate();
    void Form_Unload();
    void Form_Resize();
    void Form_KeyPress(char16_t KeyAscii);
    void Timer1_Timer();

    // Menu commands.
    void nouveau_jeu_Click();
    void scores_Click();
    void chgt_joueur_Click();
    void quitter_Click();
    void un_Click();
    void six_Click();
    void son_Click();
    void aide_Click();
    void a_propos_Click();

    // Procedures of the game.
    void NextItem();
    void ResetGame();
    void ItemComplete();
    void GameOver();
    void LoadAbsRecords();
    void FindPlayer();

    // Controls, reached by the other windows and by the tests.
    QGroupBox *Frame1 = nullptr;
    QGroupBox *Frame2 = nullptr;
    QGroupBox *Frame3 = nullptr;
    QLabel *prenom = nullptr;
    QLabel *Lettre[2] = {nullptr, nullptr};
    QLabel *Espace = nullptr;
    QLabel *af_nb = nullptr;
    QLabel *resultat = nullptr;
    QLabel *Af_mini = nullptr;
    QLabel *Af_Moyenne = nullptr;
    QLabel *af_min_abs = nullptr;
    QLabel *af_moy_abs = nullptr;
    QLabel *af_min_perso = nullptr;
    QLabel *af_moy_perso = nullptr;
    QLabel *PicClv = nullptr;
    QProgressBar *jauge = nullptr;
    QTimer *Timer1 = nullptr;

    QMenu *jeu = nullptr;
    QMenu *options = nullptr;
    QMenu *quoi = nullptr;
    QAction *nouveau_jeu = nullptr;
    QAction *scores = nullptr;
    QAction *chgt_joueur = nullptr;
    QAction *sep0 = nullptr;
    QAction *quitter = nullptr;
    QAction *un = nullptr;
    QAction *six = nullptr;
    QAction *son = nullptr;
    QAction *aide = nullptr;
    QAction *a_propos = nullptr;

    // State of the game and of the current player.
    bool GameRunning = false;
    bool ItemShown = false;
    qint32 ItemCount = 0;
    qint32 CharPos = 0;
    QString LastKey;
    qint64 ItemErrors = 0;
    qint64 StartTicks = 0;
    qint64 EndTicks = 0;
    qint64 ItemTime = 0;
    qint64 GameTotal = 0;
    qint64 GameMini = 0;
    qint64 GameAverage = 0;
    qint64 AbsMini = 0;
    qint64 AbsAverage = 0;
    qint64 PersoMini = 0;
    qint64 PersoAverage = 0;
    qint64 PlayerRecNo = 0;
    qint16 Activated = 0;
    double LetterFontSize = 79.5;
    double WordFontSize = 25;

    // Geometry of the controls in twips and their font sizes, as the layout keeps them.
    MainGeometry geometry;

    // True once the program has been told to end: no further handler does anything.
    bool ended() const { return ended_; }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void closeEvent(QCloseEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    QVariant inputMethodQuery(Qt::InputMethodQuery query) const override;

private:
    void createControls();
    void createMenus();
    void applyGeometry();
    void setEspaceCaption(const QString &text);
    void setLettreFontSize(double points);
    void showModal(QDialog &dialog);
    void showHandOver();
    // The mode commands: the mode's record file (and the word list for six letters),
    // its absolute records, a fresh game, and the current player's record.
    void selectMode(qint16 mode);
    bool openPlayerFile();
    void writeRecord(qint64 k);
    // Rewrites the current player's record with PersoMini and PersoAverage.
    void writePersonalRecord();
    void endProgram();
    bool wordListUsable() const;

    bool ended_ = false;
    bool handOverClosing_ = false;
};
