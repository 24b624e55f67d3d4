#include "ui/ProgressionWindow.h"

#include "game/course/Course.h"

#include "game/progress/HistoryCsv.h"
#include "game/progress/HistoryReader.h"
#include "platform/Services.h"
#include "ui/ChoiceLabel.h"
#include "ui/CsvExport.h"
#include "ui/KeyboardMapView.h"
#include "ui/KeyboardPanel.h"
#include "ui/Screen.h"

#include <QCategoryAxis>
#include <QChart>
#include <QChartView>
#include <QCheckBox>
#include <QComboBox>
#include <QCursor>
#include <QDir>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLegend>
#include <QLegendMarker>
#include <QLineSeries>
#include <QPushButton>
#include <QScatterSeries>
#include <QScrollArea>
#include <QSet>
#include <QStackedWidget>
#include <QTableWidget>
#include <QTimeZone>
#include <QToolTip>
#include <QValueAxis>
#include <QVBoxLayout>

namespace {

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

const QString kPointHint =
    QStringLiteral("Survolez un point, ou passez de partie en partie avec les flèches, pour la voir en détail.");

// A horizontal line across the chart at a record's value.
QLineSeries *recordLine(const QString &name, qint64 value, const ProgressChart &chart, const QColor &colour)
{
    auto *line = new QLineSeries;
    line->setName(name);
    line->append(chart.left(), qreal(value));
    line->append(chart.right(), qreal(value));
    QPen pen(colour);
    pen.setStyle(Qt::DashLine);
    pen.setWidthF(1.5);
    line->setPen(pen);
    return line;
}

} // namespace

ProgressionWindow::ProgressionWindow(HistoryReader &history, MessageBoxes &boxes, KeyboardLayouts &layouts,
                                     WallClock &clock, const QString &currentPlayer, int currentMode, QWidget *parent)
    : QDialog(parent)
    , history_(history)
    , boxes_(boxes)
    , clock_(clock)
{
    setWindowTitle(QStringLiteral("Progression"));
    chooseFile_ = standardCsvChooser(QStringLiteral("Exporter les parties"));

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

    // The lessons of the keyboard course are no game of a mode: told apart, above the charts.
    lessonsLabel_ = new QLabel(this);
    lessonsLabel_->setObjectName(QStringLiteral("lessonsSummary"));
    lessonsLabel_->setTextFormat(Qt::PlainText);

    emptyLabel_ = new QLabel(this);
    emptyLabel_->setObjectName(QStringLiteral("emptySentence"));
    emptyLabel_->setTextFormat(Qt::PlainText);
    emptyLabel_->setAlignment(Qt::AlignCenter);
    emptyLabel_->setWordWrap(true);

    // Offered only when there are more games than the latest shown.
    allGames_ = new QCheckBox;
    allGames_->setObjectName(QStringLiteral("allGames"));
    connect(allGames_, &QCheckBox::toggled, this, &ProgressionWindow::showChart);

    chart_ = new QChart;
    // The legend beside the plot and no title (the player and mode are chosen just above):
    // the height goes to the plot and its two axes of games and days.
    chart_->legend()->setAlignment(Qt::AlignRight);
    chart_->setMargins(QMargins(4, 4, 4, 4));
    chartView_ = new QChartView(chart_);
    chartView_->setObjectName(QStringLiteral("chart"));
    chartView_->setRenderHint(QPainter::Antialiasing);
    // Tab stops on the chart so that a screen reader reads its summary.
    chartView_->setFocusPolicy(Qt::TabFocus);
    chartView_->setAccessibleName(QStringLiteral("Graphique des parties"));
    chartView_->setMinimumHeight(260);
    chartView_->installEventFilter(this);
    pointLabel_ = new QLabel;
    pointLabel_->setObjectName(QStringLiteral("gameFigures"));
    pointLabel_->setTextFormat(Qt::PlainText);
    pointLabel_->setWordWrap(true);

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
    contentLayout->addWidget(allGames_);
    contentLayout->addWidget(chartView_, 1);
    contentLayout->addWidget(pointLabel_);
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

    const ExportButtons buttons = exportButtons(this);
    exportButton_ = buttons.exportButton;
    closeButton_ = buttons.closeButton;
    connect(exportButton_, &QPushButton::clicked, this, &ProgressionWindow::exportGames);

    auto *layout = new QVBoxLayout(this);
    layout->addLayout(choice);
    layout->addWidget(lessonsLabel_);
    layout->addWidget(pages_, 1);
    layout->addLayout(buttons.row);

    setTabOrder(playerBox_, modeBox_);
    setTabOrder(modeBox_, allGames_);
    setTabOrder(allGames_, chartView_);
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
    chartView_->setMinimumHeight(sideBySide ? 260 : 300);
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
    lessonsLabel_->setText(player.isEmpty() ? QString() : Course::summary(history_.lessons(player, 0)));
    lessonsLabel_->setVisible(!lessonsLabel_->text().isEmpty());
    // The sentence replaces the charts; the hidden page's controls are out of the Tab order.
    pages_->setCurrentIndex(data_.isEmpty() ? 0 : 1);
    if (data_.isEmpty()) {
        chartData_.reset();
        current_ = 0;
        return;
    }
    showChart();
    showTable();
    keyboard_->setCounts(data_.characters);
}

