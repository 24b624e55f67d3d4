#pragma once

#include <QDateTime>
#include <QDialog>
#include <QList>
#include <QPixmap>
#include <QString>

#include <array>

class QLabel;
class QPushButton;
class QTimer;

// The About window: title, build date of the program file, version, a scrolling author
// line, an animated face and the author's two addresses, which open in the system's
// default programs.
class apropos : public QDialog
{
    Q_OBJECT

public:
    explicit apropos(QWidget *parent = nullptr);

    // The author line scrolls on from where the previous window left it.
    static inline qint16 ScrollPos = 0;

    // "<day> <month> <year> hh:mm:ss" in French, e.g. "3 Août 2020 09:05:07".
    static QString dateCaption(const QDateTime &d);
    static QString webAddress();
    static QString mailAddress();

    std::array<QLabel *, 1> Picture1{};
    QPushButton *Command1 = nullptr;
    QLabel *Label1 = nullptr;
    QLabel *Label2 = nullptr;
    QLabel *Label3 = nullptr;
    QLabel *Label4 = nullptr;
    QLabel *Label5 = nullptr;
    QLabel *Label6 = nullptr;
    QTimer *Timer1 = nullptr;

    QString ScrollText;
    qint16 FaceIndex = 0;

    // The number (1 to 5) of the face Picture1(0) shows.
    int shownFace() const { return shownFace_; }

    void Timer1_Timer();
    void Command1_Click();
    void Form_KeyDown(int KeyCode, Qt::KeyboardModifiers Shift);
    void Label3_Click();
    void Label4_Click();
    void fin();
    void ErrStart(QString &fichier);

protected:
    bool eventFilter(QObject *watched, QEvent *e) override;

private:
    void Form_Load();
    void showFace(int image);
    void openAddress(QString address);
    void fitToText(QLabel *label);

    QList<QPixmap> ImageList1;
    int shownFace_ = 0;
};
