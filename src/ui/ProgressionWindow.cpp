#include "ui/ProgressionWindow.h"

#include "game/HistoryCsv.h"
#include "game/HistoryReader.h"
#include "platform/MessageBoxes.h"
#include "ui/ChoiceLabel.h"
#include "ui/KeyboardMapView.h"
#include "ui/KeyboardPanel.h"
#include "ui/Screen.h"
#include "ui/SpokenText.h"

#include <QChart>
#include <QChartView>
#include <QComboBox>
#include <QDateTimeAxis>
#include <QDir>
#include <QFileDialog>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineSeries>
#include <QPushButton>
#include <QScatterSeries>
#include <QScrollArea>
#include <QSet>
#include <QStackedWidget>
#include <QTableWidget>
#include <QValueAxis>
#include <QVBoxLayout>

namespace {

const QString kTitle = QStringLiteral("Clavimo");

QString modeName(int mode)
{
    return mode == 6 ? QStringLiteral("6 lettres") : QStringLiteral("1 lettre");
}

QTableWidgetItem *cell(const QString &text, Qt::Alignment align = Qt::AlignRight | Qt::AlignVCenter)
{
    auto *item = new QTableWidgetItem(text);
    item->setTextAlignment(align);
    item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable);
    return item;
}

// A horizontal line across the chart at a record's value.
QLineSeries *recordLine(const QString &name, qint64 value, const ChartData &chart, const QColor &colour)
{
    auto *line = new QLineSeries;
    line->setName(name);
    line->append(qreal(chart.firstMs), qreal(value));
    line->append(qreal(chart.lastMs), qreal(value));
    QPen pen(colour);
    pen.setStyle(Qt::DashLine);
    pen.setWidthF(1.5);
    line->setPen(pen);
    return line;
}

} // namespace

ProgressionWindow::ProgressionWindow(HistoryReader &history, MessageBoxes &boxes, KeyboardLayouts &layouts,
                                     const QString &currentPlayer, int currentMode, QWidget *parent)
    : QDialog(parent)
    , history_(history)
    , boxes_(boxes)
{
    setWindowTitle(QStringLiteral("Progression"));
    chooseFile_ = [](QWidget *owner, const QString &suggested) {
        return QFileDialog::getSaveFileName(owner, QStringLiteral("Exporter les parties"), suggested,
                                            QStringLiteral("Fichiers CSV (*.csv)"));
    };

    playerBox_ = new QComboBox(this);
    playerBox_->setObjectName(QStringLiteral("playerBox"));
    playerBox_->setMinimumContentsLength(15);
    playerBox_->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    const QStringList players = progressPlayers(history_.players(), currentPlayer);
    playerBox_->addItems(players);
    playerBox_->setCurrentIndex(std::max<int>(0, int(players.indexOf(defaultPlayer(players, currentPlayer)))));
    auto *playerLabel = new QLabel(QStringLiteral("&Joueur\u00A0:"), this);
    labelWithChoice(playerLabel, playerBox_);

    modeBox_ = new QComboBox(this);
    modeBox_->setObjectName(QStringLiteral("modeBox"));
    modeBox_->addItem(modeName(1), 1);
    modeBox_->addItem(modeName(6), 6);
    modeBox_->setCurrentIndex(currentMode == 6 ? 1 : 0);
    auto *modeLabel = new QLabel(QStringLiteral("&Mode\u00A0:"), this);
    labelWithChoice(modeLabel, modeBox_);

    auto *choice = new QHBoxLayout;
    choice->addWidget(playerLabel);
    choice->addWidget(playerBox_);
    choice->addSpacing(16);
    choice->addWidget(modeLabel);
    choice->addWidget(modeBox_);
    choice->addStretch();

    emptyLabel_ = new QLabel(this);
    emptyLabel_->setObjectName(QStringLiteral("emptySentence"));
    emptyLabel_->setTextFormat(Qt::PlainText);
    emptyLabel_->setAlignment(Qt::AlignCenter);
    emptyLabel_->setWordWrap(true);

    chart_ = new QChart;
    chart_->legend()->setAlignment(Qt::AlignBottom);
    chart_->setMargins(QMargins(4, 4, 4, 4));
    chartView_ = new QChartView(chart_);
    chartView_->setObjectName(QStringLiteral("chart"));
    chartView_->setRenderHint(QPainter::Antialiasing);
    // Tab stops on the chart so that a screen reader reads its summary.
    chartView_->setFocusPolicy(Qt::TabFocus);
    chartView_->setAccessibleName(QStringLiteral("Graphique des parties"));
    chartView_->setMinimumHeight(200);

    table_ = new QTableWidget(0, 4);
    table_->setObjectName(QStringLiteral("lastGames"));
    table_->setAccessibleName(QStringLiteral("Dernières parties"));
    table_->setHorizontalHeaderLabels(
        {QStringLiteral("Date"), QStringLiteral("Mini"), QStringLiteral("Moyenne"), QStringLiteral("Fautes")});
    table_->verticalHeader()->hide();
    table_->setSelectionBehavior(QAbstractItemView::SelectRows);
    table_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table_->setTabKeyNavigation(false);
    table_->horizontalHeader()->setSectionResizeMode(0, QHeaderView::Stretch);
    tableFrame_ = new QGroupBox(QStringLiteral("Dernières parties"));
    auto *tableLayout = new QVBoxLayout(tableFrame_);
    tableLayout->addWidget(table_);

    keyboard_ = new KeyboardPanel(layouts);

    lower_ = new QBoxLayout(QBoxLayout::LeftToRight);
    lower_->addWidget(tableFrame_, 2);
    lower_->addWidget(keyboard_, 3);
    auto *content = new QWidget;
    auto *contentLayout = new QVBoxLayout(content);
    contentLayout->setContentsMargins(0, 0, 0, 0);
    contentLayout->addWidget(chartView_, 1);
    contentLayout->addLayout(lower_, 1);

    // On a small screen, or with large text, the charts scroll under the choices and the
    // buttons, which stay in sight.
    auto *scroll = new QScrollArea;
    scroll->setObjectName(QStringLiteral("contentScroll"));
    scroll->setWidget(content);
    scroll->setWidgetResizable(true);
    scroll->setFrameShape(QFrame::NoFrame);
    scroll->setFocusPolicy(Qt::NoFocus);

    pages_ = new QStackedWidget(this);
    pages_->addWidget(emptyLabel_);
    pages_->addWidget(scroll);

    exportButton_ = new QPushButton(QStringLiteral("E&xporter…"), this);
    exportButton_->setObjectName(QStringLiteral("exportButton"));
    exportButton_->setAutoDefault(false);
    closeButton_ = new QPushButton(QStringLiteral("Fermer"), this);
    closeButton_->setObjectName(QStringLiteral("closeButton"));
    closeButton_->setAutoDefault(false);
    connect(exportButton_, &QPushButton::clicked, this, &ProgressionWindow::exportGames);
    connect(closeButton_, &QPushButton::clicked, this, &QDialog::reject);
    auto *buttons = new QHBoxLayout;
    buttons->addWidget(exportButton_);
    buttons->addStretch();
    buttons->addWidget(closeButton_);

    auto *layout = new QVBoxLayout(this);
    layout->addLayout(choice);
    layout->addWidget(pages_, 1);
    layout->addLayout(buttons);

    setTabOrder(playerBox_, modeBox_);
    setTabOrder(modeBox_, chartView_);
    setTabOrder(chartView_, table_);
    setTabOrder(table_, keyboard_->layoutBox());
    setTabOrder(keyboard_->layoutBox(), keyboard_->map());
    setTabOrder(keyboard_->map(), exportButton_);
    setTabOrder(exportButton_, closeButton_);

    connect(playerBox_, &QComboBox::currentIndexChanged, this, &ProgressionWindow::reload);
    connect(modeBox_, &QComboBox::currentIndexChanged, this, &ProgressionWindow::reload);
    reload();

    resize(QSize(1000, 740).boundedTo(availableArea(this).marginsRemoved(frameMargins(this)).size()));
    centreOnScreen(this);
    fitOnScreen(this);
    playerBox_->setFocus();
}

