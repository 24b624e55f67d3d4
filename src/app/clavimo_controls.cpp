// Building the main window's controls and menus, and placing them from the geometry kept
// in twips.
#include "app/clavimo.h"

#include "platform/Twips.h"
#include "ui/Artwork.h"
#include "ui/Fonts.h"

#include <QAction>
#include <QGroupBox>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QProgressBar>
#include <QTimer>

namespace {

const QColor kGrey(192, 192, 192);

struct ControlFont
{
    MainControl control;
    const char *family;
    bool italic;
};

// Every control with a font of its own is bold; the frames and Espace take the window's
// font, MS Sans Serif.
constexpr ControlFont kFonts[] = {
    {MainControl::Frame1, "MS Sans Serif", false},
    {MainControl::Frame2, "MS Sans Serif", false},
    {MainControl::Frame3, "MS Sans Serif", false},
    {MainControl::af_min_abs, "Arial Narrow", false},
    {MainControl::af_moy_abs, "Arial Narrow", false},
    {MainControl::af_min_perso, "MS Sans Serif", false},
    {MainControl::af_moy_perso, "MS Sans Serif", false},
    {MainControl::af_nb, "Times New Roman", false},
    {MainControl::resultat, "Times New Roman", true},
    {MainControl::Af_mini, "MS Sans Serif", false},
    {MainControl::Af_Moyenne, "MS Sans Serif", false},
    {MainControl::prenom, "Times New Roman", false},
    {MainControl::Lettre0, "Times New Roman", false},
    {MainControl::Lettre1, "Times New Roman", false},
    {MainControl::Espace, "MS Sans Serif", false},
};

QLabel *greyLabel(QWidget *parent, const QString &caption, Qt::Alignment align = Qt::AlignLeft | Qt::AlignTop)
{
    auto *label = new QLabel(caption, parent);
    label->setTextFormat(Qt::PlainText); // a player's name is shown as typed, never as markup
    label->setAutoFillBackground(true);
    QPalette p = label->palette();
    p.setColor(QPalette::Window, kGrey);
    label->setPalette(p);
    label->setAlignment(align);
    return label;
}

} // namespace

void clavimo::createControls()
{
    auto *central = new QWidget(this);
    setCentralWidget(central);

    jauge = new QProgressBar(central);
    jauge->setRange(0, 100);
    jauge->setValue(0);
    jauge->setTextVisible(false);

    PicClv = new QLabel(central);
    PicClv->setFrameShape(QFrame::Box);
    PicClv->setLineWidth(1);
    PicClv->setAlignment(Qt::AlignCenter);
    PicClv->setPixmap(programIconPixmap());

    Frame3 = new QGroupBox(QStringLiteral("Partie en cours"), central);
    prenom = greyLabel(Frame3, QStringLiteral("Prénom"));
    Af_mini = greyLabel(Frame3, QStringLiteral("Mini"));
    Af_Moyenne = greyLabel(Frame3, QStringLiteral("Moyenne"));
    resultat = greyLabel(Frame3, QStringLiteral("9999"), Qt::AlignHCenter | Qt::AlignTop);
    af_nb = greyLabel(Frame3, QStringLiteral("0"), Qt::AlignHCenter | Qt::AlignTop);

    Frame1 = new QGroupBox(QStringLiteral("Records absolus"), central);
    af_min_abs = greyLabel(Frame1, QStringLiteral("Mini"));
    af_moy_abs = greyLabel(Frame1, QStringLiteral("Moyenne"));

    Frame2 = new QGroupBox(QStringLiteral("Records personnels"), central);
    af_min_perso = greyLabel(Frame2, QStringLiteral("Mini"));
    af_moy_perso = greyLabel(Frame2, QStringLiteral("Moyenne"));

    Lettre[0] = greyLabel(central, QStringLiteral("M"), Qt::AlignHCenter | Qt::AlignTop);
    QPalette red = Lettre[0]->palette();
    red.setColor(QPalette::WindowText, QColor(255, 0, 0));
    Lettre[0]->setPalette(red);
    Lettre[1] = greyLabel(central, QStringLiteral("Q"), Qt::AlignHCenter | Qt::AlignTop);

    Espace = new QLabel(QStringLiteral("Touche F2 pour commencer"), central);
    Espace->setTextFormat(Qt::PlainText);

    Timer1 = new QTimer(this);
    Timer1->setInterval(50);
    connect(Timer1, &QTimer::timeout, this, &clavimo::Timer1_Timer);

    geometry = mainDesignGeometry();
}

