// Building the main window's controls and menus, and placing them from the geometry kept
// in twips.
#include "ui/MainWindow.h"

#include "game/session/GameSession.h"
#include "ui/Announcer.h"
#include "ui/Artwork.h"
#include "ui/Fonts.h"
#include "ui/Gauge.h"
#include "ui/MenuTitleAccessible.h"
#include "ui/SpokenText.h"
#include "ui/Twips.h"

#include <QAction>
#include <QGroupBox>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QTimer>

#include <utility>

namespace {

const QColor kGrey(192, 192, 192);

struct ControlFont
{
    MainControl control;
    const char *family;
    bool italic;
};

// Every control with a font of its own is bold; the frames and the prompt take the window's
// font, MS Sans Serif.
constexpr ControlFont kFonts[] = {
    {MainControl::AbsoluteFrame, "MS Sans Serif", false},
    {MainControl::PersonalFrame, "MS Sans Serif", false},
    {MainControl::GameFrame, "MS Sans Serif", false},
    {MainControl::AbsoluteMini, "Arial Narrow", false},
    {MainControl::AbsoluteAverage, "Arial Narrow", false},
    {MainControl::PersonalMini, "MS Sans Serif", false},
    {MainControl::PersonalAverage, "MS Sans Serif", false},
    {MainControl::ItemNumber, "Times New Roman", false},
    {MainControl::ItemTime, "Times New Roman", true},
    {MainControl::GameMini, "MS Sans Serif", false},
    {MainControl::GameAverage, "MS Sans Serif", false},
    {MainControl::PlayerName, "Times New Roman", false},
    {MainControl::Item, "Times New Roman", false},
    {MainControl::Typed, "Times New Roman", false},
    {MainControl::Prompt, "MS Sans Serif", false},
};

QLabel *greyLabel(QWidget *parent, const QString &name, const QString &caption,
                  Qt::Alignment align = Qt::AlignLeft | Qt::AlignTop)
{
    auto *label = new QLabel(caption, parent);
    label->setObjectName(name);
    label->setTextFormat(Qt::PlainText); // a player's name is shown as typed, never as markup
    label->setAutoFillBackground(true);
    QPalette p = label->palette();
    p.setColor(QPalette::Window, kGrey);
    label->setPalette(p);
    label->setAlignment(align);
    return label;
}

QGroupBox *frame(QWidget *parent, const QString &name, const QString &caption)
{
    auto *box = new QGroupBox(caption, parent);
    box->setObjectName(name);
    return box;
}

} // namespace

