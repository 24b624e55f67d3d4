#include "ui/CourseWindow.h"

#include "game/course/CourseWords.h"
#include "game/course/Lesson.h"
#include "game/keyboard/KeyboardLayouts.h"
#include "game/progress/HistoryReader.h"
#include "game/session/FinishedGame.h"
#include "ui/Announcer.h"
#include "ui/ChoiceLabel.h"
#include "ui/KeyboardMapView.h"
#include "ui/SpokenText.h"
#include "ui/TypingField.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLocale>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

const QString kColon = QStringLiteral("\u00A0: ");

// The finger as written on the key: "index G", "majeur D", "pouce".
QString shortFinger(const QString &finger)
{
    const QStringList words = finger.split(QLatin1Char(' '));
    QString first = words.value(0);
    if (first.size() > 6)
        first = first.left(5) + QLatin1Char('.');
    return words.size() > 1 ? first + QLatin1Char(' ') + words[1].left(1).toUpper() : first;
}

QLabel *wrappedLabel(const QString &name)
{
    auto *label = new QLabel;
    label->setObjectName(name);
    label->setTextFormat(Qt::PlainText);
    label->setWordWrap(true);
    return label;
}

} // namespace

CourseWindow::CourseWindow(const Services &services, HistoryReader &reader, GameHistory *history,
                           KeyboardLayouts &layouts, const QString &player, QWidget *parent)
    : QDialog(parent)
    , player_(player)
    , keyboard_(layouts.keyboard(layouts.startLayout()))
    , words_(CourseWords::load())
    , weights_(LetterWeights::load())
{
    setWindowTitle(QStringLiteral("Apprendre le clavier – %1").arg(player));
    course_.emplace(CourseKeys::order(keyboard_, weights_), reader.lessons(player, Course::kLessonsRead));
    lesson_ = new Lesson(services, history, this);
    announcer_ = new Announcer(this);

    keysLabel_ = wrappedLabel(QStringLiteral("courseKeys"));
    paceBox_ = new QComboBox;
    paceBox_->setObjectName(QStringLiteral("paceBox"));
    for (const MovingOn::Pace &pace : MovingOn::kPaces) {
        paceBox_->addItem(QStringLiteral("%1 (%2 ms par touche)").arg(QString::fromUtf8(pace.name)).arg(pace.targetMs),
                          pace.targetMs);
    }
    paceBox_->setCurrentIndex(std::max(0, paceBox_->findData(course_->targetMs())));
    focusBox_ = new QComboBox;
    focusBox_->setObjectName(QStringLiteral("focusBox"));
    auto *paceLabel = new QLabel(QStringLiteral("&Allure visée\u00A0:"));
    labelWithChoice(paceLabel, paceBox_);
    auto *focusLabel = new QLabel(QStringLiteral("&Touche travaillée\u00A0:"));
    labelWithChoice(focusLabel, focusBox_);
    auto *choices = new QHBoxLayout;
    choices->addWidget(paceLabel);
    choices->addWidget(paceBox_);
    choices->addSpacing(12);
    choices->addWidget(focusLabel);
    choices->addWidget(focusBox_);
    choices->addStretch();

    field_ = new TypingField;
    field_->setObjectName(QStringLiteral("courseItem"));
    // Its name is the text itself, so that a screen reader on the field reads the item.
    field_->setAccessibleDescription(QStringLiteral("Texte à taper"));
    QFont big = field_->font();
    big.setPointSizeF(big.pointSizeF() * 2.5);
    big.setBold(true);
    field_->setFont(big);
    typed_ = new QLabel;
    typed_->setObjectName(QStringLiteral("courseTyped"));
    typed_->setTextFormat(Qt::PlainText);
    typed_->setAlignment(Qt::AlignCenter);
    typed_->setFont(big);
    progress_ = wrappedLabel(QStringLiteral("courseProgress"));
    map_ = new KeyboardMapView;
    map_->setAccessibleName(QStringLiteral("Clavier du cours"));
    map_->setKeyboard(keyboard_);
    verdict_ = wrappedLabel(QStringLiteral("courseVerdict"));
    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Close);
    buttons->button(QDialogButtonBox::Close)->setText(QStringLiteral("&Fermer"));
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(keysLabel_);
    layout->addLayout(choices);
    layout->addWidget(field_);
    layout->addWidget(typed_);
    layout->addWidget(progress_);
    layout->addWidget(map_, 1);
    layout->addWidget(verdict_);
    layout->addWidget(buttons);

    connect(field_, &TypingField::typed, lesson_, &Lesson::typeKey);
    connect(lesson_, &Lesson::itemShown, this, &CourseWindow::showItem);
    connect(lesson_, &Lesson::typedChanged, typed_, &QLabel::setText);
    connect(lesson_, &Lesson::itemCompleted, this, &CourseWindow::showItemTime);
    connect(lesson_, &Lesson::finished, this, &CourseWindow::finishLesson);
    connect(paceBox_, &QComboBox::activated, this, [this] {
        course_->setTargetMs(paceBox_->currentData().toInt());
        verdict_->setText(verdictSentence());
        field_->setFocus();
    });
    connect(focusBox_, &QComboBox::activated, this, [this] {
        course_->setFocus(focusBox_->currentData().toChar());
        showCourse();
        startLesson();
        field_->setFocus();
    });

    showCourse();
    startLesson();
    verdict_->setText(verdictSentence());
    field_->setFocus();
    announcer_->announce(newKeySentence());
}

CourseWindow::~CourseWindow() = default;

