#include "app/CommandLine.h"

#include "app/RoomCommands.h"
#include "app/WordListImport.h"
#include "history/ServerSetting.h"
#include "platform/DataPaths.h"
#include "platform/ProgramInfo.h"

#include <QCommandLineOption>
#include <QCommandLineParser>
#include <QDir>
#include <QFileInfo>
#include <QTemporaryFile>

#include <cstdio>

namespace {

// The options in the order the help lists them. The toolkit's own help and version
// options would describe themselves in English, so these are handled here.
const QCommandLineOption kHelp({QStringLiteral("h"), QStringLiteral("help")},
                               QStringLiteral("Affiche cette aide."));
const QCommandLineOption kVersion({QStringLiteral("v"), QStringLiteral("version")},
                                  QStringLiteral("Affiche la version."));
const QCommandLineOption kFolder(QStringLiteral("dossier"),
                                 QStringLiteral("Joue avec les fichiers de records et de réglages\n"
                                                "du dossier DOSSIER, qui doit exister."),
                                 QStringLiteral("DOSSIER"));
const QCommandLineOption kUserFolder(QStringLiteral("dossier-utilisateur"),
                                     QStringLiteral("Joue avec les fichiers du dossier de données de\n"
                                                    "l'utilisateur, $XDG_DATA_HOME/clavimo (par défaut\n"
                                                    "~/.local/share/clavimo), créé s'il manque."));
const QCommandLineOption kImportWords(QStringLiteral("importer-mots"),
                                      QStringLiteral("Fait des mots de six lettres du fichier texte FICHIER\n"
                                                     "(UTF-8, séparés par des espaces, des fins de ligne,\n"
                                                     "des virgules, des points-virgules, des points\n"
                                                     "ou des guillemets)\n"
                                                     "la liste du mode six lettres du dossier de jeu,\n"
                                                     "puis s'arrête."),
                                      QStringLiteral("FICHIER"));

const QCommandLineOption kHistoryServer(QStringLiteral("historique-serveur"),
                                        QStringLiteral("Garde l'historique des parties sur le serveur PostgreSQL\n"
                                                       "de la classe, postgresql://utilisateur@hôte:port/base\n"
                                                       "(le mot de passe vient de ~/.pgpass ou de PGPASSWORD).\n"
                                                       "Remplace le réglage [historique] serveur des fichiers\n"
                                                       "clavimo.conf."),
                                        QStringLiteral("URI"));

const QCommandLineOption kPrepareServer(QStringLiteral("preparer-serveur"),
                                        QStringLiteral("Prépare la base du serveur PostgreSQL de la classe, une\n"
                                                       "fois, connecté avec le rôle qui en est propriétaire\n"
                                                       "(postgresql://propriétaire@hôte:port/base)\u00A0: crée ou\n"
                                                       "met à jour les tables, puis ne laisse au rôle des\n"
                                                       "ordinateurs (--role-salle) que lire et ajouter des\n"
                                                       "parties. S'arrête ensuite."),
                                        QStringLiteral("URI"));
const QCommandLineOption kRoomRole(QStringLiteral("role-salle"),
                                   QStringLiteral("Avec --preparer-serveur\u00A0: le rôle PostgreSQL avec lequel\n"
                                                  "les ordinateurs de la salle se connectent."),
                                   QStringLiteral("ROLE"));
const QCommandLineOption kErasePlayer(QStringLiteral("effacer-joueur"),
                                      QStringLiteral("Efface toutes les parties du joueur NOM de l'historique\n"
                                                     "(le serveur de la classe s'il y en a un, à lancer avec\n"
                                                     "l'adresse du propriétaire, sinon le fichier de\n"
                                                     "l'ordinateur), après confirmation. Les records ne\n"
                                                     "changent pas. S'arrête ensuite."),
                                      QStringLiteral("NOM"));
const QCommandLineOption kYes(QStringLiteral("oui"),
                              QStringLiteral("Avec --effacer-joueur\u00A0: efface sans poser de question."));

// French typography: a no-break space before the colon and inside the quotation marks.
QString quoted(const QString &text)
{
    return QStringLiteral("«\u00A0%1\u00A0»").arg(QDir::toNativeSeparators(text));
}

const QString kUsage = QStringLiteral("Utilisation\u00A0: clavimo [--dossier DOSSIER | --dossier-utilisateur]\n");

QString helpText()
{
    QString text = kUsage
        + QStringLiteral("Jeu de vitesse de frappe au clavier, en lettres seules ou en mots de six lettres.\n"
                         "Sans option, les records et les réglages sont lus et écrits dans le dossier "
                         "de travail.\n\nOptions\u00A0:\n");
    for (const QCommandLineOption *option : {&kHelp, &kVersion, &kFolder, &kUserFolder, &kImportWords, &kHistoryServer,
                                             &kPrepareServer, &kRoomRole, &kErasePlayer, &kYes}) {
        QStringList names;
        for (const QString &name : option->names())
            names << (name.size() == 1 ? QStringLiteral("-") : QStringLiteral("--")) + name;
        QString left = names.join(QStringLiteral(", "));
        if (!option->valueName().isEmpty())
            left += QLatin1Char(' ') + option->valueName();
        QString description = option->description();
        description.replace(QLatin1Char('\n'), QStringLiteral("\n      "));
        text += QStringLiteral("  %1\n      %2\n").arg(left, description);
    }
    return text;
}

CommandLine refused(const QString &message, bool showUsage)
{
    CommandLine result;
    result.action = CommandLine::Action::Error;
    result.exitCode = 2;
    result.text = QStringLiteral("clavimo\u00A0: %1\n").arg(message);
    if (showUsage)
        result.text += kUsage + QStringLiteral("Pour en savoir plus\u00A0: clavimo --help\n");
    return result;
}

// Why the record files cannot be kept in the folder, or nothing when they can. Writing is
// really tried, since a permission check says yes to the administrator even where the
// file system refuses.
std::optional<QString> folderProblem(const QString &path)
{
    const QFileInfo info(path);
    if (!info.exists())
        return QStringLiteral("le dossier %1 n'existe pas.").arg(quoted(path));
    if (!info.isDir())
        return QStringLiteral("%1 n'est pas un dossier.").arg(quoted(path));
    QTemporaryFile probe(QDir(path).filePath(QStringLiteral(".clavimo-essai-XXXXXX")));
    if (!probe.open())
        return QStringLiteral("le dossier %1 n'accepte pas de nouveau fichier\u00A0: les records "
                              "ne pourraient pas y être enregistrés.").arg(quoted(path));
    return std::nullopt;
}

CommandLine runIn(const QString &path, CommandLine result)
{
    if (const auto problem = folderProblem(path))
        return refused(*problem, false);
    result.folder = QDir::cleanPath(QFileInfo(path).absoluteFilePath());
    return result;
}

// The teacher's word list is written into the folder the game would play in, or a player's
// games are erased from its history, instead of starting the game.
CommandLine importing(CommandLine chosen, const QCommandLineParser &parser)
{
    if (chosen.action == CommandLine::Action::Run && parser.isSet(kErasePlayer)) {
        chosen.action = CommandLine::Action::ErasePlayer;
        chosen.player = parser.value(kErasePlayer);
        chosen.assumeYes = parser.isSet(kYes);
        return chosen;
    }
    if (chosen.action != CommandLine::Action::Run || !parser.isSet(kImportWords))
        return chosen;
    chosen.wordsFile = parser.value(kImportWords);
    if (chosen.wordsFile.isEmpty())
        return refused(QStringLiteral("l'option --importer-mots attend le nom d'un fichier."), true);
    chosen.action = CommandLine::Action::ImportWords;
    return chosen;
}

} // namespace

