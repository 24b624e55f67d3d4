#include "records/record.h"

#include "app/Clvglob.h"
#include "platform/Twips.h"
#include "game/RecordsList.h"
#include "ui/Fonts.h"
#include "ui/Screen.h"

#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QListView>
#include <QPushButton>
#include <QStringListModel>

#include <cmath>

namespace {

// Design sizes, in twips.
constexpr float kTitreWidth = 4815;
constexpr float kTitreHeight = 855;
constexpr float kLabel1Height = 300;
constexpr float kListTop = 915;
constexpr float kMargins = 390;

} // namespace

record::record(QWidget *parent)
    : QDialog(parent)
{
    setWindowTitle(QStringLiteral("Liste des records"));
    setFont(designFont(QStringLiteral("MS Sans Serif"), 8.25, true));

    titre = new QGroupBox(QStringLiteral("Record 1 lettre"), this);
    titre->setObjectName(QStringLiteral("titre"));
    titre->setFont(designFont(QStringLiteral("MS Sans Serif"), 9.75, true, false, true));
    titre->setGeometry(twipsRect(0, 0, kTitreWidth, kTitreHeight));

    Label1 = new QLabel(recordsHeader(), titre);
    Label1->setObjectName(QStringLiteral("Label1"));
    Label1->setFont(designFont(QStringLiteral("MS Sans Serif"), 9.75, true));
    Label1->setGeometry(twipsRect(120, 480, 4575, kLabel1Height));

    model_ = new QStringListModel(this);
    Liste = new QListView(this);
    Liste->setObjectName(QStringLiteral("Liste"));
    Liste->setModel(model_);
    Liste->setFont(designFont(QStringLiteral("Courier"), 9.75, true));
    Liste->setEditTriggers(QAbstractItemView::NoEditTriggers);
    // Every line has the same height, which keeps tens of thousands of lines quick.
    Liste->setUniformItemSizes(true);
    Liste->setAutoFillBackground(true);
    QPalette listPalette = Liste->palette();
    listPalette.setColor(QPalette::Base, QColor(192, 192, 192));
    Liste->setPalette(listPalette);
    Liste->setGeometry(twipsRect(0, kListTop, kTitreWidth, listHeight_));

    ok = new QPushButton(QStringLiteral("OK"), this);
    ok->setObjectName(QStringLiteral("ok"));
    ok->setFont(designFont(QStringLiteral("MS Sans Serif"), 8.25, true));
    ok->setGeometry(twipsRect(1680, 5565, 1275, 540));
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, &record::ok_Click);

    setTabOrder(Liste, ok);
    Liste->setFocus();

    Form_Load();
}

QStringList record::lines() const
{
    return model_->stringList();
}

void record::Form_Load()
{
    const QRect area = screenArea(this);
    const float screenHeight = float(pixelsToTwips(area.height()));
    const float screenWidth = float(pixelsToTwips(area.width()));
    const float outerWidth = kTitreWidth + 120;

    loadHeight_ = screenHeight / 2;
    const float top = (screenHeight - loadHeight_) / 2;
    const float left = (screenWidth - outerWidth) / 2;
    resize(twipsToPixels(outerWidth), twipsToPixels(loadHeight_));
    move(area.topLeft() + QPoint(twipsToPixels(left), twipsToPixels(top)));
    Form_Resize();
}

// Frame and title bar around the client area; only known once the window is shown.
QSize record::frameExtra() const
{
    if (!isVisible())
        return QSize(0, 0);
    const QSize extra = frameGeometry().size() - size();
    return QSize(std::max(extra.width(), 0), std::max(extra.height(), 0));
}

void record::Form_Resize()
{
    const QSize extra = frameExtra();
    const float outerWidth = kTitreWidth + 120;
    float outerHeight = float(pixelsToTwips(height() + extra.height()));

    if (kTitreHeight + kLabel1Height + kMargins < outerHeight)
        listHeight_ = outerHeight - kLabel1Height - kTitreHeight - kMargins;
    outerHeight = kTitreHeight + kLabel1Height + listHeight_ + kMargins;

    Liste->setGeometry(twipsRect(0, kListTop, kTitreWidth, listHeight_));
    ok->move(ok->x(), twipsToPixels(outerHeight - 1000));

    const QSize client(twipsToPixels(outerWidth) - extra.width(),
                       twipsToPixels(outerHeight) - extra.height());
    if (size() != client)
        resize(client);
}

void record::Form_Activate()
{
    Clvglob &g = clvglob();
    if (g.GameMode == 6)
        titre->setTitle(QStringLiteral("Record 6 lettres"));

    g.FilePlayerCount = g.playerFile.playerCount();
    if (!(g.FilePlayerCount > 0))
        return;

    // A trailing fragment shorter than a record is not a player.
    const qint64 count = qint64(std::floor(g.FilePlayerCount));
    if (count < 1)
        return;
    const QList<PlayerRecord> table = g.playerFile.read(3, count);
    g.RecordBuffer = table.last();

    const QStringList fresh = recordLines(rankByAverage(table));
    QStringList shown = model_->stringList();
    for (qsizetype i = 0; i < fresh.size(); ++i) {
        if (i < shown.size())
            shown[i] = fresh[i];
        else
            shown.append(fresh[i]);
    }
    // Resetting the model would also reset the scroll position, so only when needed.
    if (shown != model_->stringList())
        model_->setStringList(shown);
}

void record::ok_Click()
{
    accept();
}

bool record::event(QEvent *e)
{
    if (e->type() == QEvent::WindowActivate) {
        // The showing has just filled the list; later activations fill it again.
        if (filledOnShow_)
            filledOnShow_ = false;
        else
            Form_Activate();
    }
    return QDialog::event(e);
}

void record::showEvent(QShowEvent *e)
{
    QDialog::showEvent(e);
    if (!shownOnce_) {
        shownOnce_ = true;
        const QSize extra = frameExtra();
        if (extra.height() > 0)
            resize(width(), twipsToPixels(loadHeight_) - extra.height());
        Form_Resize();
        Form_Activate();
        filledOnShow_ = true;
    } else {
        Form_Resize();
    }
}

void record::resizeEvent(QResizeEvent *e)
{
    QDialog::resizeEvent(e);
    Form_Resize();
}

void record::keyPressEvent(QKeyEvent *e)
{
    // The window has no cancel button: Escape does nothing here, as designed.
    if (e->key() == Qt::Key_Escape) {
        e->accept();
        return;
    }
    QDialog::keyPressEvent(e);
}
