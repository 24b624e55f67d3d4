#include "app/clavimo.h"

#include "app/Clvglob.h"
#include "app/FileProblems.h"
#include "game/SoundCue.h"
#include "platform/Beeper.h"
#include "platform/Clock.h"
#include "platform/DataPaths.h"
#include "platform/MessageBoxes.h"
#include "platform/ProgramEnd.h"
#include "platform/RandomSource.h"
#include "platform/Services.h"
#include "platform/Windows1252.h"
#include "game/RecordBook.h"
#include "game/Statistics.h"
#include "ui/Artwork.h"
#include "ui/Screen.h"
#include "platform/Twips.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QDialog>
#include <QMenuBar>
#include <QGroupBox>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QMenu>
#include <QProgressBar>
#include <QTimer>

#include <cmath>

namespace {

const QString kTitle = QStringLiteral("Clavimo");
const QString kNoPlayer = QStringLiteral("Prénom");
const QString kPressSpace = QStringLiteral("Barre espace pour continuer");

void recordBox(const QString &text, const QString &player)
{
    services().boxes->show(text, player, BoxButtons::Ok, BoxIcon::Information);
}

} // namespace

clavimo::clavimo(QWidget *parent)
    : QMainWindow(parent)
{
    setWindowTitle(kTitle);
    setWindowIcon(programIcon());
    createControls();
    createMenus();
    applyGeometry();
    // Characters composed with dead keys (ê, ï, ...) arrive as input-method commits, which
    // the window only receives when it takes part in input methods.
    setAttribute(Qt::WA_InputMethodEnabled);
    setFocusPolicy(Qt::StrongFocus);
    qApp->installEventFilter(this);
    Form_Load();
}

clavimo::~clavimo()
{
    qApp->removeEventFilter(this);
}

void clavimo::Form_Load()
{
    Clvglob &g = clvglob();
    if (g.SoundOn != -1)
        son->setChecked(false);
    g.GameMode = 1;
    WordFontSize = 25;
    LetterFontSize = 79.5;

    const int menuHeight = menuBar()->sizeHint().height();
    resize(twipsToPixels(kMainClientWidth), twipsToPixels(kMainClientHeight) + menuHeight);
    g.Layout = layoutReferenceAt(float(pixelsToTwips(width())), float(pixelsToTwips(height())));

    centreOnScreen(this);
}

void clavimo::Form_Activate()
{
    if (ended_)
        return;
    Clvglob &g = clvglob();
    const bool afterHandOver = handOverClosing_;
    handOverClosing_ = false;

    if (Activated != -1) {
        un_Click();
        if (ended_)
            return;
        showMaximized();
        GameRunning = false;
        Activated = -1;
        return;
    }
    if (g.CurrentPlayer == 0)
        return;
    // Only the return from the hand-over window starts the next player's game; closing
    // the records list or the About window must not throw away a game in progress.
    if (g.CurrentPlayer > 1 && afterHandOver)
        nouveau_jeu_Click();
    prenom->setText(g.currentPlayerName());
    Frame2->setTitle(QStringLiteral("Records ") + prenom->text());
    FindPlayer();
}

void clavimo::showModal(QDialog &dialog)
{
    dialog.exec();
    Form_Activate();
}

void clavimo::nouveau_jeu_Click()
{
    if (prenom->text() == kNoPlayer) {
        chgt_joueur_Click();
        if (ended_)
            return;
    }
    GameRunning = true;
    ResetGame();
    setEspaceCaption(kPressSpace);
    Espace->show();
}

void clavimo::un_Click()
{
    selectMode(1);
}

void clavimo::six_Click()
{
    selectMode(6);
}

void clavimo::selectMode(qint16 mode)
{
    Clvglob &g = clvglob();
    g.GameMode = mode;
    if (mode == 1)
        g.wordFile.close();
    g.playerFile.close();
    if (!openPlayerFile())
        return;
    // A missing word list is not reported here: the space bar says so when it is needed.
    if (mode == 6 && !g.wordFile.isOpen())
        g.wordFile.open(locateDataFile(WordList::fileName()));
    LoadAbsRecords();
    ResetGame();
    if (prenom->text() != kNoPlayer)
        FindPlayer();
}

