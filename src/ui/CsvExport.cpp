#include "ui/CsvExport.h"

#include "game/progress/HistoryCsv.h"
#include "platform/Services.h"

#include <QDialog>
#include <QDir>
#include <QFileDialog>
#include <QHBoxLayout>
#include <QPushButton>

CsvFileChooser standardCsvChooser(const QString &title)
{
    return [title](QWidget *owner, const QString &suggested) {
        return QFileDialog::getSaveFileName(owner, title, suggested, QStringLiteral("Fichiers CSV (*.csv)"));
    };
}

void exportCsv(QWidget *parent, MessageBoxes &boxes, const CsvFileChooser &choose, const QString &fileName,
               const std::function<CsvContent()> &content)
{
    const QString path = choose(parent, QDir::current().filePath(fileName));
    if (path.isEmpty())
        return;
    const CsvContent made = content();
    const QString shown = QDir::toNativeSeparators(path);
    QString error;
    if (HistoryCsv::save(path, made.bytes, &error)) {
        boxes.show(made.done(shown), QStringLiteral("Clavimo"), BoxButtons::Ok, BoxIcon::Information);
    } else {
        boxes.show(QStringLiteral("Le fichier «\u00A0%1\u00A0» n'a pas pu être écrit (%2)\u00A0: rien n'est exporté.")
                       .arg(shown, error),
                   QStringLiteral("Clavimo"), BoxButtons::Ok, BoxIcon::Exclamation);
    }
}

ExportButtons exportButtons(QDialog *dialog)
{
    ExportButtons out;
    out.exportButton = new QPushButton(QStringLiteral("E&xporter…"), dialog);
    out.exportButton->setObjectName(QStringLiteral("exportButton"));
    out.exportButton->setAutoDefault(false);
    out.closeButton = new QPushButton(QStringLiteral("Fermer"), dialog);
    out.closeButton->setObjectName(QStringLiteral("closeButton"));
    out.closeButton->setAutoDefault(false);
    QObject::connect(out.closeButton, &QPushButton::clicked, dialog, &QDialog::reject);
    out.row = new QHBoxLayout;
    out.row->addWidget(out.exportButton);
    out.row->addStretch();
    out.row->addWidget(out.closeButton);
    return out;
}
