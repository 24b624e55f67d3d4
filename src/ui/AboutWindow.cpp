#include "ui/AboutWindow.h"

#include "platform/Services.h"
#include "platform/ProgramInfo.h"
#include "ui/Faces.h"
#include "ui/Fonts.h"
#include "ui/Twips.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QKeyEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QPushButton>
#include <QTimer>

namespace {

const QString kAuthorEmail = QStringLiteral("clavimo@example.org");
const QString kAuthorWebPage = QStringLiteral("http://www.example.org/clavimo/");
// Begins with a space; the three closing spaces part its end from its beginning.
const QString kAuthorLine = QStringLiteral(" 2026 Équipe Clavimo   ");

// A failed start is reported as "file not found": the address found no program to open it.
constexpr int kStartNotFound = 53;

QLabel *makeLabel(QWidget *parent, const QString &name, const QString &text, QRect geometry,
                  const QFont &font, Qt::Alignment alignment)
{
    auto *label = new QLabel(text, parent);
    label->setObjectName(name);
    label->setFont(font);
    label->setAlignment(alignment | Qt::AlignVCenter);
    label->setGeometry(geometry);
    return label;
}

} // namespace

AboutWindow::AboutWindow(MessageBoxes &boxes, Shell &shell, int &scrollPosition, QWidget *parent)
    : QDialog(parent)
    , boxes_(boxes)
    , shell_(shell)
    , scrollPosition_(scrollPosition)
{
    setFixedSize(twipsToPixels(4665), twipsToPixels(1575));
    setFont(designFont(QStringLiteral("MS Sans Serif"), 8.25, true));
    setWindowIcon(QIcon(facePixmap(2)));

    for (int i = 1; i <= kFaceCount; ++i)
        faces_.append(facePixmap(i));

    okButton_ = new QPushButton(QStringLiteral("&OK"), this);
    okButton_->setObjectName(QStringLiteral("ok"));
    okButton_->setGeometry(twipsRect(3600, 1080, 975, 375));
    okButton_->setDefault(true);
    connect(okButton_, &QPushButton::clicked, this, &AboutWindow::finish);

    face_ = new QLabel(this);
    face_->setObjectName(QStringLiteral("face"));
    face_->setGeometry(twipsRect(240, 240, 495, 495));
    face_->setAlignment(Qt::AlignCenter);
    face_->setAccessibleName(QStringLiteral("Visage animé"));

    const QFont address = designFont(QStringLiteral("Arial"), 8.25, true, true, true);
    const QFont plain = designFont(QStringLiteral("MS Sans Serif"), 8.25, false);
    QString webShown = kAuthorWebPage;
    if (webShown.endsWith(QLatin1Char('/')))
        webShown.chop(1);
    mailLabel_ = makeLabel(this, QStringLiteral("mailAddress"), kAuthorEmail, twipsRect(120, 960, 2355, 195),
                       address, Qt::AlignLeft);
    webLabel_ = makeLabel(this, QStringLiteral("webAddress"), webShown, twipsRect(120, 1200, 3375, 195),
                       address, Qt::AlignLeft);
    for (QLabel *link : {mailLabel_, webLabel_}) {
        QPalette pal = link->palette();
        pal.setColor(QPalette::WindowText, QColor(0, 0, 255));
        link->setPalette(pal);
        link->setCursor(Qt::PointingHandCursor);
    }
    dateLabel_ = makeLabel(this, QStringLiteral("date"), QStringLiteral("Date Heure"),
                       twipsRect(720, 240, 3735, 195), plain, Qt::AlignRight);
    versionLabel_ = makeLabel(this, QStringLiteral("version"), QStringLiteral("Version"),
                       twipsRect(840, 480, 3615, 195), plain, Qt::AlignRight);
    authorLine_ = makeLabel(this, QStringLiteral("authorLine"), kAuthorLine, twipsRect(1380, 720, 3240, 195),
                       plain, Qt::AlignRight);
    titleLabel_ = makeLabel(this, QStringLiteral("title"), QString(), twipsRect(0, 0, 4455, 195), font(),
                       Qt::AlignRight);

    timer_ = new QTimer(this);
    timer_->setInterval(120);
    connect(timer_, &QTimer::timeout, this, &AboutWindow::animate);

    // Key preview: the window sees every key before the control that has the focus.
    installEventFilter(this);
    for (QWidget *child : findChildren<QWidget *>())
        child->installEventFilter(this);

    okButton_->setFocus();

    setWindowTitle(programTitle());
    scrollText_ = QStringLiteral("©") + authorLine_->text();
    showFace(1);
    faceIndex_ = 1;
    titleLabel_->setText(QLatin1Char(' ') + programTitle());
    // Screen readers get the texts without the spaces that place them, and the moving line
    // whole, under a name that stays while it scrolls.
    titleLabel_->setAccessibleName(programTitle());
    authorLine_->setAccessibleName(scrollText_.trimmed());
    const QDateTime d = QFileInfo(QCoreApplication::applicationFilePath()).lastModified();
    dateLabel_->setText(dateCaption(d));
    versionLabel_->setText(QStringLiteral("Version %1.%2.%3")
                        .arg(versionMajor())
                        .arg(versionMinor())
                        .arg(versionPatch()));
    for (QLabel *label : {titleLabel_, authorLine_, versionLabel_, dateLabel_})
        fitToText(label);
    timer_->start();
}

