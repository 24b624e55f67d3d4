#include "ui/QtServices.h"

#include "platform/DataPaths.h"

#include <QApplication>
#include <QDesktopServices>
#include <QFileInfo>
#include <QLabel>
#include <QMessageBox>
#include <QProcess>
#include <QPushButton>
#include <QSoundEffect>
#include <QUrl>

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
QtSoundPlayer::~QtSoundPlayer() = default;

void QtSoundPlayer::play(const QString &fileName)
{
    if (!effect_)
        effect_ = std::make_unique<QSoundEffect>();
    effect_->stop();
    const QString path = locateDataFile(fileName);
    if (!QFileInfo::exists(path))
        return;
    effect_->setSource(QUrl::fromLocalFile(QFileInfo(path).absoluteFilePath()));
    effect_->play();
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

void QtProgramEnd::endNow()
{
    std::fflush(nullptr);
    std::_Exit(0);
}