void MainWindow::createControls()
{
    auto *central = new QWidget(this);
    setCentralWidget(central);

    gauge_ = new Gauge(central);
    gauge_->setObjectName(QStringLiteral("gauge"));
    gauge_->setAccessibleName(QStringLiteral("Jauge de l'élément en cours"));

    logo_ = new QLabel(central);
    logo_->setFrameShape(QFrame::Box);
    logo_->setLineWidth(1);
    logo_->setAlignment(Qt::AlignCenter);
    logo_->setPixmap(programIconPixmap());
    logo_->setAccessibleName(QStringLiteral("Logo de Clavimo"));

    const Qt::Alignment centred = Qt::AlignHCenter | Qt::AlignTop;
    gameFrame_ = frame(central, QStringLiteral("gameFrame"), QStringLiteral("Partie en cours"));
    playerName_ = greyLabel(gameFrame_, QStringLiteral("playerName"), QStringLiteral("Prénom"));
    gameMini_ = greyLabel(gameFrame_, QStringLiteral("gameMini"), QStringLiteral("Mini"));
    gameAverage_ = greyLabel(gameFrame_, QStringLiteral("gameAverage"), QStringLiteral("Moyenne"));
    itemTime_ = greyLabel(gameFrame_, QStringLiteral("itemTime"), QStringLiteral("9999"), centred);
    itemNumber_ = greyLabel(gameFrame_, QStringLiteral("itemNumber"), QStringLiteral("0"), centred);

    absoluteFrame_ = frame(central, QStringLiteral("absoluteFrame"), QStringLiteral("Records absolus"));
    absoluteMini_ = greyLabel(absoluteFrame_, QStringLiteral("absoluteMini"), QStringLiteral("Mini"));
    absoluteAverage_ = greyLabel(absoluteFrame_, QStringLiteral("absoluteAverage"), QStringLiteral("Moyenne"));

    personalFrame_ = frame(central, QStringLiteral("personalFrame"), QStringLiteral("Records personnels"));
    personalMini_ = greyLabel(personalFrame_, QStringLiteral("personalMini"), QStringLiteral("Mini"));
    personalAverage_ = greyLabel(personalFrame_, QStringLiteral("personalAverage"), QStringLiteral("Moyenne"));

    item_ = greyLabel(central, QStringLiteral("item"), QStringLiteral("M"), centred);
    QPalette red = item_->palette();
    red.setColor(QPalette::WindowText, QColor(255, 0, 0));
    item_->setPalette(red);
    typed_ = greyLabel(central, QStringLiteral("typed"), QStringLiteral("Q"), centred);
    // The sentences screen readers say for the figures, until the session reports its own.
    playerName_->setAccessibleName(QStringLiteral("Joueur\u00A0: personne"));
    itemTime_->setAccessibleName(QStringLiteral("Temps\u00A0: pas encore de temps"));
    itemNumber_->setAccessibleName(QStringLiteral("Élément\u00A0: aucun"));
    item_->setAccessibleName(QStringLiteral("Lettre\u00A0: pas encore tirée"));
    const QString game = gameFrame_->title();
    const QString absolute = QStringLiteral("Record absolu");
    const QString personal = QStringLiteral("Record personnel");
    for (auto [label, title] : {std::pair{gameMini_, game}, {gameAverage_, game}, {absoluteMini_, absolute},
                                {absoluteAverage_, absolute}, {personalMini_, personal}, {personalAverage_, personal}})
        label->setAccessibleName(SpokenText::score(title, label->text()));

    announcer_ = new Announcer(central);

    prompt_ = new QLabel(QStringLiteral("Touche F2 pour commencer"), central);
    prompt_->setObjectName(QStringLiteral("prompt"));
    prompt_->setTextFormat(Qt::PlainText);

    gaugeTimer_ = new QTimer(this);
    gaugeTimer_->setObjectName(QStringLiteral("gaugeTimer"));
    gaugeTimer_->setInterval(50);
    connect(gaugeTimer_, &QTimer::timeout, this, [this] { gauge_->setValue((gauge_->value() + 1) % 100); });

    geometry_ = mainDesignGeometry();
}

void MainWindow::createMenus()
{
    // A checkable action flips its own check mark before its slot runs; the session
    // decides the check marks itself, so that flip is undone first.
    auto command = [this](QMenu *menu, const QString &name, const QString &caption, void (MainWindow::*slot)(),
                          const QKeySequence &shortcut = QKeySequence(), bool checkable = false) {
        QAction *action = menu->addAction(caption);
        action->setObjectName(name);
        action->setShortcut(shortcut);
        action->setCheckable(checkable);
        connect(action, &QAction::triggered, this, [this, action, slot, checkable] {
            if (checkable)
                action->setChecked(!action->isChecked());
            if (!session_.isEnded())
                (this->*slot)();
        });
        return action;
    };

    QMenu *game = menuBar()->addMenu(QStringLiteral("&Jeu"));
    newGameAction_ = command(game, QStringLiteral("newGameAction"), QStringLiteral("&Nouveau jeu"),
                             &MainWindow::newGame, Qt::Key_F2);
    practiceAction_ = command(game, QStringLiteral("practiceAction"), QStringLiteral("&Entraînement ciblé"),
                              &MainWindow::newPractice, Qt::Key_F6);
    courseAction_ = command(game, QStringLiteral("courseAction"), QStringLiteral("&Apprendre le clavier"),
                            &MainWindow::showCourse, Qt::Key_F8);
    scoresAction_ = command(game, QStringLiteral("scoresAction"), QStringLiteral("&Scores"),
                            &MainWindow::showScores, Qt::Key_F3);
    progressionAction_ = command(game, QStringLiteral("progressionAction"), QStringLiteral("&Progression"),
                                 &MainWindow::showProgression, Qt::Key_F5);
    classAction_ = command(game, QStringLiteral("classAction"), QStringLiteral("La &classe"), &MainWindow::showClass,
                           Qt::Key_F7);
    changePlayersAction_ = command(game, QStringLiteral("changePlayersAction"),
                                   QStringLiteral("Changement de &joueur"), &MainWindow::changePlayers, Qt::Key_F4);
    game->addSeparator();
    quitAction_ = command(game, QStringLiteral("quitAction"), QStringLiteral("&Quitter"), &MainWindow::quit);

    QMenu *options = menuBar()->addMenu(QStringLiteral("&Options"));
    oneLetterAction_ = command(options, QStringLiteral("oneLetterAction"), QStringLiteral("&1 lettre"),
                               &MainWindow::selectOneLetter, QKeySequence(), true);
    sixLettersAction_ = command(options, QStringLiteral("sixLettersAction"), QStringLiteral("&6 lettres"),
                                &MainWindow::selectSixLetters, QKeySequence(), true);
    soundAction_ = command(options, QStringLiteral("soundAction"), QStringLiteral("&Son"), &MainWindow::toggleSound,
                           QKeySequence(), true);
    oneLetterAction_->setChecked(true);
    soundAction_->setChecked(true);

    QAccessible::installFactory(&MenuTitleAccessible::factory);
    QMenu *about = menuBar()->addMenu(QStringLiteral("&?"));
    // A bare "?" says nothing to someone who hears it.
    about->setAccessibleName(QStringLiteral("Aide"));
    helpAction_ = command(about, QStringLiteral("helpAction"), QStringLiteral("&Aide"), &MainWindow::help, Qt::Key_F1);
    aboutAction_ = command(about, QStringLiteral("aboutAction"), QStringLiteral("&A propos de Clavimo ..."),
                           &MainWindow::showAbout);
}

