#include "shell/ui/TAboutBox.h"

#include "platform/Translation.h"
#include "settings/Settings.h"
#include "shell/LogonCaptions.h"

#include <QDesktopServices>
#include <QEvent>
#include <QFrame>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <QUrl>

namespace {

// The window's picture: a key cap with the program's initial.
QPixmap keyCapPicture() {
    QPixmap picture(41, 41);
    picture.fill(Qt::transparent);
    QPainter p(&picture);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(QColor(60, 60, 60), 2));
    p.setBrush(QColor(245, 245, 235));
    p.drawRoundedRect(QRectF(2, 2, 37, 37), 6, 6);
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(QColor(190, 190, 180), 1));
    p.drawRoundedRect(QRectF(7, 6, 27, 26), 4, 4);
    // The product name's face, so that the picture loads no font of its own.
    QFont font(QStringLiteral("Arial"));
    font.setPixelSize(20);
    font.setBold(true);
    p.setFont(font);
    p.setPen(QColor(20, 60, 140));
    p.drawText(QRectF(7, 5, 27, 26), Qt::AlignCenter, QStringLiteral("Q"));
    return picture;
}

} // namespace

QFont describedFont(const QString& family, int pixelHeight, bool bold) {
    QFont font(family);
    font.setPixelSize(pixelHeight);
    font.setBold(bold);
    return font;
}

TAboutBox::TAboutBox(QWidget* parent) : TAboutBox(parent, DeferCreate::Yes) {
    TAboutBox::FormCreate();
}

TAboutBox::TAboutBox(QWidget* parent, DeferCreate) : QDialog(parent) {
    setObjectName(QStringLiteral("AboutBox"));
    setWindowTitle(QStringLiteral("About"));
    setFixedSize(304, 188);

    Panel1 = new QFrame(this);
    Panel1->setObjectName(QStringLiteral("Panel1"));
    Panel1->setFrameStyle(QFrame::Panel | QFrame::Raised);
    Panel1->setLineWidth(3);
    Panel1->setGeometry(rect());

    Bevel1 = new QFrame(Panel1);
    Bevel1->setObjectName(QStringLiteral("Bevel1"));
    Bevel1->setFrameStyle(QFrame::Box | QFrame::Sunken);
    Bevel1->setGeometry(6, 6, 292, 144);

    Image1 = new QLabel(Panel1);
    Image1->setObjectName(QStringLiteral("Image1"));
    Image1->setGeometry(16, 16, 41, 41);
    Image1->setPixmap(keyCapPicture());

    ProductNameLb = new QLabel(Panel1);
    ProductNameLb->setObjectName(QStringLiteral("ProductNameLb"));
    ProductNameLb->setGeometry(77, 14, 188, 29);
    ProductNameLb->setFont(describedFont(QStringLiteral("Times New Roman"), 24, true));

    VersionLb = new QLabel(QString::fromLatin1(I18N_NOOP("Version 6.0")), Panel1);
    VersionLb->setObjectName(QStringLiteral("VersionLb"));
    VersionLb->move(77, 48);
    VersionLb->setFont(describedFont(QStringLiteral("Times New Roman"), 16));

    CopyrightLb = new QLabel(Panel1);
    CopyrightLb->setObjectName(QStringLiteral("CopyrightLb"));
    CopyrightLb->setGeometry(16, 72, 251, 19);
    CopyrightLb->setFont(describedFont(QStringLiteral("Times New Roman"), 15));

    WebLb = new QLabel(Panel1);
    WebLb->setObjectName(QStringLiteral("WebLb"));
    WebLb->move(16, 93);
    WebLb->setCursor(Qt::PointingHandCursor);
    QFont webFont = describedFont(QStringLiteral("Times New Roman"), 15);
    webFont.setUnderline(true);
    WebLb->setFont(webFont);
    QPalette webPalette = WebLb->palette();
    webPalette.setColor(QPalette::WindowText, Qt::blue);
    WebLb->setPalette(webPalette);
    WebLb->installEventFilter(this);

    OKButton = new QPushButton(QString::fromLatin1(I18N_NOOP("&OK")), Panel1);
    OKButton->setObjectName(QStringLiteral("OKButton"));
    OKButton->setGeometry(121, 153, 75, 25);
    OKButton->setDefault(true);

    connect(OKButton, &QPushButton::clicked, this, &TAboutBox::OKButtonClick);
}

void TAboutBox::FormCreate() {
    for (QLabel* label : {VersionLb})
        label->setText(i18n(label->text()));
    OKButton->setText(i18n(OKButton->text()));
    const LogonCaptions captions = decipherLogonCaptions();
    ProductNameLb->setText(captions.productName);
    CopyrightLb->setText(captions.rightsNotice);
    WebLb->setText(captions.webAddress);
    WebLb->adjustSize();
    VersionLb->adjustSize();
}

bool TAboutBox::eventFilter(QObject* watched, QEvent* event) {
    if (watched == WebLb && event->type() == QEvent::MouseButtonRelease &&
        static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton) {
        WebLbClick();
        return true;
    }
    return QDialog::eventFilter(watched, event);
}

void TAboutBox::OKButtonClick() {
    accept();
}

void TAboutBox::WebLbClick() {
    // The caption is handed over whole; a file name in it is taken relative to the program
    // folder. Whether the desktop could open it is not looked at.
    const QString base = Settings ? Settings->AppDir : QString();
    QDesktopServices::openUrl(QUrl::fromUserInput(WebLb->text(), base, QUrl::AssumeLocalFile));
}