QString AboutWindow::dateCaption(const QDateTime &d)
{
    static const QStringList MonthNames = {
        QStringLiteral(" Janvier "), QStringLiteral(" Février "), QStringLiteral(" Mars "),
        QStringLiteral(" Avril "),   QStringLiteral(" Mai "),     QStringLiteral(" Juin "),
        QStringLiteral(" Juillet "), QStringLiteral(" Août "),    QStringLiteral(" Septembre "),
        QStringLiteral(" Octobre "), QStringLiteral(" Novembre "), QStringLiteral(" Décembre "),
    };
    if (!d.isValid())
        return QString();
    return QString::number(d.date().day()) + MonthNames.at(d.date().month() - 1)
        + QString::number(d.date().year()).rightJustified(4, QLatin1Char('0')) + QLatin1Char(' ')
        + d.time().toString(QStringLiteral("HH:mm:ss"));
}

QString AboutWindow::webAddress()
{
    return kAuthorWebPage;
}

QString AboutWindow::mailAddress()
{
    return QStringLiteral("mailto:") + kAuthorEmail + QStringLiteral("?subject=") + programTitle()
        + QLatin1Char('_') + versionText();
}

// The right-aligned labels take the width of their text, their right edge staying put.
void AboutWindow::fitToText(QLabel *label)
{
    const QRect g = label->geometry();
    const int width = std::max(label->sizeHint().width(), 1);
    const int height = std::max(label->sizeHint().height(), g.height());
    label->setGeometry(g.right() + 1 - width, g.top(), width, height);
}

void AboutWindow::showFace(int image)
{
    face_->setPixmap(faces_.value(image - 1));
}

void AboutWindow::animate()
{
    const int length = int(scrollText_.size());
    if (length == 0)
        return;
    scrollPosition_ = (scrollPosition_ + 1) % length;
    if (scrollPosition_ == 0)
        scrollPosition_ = 1;
    authorLine_->setText(scrollText_.mid(scrollPosition_ - 1, length - scrollPosition_)
                         + scrollText_.left(scrollPosition_ - 1));
    fitToText(authorLine_);

    faceIndex_ = (faceIndex_ + 1) % kFaceCount;
    showFace(faceIndex_ + 1);
}

void AboutWindow::openAddress(const QString &address)
{
    // The system's handler first, then the platform's opening command; a box only when
    // both failed.
    QString error;
    if (shell_.open(address, &error))
        return;
    error.clear();
    if (shell_.openFallback(address, &error))
        return;
    if (error.isEmpty())
        error = QStringLiteral("Fichier introuvable");
    boxes_.show(QStringLiteral("Erreur : ") + QString::number(kStartNotFound) + QStringLiteral("\r\n") + error,
                QStringLiteral("Problème Start"), BoxButtons::Ok, BoxIcon::Exclamation);
}

void AboutWindow::finish()
{
    timer_->stop();
    done(QDialog::Accepted);
}

bool AboutWindow::eventFilter(QObject *watched, QEvent *e)
{
    // Key preview: Escape closes the window whatever control has the focus.
    if (e->type() == QEvent::KeyPress) {
        if (static_cast<QKeyEvent *>(e)->key() == Qt::Key_Escape) {
            finish();
            return true;
        }
    } else if (e->type() == QEvent::MouseButtonRelease && (watched == webLabel_ || watched == mailLabel_)) {
        auto *mouse = static_cast<QMouseEvent *>(e);
        auto *label = static_cast<QLabel *>(watched);
        if (mouse->button() == Qt::LeftButton && label->rect().contains(mouse->position().toPoint())) {
            openAddress(label == webLabel_ ? webAddress() : mailAddress());
            return true;
        }
    }
    return QDialog::eventFilter(watched, e);
}
