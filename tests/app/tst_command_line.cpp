// Guards the command line: help and version in French, a record folder that must exist and
// take new files, the user's data folder made when missing, exit code 2 for every mistake,
// the chosen folder entered before the game starts, and a teacher's word list written
// into that folder whole or not at all.

#include "app/CommandLine.h"
#include "app/WordListImport.h"
#include "game/words/WordImport.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QtTest>

#include <vector>

using Action = CommandLine::Action;

namespace {

// What main() does with the arguments, the program's name first: handleCommandLine on
// them as the system hands them over.
std::optional<int> runMain(const QStringList &arguments)
{
    QByteArrayList bytes;
    for (const QString &a : arguments)
        bytes << a.toLocal8Bit();
    std::vector<char *> argv;
    for (QByteArray &b : bytes)
        argv.push_back(b.data());
    std::optional<ServerAddress> server;
    return handleCommandLine(int(argv.size()), argv.data(), &server);
}

} // namespace

class TestCommandLine : public QObject
{
    Q_OBJECT

    QTemporaryDir configFolder_;

private slots:
    // No settings file of this computer or user may name a server for these tests.
    void initTestCase()
    {
        QVERIFY(configFolder_.isValid());
        qputenv("XDG_CONFIG_HOME", configFolder_.path().toLocal8Bit());
        qputenv("XDG_CONFIG_DIRS", configFolder_.path().toLocal8Bit());
    }

