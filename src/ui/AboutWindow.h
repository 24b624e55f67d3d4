#pragma once

#include <QDateTime>
#include <QDialog>
#include <QList>
#include <QPixmap>
#include <QString>

class MessageBoxes;
class QLabel;
class QPushButton;
class QTimer;
class Shell;

// The About window: title, build date of the program file, version, a scrolling author
// line, an animated face and the author's two addresses, which open in the system's
// default programs.
class AboutWindow : public QDialog
{
    Q_OBJECT

public:
    // scrollPosition is where the author line stands; the window moves it on, and the
    // next window goes on from there.
    AboutWindow(MessageBoxes &boxes, Shell &shell, int &scrollPosition, QWidget *parent = nullptr);

    // "<day> <month> <year> hh:mm:ss" in French, e.g. "3 Août 2020 09:05:07".
    static QString dateCaption(const QDateTime &d);
    static QString webAddress();
    static QString mailAddress();

    // One step of the animation: the line scrolls by a character, the next face shows.
    void animate();

protected:
    bool eventFilter(QObject *watched, QEvent *e) override;

private:
    void showFace(int image);
    void openAddress(const QString &address);
    void fitToText(QLabel *label);
    void finish();

    MessageBoxes &boxes_;
    Shell &shell_;
    int &scrollPosition_;

    QLabel *face_ = nullptr;
    QPushButton *okButton_ = nullptr;
    QLabel *titleLabel_ = nullptr;
    QLabel *authorLine_ = nullptr;
    QLabel *webLabel_ = nullptr;
    QLabel *mailLabel_ = nullptr;
    QLabel *versionLabel_ = nullptr;
    QLabel *dateLabel_ = nullptr;
    QTimer *timer_ = nullptr;

    QList<QPixmap> faces_;
    QString scrollText_;
    int faceIndex_ = 0;
};
