#include "ui/ClassWindow.h"

#include "game/practice/PracticePlan.h"
#include "game/progress/ClassOverview.h"
#include "game/progress/HistoryCsv.h"
#include "game/progress/HistoryReader.h"
#include "platform/Services.h"
#include "ui/ChoiceLabel.h"
#include "ui/ClassTableModel.h"
#include "ui/Screen.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLocale>
#include <QPushButton>
#include <QSortFilterProxyModel>
#include <QTableView>
#include <QVBoxLayout>

namespace {

QString plural(qsizetype n, const QString &one, const QString &many)
{
    return QStringLiteral("%1\u00A0%2").arg(n).arg(n > 1 ? many : one);
}

} // namespace

ClassWindow::ClassWindow(HistoryReader &history, MessageBoxes &boxes, WallClock &clock, int currentMode,
                         ProgressionOpener openProgression, QWidget *parent)
    : QDialog(parent)
    , history_(history)
    , boxes_(boxes)
    , clock_(clock)
    , openProgression_(std::move(openProgression))
    , chooseFile_(standardCsvChooser(QStringLiteral("Exporter la classe")))
{
    setWindowTitle(QStringLiteral("La classe"));

    modeBox_ = new QComboBox(this);
    modeBox_->setObjectName(QStringLiteral("modeBox"));
    modeBox_->addItem(QStringLiteral("1 lettre"), 1);
    modeBox_->addItem(QStringLiteral("6 lettres"), 6);
    modeBox_->setCurrentIndex(currentMode == 6 ? 1 : 0);
    auto *modeLabel = new QLabel(QStringLiteral("&Mode\u00A0:"), this);
    labelWithChoice(modeLabel, modeBox_);
    summary_ = new QLabel(this);
    summary_->setObjectName(QStringLiteral("summary"));
    summary_->setTextFormat(Qt::PlainText);
    summary_->setWordWrap(true);
    auto *top = new QHBoxLayout;
    top->addWidget(modeLabel);
    top->addWidget(modeBox_);
    top->addSpacing(16);
    top->addWidget(summary_, 1);

    model_ = new ClassTableModel(this);
    sorted_ = new QSortFilterProxyModel(this);
    sorted_->setSourceModel(model_);
    sorted_->setSortRole(ClassTableModel::SortRole);
    sorted_->setSortLocaleAware(true);
    sorted_->setSortCaseSensitivity(Qt::CaseInsensitive);
    table_ = new QTableView(this);
    table_->setObjectName(QStringLiteral("classTable"));
    table_->setAccessibleName(QStringLiteral("Joueurs de la classe"));
    table_->setModel(sorted_);
    table_->setSelectionBehavior(QAbstractItemView::SelectRows);
    table_->setSelectionMode(QAbstractItemView::SingleSelection);
    table_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    // Tab leaves the table for the buttons; the arrows move in it.
    table_->setTabKeyNavigation(false);
    table_->verticalHeader()->hide();
    table_->horizontalHeader()->setSectionsClickable(true);
    table_->horizontalHeader()->setTextElideMode(Qt::ElideNone);
    table_->setWordWrap(false);
    table_->setSortingEnabled(true);
    table_->sortByColumn(ClassTableModel::Attention, Qt::DescendingOrder);
    table_->installEventFilter(this);
    connect(table_, &QTableView::doubleClicked, this, [this](const QModelIndex &index) { openRow(index.row()); });

    const ExportButtons buttons = exportButtons(this);
    exportButton_ = buttons.exportButton;
    closeButton_ = buttons.closeButton;
    connect(exportButton_, &QPushButton::clicked, this, &ClassWindow::exportTable);

    auto *layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(table_, 1);
    layout->addLayout(buttons.row);
    setTabOrder(modeBox_, table_);
    setTabOrder(table_, exportButton_);
    setTabOrder(exportButton_, closeButton_);

    connect(modeBox_, &QComboBox::currentIndexChanged, this, &ClassWindow::reload);
    reload();

    resize(QSize(1180, 620).boundedTo(availableArea(this).marginsRemoved(frameMargins(this)).size()));
    centreOnScreen(this);
    fitOnScreen(this);
    table_->setFocus();
}

void ClassWindow::reload()
{
    const int mode = modeBox_->currentData().toInt();
    const QDateTime now = clock_.nowUtc();
    model_->setOverview(ClassOverview::build(
        history_.classFigures(mode, ClassOverview::weekStart(now), ClassOverview::kRecentGames, PracticePlan::kLastGames),
        mode, now));
    const ClassOverview &overview = model_->overview();
    QHash<QString, LessonHistory> lessons;
    for (const ClassOverview::Player &p : overview.players())
        lessons.insert(p.figures.player, history_.lessons(p.figures.player, 0));
    model_->setLessons(lessons);
    qsizetype followed = 0;
    for (const ClassOverview::Player &p : overview.players())
        followed += p.reasons != 0 ? 1 : 0;
    if (overview.players().isEmpty()) {
        summary_->setText(QStringLiteral("Aucune partie terminée dans ce mode."));
    } else {
        QString text = QStringLiteral("%1, dont %2 à suivre.")
                           .arg(plural(overview.players().size(), QStringLiteral("joueur"), QStringLiteral("joueurs")))
                           .arg(followed);
        if (overview.classShare() >= 0)
            text += QStringLiteral(" Fautes de la classe sur les %1\u00A0dernières parties de chacun\u00A0: %2\u00A0%.")
                        .arg(ClassOverview::kRecentGames)
                        .arg(QLocale(QLocale::French, QLocale::France).toString(overview.classShare() * 100, 'f', 1));
        summary_->setText(text);
    }
    exportButton_->setEnabled(!overview.players().isEmpty());
    table_->resizeColumnsToContents();
    if (sorted_->rowCount() > 0)
        table_->setCurrentIndex(sorted_->index(0, 0));
}

bool ClassWindow::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == table_ && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent *>(event)->key();
        if ((key == Qt::Key_Return || key == Qt::Key_Enter) && table_->currentIndex().isValid()) {
            openRow(table_->currentIndex().row());
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

void ClassWindow::openRow(int row)
{
    const QModelIndex index = sorted_->mapToSource(sorted_->index(row, ClassTableModel::Player));
    if (!index.isValid())
        return;
    openProgression_(this, model_->overview().players()[index.row()].figures.player, modeBox_->currentData().toInt());
}

void ClassWindow::exportTable()
{
    const int mode = modeBox_->currentData().toInt();
    exportCsv(this, boxes_, chooseFile_,
              HistoryCsv::suggestedFileName(QStringLiteral("la classe (%1)").arg(modeBox_->currentText())), [this, mode] {
                  QList<QStringList> rows;
                  for (int row = 0; row < sorted_->rowCount(); ++row) {
                      QStringList fields;
                      for (int column = 0; column < ClassTableModel::ColumnCount; ++column)
                          fields << sorted_->index(row, column).data(ClassTableModel::ExportRole).toString();
                      rows << fields;
                  }
                  QStringList header = model_->headers();
                  header[ClassTableModel::WrongShare] += QStringLiteral(" (%)");
                  const qsizetype n = rows.size();
                  return CsvContent{HistoryCsv::table(header, rows), [n, mode](const QString &path) {
                                        return QStringLiteral("La classe (%1, mode %2) exportée dans «\u00A0%3\u00A0».")
                                            .arg(plural(n, QStringLiteral("joueur"), QStringLiteral("joueurs")))
                                            .arg(mode == 6 ? QStringLiteral("6 lettres") : QStringLiteral("1 lettre"))
                                            .arg(path);
                                    }};
              });
}