void clavimo::son_Click()
{
    Clvglob &g = clvglob();
    if (son->isChecked()) {
        g.SoundOn = 0;
        son->setChecked(false);
    } else {
        g.SoundOn = -1;
        son->setChecked(true);
    }
    if (!g.settingsFile.save(g.SoundOn))
        reportWriteProblem(SettingsFile::fileName(), g.settingsFile.errorString());
}

void clavimo::aide_Click()
{
    if (clvglob().SoundOn != 0)
        services().beeper->beep();
    services().boxes->show(
        QStringLiteral("C'est pas assez clair ?..... Désolé j'ai rien d'autre pour le moment !"),
        kTitle, BoxButtons::Ok, BoxIcon::Question);
}

void clavimo::quitter_Click()
{
    const BoxAnswer answer = services().boxes->show(QStringLiteral("Allez, encore un peu !"), kTitle,
                                                    BoxButtons::OkCancel, BoxIcon::Exclamation);
    if (answer != BoxAnswer::Ok)
        return;
    SoundCue(Cue::Goodbye);
    endProgram();
}

void clavimo::Form_Unload()
{
    SoundCue(Cue::Goodbye);
    services().boxes->show(QStringLiteral("Au revoir et à bientôt !"), kTitle, BoxButtons::Ok,
                           BoxIcon::None);
    endProgram();
}

void clavimo::closeEvent(QCloseEvent *event)
{
    if (!ended_)
        Form_Unload();
    event->accept();
}

void clavimo::endProgram()
{
    ended_ = true;
    Timer1->stop();
    clvglob().closeAll();
    services().end->endNow();
}

bool clavimo::openPlayerFile()
{
    Clvglob &g = clvglob();
    const QString name = PlayerFile::fileNameFor(g.GameMode);
    if (g.playerFile.open(name))
        return true;
    reportOpenProblem(name, g.playerFile.errorString());
    endProgram();
    return false;
}

void clavimo::writeRecord(qint64 k)
{
    Clvglob &g = clvglob();
    if (!g.playerFile.write(k, g.RecordBuffer))
        reportWriteProblem(g.playerFile.path(), g.playerFile.errorString());
}

bool clavimo::wordListUsable() const
{
    const WordList &words = clvglob().wordFile;
    return words.isOpen() && words.usableCount() > 0;
}

bool clavimo::eventFilter(QObject *watched, QEvent *event)
{
    // The window sees every character typed in it before any control does. Keys without
    // a character (function keys, arrows) go on to the menus and shortcuts.
    const bool keyPress = event->type() == QEvent::KeyPress;
    if ((!keyPress && event->type() != QEvent::InputMethod) || ended_)
        return QMainWindow::eventFilter(watched, event);
    auto *widget = qobject_cast<QWidget *>(watched);
    if (!widget || widget->window() != this || QApplication::activeModalWidget())
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
        if (ended_)
            break;
        Form_KeyPress(c.unicode());
    }
    return true;
}

QVariant clavimo::inputMethodQuery(Qt::InputMethodQuery query) const
{
    if (query == Qt::ImEnabled)
        return true;
    return QMainWindow::inputMethodQuery(query);
}

