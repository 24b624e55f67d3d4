#include "ui/apropos.h"

#include "platform/MessageBoxes.h"
#include "platform/ProgramInfo.h"
#include "platform/Services.h"
#include "platform/Shell.h"
#include "platform/Twips.h"
#include "ui/Faces.h"
#include "ui/Fonts.h"

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

apropos::apropos(QWidget *parent)
    : QDialog(parent)
{
    setFixedSize(twipsToPixels(4665), twipsToPixels(1575));
    setFont(designFont(QStringLiteral("MS Sans Serif"), 8.25, true));
    setWindowIcon(QIcon(facePixmap(2)));

    for (int i = 1; i <= kFaceCount; ++i)
        ImageList1.append(facePixmap(i));

    Command1 = new QPushButton(QStringLiteral("&OK"), this);
    Command1->setObjectName(QStringLiteral("Command1"));
    Command1->setGeometry(twipsRect(3600, 1080, 975, 375));
    Command1->setDefault(true);
    connect(Command1, &QPushButton::clicked, this, &apropos::Command1_Click);

    Picture1[0] = new QLabel(this);
    Picture1[0]->setObjectName(QStringLiteral("Picture1_0"));
    Picture1[0]->setGeometry(twipsRect(240, 240, 495, 495));
    Picture1[0]->setAlignment(Qt::AlignCenter);

    const QFont address = designFont(QStringLiteral("Arial"), 8.25, true, true, true);
    const QFont plain = designFont(QStringLiteral("MS Sans Serif"), 8.25, false);
    QString webShown = kAuthorWebPage;
    if (webShown.endsWith(QLatin1Char('/')))
        webShown.chop(1);
    Label4 = makeLabel(this, QStringLiteral("Label4"), kAuthorEmail, twipsRect(120, 960, 2355, 195),
                       address, Qt::AlignLeft);
    Label3 = makeLabel(this, QStringLiteral("Label3"), webShown, twipsRect(120, 1200, 3375, 195),
                       address, Qt::AlignLeft);
    for (QLabel *link : {Label4, Label3}) {
        QPalette pal = link->palette();
        pal.setColor(QPalette::WindowText, QColor(0, 0, 255));
        link->setPalette(pal);
        link->setCursor(Qt::PointingHandCursor);
    }
    Label6 = makeLabel(this, QStringLiteral("Label6"), QStringLiteral("Date Heure"),
                       twipsRect(720, 240, 3735, 195), plain, Qt::AlignRight);
    Label5 = makeLabel(this, QStringLiteral("Label5"), QStringLiteral("Version"),
                       twipsRect(840, 480, 3615, 195), plain, Qt::AlignRight);
    Label2 = makeLabel(this, QStringLiteral("Label2"), kAuthorLine, twipsRect(1380, 720, 3240, 195),
                       plain, Qt::AlignRight);
    Label1 = makeLabel(this, QStringLiteral("Label1"), QString(), twipsRect(0, 0, 4455, 195), font(),
                       Qt::AlignRight);

    Timer1 = new QTimer(this);
    Timer1->setInterval(120);
    connect(Timer1, &QTimer::timeout, this, &apropos::Timer1_Timer);

    // Key preview: the window sees every key before the control that has the focus.
    installEventFilter(this);
    for (QWidget *child : findChildren<QWidget *>())
        child->installEventFilter(this);

    Command1->setFocus();
    Form_Load();
}

QString apropos::dateCaption(const QDateTime &d)
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

QString apropos::webAddress()
{
    return kAuthorWebPage;
}

QString apropos::mailAddress()
{
    return QStringLiteral("mailto:") + kAuthorEmail + QStringLiteral("?subject=") + programTitle()
        + QLatin1Char('_') + versionText();
}

void apropos::Form_Load()
{
    setWindowTitle(programTitle());
    ScrollText = QStringLiteral("©") + Label2->text();
    showFace(1);
    FaceIndex = 1;
    Label1->setText(QLatin1Char(' ') + programTitle());
    const QDateTime d = QFileInfo(QCoreApplication::applicationFilePath()).lastModified();
    Label6->setText(dateCaption(d));
    Label5->setText(QStringLiteral("Version %1.%2.%3")
                        .arg(versionMajor())
                        .arg(versionMinor())
                        .arg(versionPatch()));
    for (QLabel *label : {Label1, Label2, Label5, Label6})
        fitToText(label);
    Timer1->start();
}

// The right-aligned labels take the width of their text, their right edge staying put.
void apropos::fitToText(QLabel *label)
{
    const QRect g = label->geometry();
    const int width = std::max(label->sizeHint().width(), 1);
    const int height = std::max(label->sizeHint().height(), g.height());
    label->setGeometry(g.right() + 1 - width, g.top(), width, height);
}

void apropos::showFace(int image)
{
    shownFace_ = image;
    Picture1[0]->setPixmap(ImageList1.value(image - 1));
}

void apropos::Timer1_Timer()
{
    const int length = int(ScrollText.size());
    if (length == 0)
        return;
    ScrollPos = qint16((ScrollPos + 1) % length);
    if (ScrollPos == 0)
        ScrollPos = 1;
    Label2->setText(ScrollText.mid(ScrollPos - 1, length - ScrollPos) + ScrollText.left(ScrollPos - 1));
    fitToText(Label2);

    FaceIndex = qint16((FaceIndex + 1) % kFaceCount);
    showFace(FaceIndex + 1);
}

void apropos::Command1_Click()
{
    fin();
}

void apropos::Form_KeyDown(int KeyCode, Qt::KeyboardModifiers Shift)
{
    Q_UNUSED(Shift);
    if (KeyCode == Qt::Key_Escape)
        fin();
}

void apropos::Label3_Click()
{
    openAddress(webAddress());
}

void apropos::Label4_Click()
{
    openAddress(mailAddress());
}

void apropos::openAddress(QString address)
{
    QString error;
    if (!services().shell->open(address, &error))
        ErrStart(address);
}

void apropos::ErrStart(QString &fichier)
{
    QString error;
    if (services().shell->openFallback(fichier, &error))
        return;
    if (error.isEmpty())
        error = QStringLiteral("Fichier introuvable");
    services().boxes->show(QStringLiteral("Erreur : ") + QString::number(kStartNotFound)
                               + QStringLiteral("\r\n") + error,
                           QStringLiteral("Problème Start"), BoxButtons::Ok, BoxIcon::Exclamation);
}

void apropos::fin()
{
    Timer1->stop();
    done(QDialog::Accepted);
}

bool apropos::eventFilter(QObject *watched, QEvent *e)
{
    if (e->type() == QEvent::KeyPress) {
        auto *key = static_cast<QKeyEvent *>(e);
        Form_KeyDown(key->key(), key->modifiers());
        if (key->key() == Qt::Key_Escape)
            return true;
    } else if (e->type() == QEvent::MouseButtonRelease && (watched == Label3 || watched == Label4)) {
        auto *mouse = static_cast<QMouseEvent *>(e);
        auto *label = static_cast<QLabel *>(watched);
        if (mouse->button() == Qt::LeftButton && label->rect().contains(mouse->position().toPoint())) {
            if (label == Label3)
                Label3_Click();
            else
                Label4_Click();
            return true;
        }
    }
    return QDialog::eventFilter(watched, e);
}
