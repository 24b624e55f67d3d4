#pragma once

#include <QByteArray>
#include <QString>

#include <functional>

class MessageBoxes;
class QDialog;
class QHBoxLayout;
class QPushButton;
class QWidget;

// How a window's "Exporter…" asks for a file: the standard save dialog unless a test
// replaces it. It gets the suggested path and returns the chosen one, empty to cancel.
using CsvFileChooser = std::function<QString(QWidget *parent, const QString &suggested)>;
CsvFileChooser standardCsvChooser(const QString &title);

// What is exported once the file is chosen: the bytes, and the sentence that tells it was
// done, given the path as the user writes it.
struct CsvContent
{
    QByteArray bytes;
    std::function<QString(const QString &path)> done;
};

// The export as the windows run it: the file asked for in the working folder under
// `fileName` (nothing happens when the choice is cancelled), the content made, the file
// written whole or left as it was, and the user told either way in a message box.
void exportCsv(QWidget *parent, MessageBoxes &boxes, const CsvFileChooser &choose, const QString &fileName,
               const std::function<CsvContent()> &content);

// The row under a window that exports: "Exporter…" on the left, "Fermer" on the right,
// neither taking Enter from the controls above; "Fermer" rejects the dialog.
struct ExportButtons
{
    QPushButton *exportButton = nullptr;
    QPushButton *closeButton = nullptr;
    QHBoxLayout *row = nullptr;
};
ExportButtons exportButtons(QDialog *dialog);