void clavimo::Form_KeyPress(char16_t KeyAscii)
{
    if (ended_)
        return;
    LastKey = QString(QChar(KeyAscii));
    if (KeyAscii == 27) {
        quitter_Click();
        if (ended_)
            return;
    }
    if (ItemShown) {
        LastKey = Windows1252::toUpper(LastKey);
        const QString item = Lettre[0]->text();
        const QChar expected = CharPos >= 1 && CharPos <= item.size() ? item.at(CharPos - 1) : QChar();
        if (LastKey.at(0) != expected) {
            services().beeper->beep();
            ++ItemErrors;
        } else {
            Lettre[1]->setText(Lettre[1]->text() + LastKey);
            ++CharPos;
        }
        if (CharPos > clvglob().GameMode)
            ItemComplete();
    } else if (GameRunning && LastKey == QLatin1String(" ")) {
        if (clvglob().GameMode != 1 && !wordListUsable()) {
            services().boxes->show(
                QStringLiteral("La liste de mots « %1 » est absente ou vide : le jeu en 6 lettres "
                               "ne peut pas tirer de mot. Choisissez le jeu en 1 lettre dans le menu Options.")
                    .arg(WordList::fileName()),
                kTitle, BoxButtons::Ok, BoxIcon::Exclamation);
            return;
        }
        setEspaceCaption(kPressSpace);
        Espace->hide();
        ItemShown = true;
        NextItem();
    }
}

void clavimo::NextItem()
{
    nouveau_jeu->setEnabled(false);
    chgt_joueur->setEnabled(false);
    six->setEnabled(false);
    un->setEnabled(false);
    ++ItemCount;
    af_nb->setText(QString::number(ItemCount));
    Lettre[1]->setText(QString());
    setCursor(Qt::WaitCursor);
    CharPos = 1;
    const double r = services().random->next();
    if (clvglob().GameMode == 1) {
        const int offset = std::clamp(int(std::floor(r * 26)), 0, 25);
        Lettre[0]->setText(QString(QChar(65 + offset)));
    } else {
        Lettre[0]->setText(clvglob().wordFile.draw(r));
    }
    StartTicks = services().clock->ticks();
    Timer1->start();
    jauge->setValue(0);
}

void clavimo::Timer1_Timer()
{
    jauge->setValue((jauge->value() + 1) % 100);
}

void clavimo::ResetGame()
{
    GameMini = Statistics::kUnset;
    ItemTime = 0;
    resultat->setText(QStringLiteral("0"));
    ItemCount = 0;
    af_nb->setText(QStringLiteral("1"));
    GameTotal = 0;
    if (clvglob().GameMode == 1) {
        setLettreFontSize(LetterFontSize);
        un->setChecked(true);
        six->setChecked(false);
        Lettre[0]->setText(QStringLiteral("?"));
    } else {
        setLettreFontSize(WordFontSize);
        un->setChecked(false);
        six->setChecked(true);
        Lettre[0]->setText(QStringLiteral("??????"));
    }
    Lettre[1]->setText(QString());
    Af_mini->setText(QStringLiteral("Mini"));
    Af_Moyenne->setText(QStringLiteral("Moyenne"));
}

void clavimo::ItemComplete()
{
    // The end tick first, before any display, menu or file work.
    EndTicks = services().clock->ticks();
    ItemShown = false;
    Timer1->stop();
    Espace->show();
    const qint64 raw = EndTicks - StartTicks;
    six->setEnabled(true);
    un->setEnabled(true);
    nouveau_jeu->setEnabled(true);
    chgt_joueur->setEnabled(true);
    unsetCursor();

    ItemTime = Statistics::itemTime(raw, ItemErrors);
    resultat->setText(QString::number(ItemTime));
    GameTotal += ItemTime;
    if (ItemTime < GameMini) {
        SoundCue(Cue::GameBest);
        GameMini = ItemTime;
        Af_mini->setText(Statistics::gameMiniCaption(GameMini));
    }
    GameAverage = Statistics::average(GameTotal, ItemCount);
    Af_Moyenne->setText(Statistics::gameAverageCaption(GameAverage));

    Clvglob &g = clvglob();
    const QString player = prenom->text();
    if (GameMini < AbsMini) {
        SoundCue(Cue::AbsoluteMini);
        recordBox(QStringLiteral("Record mini absolu !"), player);
        AbsMini = GameMini;
        g.RecordBuffer = g.playerFile.read(1);
        g.RecordBuffer.Mini = qint16(AbsMini);
        g.RecordBuffer.setName(player);
        af_min_abs->setText(Statistics::absMiniBeatenCaption(g.RecordBuffer.Name, AbsMini));
        writeRecord(1);
    }
    if (GameMini < PersoMini) {
        SoundCue(Cue::PersonalMini);
        recordBox(QStringLiteral("Record mini perso !"), player);
        PersoMini = GameMini;
        writePersonalRecord();
        af_min_perso->setText(Statistics::persoMiniCaption(PersoMini));
    }
    if (ItemCount == Statistics::kItemsPerGame)
        GameOver();
    ItemTime = 0;
    ItemErrors = 0;
}

