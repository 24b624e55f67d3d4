#pragma once

#include <QDir>
#include <QStringList>
#include <QTemporaryDir>

// The arguments of the benchmarks that fill a history file: how many games (10,000 unless
// the first argument says), and the folder their scratch folder goes in (the second
// argument, or the system's temporary folder). The process works in the scratch folder,
// which goes away with this object.
class BenchScratch
{
public:
    explicit BenchScratch(const QStringList &args)
        : games(args.size() > 1 ? args[1].toInt() : 10000),
          folder_(args.size() > 2 ? args[2] + QStringLiteral("/bench-XXXXXX") : QString())
    {
        if (folder_.isValid())
            QDir::setCurrent(folder_.path());
    }

    bool isValid() const { return folder_.isValid(); }

    const int games;

private:
    QTemporaryDir folder_;
};
