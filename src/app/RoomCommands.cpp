#include "app/RoomCommands.h"

#include "app/CommandLine.h"
#include "history/PlayerErasure.h"
#include "history/ServerPreparation.h"
#include "platform/DataPaths.h"
#include "platform/HistoryLocation.h"
#include "platform/SystemFolderKinds.h"

#include <QCoreApplication>
#include <QDir>

#include <cstdio>

namespace {

void print(const QString &text, FILE *stream)
{
    std::fputs(text.toLocal8Bit().constData(), stream);
    std::fflush(stream);
}

// The question on the terminal; only "oui" (or "o") says yes, so that an empty line, the
// end of the input or a script that answers nothing erases nothing.
bool askOnTerminal(const QString &question)
{
    print(question + QStringLiteral(" Tapez «\u00A0oui\u00A0» pour confirmer\u00A0: "), stdout);
    char line[64] = {};
    if (!std::fgets(line, sizeof line, stdin))
        return false;
    const QString answer = QString::fromLocal8Bit(line).trimmed().toLower();
    return answer == QLatin1String("oui") || answer == QLatin1String("o");
}

} // namespace

int runRoomCommand(const CommandLine &command)
{
    // The database drivers are plug-ins, found through the application object.
    int argc = 1;
    char name[] = "clavimo";
    char *argv[] = {name, nullptr};
    QCoreApplication app(argc, argv);
    RoomCommandResult result;
    if (command.action == CommandLine::Action::PrepareServer) {
        result = prepareServer(*command.server, command.roomRole);
    } else {
        const QString folder = command.folder.isEmpty() ? QDir::currentPath() : command.folder;
        const QString file = historyFilePath(folder, SystemFolderKinds(), userDataFolder());
        result = erasePlayer(command.server, file, command.player, [&command](const QString &question) {
            return command.assumeYes || askOnTerminal(question);
        });
    }
    print(result.output, stdout);
    print(result.error, stderr);
    return result.exitCode;
}