void clavimo::createMenus()
{
    // A checkable action flips its own check mark before its handler runs; the handlers
    // here decide the check marks themselves, so that flip is undone first.
    auto command = [this](QMenu *menu, const QString &caption, void (clavimo::*handler)(),
                          const QKeySequence &shortcut = QKeySequence(), bool checkable = false) {
        QAction *action = menu->addAction(caption);
        action->setShortcut(shortcut);
        action->setCheckable(checkable);
        connect(action, &QAction::triggered, this, [this, action, handler, checkable] {
            if (checkable)
                action->setChecked(!action->isChecked());
            if (!ended_)
                (this->*handler)();
        });
        return action;
    };

    jeu = menuBar()->addMenu(QStringLiteral("&Jeu"));
    nouveau_jeu = command(jeu, QStringLiteral("&Nouveau jeu"), &clavimo::nouveau_jeu_Click, Qt::Key_F2);
    scores = command(jeu, QStringLiteral("&Scores"), &clavimo::scores_Click, Qt::Key_F3);
    chgt_joueur = command(jeu, QStringLiteral("Changement de &joueur"), &clavimo::chgt_joueur_Click, Qt::Key_F4);
    sep0 = jeu->addSeparator();
    quitter = command(jeu, QStringLiteral("&Quitter"), &clavimo::quitter_Click);

    options = menuBar()->addMenu(QStringLiteral("&Options"));
    un = command(options, QStringLiteral("&1 lettre"), &clavimo::un_Click, QKeySequence(), true);
    six = command(options, QStringLiteral("&6 lettres"), &clavimo::six_Click, QKeySequence(), true);
    son = command(options, QStringLiteral("&Son"), &clavimo::son_Click, QKeySequence(), true);
    un->setChecked(true);
    son->setChecked(true);

    quoi = menuBar()->addMenu(QStringLiteral("&?"));
    aide = command(quoi, QStringLiteral("&Aide"), &clavimo::aide_Click, Qt::Key_F1);
    a_propos = command(quoi, QStringLiteral("&A propos de Clavimo ..."), &clavimo::a_propos_Click);
}

void clavimo::applyGeometry()
{
    auto widgetFor = [this](MainControl c) -> QWidget * {
        switch (c) {
        case MainControl::Frame1: return Frame1;
        case MainControl::Frame2: return Frame2;
        case MainControl::Frame3: return Frame3;
        case MainControl::af_min_abs: return af_min_abs;
        case MainControl::af_moy_abs: return af_moy_abs;
        case MainControl::af_min_perso: return af_min_perso;
        case MainControl::af_moy_perso: return af_moy_perso;
        case MainControl::af_nb: return af_nb;
        case MainControl::resultat: return resultat;
        case MainControl::Af_mini: return Af_mini;
        case MainControl::Af_Moyenne: return Af_Moyenne;
        case MainControl::jauge: return jauge;
        case MainControl::prenom: return prenom;
        case MainControl::Lettre0: return Lettre[0];
        case MainControl::Lettre1: return Lettre[1];
        case MainControl::Espace: return Espace;
        case MainControl::PicClv: return PicClv;
        }
        return nullptr;
    };

    for (const ControlFont &f : kFonts) {
        const float points = at(geometry, f.control).FontSize;
        if (points > 0)
            widgetFor(f.control)->setFont(designFont(QString::fromLatin1(f.family), points, true, f.italic));
    }
    for (int i = 0; i < kMainControlCount; ++i) {
        const auto c = MainControl(i);
        const ControlGeometry &g = geometry[std::size_t(i)];
        QWidget *w = widgetFor(c);
        if (c == MainControl::PicClv) {
            // The picture box keeps the natural size of its picture and only moves.
            w->move(twipsToPixels(g.Left), twipsToPixels(g.Top));
            w->adjustSize();
            continue;
        }
        w->setGeometry(twipsRect(g.Left, g.Top, g.Width, g.Height));
    }
    setEspaceCaption(Espace->text());
}

void clavimo::setEspaceCaption(const QString &text)
{
    // Espace sizes itself to its text; the layout then scales the size it really has.
    Espace->setText(text);
    Espace->adjustSize();
    ControlGeometry &g = at(geometry, MainControl::Espace);
    g.Width = float(pixelsToTwips(Espace->width()));
    g.Height = float(pixelsToTwips(Espace->height()));
}

void clavimo::setLettreFontSize(double points)
{
    at(geometry, MainControl::Lettre0).FontSize = float(points);
    at(geometry, MainControl::Lettre1).FontSize = float(points);
    for (QLabel *label : Lettre)
        label->setFont(designFont(QStringLiteral("Times New Roman"), points, true));
}