void ProgressionWindow::showChart()
{
    if (data_.isEmpty())
        return;
    const QTimeZone zone = QTimeZone::systemTimeZone();
    chartData_.emplace(data_, allGames_->isChecked(), zone, clock_.nowUtc().toTimeZone(zone).date());
    const ProgressChart &chart = *chartData_;
    allGames_->setVisible(chart.hasMore());
    allGames_->setText(QStringLiteral("Voir &toutes les parties (%1)")
                           .arg(QLocale(QLocale::French, QLocale::France).toString(chart.total())));
    current_ = 0;
    pointLabel_->setText(kPointHint);
    chartView_->setAccessibleDescription(chart.summary());

    // The chart deletes the series it removes but hands removed axes back to the caller.
    chart_->removeAllSeries();
    for (QAbstractAxis *axis : chart_->axes()) {
        chart_->removeAxis(axis);
        delete axis;
    }

    // Below, the games' numbers; above, the days, each a band between two thin lines.
    auto *games = new QValueAxis;
    games->setTitleText(QStringLiteral("Parties"));
    games->setLabelFormat(QStringLiteral("%d"));
    games->setRange(chart.left(), chart.right());
    games->setTickType(QValueAxis::TicksDynamic);
    games->setTickAnchor(0);
    games->setTickInterval(chart.step());
    games->setGridLineVisible(false);
    QList<QAbstractAxis *> horizontal{games};
    if (!chart.bands().isEmpty()) {
        auto *days = new QCategoryAxis;
        days->setStartValue(chart.left());
        for (const ProgressChart::Band &band : chart.bands())
            days->append(band.label, band.to);
        days->setRange(chart.left(), chart.right());
        days->setLineVisible(false);
        days->setGridLinePen(QPen(QColor(150, 150, 150), 1, Qt::DotLine));
        horizontal << days;
    }
    auto *times = new QValueAxis;
    times->setTitleText(QStringLiteral("Temps (ms)"));
    times->setLabelFormat(QStringLiteral("%d"));
    times->setRange(qreal(chart.lowest()), qreal(chart.highest()));
    times->applyNiceNumbers(); // round figures on the time axis
    chart_->addAxis(games, Qt::AlignBottom);
    if (horizontal.size() > 1)
        chart_->addAxis(horizontal.last(), Qt::AlignTop);
    chart_->addAxis(times, Qt::AlignLeft);

    // Points are marked while there are few enough to tell apart.
    const bool marked = chart.shown() <= 60;
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
    QList<QXYSeries *> pointed{series(QStringLiteral("Moyenne"), chart.averages(), averageColour),
                               series(QStringLiteral("Mini"), chart.minis(), miniColour)};
    // Practice games stand apart as hollow dots, out of the lines of the ordinary games.
    if (!chart.practiceAverages().isEmpty()) {
        auto *practice = new QScatterSeries;
        practice->setName(QStringLiteral("Entraînement (moyenne)"));
        practice->replace(chart.practiceAverages());
        practice->setMarkerSize(9);
        practice->setColor(Qt::transparent);
        practice->setBorderColor(QColor(214, 39, 40));
        pointed << practice;
    }
    QList<QAbstractSeries *> all(pointed.cbegin(), pointed.cend());
    if (chart.recordAverage())
        all << recordLine(QStringLiteral("Record moyenne"), *chart.recordAverage(), chart, averageColour.darker(140));
    if (chart.recordMini())
        all << recordLine(QStringLiteral("Record mini"), *chart.recordMini(), chart, miniColour.darker(140));
    // The game pointed at: a ring around its average, out of the legend.
    currentMark_ = new QScatterSeries;
    currentMark_->setName(QStringLiteral("Partie choisie"));
    currentMark_->setMarkerSize(16);
    currentMark_->setColor(Qt::transparent);
    currentMark_->setBorderColor(Qt::black);
    all << currentMark_;
    for (QAbstractSeries *s : all) {
        chart_->addSeries(s);
        for (QAbstractAxis *axis : horizontal)
            s->attachAxis(axis);
        s->attachAxis(times);
    }
    chart_->legend()->markers(currentMark_).constFirst()->setVisible(false);

    // Under the mouse, a point says its game in a tooltip; a line, the nearest game.
    for (QXYSeries *s : pointed) {
        connect(s, &QXYSeries::hovered, this, [this](const QPointF &point, bool over) {
            if (!over)
                return QToolTip::hideText();
            pointAt(qRound(point.x()));
            QToolTip::showText(QCursor::pos(), pointLabel_->text(), chartView_);
        });
    }
}