void clavimo::GameOver()
{
    Clvglob &g = clvglob();
    const QString player = prenom->text();
    if (GameAverage < PersoAverage) {
        SoundCue(Cue::PersonalAverage);
        recordBox(QStringLiteral("Record perso moyenne !"), player);
        PersoAverage = GameAverage;
        af_moy_perso->setText(Statistics::persoAverageCaption(PersoAverage));
        writePersonalRecord();
    }
    if (GameAverage < AbsAverage) {
        SoundCue(Cue::AbsoluteAverage);
        recordBox(QStringLiteral("Record absolu moyenne !"), player);
        AbsAverage = GameAverage;
        g.RecordBuffer = g.playerFile.read(2);
        g.RecordBuffer.setName(player);
        g.RecordBuffer.Average = qint16(GameAverage);
        af_moy_abs->setText(Statistics::absAverageBeatenCaption(player, AbsAverage));
        writeRecord(2);
    }
    GameRunning = false;
    showHandOver();
}

void clavimo::writePersonalRecord()
{
    Clvglob &g = clvglob();
    g.RecordBuffer = g.playerFile.read(PlayerRecNo);
    g.RecordBuffer.Mini = qint16(PersoMini);
    g.RecordBuffer.Average = qint16(PersoAverage);
    g.RecordBuffer.setName(prenom->text());
    writeRecord(PlayerRecNo);
}

void clavimo::LoadAbsRecords()
{
    Clvglob &g = clvglob();
    const RecordBook::AbsRecords abs = RecordBook::loadAbsRecords(g.playerFile, g.RecordBuffer);
    if (!abs.written)
        reportWriteProblem(g.playerFile.path(), g.playerFile.errorString());
    AbsMini = abs.mini;
    af_min_abs->setText(Statistics::absMiniLoadedCaption(abs.miniName, AbsMini));
    AbsAverage = abs.average;
    af_moy_abs->setText(Statistics::absAverageLoadedCaption(abs.averageName, AbsAverage));
}

void clavimo::FindPlayer()
{
    Clvglob &g = clvglob();
    PlayerRecNo = 0;
    const RecordBook::Lookup found = RecordBook::findPlayer(g.playerFile, prenom->text(), g.RecordBuffer);
    PlayerRecNo = found.recordNumber;
    PersoMini = g.RecordBuffer.Mini;
    PersoAverage = g.RecordBuffer.Average;
    if (found.created) {
        if (!found.written)
            reportWriteProblem(g.playerFile.path(), g.playerFile.errorString());
        services().boxes->show(QStringLiteral("Bienvenue au Club CLAVIMO !"), prenom->text(),
                               BoxButtons::Ok, BoxIcon::Information);
    }
    af_min_perso->setText(Statistics::persoMiniCaption(g.RecordBuffer.Mini));
    af_moy_perso->setText(Statistics::persoAverageCaption(g.RecordBuffer.Average));
}

void clavimo::resizeEvent(QResizeEvent *event)
{
    QMainWindow::resizeEvent(event);
    Form_Resize();
}

void clavimo::Form_Resize()
{
    // Sizes are taken with the menu bar but without the window manager's frame, which Qt
    // does not know reliably before the window is mapped; what matters is that the same
    // measure is used at load and at every change.
    if (scaleMainLayout(geometry, clvglob().Layout, float(pixelsToTwips(width())),
                        float(pixelsToTwips(height())), isMinimized()))
        applyGeometry();
}
