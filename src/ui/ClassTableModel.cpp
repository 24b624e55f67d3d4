#include "ui/ClassTableModel.h"

#include <QLocale>

#include <limits>

namespace {

const QLocale kFrench(QLocale::French, QLocale::France);
const QString kNone = QStringLiteral("—");

QString percent(double share)
{
    return kFrench.toString(share * 100.0, 'f', 1) + QStringLiteral("\u00A0%");
}

QString missedText(const QList<QChar> &missed, const QString &separator)
{
    QStringList out;
    for (QChar c : missed)
        out << QString(c);
    return out.join(separator);
}

int reasonCount(int reasons)
{
    return ((reasons & ClassOverview::Slower) ? 1 : 0) + ((reasons & ClassOverview::MoreWrongKeys) ? 1 : 0)
        + ((reasons & ClassOverview::Idle) ? 1 : 0);
}

} // namespace

void ClassTableModel::setOverview(const ClassOverview &overview)
{
    beginResetModel();
    overview_ = overview;
    endResetModel();
}

void ClassTableModel::setLessons(const QHash<QString, LessonHistory> &lessons)
{
    beginResetModel();
    lessons_ = lessons;
    endResetModel();
}

QStringList ClassTableModel::headers() const
{
    return {QStringLiteral("Joueur"),
            QStringLiteral("Attention"),
            QStringLiteral("Parties sur %1\u00A0jours").arg(ClassOverview::kIdleDays),
            QStringLiteral("Parties"),
            QStringLiteral("Entraînements"),
            QStringLiteral("Dernière partie"),
            QStringLiteral("Dernière moyenne (ms)"),
            QStringLiteral("Meilleure moyenne (ms)"),
            QStringLiteral("Tendance sur %1\u00A0parties").arg(ClassOverview::kRecentGames),
            QStringLiteral("Fautes sur %1\u00A0parties").arg(ClassOverview::kRecentGames),
            QStringLiteral("Caractères les plus manqués"),
            QStringLiteral("Touches apprises")};
}

int ClassTableModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(overview_.players().size());
}

int ClassTableModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : ColumnCount;
}

QVariant ClassTableModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || index.row() >= overview_.players().size())
        return QVariant();
    const ClassOverview::Player &p = overview_.players()[index.row()];
    const PlayerFigures &f = p.figures;
    const bool spoken = role == Qt::AccessibleTextRole;
    const bool sort = role == SortRole;
    const bool exported = role == ExportRole;
    if (role != Qt::DisplayRole && !spoken && !sort && !exported) {
        if (role == Qt::TextAlignmentRole && index.column() != Player && index.column() != Missed
            && index.column() != Attention)
            return int(Qt::AlignRight | Qt::AlignVCenter);
        return QVariant();
    }
    const auto count = [&](qint64 n) -> QVariant {
        return sort ? QVariant(n) : exported ? QString::number(n) : kFrench.toString(n);
    };
    const auto time = [&](qint64 ms) -> QVariant {
        if (sort)
            return ms > 0 ? ms : std::numeric_limits<qint64>::max();
        if (ms <= 0)
            return spoken ? QStringLiteral("aucune") : exported ? QString() : kNone;
        if (exported)
            return QString::number(ms);
        return spoken ? kFrench.toString(ms) + QStringLiteral(" millisecondes") : kFrench.toString(ms);
    };
    switch (index.column()) {
    case Player: return f.player;
    case GamesThisWeek: return count(f.gamesThisWeek);
    case Games: return count(f.games);
    case PracticeGames: return count(f.practiceGames);
    case LastPlayed:
        if (sort)
            return f.lastPlayed;
        if (!f.lastPlayed.isValid())
            return spoken ? QStringLiteral("date illisible") : exported ? QString() : kNone;
        if (exported)
            return f.lastPlayed.toUTC().toString(Qt::ISODateWithMs);
        return kFrench.toString(f.lastPlayed.toLocalTime().date(), spoken ? QStringLiteral("d MMMM yyyy")
                                                                           : QStringLiteral("dd/MM/yyyy"));
    case LastAverage: return time(p.lastAverage());
    case BestAverage: return time(f.bestAverage);
    case Trend:
        if (sort)
            return int(p.trend);
        return p.trend == ClassOverview::Trend::None && role == Qt::DisplayRole ? kNone
                                                                               : ClassOverview::trendText(p.trend);
    case WrongShare:
        if (sort)
            return p.wrongShare;
        if (p.wrongShare < 0)
            return spoken ? QStringLiteral("aucune partie") : exported ? QString() : kNone;
        return exported ? kFrench.toString(p.wrongShare * 100.0, 'f', 1) : percent(p.wrongShare);
    case Missed:
        if (p.missed.isEmpty())
            return spoken ? QStringLiteral("aucun") : QString();
        return missedText(p.missed, spoken || exported ? QStringLiteral(", ") : QStringLiteral("  "));
    case Attention:
        if (sort)
            return reasonCount(p.reasons) * 8 + p.reasons;
        if (p.reasons == 0)
            return spoken ? QStringLiteral("rien à signaler") : QString();
        if (spoken)
            return QStringLiteral("à suivre\u00A0: ") + ClassOverview::reasonText(p.reasons);
        return exported ? ClassOverview::reasonText(p.reasons)
                        : QStringLiteral("\u26A0 ") + ClassOverview::reasonText(p.reasons);
    case KeysLearnt: {
        const LessonHistory l = lessons_.value(f.player);
        if (sort || exported)
            return count(l.mostKeys);
        if (l.count == 0)
            return spoken ? QStringLiteral("aucune leçon") : kNone;
        return QStringLiteral("%1 (%2\u00A0leçon%3)").arg(kFrench.toString(l.mostKeys), kFrench.toString(l.count),
                                                          l.count > 1 ? QStringLiteral("s") : QString());
    }
    default: return QVariant();
    }
}

QVariant ClassTableModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || (role != Qt::DisplayRole && role != Qt::AccessibleTextRole))
        return QAbstractTableModel::headerData(section, orientation, role);
    if (role == Qt::AccessibleTextRole && section == WrongShare)
        return QStringLiteral("Part des fautes sur les %1\u00A0dernières parties").arg(ClassOverview::kRecentGames);
    return headers().value(section);
}
