#include "ui/RecordsWindow.h"

#include "game/records/PlayerFile.h"
#include "game/records/RecordsList.h"
#include "ui/Fonts.h"
#include "ui/RecordLineDelegate.h"
#include "ui/RecordsTableModel.h"
#include "ui/Screen.h"
#include "ui/Twips.h"

#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QHeaderView>
#include <QPushButton>
#include <QTableView>

#include <cmath>

namespace {

// Design sizes, in twips.
constexpr float kFrameWidth = 4815;
constexpr float kFrameHeight = 855;
constexpr float kHeaderHeight = 300;
constexpr float kListTop = 915;
constexpr float kMargins = 390;

} // namespace

// The OK button stands over the bottom of the list's box, as designed; the rows end above
// it, so that no player's line is ever hidden behind the button, however far the list is
// scrolled and however few lines a large text leaves room for.
class RecordsWindow::Table : public QTableView
{
public:
    using QTableView::QTableView;
    void keepRowsAbove(const QRect &cover)
    {
        hidden_ = std::max(0, geometry().bottom() - cover.top() + 1);
        updateGeometries();
    }

protected:
    // The table sets its viewport's margins for its headers (hidden here) each time it lays
    // itself out; the bottom one is set again after it.
    void updateGeometries() override
    {
        QTableView::updateGeometries();
        const QMargins margins = viewportMargins();
        if (margins.bottom() != hidden_)
            setViewportMargins(margins.left(), margins.top(), margins.right(), hidden_);
    }

private:
    int hidden_ = 0;
};

RecordsWindow::RecordsWindow(const PlayerFile &file, int mode, QWidget *parent)
    : QDialog(parent)
    , file_(file)
{
    setWindowTitle(QStringLiteral("Liste des records"));
    setFont(designFont(QStringLiteral("MS Sans Serif"), 8.25, true));

    frame_ = new QGroupBox(mode == 6 ? QStringLiteral("Record 6 lettres") : QStringLiteral("Record 1 lettre"), this);
    frame_->setObjectName(QStringLiteral("titleFrame"));
    frame_->setFont(designFont(QStringLiteral("MS Sans Serif"), 9.75, true, false, true));
    frame_->setGeometry(twipsRect(0, 0, kFrameWidth, kFrameHeight));

    auto *header = new QLabel(recordsHeader(), frame_);
    header->setObjectName(QStringLiteral("header"));
    header->setFont(designFont(QStringLiteral("MS Sans Serif"), 9.75, true));
    header->setGeometry(twipsRect(120, 480, 4575, kHeaderHeight));

    model_ = new RecordsTableModel(this);
    list_ = new Table(this);
    list_->setObjectName(QStringLiteral("list"));
    list_->setAccessibleName(QStringLiteral("Liste des records"));
    list_->setModel(model_);
    list_->setFont(designFont(QStringLiteral("Courier"), 9.75, true));
    list_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    list_->setSelectionBehavior(QAbstractItemView::SelectRows);
    list_->setSelectionMode(QAbstractItemView::SingleSelection);
    list_->setTabKeyNavigation(false);
    list_->setShowGrid(false);
    list_->setWordWrap(false);
    list_->setCornerButtonEnabled(false);
    // On screen a row is the designed line of text; the header label above stays the one
    // seen, the table's own headers only name the columns for screen readers.
    auto *lines = new RecordLineDelegate(list_);
    list_->setItemDelegate(lines);
    list_->horizontalHeader()->hide();
    list_->verticalHeader()->hide();
    // Every line has the same height, which keeps tens of thousands of lines quick.
    list_->verticalHeader()->setMinimumSectionSize(1);
    list_->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    list_->verticalHeader()->setDefaultSectionSize(lines->lineHeight());
    // Column edges where the line's fields start (rank, name, Mini, average).
    const int character = list_->fontMetrics().horizontalAdvance(QLatin1Char('0'));
    const int columns[] = {lines->textMargin() + 5 * character, (kNameLength + 1) * character, 5 * character,
                           7 * character + lines->textMargin()};
    for (int c = 0; c < RecordsTableModel::ColumnCount; ++c)
        list_->setColumnWidth(c, columns[c]);
    list_->horizontalHeader()->setStretchLastSection(true);
    list_->setAutoFillBackground(true);
    QPalette listPalette = list_->palette();
    listPalette.setColor(QPalette::Base, QColor(192, 192, 192));
    // The strip under the rows, behind the OK button, is the list's grey too.
    listPalette.setColor(QPalette::Window, QColor(192, 192, 192));
    list_->setPalette(listPalette);
    list_->setGeometry(twipsRect(0, kListTop, kFrameWidth, listHeight_));

    okButton_ = new QPushButton(QStringLiteral("OK"), this);
    okButton_->setObjectName(QStringLiteral("ok"));
    okButton_->setFont(designFont(QStringLiteral("MS Sans Serif"), 8.25, true));
    okButton_->setGeometry(twipsRect(1680, 5565, 1275, 540));
    okButton_->setDefault(true);
    connect(okButton_, &QPushButton::clicked, this, &QDialog::accept);

    setTabOrder(list_, okButton_);
    list_->setFocus();

    placeAtLoad();
}