    // In the arguments and the expected texts, "@" stands for a fresh folder that holds one
    // regular file, "fichier"; XDG_DATA_HOME is set to xdg (unset when empty).
    void parse_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QString>("xdg");
        QTest::addColumn<int>("action");
        QTest::addColumn<QString>("folder");
        QTest::addColumn<QStringList>("texts");
        const QString version = QStringLiteral("Clavimo %1.%2.%3\n")
                                    .arg(CLAVIMO_VERSION_MAJOR).arg(CLAVIMO_VERSION_MINOR).arg(CLAVIMO_VERSION_PATCH);
        const QStringList help = {QStringLiteral("Utilisation\u00A0: clavimo"), QStringLiteral("-h, --help\n      Affiche cette aide."),
                                  QStringLiteral("-v, --version\n      Affiche la version."), QStringLiteral("--dossier DOSSIER\n"),
                                  QStringLiteral("--dossier-utilisateur\n"), QStringLiteral("~/.local/share/clavimo"),
                                  QStringLiteral("--importer-mots FICHIER\n")};
        const QString usage = QStringLiteral("Utilisation\u00A0: clavimo [--dossier DOSSIER | --dossier-utilisateur]\n"
                                             "Pour en savoir plus\u00A0: clavimo --help\n");
        const auto run = int(Action::Run);
        const auto error = int(Action::Error);
        QTest::newRow("no option") << QStringList{} << "" << run << "" << QStringList{};
        QTest::newRow("version") << QStringList{"--version"} << "" << int(Action::Version) << "" << QStringList{version};
        QTest::newRow("-v") << QStringList{"-v"} << "" << int(Action::Version) << "" << QStringList{version};
        QTest::newRow("help") << QStringList{"--help"} << "" << int(Action::Help) << "" << help;
        QTest::newRow("-h before a folder") << QStringList{"-h", "--dossier", "@"} << "" << int(Action::Help) << "" << help;
        QTest::newRow("folder") << QStringList{"--dossier", "@"} << "" << run << "@" << QStringList{};
        QTest::newRow("folder after =") << QStringList{"--dossier=@/"} << "" << run << "@" << QStringList{};
        QTest::newRow("missing folder") << QStringList{"--dossier", "@/absent"} << "" << error << ""
                                        << QStringList{"clavimo\u00A0: le dossier «\u00A0@/absent\u00A0» n'existe pas.\n"};
        QTest::newRow("file for a folder") << QStringList{"--dossier", "@/fichier"} << "" << error << ""
                                           << QStringList{"clavimo\u00A0: «\u00A0@/fichier\u00A0» n'est pas un dossier.\n"};
#ifdef Q_OS_LINUX
        // No one can create a file in /proc, the administrator included.
        QTest::newRow("unwritable folder") << QStringList{"--dossier", "/proc"} << "" << error << ""
                                           << QStringList{"«\u00A0/proc\u00A0» n'accepte pas de nouveau fichier\u00A0: les records"};
#endif
        QTest::newRow("empty folder name") << QStringList{"--dossier="} << "" << error << ""
                                           << QStringList{"l'option --dossier attend le nom d'un dossier.\n" + usage};
        QTest::newRow("folder name missing") << QStringList{"--dossier"} << "" << error << ""
                                             << QStringList{"clavimo\u00A0: l'option --dossier attend le nom d'un dossier.\n" + usage};
        QTest::newRow("unknown option") << QStringList{"--vitesse"} << "" << error << ""
                                        << QStringList{"clavimo\u00A0: option inconnue\u00A0: --vitesse.\n" + usage};
        QTest::newRow("unknown short option") << QStringList{"-x"} << "" << error << ""
                                              << QStringList{"option inconnue\u00A0: -x.\n"};
        QTest::newRow("toolkit's help option") << QStringList{"--help-all"} << "" << error << ""
                                               << QStringList{"option inconnue\u00A0: --help-all.\n"};
        QTest::newRow("word file name missing") << QStringList{"--importer-mots"} << "" << error << ""
                                                << QStringList{"clavimo\u00A0: l'option --importer-mots attend le nom d'un fichier.\n" + usage};
        QTest::newRow("empty word file name") << QStringList{"--dossier", "@", "--importer-mots="} << "" << error << ""
                                              << QStringList{"l'option --importer-mots attend le nom d'un fichier.\n"};
        QTest::newRow("stray argument") << QStringList{"@"} << "" << error << ""
                                        << QStringList{"argument inattendu\u00A0: «\u00A0@\u00A0».\n" + usage};
        QTest::newRow("both folders") << QStringList{"--dossier", "@", "--dossier-utilisateur"} << "" << error << ""
                                      << QStringList{"--dossier et --dossier-utilisateur ne vont pas ensemble.\n" + usage};
        QTest::newRow("user folder made") << QStringList{"--dossier-utilisateur"} << "@/données" << run
                                          << "@/données/clavimo" << QStringList{};
        QTest::newRow("user folder kept") << QStringList{"--dossier-utilisateur"} << "@" << run << "@/clavimo" << QStringList{};
        QTest::newRow("user folder under a file") << QStringList{"--dossier-utilisateur"} << "@/fichier" << error << ""
                                                  << QStringList{"le dossier «\u00A0@/fichier/clavimo\u00A0» n'a pas pu être créé.\n"};
    }
    void parse()
    {
        QFETCH(QStringList, arguments);
        QFETCH(QString, xdg);
        QFETCH(int, action);
        const int exitCode = action == int(Action::Error) ? 2 : 0; // 2 for every mistake
        QFETCH(QString, folder);
        QFETCH(QStringList, texts);
        QTemporaryDir dir;
        QFile file(dir.filePath(QStringLiteral("fichier")));
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.close();
        if (QTest::currentDataTag() == QLatin1String("user folder kept"))
            QVERIFY(QDir(dir.path()).mkdir(QStringLiteral("clavimo")));
        const auto place = [&dir](QString s) { return s.replace(QLatin1Char('@'), dir.path()); };
        arguments.prepend(QStringLiteral("clavimo"));
        for (QString &a : arguments)
            a = place(a);
        if (xdg.isEmpty())
            qunsetenv("XDG_DATA_HOME");
        else
            qputenv("XDG_DATA_HOME", place(xdg).toLocal8Bit());

        const CommandLine result = parseCommandLine(arguments);
        QCOMPARE(int(result.action), action);
        QCOMPARE(result.exitCode, exitCode);
        QCOMPARE(result.folder, folder.isEmpty() ? QString() : place(folder));
        for (const QString &text : texts)
            QVERIFY2(result.text.contains(place(text)), qPrintable(result.text));
        QVERIFY(texts.isEmpty() || result.text.endsWith(QLatin1Char('\n')));
        QVERIFY2(!result.text.contains(QRegularExpression(QStringLiteral(" [:;!?»]|« |Displays|Usage"))),
                 qPrintable(result.text));
        if (!folder.isEmpty()) {
            QVERIFY(QFileInfo(result.folder).isDir());
            // The test write leaves nothing behind.
            QCOMPARE(QDir(result.folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
                     QDir(result.folder) == QDir(dir.path()) ? QStringList{"fichier"} : QStringList{});
        }

        // What main() does with it: the game starts in the chosen folder, or does not start.
        const QString before = QDir::currentPath();
        const std::optional<int> ended = runMain(arguments);
        const QString after = QDir::currentPath();
        QVERIFY(QDir::setCurrent(before));
        QCOMPARE(ended.has_value(), action != int(Action::Run));
        QCOMPARE(ended.value_or(0), exitCode);
        QCOMPARE(after, folder.isEmpty() ? before : place(folder));
    }

    // The classroom's server: from the option or the settings file, read before any window;
    // an address that cannot be read ends the program with exit code 2, saying where it was.
    void historyServer_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QString>("settings");
        QTest::addColumn<QString>("expected");
        const QString room = "[historique]\nserveur=postgresql://salle@serveur/classe\n";
        QTest::newRow("none") << QStringList{} << "" << "run: none";
        QTest::newRow("option") << QStringList{"--historique-serveur", "postgresql://p@h:6000/b"} << ""
                                << "run: postgresql://p@h:6000/b";
        QTest::newRow("settings file") << QStringList{} << room << "run: postgresql://salle@serveur:5432/classe";
        QTest::newRow("option wins") << QStringList{"--historique-serveur=postgresql://p@h/b"} << room
                                     << "run: postgresql://p@h:5432/b";
        QTest::newRow("bad option") << QStringList{"--historique-serveur", "salle-12"} << room
                                    << "2: clavimo\u00A0: l'adresse du serveur d'historique doit commencer par "
                                       "«\u00A0postgresql://\u00A0», pas «\u00A0salle-12\u00A0».\n";
        QTest::newRow("option without its value") << QStringList{"--historique-serveur"} << ""
                                                  << "2: clavimo\u00A0: l'option --historique-serveur attend l'adresse "
                                                     "d'un serveur.\n";
        QTest::newRow("bad settings file") << QStringList{} << "[historique]\nserveur=postgresql://p:secret@h/b\n"
                                           << "2: clavimo\u00A0: l'adresse du serveur d'historique ne doit pas contenir de "
                                              "mot de passe (mettez-le dans le fichier ~/.pgpass de l'utilisateur) "
                                              "(réglage [historique] serveur du fichier «\u00A0DIR/clavimo.conf\u00A0»).\n";
        QTest::newRow("help needs no server") << QStringList{"--help"} << "[historique]\nserveur=faux\n" << "help";
        QTest::newRow("an import needs no server") << QStringList{"--importer-mots", "mots.txt"}
                                                   << "[historique]\nserveur=faux\n" << "import";
        // The room's commands: preparing names its own server, erasing uses the configured one.
        const QStringList prepare{"--preparer-serveur", "postgresql://prof@h/b", "--role-salle", "salle12"};
        QTest::newRow("preparing") << prepare << room << "prepare: postgresql://prof@h:5432/b salle12";
        QTest::newRow("preparing without a role") << prepare.mid(0, 2) << ""
                                                  << "2: clavimo\u00A0: --preparer-serveur et --role-salle vont ensemble"
                                                     "\u00A0: l'adresse du serveur, avec le rôle propriétaire, et le rôle des "
                                                     "ordinateurs de la salle.\n";
        QTest::newRow("a role alone") << prepare.mid(2) << "" << "2: clavimo\u00A0: --preparer-serveur et --role-salle vont "
                                                             "ensemble\u00A0: l'adresse du serveur, avec le rôle propriétaire, "
                                                             "et le rôle des ordinateurs de la salle.\n";
        QTest::newRow("erasing on the room's server") << QStringList{"--effacer-joueur", "Léa"} << room
                                                      << "erase: Léa postgresql://salle@serveur:5432/classe ask";
        QTest::newRow("erasing in the file, no question") << QStringList{"--effacer-joueur=Léa", "--oui"} << ""
                                                          << "erase: Léa none yes";
        QTest::newRow("erasing nobody") << QStringList{"--effacer-joueur", " "} << ""
                                        << "2: clavimo\u00A0: l'option --effacer-joueur attend le nom d'un joueur.\n";
        QTest::newRow("yes alone") << QStringList{"--oui"} << "" << "2: clavimo\u00A0: l'option --oui ne va qu'avec --effacer-joueur.\n";
        QTest::newRow("erasing while preparing") << prepare + QStringList{"--effacer-joueur", "Léa"} << ""
                                                 << "2: clavimo\u00A0: --preparer-serveur, --effacer-joueur et --importer-mots "
                                                    "ne vont pas ensemble.\n";
    }
    void historyServer()
    {
        QFETCH(QStringList, arguments);
        QFETCH(QString, settings);
        QFETCH(QString, expected);
        QTemporaryDir dir;
        const QString file = dir.filePath(QStringLiteral("clavimo.conf"));
        if (!settings.isEmpty()) {
            QFile f(file);
            QVERIFY(f.open(QIODevice::WriteOnly));
            f.write(settings.toUtf8());
        }
        const CommandLine result = parseCommandLine(QStringList{"clavimo"} + arguments, {file});
        QString found;
        if (result.action == Action::Run)
            found = "run: " + (result.server ? result.server->display() : QStringLiteral("none"));
        else if (result.action == Action::Help)
            found = "help";
        else if (result.action == Action::ImportWords)
            found = "import";
        else if (result.action == Action::PrepareServer)
            found = "prepare: " + result.server->display() + ' ' + result.roomRole;
        else if (result.action == Action::ErasePlayer)
            found = "erase: " + result.player + ' ' + (result.server ? result.server->display() : QStringLiteral("none"))
                    + (result.assumeYes ? " yes" : " ask");
        else
            found = QString::number(result.exitCode) + ": " + result.text.section(QStringLiteral("Utilisation"), 0, 0);
        QCOMPARE(found, QString(expected).replace(QStringLiteral("DIR"), dir.path()));
    }

    // In the arguments, the texts and the folders, "@" stands for a fresh folder, which is
    // the working folder unless cwd says otherwise; the words, when written, are in
    // @/mots.txt, and an old list, when given, is in the list's folder first.
    void importWords_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QString>("cwd");
        QTest::addColumn<bool>("writeWords");
        QTest::addColumn<QByteArray>("words");
        QTest::addColumn<QString>("listFolder");
        QTest::addColumn<QByteArray>("oldList");
        QTest::addColumn<int>("exitCode");
        QTest::addColumn<QByteArray>("list"); // the list afterwards; empty when there is none
        QTest::addColumn<QStringList>("output");
        QTest::addColumn<QString>("error");
        const QByteArray old("aaaaaa");
        const QStringList in{"--dossier", "@", "--importer-mots", "@/mots.txt"};
        const QString unchanged = QStringLiteral("\u00A0; la liste «\u00A0@/clvlet6.txt\u00A0» n'a pas été changée.\n");
        QTest::newRow("into the chosen folder")
            << in << "@" << true << QByteArray("maison chat\r\nJardin\n\xC3\xA9l\xC3\xA8ves maison") << "@" << QByteArray()
            << 0 << QByteArray("maisonjardin\xE9l\xE8ves")
            << QStringList{"Mot écarté\u00A0: «\u00A0chat\u00A0», longueur (4 lettres au lieu de 6).\n"
                           "Mot écarté\u00A0: «\u00A0maison\u00A0», doublon.\n"
                           "3 mots gardés sur 5, écrits dans «\u00A0@/clvlet6.txt\u00A0».\n"}
            << "";
        QTest::newRow("into the working folder")
            << QStringList{"--importer-mots", "mots.txt"} << "@" << true << QByteArray("maison") << "@" << QByteArray() << 0
            << QByteArray("maison") << QStringList{"1 mot gardé sur 1, écrit dans «\u00A0@/clvlet6.txt\u00A0».\n"} << "";
        QTest::newRow("into the user's folder")
            << QStringList{"--importer-mots", "@/mots.txt", "--dossier-utilisateur"} << "@" << true << QByteArray("maison")
            << "@/clavimo" << QByteArray() << 0 << QByteArray("maison") << QStringList{"@/clavimo/clvlet6.txt"} << "";
        QTest::newRow("old list replaced") << in << "@" << true << QByteArray("jardin") << "@" << old << 0
                                           << QByteArray("jardin") << QStringList{} << "";
        QTest::newRow("no word kept: old list left")
            << in << "@" << true << QByteArray("chat c\xC5\x93urs") << "@" << old << 2 << old
            << QStringList{"«\u00A0cœurs\u00A0», caractère «\u00A0œ\u00A0» qui ne peut pas être tapé ou enregistré.\n"}
            << "clavimo\u00A0: aucun mot de six lettres n'a été gardé" + unchanged;
        QTest::newRow("missing file") << in << "@" << false << QByteArray() << "@" << old << 2 << old << QStringList{}
                                      << "clavimo\u00A0: le fichier «\u00A0@/mots.txt\u00A0» n'existe pas.\n";
        QTest::newRow("a folder for the file") << QStringList{"--importer-mots", "@"} << "@" << false << QByteArray() << "@"
                                               << old << 2 << old << QStringList{}
                                               << "«\u00A0@\u00A0» est un dossier, pas un fichier de mots.\n";
        QTest::newRow("not UTF-8") << in << "@" << true << QByteArray("maison\n\xE9l\xE8ves\n") << "@" << old << 2 << old
                                   << QStringList{}
                                   << "le fichier «\u00A0@/mots.txt\u00A0» n'est pas un texte UTF-8 (ligne 2)\u00A0: "
                                      "enregistrez-le en UTF-8 et recommencez.\n";
        QTest::newRow("empty file") << in << "@" << true << QByteArray() << "@" << old << 2 << old << QStringList{}
                                    << "le fichier «\u00A0@/mots.txt\u00A0» ne contient aucun mot.\n";
        QTest::newRow("file too large") << in << "@" << true << QByteArray(WordImport::kMaxFileSize + 1, ' ') << "@" << old
                                        << 2 << old << QStringList{} << "est trop gros pour une liste de mots (plus de 4\u00A0Mo).\n";
