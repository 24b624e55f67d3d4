#include "platform/EntryFile.h"

#include <QFileInfo>

#include <limits>

#if defined(Q_OS_WIN)
#include <io.h>
#else
#include <unistd.h>
#endif

EntryFile::~EntryFile()
{
    close();
}

bool EntryFile::open(const QString &path, int entryLength, Mode mode)
{
    close();
    error_.clear();
    file_.setFileName(path);
    if (entryLength <= 0) {
        error_ = QStringLiteral("longueur d'enregistrement invalide");
        return false;
    }
    if (QFileInfo(path).isDir()) {
        error_ = QStringLiteral("un dossier porte ce nom");
        return false;
    }
    const QIODevice::OpenMode flags = mode == Mode::ReadWrite
        ? QIODevice::ReadWrite | QIODevice::Unbuffered
        : QIODevice::ReadOnly | QIODevice::Unbuffered;
    if (!file_.open(flags)) {
        switch (file_.error()) {
        case QFileDevice::PermissionsError:
            error_ = QStringLiteral("accès refusé");
            break;
        case QFileDevice::OpenError:
            error_ = mode == Mode::ReadOnly && !QFileInfo::exists(path)
                ? QStringLiteral("fichier introuvable")
                : QStringLiteral("ouverture impossible (%1)").arg(file_.errorString());
            break;
        default:
            error_ = file_.errorString();
            break;
        }
        return false;
    }
    entryLength_ = entryLength;
    return true;
}

void EntryFile::close()
{
    if (file_.isOpen())
        file_.close();
}

bool EntryFile::isOpen() const
{
    return file_.isOpen();
}

QString EntryFile::path() const
{
    return file_.fileName();
}

int EntryFile::handle() const
{
    return file_.isOpen() ? file_.handle() : -1;
}

QString EntryFile::errorString() const
{
    return error_;
}

int EntryFile::entryLength() const
{
    return entryLength_;
}

qint64 EntryFile::length() const
{
    return file_.isOpen() ? file_.size() : 0;
}

QByteArray EntryFile::read(qint64 k) const
{
    return read(k, 1);
}

QByteArray EntryFile::read(qint64 k, qint64 count) const
{
    if (count < 1 || (entryLength_ > 0 && count > std::numeric_limits<int>::max() / entryLength_))
        return QByteArray();
    QByteArray out(count * entryLength_, '\0');
    if (!file_.isOpen() || k < 1 || k > std::numeric_limits<qint64>::max() / entryLength_ - count)
        return out;
    const qint64 offset = (k - 1) * entryLength_;
    if (offset >= file_.size() || !file_.seek(offset))
        return out;
    const qint64 got = file_.read(out.data(), out.size());
    if (got < out.size())
        std::fill(out.begin() + std::max<qint64>(got, 0), out.end(), '\0');
    return out;
}

bool EntryFile::write(qint64 k, const QByteArray &bytes)
{
    if (!file_.isOpen() || k < 1 || !file_.isWritable()) {
        error_ = QStringLiteral("fichier non ouvert en écriture");
        return false;
    }
    QByteArray record = bytes.left(entryLength_);
    record.append(QByteArray(entryLength_ - record.size(), '\0'));
    if (k > std::numeric_limits<qint64>::max() / entryLength_) {
        error_ = QStringLiteral("numéro d'enregistrement trop grand");
        return false;
    }
    const qint64 offset = (k - 1) * entryLength_;
    const qint64 size = file_.size();
    if (offset > size && !extendWithZeros(size, offset))
        return false;
    if (!file_.seek(offset) || file_.write(record) != entryLength_) {
        error_ = file_.errorString();
        return false;
    }
    return syncToDisk();
}

// The gap before a record written beyond the end must read back as zeros.
bool EntryFile::extendWithZeros(qint64 from, qint64 to)
{
#if defined(Q_OS_WIN)
    // SetEndOfFile leaves an extension undefined: write the zeros, a block at a time so
    // that a far record number does not need the whole gap in memory.
    const QByteArray zeros(qMin<qint64>(to - from, 1 << 16), '\0');
    if (!file_.seek(from)) {
        error_ = file_.errorString();
        return false;
    }
    for (qint64 left = to - from; left > 0; left -= zeros.size()) {
        const qint64 n = qMin<qint64>(left, zeros.size());
        if (file_.write(zeros.constData(), n) != n) {
            error_ = file_.errorString();
            return false;
        }
    }
    return true;
#else
    // ftruncate reads back as zeros and costs neither memory nor writes for the gap.
    Q_UNUSED(from);
    if (!file_.resize(to)) {
        error_ = file_.errorString();
        return false;
    }
    return true;
#endif
}

bool EntryFile::syncToDisk()
{
    if (!file_.flush()) {
        error_ = file_.errorString();
        return false;
    }
#if defined(Q_OS_WIN)
    const bool ok = _commit(file_.handle()) == 0;
#else
    const bool ok = ::fsync(file_.handle()) == 0;
#endif
    if (!ok)
        error_ = QStringLiteral("écriture sur le disque impossible");
    return ok;
}