void ProgressionWindow::resizeEvent(QResizeEvent *e)
{
    QDialog::resizeEvent(e);
    // Too narrow for the last games beside the keyboard, as on a small screen or with large
    // text: the keyboard goes under them, and the page scrolls, so the chart and the table
    // keep room enough to be read.
    const bool sideBySide = width() >= kSideBySideWidth;
    lower_->setDirection(sideBySide ? QBoxLayout::LeftToRight : QBoxLayout::TopToBottom);
    tableFrame_->setMinimumHeight(sideBySide ? 0 : 220);
    chartView_->setMinimumHeight(sideBySide ? 200 : 300);
}

QString ProgressionWindow::emptySentence() const
{
    return playerBox_->count() == 0 ? QStringLiteral("Aucune partie terminée pour l'instant.")
                                    : QStringLiteral("Aucune partie terminée pour ce joueur dans ce mode.");
}

void ProgressionWindow::reload()
{
    const QString player = playerBox_->currentText();
    const int mode = modeBox_->currentData().toInt();
    data_ = player.isEmpty() ? ProgressData{} : loadProgress(history_, player, mode);
    data_.mode = mode;
    exportButton_->setEnabled(!player.isEmpty());
    emptyLabel_->setText(emptySentence());
    // The sentence replaces the charts; the hidden page's controls are out of the Tab order.
    pages_->setCurrentIndex(data_.isEmpty() ? 0 : 1);
    if (data_.isEmpty())
        return;
    showChart(chartData(data_));
    chartView_->setAccessibleDescription(SpokenText::progress(data_));
    showTable();
    keyboard_->setCounts(data_.characters);
}