#ifdef Q_OS_LINUX
        // Opened, but every read fails.
        QTest::newRow("unreadable file") << QStringList{"--dossier", "@", "--importer-mots", "/proc/self/mem"} << "@" << false
                                         << QByteArray() << "@" << old << 2 << old << QStringList{}
                                         << "le fichier «\u00A0/proc/self/mem\u00A0» ne peut pas être lu.\n";
        // No one can create a file in /proc, the administrator included.
        QTest::newRow("unwritable working folder") << QStringList{"--importer-mots", "@/mots.txt"} << "/proc" << true
                                                   << QByteArray("maison") << "/proc" << QByteArray() << 2 << QByteArray()
                                                   << QStringList{}
                                                   << "clavimo\u00A0: la liste «\u00A0/proc/clvlet6.txt\u00A0» n'a pas pu être "
                                                      "écrite\u00A0: le dossier doit exister et accepter de nouveaux fichiers.\n";
        QTest::newRow("unwritable chosen folder") << QStringList{"--dossier", "/proc", "--importer-mots", "@/mots.txt"} << "@"
                                                  << true << QByteArray("maison") << "/proc" << QByteArray() << 2 << QByteArray()
                                                  << QStringList{} << "«\u00A0/proc\u00A0» n'accepte pas de nouveau fichier";
