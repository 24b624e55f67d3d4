#pragma once

#include "game/course/Course.h"
#include "game/course/LetterWeights.h"
#include "game/keyboard/Keyboard.h"
#include "platform/Services.h"

#include <QDialog>
#include <QStringList>

#include <optional>

class Announcer;
class GameHistory;
class HistoryReader;
class KeyboardLayouts;
class KeyboardMapView;
class Lesson;
class QComboBox;
class QLabel;
class TypingField;
struct FinishedGame;

// « Apprendre le clavier »: the keyboard course of one player on their own layout. The text
// to type, large, in a field that has the keyboard focus; under it the layout drawn with
// the keys learnt ("apprise"), the new key with a thick border and its finger written on
// it, and the same as text; the speed target and the key worked on, chosen with the
// keyboard. The space bar shows each item of a lesson; after the 20th the lesson is kept
// in the history and the moving-on rule may bring in the next key, which is said to
// screen readers as each item is.
class CourseWindow : public QDialog
{
    Q_OBJECT

public:
    CourseWindow(const Services &services, HistoryReader &reader, GameHistory *history, KeyboardLayouts &layouts,
                 const QString &player, QWidget *parent = nullptr);
    ~CourseWindow() override;

    const Course &course() const { return *course_; }

protected:
    void showEvent(QShowEvent *event) override;

private:
    void startLesson();
    void showCourse();
    void showItem(const QString &item, int number);
    void showItemTime(qint64 ms, int number);
    void finishLesson(const FinishedGame &game);
    QString newKeySentence() const;
    QString verdictSentence() const;

    QString player_;
    Keyboard keyboard_;
    QStringList words_;
    LetterWeights weights_;
    std::optional<Course> course_;
    Lesson *lesson_ = nullptr;

    QLabel *keysLabel_ = nullptr;
    QComboBox *paceBox_ = nullptr;
    QComboBox *focusBox_ = nullptr;
    TypingField *field_ = nullptr;
    QLabel *typed_ = nullptr;
    QLabel *progress_ = nullptr;
    KeyboardMapView *map_ = nullptr;
    QLabel *verdict_ = nullptr;
    Announcer *announcer_ = nullptr;
};