void ProgressionWindow::showChart(const ChartData &chart)
{
    // The chart deletes the series it removes but hands removed axes back to the caller.
    chart_->removeAllSeries();
    for (QAbstractAxis *axis : chart_->axes()) {
        chart_->removeAxis(axis);
        delete axis;
    }
    chart_->setTitle(QStringLiteral("%1, %2").arg(data_.player, modeName(data_.mode)));

    auto *dates = new QDateTimeAxis;
    dates->setFormat(QStringLiteral("dd/MM/yyyy"));
    dates->setTitleText(QStringLiteral("Date"));
    dates->setTickCount(6);
    dates->setRange(QDateTime::fromMSecsSinceEpoch(chart.firstMs), QDateTime::fromMSecsSinceEpoch(chart.lastMs));
    auto *times = new QValueAxis;
    times->setTitleText(QStringLiteral("Temps (ms)"));
    times->setLabelFormat(QStringLiteral("%d"));
    times->setRange(qreal(chart.lowest), qreal(chart.highest));
    times->applyNiceNumbers(); // round figures on the time axis
    chart_->addAxis(dates, Qt::AlignBottom);
    chart_->addAxis(times, Qt::AlignLeft);

    // Points are marked while there are few enough to tell apart.
    const bool marked = chart.averages.size() <= 60;
    auto series = [&](const QString &name, const QList<QPointF> &points, const QColor &colour) {
        auto *line = new QLineSeries;
        line->setName(name);
        line->replace(points);
        line->setPointsVisible(marked);
        QPen pen(colour);
        pen.setWidthF(2);
        line->setPen(pen);
        return line;
    };
    const QColor averageColour(31, 119, 180), miniColour(44, 160, 44);
    QList<QAbstractSeries *> all{series(QStringLiteral("Moyenne"), chart.averages, averageColour),
                                 series(QStringLiteral("Mini"), chart.minis, miniColour)};
    // Practice games stand apart as hollow dots, out of the lines of the ordinary games.
    if (!chart.practiceAverages.isEmpty()) {
        auto *practice = new QScatterSeries;
        practice->setName(QStringLiteral("Entraînement (moyenne)"));
        practice->replace(chart.practiceAverages);
        practice->setMarkerSize(9);
        practice->setColor(Qt::transparent);
        practice->setBorderColor(QColor(214, 39, 40));
        all << practice;
    }
    if (chart.recordAverage)
        all << recordLine(QStringLiteral("Record moyenne"), *chart.recordAverage, chart, averageColour.darker(140));
    if (chart.recordMini)
        all << recordLine(QStringLiteral("Record mini"), *chart.recordMini, chart, miniColour.darker(140));
    for (QAbstractSeries *s : all) {
        chart_->addSeries(s);
        s->attachAxis(dates);
        s->attachAxis(times);
    }
}

void ProgressionWindow::showTable()
{
    const QList<GameSummary> games = lastGames(data_, kLastGames);
    table_->setRowCount(int(games.size()));
    const QLocale french(QLocale::French, QLocale::France);
    for (int row = 0; row < games.size(); ++row) {
        const GameSummary &g = games[row];
        QString date = g.finishedAt.isValid() ? g.finishedAt.toLocalTime().toString(QStringLiteral("dd/MM/yyyy HH:mm"))
                                              : QStringLiteral("date illisible");
        if (g.practice)
            date += QStringLiteral(" (entraînement)");
        table_->setItem(row, 0, cell(date, Qt::AlignLeft | Qt::AlignVCenter));
        table_->setItem(row, 1, cell(french.toString(g.mini)));
        table_->setItem(row, 2, cell(french.toString(g.average)));
        table_->setItem(row, 3, cell(french.toString(g.wrongKeys)));
    }
    table_->resizeColumnsToContents();
    table_->horizontalHeader()->setSectionResizeMode(0, QHeaderView::Stretch);
}

void ProgressionWindow::exportGames()
{
    const QString player = playerBox_->currentText();
    if (player.isEmpty())
        return;
    const QString path = chooseFile_(this, QDir::current().filePath(HistoryCsv::suggestedFileName(player)));
    if (path.isEmpty())
        return;
    const QList<ItemLine> lines = history_.itemLines(player);
    QSet<qint64> games;
    for (const ItemLine &line : lines)
        games.insert(line.gameId);
    QString error;
    if (HistoryCsv::save(path, HistoryCsv::build(lines), &error)) {
        const QString count = games.size() > 1 ? QStringLiteral("%1 parties").arg(games.size())
                                               : QStringLiteral("%1 partie").arg(games.size());
        boxes_.show(QStringLiteral("%1 de %2 exportée%3 dans «\u00A0%4\u00A0».")
                        .arg(count, player, games.size() > 1 ? QStringLiteral("s") : QString(),
                             QDir::toNativeSeparators(path)),
                    kTitle, BoxButtons::Ok, BoxIcon::Information);
    } else {
        boxes_.show(QStringLiteral("Le fichier «\u00A0%1\u00A0» n'a pas pu être écrit (%2)\u00A0: rien n'est exporté.")
                        .arg(QDir::toNativeSeparators(path), error),
                    kTitle, BoxButtons::Ok, BoxIcon::Exclamation);
    }
}