// The keys go to the text to type from the start, whatever the window manager focused.
void CourseWindow::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    field_->setFocus();
}

QString CourseWindow::newKeySentence() const
{
    if (course_->keysInPlay() == 0)
        return QStringLiteral("Ce clavier n'a pas pu être lu\u00A0: le cours ne peut pas commencer.");
    if (course_->onHomeRow()) {
        QStringList keys;
        for (QChar c : course_->characters())
            keys << QString(c);
        return QStringLiteral("Rangée de repos%1%2, les doigts posés dessus").arg(kColon, keys.join(QLatin1Char(' ')));
    }
    const CourseKey &key = course_->newKey();
    return QStringLiteral("Nouvelle touche%1%2, %3").arg(kColon, QString(key.character), key.finger);
}

void CourseWindow::showCourse()
{
    const int keys = course_->keysInPlay();
    keysLabel_->setText(QStringLiteral("Touches apprises%1%2 sur %3. %4.")
                            .arg(kColon)
                            .arg(keys)
                            .arg(course_->order().size())
                            .arg(newKeySentence()));
    focusBox_->clear();
    for (QChar c : course_->characters())
        focusBox_->addItem(QString(c), c);
    focusBox_->setCurrentIndex(std::max(0, focusBox_->findData(course_->focus())));

    // Learnt keys pale and marked "apprise", keys to come white and hatched, the new key
    // (or the home row) dark with its finger written on it and a thick border.
    QList<KeyboardMap::KeyFigures> figures;
    QStringList drawn, spoken;
    int emphasised = -1;
    int index = 0;
    for (int r = 0; r < keyboard_.rows.size(); ++r) {
        for (int c = 0; c < keyboard_.rows[r].size(); ++c, ++index) {
            const Key &key = keyboard_.rows[r][c];
            bool learnt = false, isNew = false;
            for (int k = 0; k < keys; ++k) {
                const KeyPlace &p = course_->order()[k].place;
                if (p.row == r && p.column == c) {
                    learnt = true;
                    isNew = isNew || k == keys - 1 || course_->onHomeRow();
                }
            }
            const QString finger = CourseKeys::finger(key.name);
            figures.append({key.label(), learnt ? 1 : 0, isNew ? 1 : 0});
            drawn << (isNew ? shortFinger(finger) : learnt ? QStringLiteral("apprise") : QString());
            spoken << (isNew ? QStringLiteral("nouvelle, %1").arg(finger) : learnt ? QStringLiteral("apprise") : QStringLiteral("pas encore"));
            if (isNew && (emphasised < 0 || !course_->onHomeRow()))
                emphasised = index;
        }
    }
    map_->setFigures(figures);
    map_->setNotes(drawn, spoken, course_->onHomeRow() ? -1 : emphasised);
}

void CourseWindow::startLesson()
{
    if (course_->keysInPlay() == 0) {
        field_->showText(newKeySentence());
        return;
    }
    lesson_->start(player_, std::make_unique<LessonDraw>(course_->characters(), course_->focus(), words_, weights_),
                   course_->keysInPlay(), course_->targetMs());
    field_->showText(QStringLiteral("Barre espace pour commencer"));
    typed_->clear();
    progress_->setText(QStringLiteral("Une leçon, c'est %1 groupes de touches\u00A0; la barre espace montre chacun.")
                           .arg(TypingGame::kItemsPerGame));
}

void CourseWindow::showItem(const QString &item, int number)
{
    field_->showText(item);
    typed_->clear();
    announcer_->announce(SpokenText::lessonItem(item, number, TypingGame::kItemsPerGame));
}

void CourseWindow::showItemTime(qint64 ms, int number)
{
    progress_->setText(QStringLiteral("%1 – %2 ms").arg(SpokenText::itemNumber(number, TypingGame::kItemsPerGame)).arg(ms));
    // The item typed stays on the line under the field, which tells what comes next.
    field_->showText(QStringLiteral("Barre espace pour la suite"));
}

void CourseWindow::finishLesson(const FinishedGame &game)
{
    const bool newKey = course_->addLesson(game);
    QString said = QStringLiteral("Leçon terminée.");
    if (newKey) {
        showCourse();
        said += QLatin1Char(' ') + newKeySentence() + QLatin1Char('.');
    }
    verdict_->setText(verdictSentence());
    announcer_->announce(said);
    startLesson();
    field_->showText(QStringLiteral("%1 Barre espace pour la leçon suivante.").arg(said));
}

QString CourseWindow::verdictSentence() const
{
    const MovingOn::Verdict v = course_->verdict();
    QStringList below;
    for (const MovingOn::KeyFigures &f : v.keys) {
        if (!f.good())
            below << QString(f.key);
    }
    const QLocale fr(QLocale::French);
    QString text = below.isEmpty()
        ? QStringLiteral("Toutes les touches sont justes à 95\u00A0% sur leurs %1 dernières apparitions.")
              .arg(MovingOn::kAppearances)
        : QStringLiteral("Pas encore justes à 95\u00A0% sur %1 apparitions%2%3.")
              .arg(MovingOn::kAppearances)
              .arg(kColon, below.join(QLatin1Char(' ')));
    text += v.meanMsPerKey < 0 ? QStringLiteral(" Pas encore de leçon pour le temps par touche (objectif\u00A0: %1 ms).")
                                     .arg(course_->targetMs())
                               : QStringLiteral(" Temps moyen par touche à la dernière leçon%1%2 ms (objectif%1%3 ms).")
                                     .arg(kColon, fr.toString(qRound(v.meanMsPerKey)))
                                     .arg(course_->targetMs());
    return text;
}
