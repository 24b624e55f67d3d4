#include "app/WordListImport.h"

#include "game/words/WordImport.h"
#include "game/words/WordList.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

namespace {

// French typography: a no-break space inside the quotation marks.
QString quoted(const QString &text)
{
    return QStringLiteral("«\u00A0%1\u00A0»").arg(text);
}

WordListImportResult refused(const QString &message, const QString &output = QString())
{
    return {2, output, QStringLiteral("clavimo\u00A0: %1\n").arg(message)};
}

} // namespace

WordListImportResult importWordList(const QString &sourcePath, const QString &folder)
{
    const QString source = quoted(QDir::toNativeSeparators(sourcePath));
    const QFileInfo info(sourcePath);
    if (!info.exists())
        return refused(QStringLiteral("le fichier %1 n'existe pas.").arg(source));
    if (info.isDir())
        return refused(QStringLiteral("%1 est un dossier, pas un fichier de mots.").arg(source));
    QFile file(sourcePath);
    if (!file.open(QIODevice::ReadOnly))
        return refused(QStringLiteral("le fichier %1 ne peut pas être lu.").arg(source));
    const QByteArray bytes = file.read(WordImport::kMaxFileSize + 1);
    if (file.error() != QFileDevice::NoError)
        return refused(QStringLiteral("le fichier %1 ne peut pas être lu.").arg(source));
    if (bytes.size() > WordImport::kMaxFileSize)
        return refused(QStringLiteral("le fichier %1 est trop gros pour une liste de mots (plus de %2\u00A0Mo).")
                           .arg(source)
                           .arg(WordImport::kMaxFileSize / (1024 * 1024)));

    const WordImport words(bytes);
    if (words.problem() == WordImport::Problem::InvalidUtf8)
        return refused(QStringLiteral("le fichier %1 n'est pas un texte UTF-8 (ligne %2)\u00A0: "
                                      "enregistrez-le en UTF-8 et recommencez.")
                           .arg(source)
                           .arg(words.invalidLine()));
    if (words.problem() == WordImport::Problem::NoWord)
        return refused(QStringLiteral("le fichier %1 ne contient aucun mot.").arg(source));

    const QString target = QDir(folder).filePath(WordList::fileName());
    const QString list = quoted(QDir::toNativeSeparators(target));
    QString output;
    for (const WordImport::Skipped &skipped : words.skipped())
        output += QStringLiteral("Mot écarté\u00A0: %1, %2.\n")
                      .arg(quoted(WordImport::shown(skipped.word)), WordImport::reasonText(skipped));
    if (words.kept().isEmpty())
        return refused(QStringLiteral("aucun mot de six lettres n'a été gardé\u00A0; la liste %1 n'a pas été changée.")
                           .arg(list),
                       output);

    // The new list goes into a temporary file beside the old one and takes its name only
    // when it is whole, so that a full disk or a crash never leaves half a list.
    QSaveFile saved(target);
    const QByteArray records = words.records();
    if (!saved.open(QIODevice::WriteOnly) || saved.write(records) != records.size() || !saved.commit())
        return refused(QStringLiteral("la liste %1 n'a pas pu être écrite\u00A0: le dossier doit "
                                      "exister et accepter de nouveaux fichiers.")
                           .arg(list),
                       output);
    const qsizetype kept = words.kept().size();
    output += QStringLiteral("%1 %2 sur %3, écrit%4 dans %5.\n")
                  .arg(kept)
                  .arg(kept == 1 ? QStringLiteral("mot gardé") : QStringLiteral("mots gardés"))
                  .arg(kept + words.skipped().size())
                  .arg(kept == 1 ? QString() : QStringLiteral("s"))
                  .arg(list);
    return {0, output, QString()};
}
