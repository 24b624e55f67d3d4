#pragma once

#include <QDialog>

class QComboBox;
class QGroupBox;
class QLabel;
class QListWidget;
class QPushButton;

// The player list dialog: names the players of the coming games in their order of turns.
// OK replaces the shared player list and makes its first name current; Annuler (also
// Escape and the title-bar close) leaves everything as it was.
class saisie_pre : public QDialog
{
    Q_OBJECT

public:
    explicit saisie_pre(QLabel *prenom, QWidget *parent = nullptr);

    // Key codes Combo_KeyDown knows.
    static constexpr int KeyEnter = 13;
    static constexpr int KeyUp = 38;
    static constexpr int KeyDown = 40;

    QGroupBox *SSFrame1 = nullptr;
    QComboBox *Combo = nullptr;
    QLabel *Picture1 = nullptr;
    QGroupBox *Support_liste = nullptr;
    QListWidget *liste = nullptr;
    QPushButton *ok = nullptr;
    QPushButton *annuler = nullptr;
    QPushButton *Command1 = nullptr;

    void Form_Load();
    void Form_Activate();
    void Combo_Click();
    void Combo_DblClick();
    void Combo_KeyDown(int KeyCode, int Shift);
    void liste_DblClick();
    void ok_Click();
    void annuler_Click();
    void Command1_Click();

    void reject() override;

protected:
    void showEvent(QShowEvent *event) override;
    void closeEvent(QCloseEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void AddName();
    void addKnownName(const QString &name);

    QLabel *prenom_ = nullptr;
    bool SuppressClick = false;
    bool Found = false;
    bool activated_ = false;
};
