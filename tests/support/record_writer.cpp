// A player of the shared-folder test: plays `rounds` quick games against the record file
// of the folder it is given, for random players and times, and prints every time it
// offered ("name mini average" a line) so that the test can tell what the file must hold.
#include "game/records/PlayerFile.h"
#include "game/records/RecordKeeper.h"
#include "game/session/SoundCues.h"
#include "support/TestDoubles.h"

#include <QCoreApplication>
#include <QDir>
#include <QTextStream>

#include <random>

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    PlayerFile file;
    if (args.size() != 4 || !QDir::setCurrent(args[1]) || !file.open(PlayerFile::fileNameFor(1)))
        return 2;
    std::mt19937 random(args[2].toUInt());
    RecordingSound sound;
    SoundCues cues(sound);
    ScriptedBoxes boxes;
    RecordKeeper keeper(file, cues, boxes);
    keeper.loadAbsolute();
    QTextStream out(stdout);
    for (int i = 0; i < args[3].toInt(); ++i) {
        const QString name = QStringLiteral("Joueur%1").arg(random() % 25);
        keeper.findPlayer(name);
        const int mini = 100 + int(random() % 9000);
        const int average = 100 + int(random() % 9000);
        keeper.afterItem(mini, name);
        keeper.afterGame(average, name);
        out << name << ' ' << mini << ' ' << average << '\n';
        boxes.shown.clear(); // so that a long run keeps no growing log
        sound.played.clear();
    }
    return 0;
}
