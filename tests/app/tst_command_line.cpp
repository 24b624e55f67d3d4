// Guards the command line as main() runs it: the game started in the chosen folder with the
// chosen server, a room's command read, or the program ending with its exit code and its
// message on the right stream (2 for every mistake); the user's data folder made when
// missing; a teacher's word list written into the play folder whole or not at all.
#include "app/CommandLine.h"
#include "game/words/WordImport.h"

#include <QDirIterator>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTemporaryFile>
#include <QtTest>

#include <cstdio>
#include <unistd.h>
#include <vector>

namespace {

// args: the arguments, "%" for a fresh folder that holds a regular file "fichier", "~" for a
// space. files: what is made first, "name=bytes" (a name ending in "/" is a folder), "xdg="
// sets XDG_DATA_HOME, "conf=" writes the settings file, "cwd=" the working folder (else %).
// outcome: "run FOLDER SERVER" for the game started with FOLDER entered, "prepare ..." and
// "erase ..." for the room's commands read, else "CODE out|err TEXT", TEXT part of that
// stream. after: the files then, "name=bytes", nothing else new beside them.
struct Row
{
    QString args;
    QByteArray files;
    QString outcome;
    QByteArray after = {};
};
const QByteArray kRoom = "[historique]\nserveur=postgresql://salle@serveur/classe\n";
const QString kUsage = "Utilisation\u00A0: clavimo [--dossier DOSSIER | --dossier-utilisateur]\nPour en savoir plus\u00A0: clavimo --help\n";
const QString kTogether = "2 err clavimo\u00A0: --preparer-serveur et --role-salle vont ensemble\u00A0: l'adresse du serveur";
const QString kPrepare = "--preparer-serveur postgresql://prof@h/b --role-salle salle12";
const QString kWords = "--dossier % --importer-mots %/mots.txt";
const QString kVersion = QStringLiteral("0 out Clavimo %1.%2.%3\n").arg(CLAVIMO_VERSION_MAJOR).arg(CLAVIMO_VERSION_MINOR).arg(CLAVIMO_VERSION_PATCH);
const std::vector<Row> kRows{
    {"", "", "run % none"},
    {"--dossier %", "", "run % none"},
    {"--dossier=%/", "", "run % none"},
    {"--dossier-utilisateur", "xdg=%/données", "run %/données/clavimo none", "données/=;données/clavimo/="},
    {"--dossier-utilisateur", "xdg=%;clavimo/=", "run %/clavimo none"},
    {"--historique-serveur postgresql://p@h:6000/b", "", "run % postgresql://p@h:6000/b"},
    {"", "conf=" + kRoom, "run % postgresql://salle@serveur:5432/classe"},
    {"--historique-serveur=postgresql://p@h/b", "conf=" + kRoom, "run % postgresql://p@h:5432/b"},
    {kPrepare, "conf=" + kRoom, "prepare postgresql://prof@h:5432/b salle12"},
    {"--effacer-joueur Léa", "conf=" + kRoom, "erase Léa postgresql://salle@serveur:5432/classe ask"},
    {"--effacer-joueur=Léa --oui", "", "erase Léa none yes"},
    {"--version", "", kVersion},
    {"-h --dossier %", "conf=[historique]\nserveur=faux\n", "0 out --importer-mots FICHIER\n"},
    {"--dossier %/absent", "", "2 err clavimo\u00A0: le dossier «\u00A0%/absent\u00A0» n'existe pas.\n"},
    {"--dossier %/fichier", "", "2 err clavimo\u00A0: «\u00A0%/fichier\u00A0» n'est pas un dossier.\n"},
    {"--dossier /proc", "", "2 err «\u00A0/proc\u00A0» n'accepte pas de nouveau fichier\u00A0: les records"},
    {"--dossier=", "", "2 err clavimo\u00A0: l'option --dossier attend le nom d'un dossier.\n" + kUsage},
    {"--dossier", "", "2 err clavimo\u00A0: l'option --dossier attend le nom d'un dossier.\n" + kUsage},
    {"--vitesse", "", "2 err clavimo\u00A0: option inconnue\u00A0: --vitesse.\n" + kUsage},
    {"--help-all", "", "2 err option inconnue\u00A0: --help-all.\n"},
    {"%", "", "2 err clavimo\u00A0: argument inattendu\u00A0: «\u00A0%\u00A0».\n" + kUsage},
    {"--dossier % --dossier-utilisateur", "", "2 err --dossier et --dossier-utilisateur ne vont pas ensemble.\n" + kUsage},
    {"--dossier-utilisateur", "xdg=%/fichier", "2 err le dossier «\u00A0%/fichier/clavimo\u00A0» n'a pas pu être créé.\n"},
    {"--historique-serveur salle-12", "conf=" + kRoom, "2 err clavimo\u00A0: l'adresse du serveur d'historique doit commencer par «\u00A0postgresql://\u00A0», pas «\u00A0salle-12\u00A0».\n"},
    {"--historique-serveur", "", "2 err clavimo\u00A0: l'option --historique-serveur attend l'adresse d'un serveur.\n"},
    {"", "conf=[historique]\nserveur=postgresql://p:secret@h/b\n",
     "2 err ne doit pas contenir de mot de passe (mettez-le dans le fichier ~/.pgpass de l'utilisateur) (réglage [historique] serveur du fichier «\u00A0%/config/clavimo/clavimo.conf\u00A0»).\n"},
    {kPrepare.section(' ', 0, 1), "", kTogether},
    {kPrepare.section(' ', 2), "", kTogether},
    {"--effacer-joueur ~", "", "2 err clavimo\u00A0: l'option --effacer-joueur attend le nom d'un joueur.\n"},
    {"--oui", "", "2 err clavimo\u00A0: l'option --oui ne va qu'avec --effacer-joueur.\n"},
    {kPrepare + " --effacer-joueur Léa", "", "2 err --preparer-serveur, --effacer-joueur et --importer-mots ne vont pas ensemble.\n"},
    // The word list, here or in the folder chosen.
    {"--importer-mots", "", "2 err clavimo\u00A0: l'option --importer-mots attend le nom d'un fichier.\n" + kUsage},
    {"--dossier % --importer-mots=", "", "2 err l'option --importer-mots attend le nom d'un fichier.\n"},
    {kWords, "mots.txt=maison chat\r\nJardin\n\xC3\xA9l\xC3\xA8ves maison",
     "0 out Mot écarté\u00A0: «\u00A0chat\u00A0», longueur (4 lettres au lieu de 6).\nMot écarté\u00A0: «\u00A0maison\u00A0», doublon.\n"
     "3 mots gardés sur 5, écrits dans «\u00A0%/clvlet6.txt\u00A0».\n", "clvlet6.txt=maisonjardin\xE9l\xE8ves"},
    {"--importer-mots mots.txt", "mots.txt=maison;conf=[historique]\nserveur=faux\n", "0 out 1 mot gardé sur 1,", "clvlet6.txt=maison"},
    {"--importer-mots %/mots.txt --dossier-utilisateur", "mots.txt=maison;xdg=%", "0 out «\u00A0%/clavimo/clvlet6.txt\u00A0»",
     "clavimo/=;clavimo/clvlet6.txt=maison"},
    {kWords, "mots.txt=jardin;clvlet6.txt=aaaaaa", "0 out 1 mot gardé", "clvlet6.txt=jardin"},
    {kWords, "mots.txt=chat c\xC5\x93urs;clvlet6.txt=aaaaaa", "2 err la liste «\u00A0%/clvlet6.txt\u00A0» n'a pas été changée"},
    {kWords, "clvlet6.txt=aaaaaa", "2 err clavimo\u00A0: le fichier «\u00A0%/mots.txt\u00A0» n'existe pas.\n"},
    {"--importer-mots %", "", "2 err «\u00A0%\u00A0» est un dossier, pas un fichier de mots.\n"},
    {kWords, "mots.txt=maison\n\xE9l\xE8ves\n;clvlet6.txt=aaaaaa", "2 err «\u00A0%/mots.txt\u00A0» n'est pas un texte UTF-8 (ligne 2)"},
    {kWords, "mots.txt=", "2 err le fichier «\u00A0%/mots.txt\u00A0» ne contient aucun mot.\n"},
    {kWords, "mots.txt=big", "2 err est trop gros pour une liste de mots (plus de 4\u00A0Mo).\n"},
    {"--dossier % --importer-mots /proc/self/mem", "", "2 err le fichier «\u00A0/proc/self/mem\u00A0» ne peut pas être lu.\n"},
    {"--importer-mots %/mots.txt", "mots.txt=maison;cwd=/proc", "2 err la liste «\u00A0/proc/clvlet6.txt\u00A0» n'a pas pu être écrite"},
    {"--dossier /proc --importer-mots %/mots.txt", "mots.txt=maison", "2 err «\u00A0/proc\u00A0» n'accepte pas de nouveau fichier"},
};

// The entries of a folder and its subfolders, "name/" for a folder.
QStringList entries(const QString &path)
{
    QStringList out;
    for (QDirIterator it(path, QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot, QDirIterator::Subdirectories); it.hasNext();) {
        const QString next = QDir(path).relativeFilePath(it.next());
        out << next + (it.fileInfo().isDir() ? "/" : "");
    }
    out.sort();
    return out;
}

// What `action` writes on the standard output and error, caught in files.
QStringList caught(const std::function<void()> &action)
{
    QTemporaryFile files[2];
    int kept[2];
    std::fflush(nullptr);
    for (int i : {0, 1}) {
        kept[i] = dup(i + 1);
        dup2(files[i].open() ? files[i].handle() : kept[i], i + 1);
    }
    action();
    std::fflush(nullptr);
    QStringList streams;
    for (int i : {0, 1}) {
        dup2(kept[i], i + 1);
        close(kept[i]);
        files[i].seek(0);
        streams << QString::fromUtf8(files[i].readAll());
    }
    return streams;
}

} // namespace

