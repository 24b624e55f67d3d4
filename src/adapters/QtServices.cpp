#include "adapters/QtServices.h"

#include "platform/DataPaths.h"

#include <QApplication>
#include <QAudioFormat>
#include <QAudioSink>
#include <QDesktopServices>
#include <QLabel>
#include <QMessageBox>
#include <QProcess>
#include <QPushButton>
#include <QMediaDevices>
#include <QTimer>
#include <QUrl>
#include <QWidget>

#include <algorithm>
#include <cstdio>
#include <cstdlib>

namespace {

QString iconName(BoxIcon icon)
{
    switch (icon) {
    case BoxIcon::None: break;
    case BoxIcon::Information: return QStringLiteral("Information");
    case BoxIcon::Exclamation: return QStringLiteral("Attention");
    case BoxIcon::Question: return QStringLiteral("Question");
    case BoxIcon::Stop: return QStringLiteral("Erreur");
    }
    return QString();
}

} // namespace

void QtBeeper::beep()
{
    QApplication::beep();
}

QtSoundPlayer::QtSoundPlayer() = default;

QtSoundPlayer::~QtSoundPlayer()
{
    stop();
}

void QtSoundPlayer::stop()
{
    if (sink_)
        sink_->stop();
    sink_.reset();
    source_.close();
    lengthUs_ = 0;
}

void QtSoundPlayer::play(const QString &fileName)
{
    stop();
    if (!sounds_.contains(fileName)) {
        // A file that cannot be read now is tried again at its next cue.
        WavSound read = WavSound::fromFile(locateDataFile(fileName));
        if (!read.isValid())
            return;
        sounds_.insert(fileName, read);
    }
    const WavSound &sound = sounds_[fileName];
    QAudioFormat format;
    format.setSampleRate(sound.sampleRate);
    format.setChannelCount(sound.channels);
    format.setSampleFormat(sound.bitsPerSample == 8    ? QAudioFormat::UInt8
                           : sound.bitsPerSample == 16 ? QAudioFormat::Int16
                                                       : QAudioFormat::Int32);
    sink_ = std::make_unique<QAudioSink>(QMediaDevices::defaultAudioOutput(), format);
    source_.setData(sound.samples);
    source_.open(QIODevice::ReadOnly);
    sink_->start(&source_);
    lengthUs_ = sound.lengthUs();
}

int QtSoundPlayer::remainingMs() const
{
    // An output that could not start (no sound server, say) plays nothing.
    if (!sink_ || sink_->state() == QAudio::StoppedState)
        return 0;
    const qint64 leftUs = lengthUs_ - std::max<qint64>(0, sink_->processedUSecs());
    return int(std::clamp<qint64>((leftUs + 999) / 1000, 0, lengthUs_ / 1000 + 1));
}

BoxAnswer QtMessageBoxes::show(const QString &text, const QString &title, BoxButtons buttons,
                               BoxIcon icon)
{
    QMessageBox::Icon qtIcon = QMessageBox::NoIcon;
    switch (icon) {
    case BoxIcon::None: qtIcon = QMessageBox::NoIcon; break;
    case BoxIcon::Information: qtIcon = QMessageBox::Information; break;
    case BoxIcon::Exclamation: qtIcon = QMessageBox::Warning; break;
    case BoxIcon::Question: qtIcon = QMessageBox::Question; break;
    case BoxIcon::Stop: qtIcon = QMessageBox::Critical; break;
    }
    QMessageBox box(qtIcon, title, text, QMessageBox::NoButton, QApplication::activeWindow());
    box.setTextFormat(Qt::PlainText);
    // The box draws its icon as a picture without a name; a screen reader says what it means.
    if (auto *picture = box.findChild<QLabel *>(QStringLiteral("qt_msgboxex_icon_label")))
        picture->setAccessibleName(iconName(icon));
    QPushButton *ok = box.addButton(QStringLiteral("OK"), QMessageBox::AcceptRole);
    QPushButton *cancel = nullptr;
    if (buttons == BoxButtons::OkCancel) {
        cancel = box.addButton(QStringLiteral("Annuler"), QMessageBox::RejectRole);
        box.setEscapeButton(cancel);
    } else {
        box.setEscapeButton(ok);
    }
    box.setDefaultButton(ok);
    box.exec();
    return cancel && box.clickedButton() == cancel ? BoxAnswer::Cancel : BoxAnswer::Ok;
}

bool QtShell::open(const QString &address, QString *error)
{
    if (QDesktopServices::openUrl(QUrl(address)))
        return true;
    if (error)
        *error = QStringLiteral("Aucun programme n'a pu ouvrir l'adresse %1.").arg(address);
    return false;
}

bool QtShell::openFallback(const QString &address, QString *error)
{
#if defined(Q_OS_WIN)
    const bool ok = QProcess::startDetached(QStringLiteral("cmd"),
                                            {QStringLiteral("/c"), QStringLiteral("start"),
                                             QString(), address});
#elif defined(Q_OS_MACOS)
    const bool ok = QProcess::startDetached(QStringLiteral("open"), {address});
#else
    const bool ok = QProcess::startDetached(QStringLiteral("xdg-open"), {address});
#endif
    if (!ok && error)
        *error = QStringLiteral("Le programme d'ouverture des adresses est introuvable.");
    return ok;
}

void QtProgramEnd::endAfter(int waitMs)
{
    // Hidden, not closed: the last window closed would end the event loop at once.
    QGuiApplication::setQuitOnLastWindowClosed(false);
    const QWidgetList windows = QApplication::topLevelWidgets();
    for (QWidget *window : windows)
        window->hide();
    QTimer::singleShot(waitMs, qApp, [this] { endNow(); });
}

void QtProgramEnd::endNow()
{
    std::fflush(nullptr);
    std::_Exit(0);
}
