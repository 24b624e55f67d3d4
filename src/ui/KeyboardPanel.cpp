#include "ui/KeyboardPanel.h"

#include "game/keyboard/KeyboardLayouts.h"
#include "game/keyboard/KeyboardMap.h"
#include "ui/ChoiceLabel.h"
#include "ui/KeyboardMapView.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QVBoxLayout>

namespace {

QString titleOf(const QString &layout)
{
    for (const KeyboardLayouts::Offered &o : KeyboardLayouts::offered()) {
        if (o.layout == layout)
            return o.title;
    }
    return layout;
}

} // namespace

KeyboardPanel::KeyboardPanel(KeyboardLayouts &layouts, QWidget *parent)
    : QGroupBox(QStringLiteral("Fautes par touche"), parent)
    , layouts_(layouts)
{
    layoutBox_ = new QComboBox;
    layoutBox_->setObjectName(QStringLiteral("layoutBox"));
    for (const KeyboardLayouts::Offered &o : KeyboardLayouts::offered())
        layoutBox_->addItem(o.title, o.layout);
    layoutBox_->setCurrentIndex(std::max(0, layoutBox_->findData(layouts_.startLayout())));
    auto *layoutLabel = new QLabel(QStringLiteral("&Clavier\u00A0:"));
    labelWithChoice(layoutLabel, layoutBox_);
    auto *choice = new QHBoxLayout;
    choice->addWidget(layoutLabel);
    choice->addWidget(layoutBox_);
    choice->addStretch();

    map_ = new KeyboardMapView;
    notice_ = new QLabel;
    notice_->setObjectName(QStringLiteral("layoutNotice"));
    notice_->setTextFormat(Qt::PlainText);
    notice_->setWordWrap(true);
    keyLabel_ = new QLabel;
    keyLabel_->setObjectName(QStringLiteral("keyFigures"));
    keyLabel_->setTextFormat(Qt::PlainText);
    keyLabel_->setWordWrap(true); // a long line of figures must not widen the window
    connect(map_, &KeyboardMapView::currentChanged, keyLabel_, &QLabel::setText);
    missedLabel_ = new QLabel;
    missedLabel_->setObjectName(QStringLiteral("mostMissed"));
    missedLabel_->setTextFormat(Qt::PlainText);
    missedLabel_->setWordWrap(true);
    auto *legend = new QLabel(QStringLiteral("Plus la touche est foncée, plus elle a de fautes\u00A0: jaune pâle, "
                                             "aucune\u00A0; bordeaux, 10\u00A0% ou plus\u00A0; blanc hachuré, jamais demandée. "
                                             "Une touche survolée, ou choisie avec les flèches, montre ses "
                                             "chiffres. Une lettre accentuée par une touche morte (ê, ï) compte "
                                             "sur sa lettre."));
    legend->setWordWrap(true);

    auto *layout = new QVBoxLayout(this);
    layout->addLayout(choice);
    layout->addWidget(map_, 1);
    layout->addWidget(notice_);
    layout->addWidget(keyLabel_);
    layout->addWidget(missedLabel_);
    layout->addWidget(legend);
    setTabOrder(layoutBox_, map_);

    connect(layoutBox_, &QComboBox::currentIndexChanged, this, [this] {
        layouts_.choose(layoutBox_->currentData().toString());
        showLayout();
    });
    showLayout();
}

void KeyboardPanel::setCounts(const QList<CharacterCount> &counts)
{
    counts_ = counts;
    map_->setFigures(KeyboardMap::keyFigures(keyboard_, counts_));
    const QStringList missed = KeyboardMap::mostMissed(counts_);
    missedLabel_->setText(missed.isEmpty()
                              ? QStringLiteral("Aucune faute dans ces parties.")
                              : QStringLiteral("Caractères les plus manqués\u00A0:\n") + missed.join(QLatin1Char('\n')));
}

void KeyboardPanel::showLayout()
{
    const QString wanted = layoutBox_->currentData().toString();
    keyboard_ = layouts_.keyboard(wanted);
    if (keyboard_.layout.isEmpty())
        notice_->setText(QStringLiteral("Les dispositions de clavier du système sont introuvables\u00A0: les touches "
                                        "restent sans nom (le paquet xkb-data les fournit)."));
    else if (keyboard_.layout != wanted)
        notice_->setText(QStringLiteral("La disposition «\u00A0%1\u00A0» est introuvable sur ce système\u00A0: la "
                                        "carte montre l'%2.")
                             .arg(titleOf(wanted), titleOf(keyboard_.layout)));
    notice_->setVisible(keyboard_.layout != wanted);
    map_->setKeyboard(keyboard_);
    setCounts(counts_);
}