class TestCommandLine : public QObject
{
    Q_OBJECT

private slots:
    void commandLines()
    {
        const QString home = QDir::currentPath();
        for (const Row &row : kRows) {
            QTemporaryDir dir;
            const QString label = row.args + " [" + QString::fromUtf8(row.files) + ']';
            const auto place = [&dir](QString s) { return s.replace('%', dir.path()); };
            QDir(dir.path()).mkpath("config/clavimo");
            for (const char *name : {"XDG_CONFIG_HOME", "XDG_CONFIG_DIRS"})
                qputenv(name, dir.filePath("config").toLocal8Bit());
            qunsetenv("XDG_DATA_HOME");
            QString cwd = dir.path();
            for (const QByteArray &file : QByteArray("fichier=;" + row.files).split(';')) {
                const QString name = QString::fromUtf8(file.left(file.indexOf('=')));
                const QByteArray bytes = file.mid(file.indexOf('=') + 1);
                QFile f(name == "conf" ? dir.filePath("config/clavimo/clavimo.conf") : dir.filePath(name));
                if (name == "xdg")
                    qputenv("XDG_DATA_HOME", place(QString::fromUtf8(bytes)).toLocal8Bit());
                else if (name == "cwd")
                    cwd = QString::fromUtf8(bytes);
                else if (name.endsWith('/'))
                    QDir(dir.path()).mkpath(name);
                else if (!name.isEmpty())
                    QVERIFY(f.open(QIODevice::WriteOnly) && f.write(bytes == "big" ? QByteArray(WordImport::kMaxFileSize + 1, ' ') : bytes) >= 0);
            }
            const QStringList before = entries(dir.path());
            // A game holding the old list open meanwhile keeps reading it whole: the new list
            // takes the name only once written.
            QFile held(dir.filePath("clvlet6.txt"));
            const bool isHeld = held.open(QIODevice::ReadOnly | QIODevice::Unbuffered);
            const QByteArray old = isHeld ? held.peek(1 << 20) : QByteArray();
            QByteArrayList arguments{"clavimo"};
            for (const QString &a : row.args.split(' ', Qt::SkipEmptyParts))
                arguments << place(a).replace('~', ' ').toLocal8Bit();
            std::vector<char *> argv;
            for (QByteArray &a : arguments)
                argv.push_back(a.data());
            const QString wanted = place(row.outcome);
            QVERIFY(QDir::setCurrent(cwd));
            const CommandLine c = parseCommandLine(commandLineArguments(int(argv.size()), argv.data()));
            const QString server = c.server ? c.server->display() : "none";
            QString found;
            if (c.action == CommandLine::Action::PrepareServer) {
                found = "prepare " + server + ' ' + c.roomRole;
            } else if (c.action == CommandLine::Action::ErasePlayer) {
                found = "erase " + c.player + ' ' + server + (c.assumeYes ? " yes" : " ask");
            } else {
                std::optional<int> ended;
                std::optional<ServerAddress> given;
                const QStringList streams = caught([&] { ended = handleCommandLine(int(argv.size()), argv.data(), &given); });
                const QString stream = wanted.section(' ', 1, 1), &text = streams[stream == "out" ? 0 : 1];
                if (!ended)
                    found = "run " + QDir::currentPath() + ' ' + (given ? given->display() : "none");
                else
                    found = QStringLiteral("%1 %2 ").arg(*ended).arg(stream) + (text.contains(wanted.section(' ', 2)) ? wanted.section(' ', 2) : text);
                // Nothing on the other stream but a word import's skipped words, and French typography.
                QVERIFY2(wanted[0] == '0' ? streams[1].isEmpty() : streams[0].isEmpty() || row.args.contains("importer"), qPrintable(label + streams.join('|')));
                QVERIFY2(!streams.join('|').contains(QRegularExpression(" [:;!?»]|« |Displays|Usage")), qPrintable(streams.join('|')));
            }
            QVERIFY(QDir::setCurrent(home));
            QVERIFY2(found == wanted, qPrintable(label + "\n   found: " + found + "\n  wanted: " + wanted));
            // The files afterwards; nothing else new, the test write of a chosen folder included.
            QCOMPARE(held.readAll(), old);
            QStringList now = before;
            for (const QByteArray &file : QByteArray(row.after).split(';')) {
                if (file.isEmpty())
                    continue;
                const QString name = QString::fromUtf8(file.left(file.indexOf('=')));
                QFile f(dir.filePath(name));
                QVERIFY2(name.endsWith('/') || (f.open(QIODevice::ReadOnly) && f.readAll() == file.mid(file.indexOf('=') + 1)), qPrintable(label));
                now << name;
            }
            now.removeDuplicates();
            now.sort();
            QCOMPARE(entries(dir.path()), now);
        }
    }
};

QTEST_GUILESS_MAIN(TestCommandLine)
#include "tst_command_line.moc"