void RecordsWindow::placeAtLoad()
{
    const QRect area = screenArea(this);
    const float screenHeight = float(pixelsToTwips(area.height()));
    const float screenWidth = float(pixelsToTwips(area.width()));
    const float outerWidth = kFrameWidth + 120;

    loadHeight_ = screenHeight / 2;
    const float top = (screenHeight - loadHeight_) / 2;
    const float left = (screenWidth - outerWidth) / 2;
    resize(twipsToPixels(outerWidth), twipsToPixels(loadHeight_));
    move(area.topLeft() + QPoint(twipsToPixels(left), twipsToPixels(top)));
    fitToHeight();
}

// Frame and title bar around the client area; only known once the window is shown.
QSize RecordsWindow::frameExtra() const
{
    if (!isVisible())
        return QSize(0, 0);
    const QSize extra = frameGeometry().size() - size();
    return QSize(std::max(extra.width(), 0), std::max(extra.height(), 0));
}

void RecordsWindow::fitToHeight()
{
    const QSize extra = frameExtra();
    const float outerWidth = kFrameWidth + 120;
    float outerHeight = float(pixelsToTwips(height() + extra.height()));

    if (kFrameHeight + kHeaderHeight + kMargins < outerHeight)
        listHeight_ = outerHeight - kHeaderHeight - kFrameHeight - kMargins;
    outerHeight = kFrameHeight + kHeaderHeight + listHeight_ + kMargins;

    list_->setGeometry(twipsRect(0, kListTop, kFrameWidth, listHeight_));
    okButton_->move(okButton_->x(), twipsToPixels(outerHeight - 1000));
    list_->keepRowsAbove(okButton_->geometry());

    const QSize client(twipsToPixels(outerWidth) - extra.width(),
                       twipsToPixels(outerHeight) - extra.height());
    if (size() != client)
        resize(client);
}

void RecordsWindow::fill()
{
    const double players = file_.playerCount();
    if (!(players > 0))
        return;

    // A trailing fragment shorter than a record is not a player.
    const qint64 count = qint64(std::floor(players));
    if (count < 1)
        return;
    const QList<PlayerEntry> table = file_.read(3, count);

    model_->setPlayers(rankByAverage(table));
}

bool RecordsWindow::event(QEvent *e)
{
    if (e->type() == QEvent::WindowActivate) {
        // The showing has just filled the list; later activations fill it again.
        if (filledOnShow_)
            filledOnShow_ = false;
        else
            fill();
    }
    return QDialog::event(e);
}

void RecordsWindow::showEvent(QShowEvent *e)
{
    QDialog::showEvent(e);
    if (!shownOnce_) {
        shownOnce_ = true;
        const QSize extra = frameExtra();
        if (extra.height() > 0)
            resize(width(), twipsToPixels(loadHeight_) - extra.height());
        fitToHeight();
        fill();
        filledOnShow_ = true;
    } else {
        fitToHeight();
    }
}

void RecordsWindow::resizeEvent(QResizeEvent *e)
{
    QDialog::resizeEvent(e);
    fitToHeight();
}

void RecordsWindow::keyPressEvent(QKeyEvent *e)
{
    // The window has no cancel button: Escape does nothing here, as designed.
    if (e->key() == Qt::Key_Escape) {
        e->accept();
        return;
    }
    QDialog::keyPressEvent(e);
}
