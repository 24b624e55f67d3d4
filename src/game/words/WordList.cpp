#include "game/words/WordList.h"

#include "platform/Windows1252.h"

#include <cmath>

bool WordList::typable(const QByteArray &record)
{
    for (char c : record) {
        const auto b = static_cast<unsigned char>(c);
        // Control bytes, DEL and the undefined bytes of the code page have no key.
        if (b < 0x20 || b == 0x7F || b == 0x81 || b == 0x8D || b == 0x8F || b == 0x90
            || b == 0x9D)
            return false;
    }
    return true;
}

bool WordList::open(const QString &path)
{
    close();
    if (!file_.open(path, kWordLength, EntryFile::Mode::ReadOnly))
        return false;
    const qint64 whole = file_.length() / kWordLength;
    std::vector<qint64> index;
    bool allUsable = true;
    for (qint64 k = 1; k <= whole; ++k) {
        if (typable(file_.read(k))) {
            index.push_back(k);
        } else if (allUsable) {
            allUsable = false;
        }
    }
    usable_ = qint64(index.size());
    if (!allUsable)
        index_ = std::move(index);
    return true;
}

void WordList::close()
{
    file_.close();
    usable_ = 0;
    index_.clear();
}

bool WordList::isOpen() const
{
    return file_.isOpen();
}

qint64 WordList::usableCount() const
{
    return usable_;
}

QString WordList::draw(double r) const
{
    if (usable_ <= 0)
        return QString();
    qint64 k = qint64(std::floor(double(usable_) * r + 1));
    k = std::clamp<qint64>(k, 1, usable_);
    const qint64 record = index_.empty() ? k : index_[std::size_t(k - 1)];
    return Windows1252::toUpper(Windows1252::decode(file_.read(record)));
}

QStringList WordList::words() const
{
    QStringList out;
    if (usable_ <= 0)
        return out;
    const qint64 whole = index_.empty() ? usable_ : index_.back();
    const QByteArray bytes = file_.read(1, whole);
    out.reserve(usable_);
    auto word = [&bytes](qint64 record) {
        return Windows1252::toUpper(Windows1252::decode(bytes.mid((record - 1) * kWordLength, kWordLength)));
    };
    if (index_.empty()) {
        for (qint64 k = 1; k <= usable_; ++k)
            out << word(k);
    } else {
        for (qint64 k : index_)
            out << word(k);
    }
    return out;
}