#endif
    }
    void importWords()
    {
        QFETCH(QStringList, arguments);
        QFETCH(QString, cwd);
        QFETCH(bool, writeWords);
        QFETCH(QByteArray, words);
        QFETCH(QString, listFolder);
        QFETCH(QByteArray, oldList);
        QFETCH(int, exitCode);
        QFETCH(QByteArray, list);
        QFETCH(QStringList, output);
        QFETCH(QString, error);
        QTemporaryDir dir;
        const auto place = [&dir](QString s) { return s.replace(QLatin1Char('@'), dir.path()); };
        qputenv("XDG_DATA_HOME", dir.path().toLocal8Bit());
        arguments.prepend(QStringLiteral("clavimo"));
        for (QString &a : arguments)
            a = place(a);
        const QString listPath = QDir(place(listFolder)).filePath(QStringLiteral("clvlet6.txt"));
        const auto readList = [&listPath] {
            QFile f(listPath);
            return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
        };
        // The same files before each of the two runs below.
        const auto prepare = [&] {
            if (writeWords) {
                QFile f(dir.filePath(QStringLiteral("mots.txt")));
                QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate) && f.write(words) == words.size());
            }
            QFile::remove(listPath);
            if (!oldList.isEmpty()) {
                QVERIFY(QDir().mkpath(place(listFolder)));
                QFile f(listPath);
                QVERIFY(f.open(QIODevice::WriteOnly) && f.write(oldList) == oldList.size());
            }
        };
        const QString before = QDir::currentPath();
        QVERIFY(QDir::setCurrent(place(cwd)));

        // What main() does: the list is written and the program ends with the exit code.
        prepare();
        const std::optional<int> ended = runMain(arguments);
        const QByteArray afterMain = readList();
        const QString afterMainCwd = QDir::currentPath();

        // And what it prints.
        prepare();
        const CommandLine command = parseCommandLine(arguments);
        WordListImportResult result{command.exitCode, QString(), command.text};
        if (command.action == Action::ImportWords)
            result = importWordList(command.wordsFile, command.folder.isEmpty() ? QDir::currentPath() : command.folder);
        else
            QCOMPARE(int(command.action), int(Action::Error));
        QVERIFY(QDir::setCurrent(before));
        qunsetenv("XDG_DATA_HOME");

        QCOMPARE(ended, std::optional<int>(exitCode));
        QCOMPARE(afterMainCwd, place(cwd)); // the game does not start, so no folder is entered
        QCOMPARE(afterMain, list);
        QCOMPARE(result.exitCode, exitCode);
        QCOMPARE(readList(), list);
        for (const QString &text : output)
            QVERIFY2(result.output.contains(place(text)), qPrintable(result.output));
        QVERIFY2(error.isEmpty() ? result.error.isEmpty() : result.error.contains(place(error)), qPrintable(result.error));
        QVERIFY2(!(result.output + result.error).contains(QRegularExpression(QStringLiteral(" [:;!?»]|« "))),
                 qPrintable(result.output + result.error));
        // Nothing but the list is left beside it.
        if (place(listFolder) != QStringLiteral("/proc")) {
            QStringList left = QDir(place(listFolder)).entryList(QDir::Files | QDir::Hidden);
            left.removeOne(QStringLiteral("mots.txt"));
            QCOMPARE(left, list.isEmpty() ? QStringList{} : QStringList{"clvlet6.txt"});
        }
    }

    // The old list keeps its bytes until the new one is complete: the new list is written
    // beside it and takes its name at the end, so a game that has the old list open (or a
    // write cut short) never sees half of each.
    void listReplacedOnlyWhenWhole()
    {
        QTemporaryDir dir;
        const QString listPath = dir.filePath(QStringLiteral("clvlet6.txt"));
        QFile old(listPath);
        QVERIFY(old.open(QIODevice::WriteOnly) && old.write("aaaaaabbbbbb") == 12);
        old.close();
        QFile words(dir.filePath(QStringLiteral("mots.txt")));
        QVERIFY(words.open(QIODevice::WriteOnly) && words.write("maison jardin") == 13);
        words.close();
        QVERIFY(old.open(QIODevice::ReadOnly));

        const WordListImportResult result = importWordList(words.fileName(), dir.path());
        QCOMPARE(result.exitCode, 0);
        QCOMPARE(old.readAll(), QByteArray("aaaaaabbbbbb"));
        QFile replaced(listPath);
        QVERIFY(replaced.open(QIODevice::ReadOnly));
        QCOMPARE(replaced.readAll(), QByteArray("maisonjardin"));
    }
};

QTEST_GUILESS_MAIN(TestCommandLine)
#include "tst_command_line.moc"