CommandLine parseCommandLine(const QStringList &arguments, const QStringList &settingsFiles)
{
    QCommandLineParser parser;
    parser.addOptions({kHelp, kVersion, kFolder, kUserFolder, kImportWords, kHistoryServer, kPrepareServer, kRoomRole,
                       kErasePlayer, kYes});
    if (!parser.parse(arguments.isEmpty() ? QStringList{QStringLiteral("clavimo")} : arguments)) {
        const QStringList unknown = parser.unknownOptionNames();
        // The only other mistake the parser knows: an option that takes a value at the end.
        if (unknown.isEmpty() && arguments.constLast() == QStringLiteral("--importer-mots"))
            return refused(QStringLiteral("l'option --importer-mots attend le nom d'un fichier."), true);
        if (unknown.isEmpty() && arguments.constLast().startsWith(QStringLiteral("--historique")))
            return refused(QStringLiteral("l'option --historique-serveur attend l'adresse d'un serveur."), true);
        if (unknown.isEmpty() && arguments.constLast().startsWith(QStringLiteral("--preparer")))
            return refused(QStringLiteral("l'option --preparer-serveur attend l'adresse d'un serveur."), true);
        if (unknown.isEmpty() && arguments.constLast().startsWith(QStringLiteral("--role")))
            return refused(QStringLiteral("l'option --role-salle attend le nom d'un rôle."), true);
        if (unknown.isEmpty() && arguments.constLast().startsWith(QStringLiteral("--effacer")))
            return refused(QStringLiteral("l'option --effacer-joueur attend le nom d'un joueur."), true);
        if (unknown.isEmpty())
            return refused(QStringLiteral("l'option --dossier attend le nom d'un dossier."), true);
        const QString name = unknown.constFirst();
        return refused(QStringLiteral("option inconnue\u00A0: %1%2.")
                           .arg(name.size() == 1 ? QStringLiteral("-") : QStringLiteral("--"), name),
                       true);
    }
    if (!parser.positionalArguments().isEmpty())
        return refused(QStringLiteral("argument inattendu\u00A0: %1.")
                           .arg(quoted(parser.positionalArguments().constFirst())),
                       true);

    CommandLine result;
    if (parser.isSet(kHelp)) {
        result.action = CommandLine::Action::Help;
        result.text = helpText();
        return result;
    }
    if (parser.isSet(kVersion)) {
        result.action = CommandLine::Action::Version;
        result.text = QStringLiteral("%1 %2\n").arg(programTitle(), versionText());
        return result;
    }
    if (int(parser.isSet(kPrepareServer)) + int(parser.isSet(kErasePlayer)) + int(parser.isSet(kImportWords)) > 1)
        return refused(QStringLiteral("--preparer-serveur, --effacer-joueur et --importer-mots ne vont pas ensemble."),
                       true);
    if (parser.isSet(kRoomRole) != parser.isSet(kPrepareServer))
        return refused(QStringLiteral("--preparer-serveur et --role-salle vont ensemble\u00A0: l'adresse du serveur, "
                                      "avec le rôle propriétaire, et le rôle des ordinateurs de la salle."),
                       true);
    if (parser.isSet(kYes) && !parser.isSet(kErasePlayer))
        return refused(QStringLiteral("l'option --oui ne va qu'avec --effacer-joueur."), true);
    if (parser.isSet(kErasePlayer) && parser.value(kErasePlayer).trimmed().isEmpty())
        return refused(QStringLiteral("l'option --effacer-joueur attend le nom d'un joueur."), true);
    if (parser.isSet(kPrepareServer)) {
        result.roomRole = parser.value(kRoomRole);
        if (result.roomRole.isEmpty())
            return refused(QStringLiteral("l'option --role-salle attend le nom d'un rôle."), true);
        QString why;
        result.server = ServerAddress::parse(parser.value(kPrepareServer), &why);
        if (!result.server)
            return refused(why, false);
        result.action = CommandLine::Action::PrepareServer;
        return result;
    }
    // The server is checked before the folder, so that a mistake in it is found at once.
    const ServerSetting setting = ServerSetting::find(parser.isSet(kHistoryServer) ? parser.value(kHistoryServer)
                                                                                   : QString(),
                                                      settingsFiles);
    // Importing a word list needs no server, so a mistake there does not stop it.
    if (!parser.isSet(kImportWords)
        && (!setting.uri.isEmpty() || setting.source == QLatin1String("--historique-serveur"))) {
        QString why;
        result.server = ServerAddress::parse(setting.uri, &why);
        if (!result.server)
            return refused(setting.source.startsWith(QLatin1String("--"))
                               ? why
                               : QStringLiteral("%1 (réglage [historique] serveur du fichier %2)")
                                     .arg(why.chopped(1), quoted(setting.source))
                                     + QLatin1Char('.'),
                           false);
    }
    if (parser.isSet(kFolder) && parser.isSet(kUserFolder))
        return refused(QStringLiteral("--dossier et --dossier-utilisateur ne vont pas ensemble."), true);
    if (parser.isSet(kFolder)) {
        const QString folder = parser.value(kFolder);
        if (folder.isEmpty())
            return refused(QStringLiteral("l'option --dossier attend le nom d'un dossier."), true);
        return importing(runIn(folder, result), parser);
    }
    if (parser.isSet(kUserFolder)) {
        const QString folder = userDataFolder();
        if (folder.isEmpty())
            return refused(QStringLiteral("le dossier de données de l'utilisateur est introuvable."), false);
        if (!QDir().mkpath(folder))
            return refused(QStringLiteral("le dossier %1 n'a pas pu être créé.").arg(quoted(folder)), false);
        return importing(runIn(folder, result), parser);
    }
    return importing(result, parser);
}