void MainWindow::applyGeometry()
{
    auto widgetFor = [this](MainControl c) -> QWidget * {
        switch (c) {
        case MainControl::AbsoluteFrame: return absoluteFrame_;
        case MainControl::PersonalFrame: return personalFrame_;
        case MainControl::GameFrame: return gameFrame_;
        case MainControl::AbsoluteMini: return absoluteMini_;
        case MainControl::AbsoluteAverage: return absoluteAverage_;
        case MainControl::PersonalMini: return personalMini_;
        case MainControl::PersonalAverage: return personalAverage_;
        case MainControl::ItemNumber: return itemNumber_;
        case MainControl::ItemTime: return itemTime_;
        case MainControl::GameMini: return gameMini_;
        case MainControl::GameAverage: return gameAverage_;
        case MainControl::Gauge: return gauge_;
        case MainControl::PlayerName: return playerName_;
        case MainControl::Item: return item_;
        case MainControl::Typed: return typed_;
        case MainControl::Prompt: return prompt_;
        case MainControl::Logo: return logo_;
        }
        return nullptr;
    };

    for (const ControlFont &f : kFonts) {
        const float points = at(geometry_, f.control).fontSize;
        if (points > 0)
            widgetFor(f.control)->setFont(designFont(QString::fromLatin1(f.family), points, true, f.italic));
    }
    for (int i = 0; i < kMainControlCount; ++i) {
        const auto c = MainControl(i);
        const ControlGeometry &g = geometry_[std::size_t(i)];
        QWidget *w = widgetFor(c);
        if (c == MainControl::Logo) {
            // The picture box keeps the natural size of its picture and only moves.
            w->move(twipsToPixels(g.left), twipsToPixels(g.top));
            w->adjustSize();
            continue;
        }
        w->setGeometry(twipsRect(g.left, g.top, g.width, g.height));
    }
    setPromptCaption(prompt_->text());
}

void MainWindow::setPromptCaption(const QString &text)
{
    // The prompt sizes itself to its text; the layout then scales the size it really has.
    prompt_->setText(text);
    prompt_->adjustSize();
    ControlGeometry &g = at(geometry_, MainControl::Prompt);
    g.width = float(pixelsToTwips(prompt_->width()));
    g.height = float(pixelsToTwips(prompt_->height()));
}

void MainWindow::setItemFontSize(double points)
{
    at(geometry_, MainControl::Item).fontSize = float(points);
    at(geometry_, MainControl::Typed).fontSize = float(points);
    for (QLabel *label : {item_, typed_})
        label->setFont(designFont(QStringLiteral("Times New Roman"), points, true));
}