// Points the chart at game `number`: a ring on its average, its figures under the chart
// and, for a screen reader, as the chart's description, which is read out when it changes.
void ProgressionWindow::pointAt(int number)
{
    if (!chartData_ || number < chartData_->firstNumber() || number > chartData_->lastNumber())
        return;
    current_ = number;
    const QString text = chartData_->pointText(number);
    pointLabel_->setText(text);
    chartView_->setAccessibleDescription(text);
    for (const QList<QPointF> *points : {&chartData_->averages(), &chartData_->practiceAverages()}) {
        for (const QPointF &p : *points) {
            if (qRound(p.x()) == number)
                currentMark_->replace({p});
        }
    }
}

bool ProgressionWindow::eventFilter(QObject *watched, QEvent *event)
{
    if (watched != chartView_ || !chartData_)
        return QDialog::eventFilter(watched, event);
    if (event->type() == QEvent::FocusIn) {
        // Coming back to the chart, a screen reader reads its summary again.
        chartView_->setAccessibleDescription(chartData_->summary());
    } else if (event->type() == QEvent::KeyPress) {
        const int first = chartData_->firstNumber(), last = chartData_->lastNumber();
        switch (static_cast<QKeyEvent *>(event)->key()) {
        case Qt::Key_Left:
            pointAt(current_ ? std::max(first, current_ - 1) : last);
            return true;
        case Qt::Key_Right:
            pointAt(current_ ? std::min(last, current_ + 1) : last);
            return true;
        case Qt::Key_Home:
            pointAt(first);
            return true;
        case Qt::Key_End:
            pointAt(last);
            return true;
        default:
            break;
        }
    }
    return QDialog::eventFilter(watched, event);
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
    exportCsv(this, boxes_, chooseFile_, HistoryCsv::suggestedFileName(player), [this, &player] {
        const QList<ItemLine> lines = history_.itemLines(player);
        QSet<qint64> games;
        for (const ItemLine &line : lines)
            games.insert(line.gameId);
        const qsizetype n = games.size();
        return CsvContent{HistoryCsv::build(lines), [n, player](const QString &path) {
                              const QString count = n > 1 ? QStringLiteral("%1 parties").arg(n)
                                                          : QStringLiteral("%1 partie").arg(n);
                              return QStringLiteral("%1 de %2 exportée%3 dans «\u00A0%4\u00A0».")
                                  .arg(count, player, n > 1 ? QStringLiteral("s") : QString(), path);
                          }};
    });
}