QStringList commandLineArguments(int argc, char *argv[])
{
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments << QString::fromLocal8Bit(argv[i]);
    return arguments;
}

std::optional<int> handleCommandLine(int argc, char *argv[], std::optional<ServerAddress> *server)
{
    CommandLine command = parseCommandLine(commandLineArguments(argc, argv));
    *server = command.server;
    if (command.action == CommandLine::Action::Run && !command.folder.isEmpty()
        && !QDir::setCurrent(command.folder)) {
        command = refused(QStringLiteral("impossible d'entrer dans le dossier %1.").arg(quoted(command.folder)),
                          false);
    }
    switch (command.action) {
    case CommandLine::Action::Run:
        return std::nullopt;
    case CommandLine::Action::Help:
    case CommandLine::Action::Version:
        std::fputs(command.text.toLocal8Bit().constData(), stdout);
        return command.exitCode;
    case CommandLine::Action::Error:
        std::fputs(command.text.toLocal8Bit().constData(), stderr);
        return command.exitCode;
    case CommandLine::Action::PrepareServer:
    case CommandLine::Action::ErasePlayer:
        return runRoomCommand(command);
    case CommandLine::Action::ImportWords: {
        const WordListImportResult imported =
            importWordList(command.wordsFile, command.folder.isEmpty() ? QDir::currentPath() : command.folder);
        std::fputs(imported.output.toLocal8Bit().constData(), stdout);
        std::fflush(stdout);
        std::fputs(imported.error.toLocal8Bit().constData(), stderr);
        return imported.exitCode;
    }
    }
    return command.exitCode;
}
