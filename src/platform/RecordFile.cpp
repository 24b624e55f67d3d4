#include "platform/RecordFile.h"

#include <QFileInfo>

#if defined(Q_OS_WIN)
#include <io.h>
#else
#include <unistd.h>
#endif

RecordFile::~RecordFile()
{
    close();
}

bool RecordFile::open(const QString &path, int recordLength, Mode mode)
{
    close();
    error_.clear();
    file_.setFileName(path);
    if (recordLength <= 0) {
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
    recordLength_ = recordLength;
    return true;
}

void RecordFile::close()
{
    if (file_.isOpen())
        file_.close();
}

bool RecordFile::isOpen() const
{
    return file_.isOpen();
}

QString RecordFile::path() const
{
    return file_.fileName();
}

QString RecordFile::errorString() const
{
    return error_;
}

int RecordFile::recordLength() const
{
    return recordLength_;
}

qint64 RecordFile::length() const
{
    return file_.isOpen() ? file_.size() : 0;
}

QByteArray RecordFile::read(qint64 k) const
{
    QByteArray out(recordLength_, '\0');
    if (!file_.isOpen() || k < 1)
        return out;
    const qint64 offset = (k - 1) * recordLength_;
    if (offset >= file_.size() || !file_.seek(offset))
        return out;
    const qint64 got = file_.read(out.data(), recordLength_);
    if (got < recordLength_)
        std::fill(out.begin() + std::max<qint64>(got, 0), out.end(), '\0');
    return out;
}

bool RecordFile::write(qint64 k, const QByteArray &bytes)
{
    if (!file_.isOpen() || k < 1 || !file_.isWritable()) {
        error_ = QStringLiteral("fichier non ouvert en écriture");
        return false;
    }
    QByteArray record = bytes.left(recordLength_);
    record.append(QByteArray(recordLength_ - record.size(), '\0'));
    const qint64 offset = (k - 1) * recordLength_;
    // A gap before the record (possible only after a partial last record) is filled with
    // zeros explicitly, as not every platform promises what an unwritten gap holds.
    const qint64 size = file_.size();
    if (offset > size) {
        const QByteArray gap(offset - size, '\0');
        if (!file_.seek(size) || file_.write(gap) != gap.size()) {
            error_ = file_.errorString();
            return false;
        }
    }
    if (!file_.seek(offset) || file_.write(record) != recordLength_) {
        error_ = file_.errorString();
        return false;
    }
    return syncToDisk();
}

bool RecordFile::syncToDisk()
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
