#include "splash.h"

#include <QApplication>
#include <QGuiApplication>
#include <QIcon>
#include <QLinearGradient>
#include <QPainter>
#include <QScreen>
#include <QTimer>

namespace {

QPixmap splashPicture()
{
    const QSize size(440, 250);
    const qreal ratio = QGuiApplication::primaryScreen() ? QGuiApplication::primaryScreen()->devicePixelRatio() : 1.0;
    QPixmap picture(size * ratio);
    picture.setDevicePixelRatio(ratio);

    QPainter painter(&picture);
    painter.setRenderHint(QPainter::Antialiasing);
    QLinearGradient background(0, 0, 0, size.height());
    background.setColorAt(0, QColor(0x24, 0x4a, 0x80));
    background.setColorAt(1, QColor(0x14, 0x2b, 0x4d));
    painter.fillRect(QRect(QPoint(0, 0), size), background);

    const QIcon logo(QStringLiteral(":/icons/corvantix.svg"));
    logo.paint(&painter, QRect(32, 54, 96, 96));

    QFont title = painter.font();
    title.setPointSize(30);
    title.setBold(true);
    painter.setFont(title);
    painter.setPen(Qt::white);
    painter.drawText(QRect(148, 56, 280, 50), Qt::AlignLeft | Qt::AlignVCenter, QStringLiteral("Corvantix"));

    QFont subtitle = painter.font();
    subtitle.setPointSize(12);
    subtitle.setBold(false);
    painter.setFont(subtitle);
    painter.setPen(QColor(0xf6, 0xcf, 0x5c));
    painter.drawText(QRect(150, 108, 280, 50), Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap,
                     QObject::tr("Strategic business planning"));

    QFont small = painter.font();
    small.setPointSize(9);
    painter.setFont(small);
    painter.setPen(QColor(0xc8, 0xd3, 0xe3));
    painter.drawText(QRect(0, size.height() - 36, size.width() - 16, 24), Qt::AlignRight | Qt::AlignVCenter,
                     QObject::tr("Version %1").arg(QStringLiteral(CORVANTIX_VERSION)));
    painter.setPen(QColor(0x0c, 0x1a, 0x30));
    painter.drawRect(QRect(0, 0, size.width() - 1, size.height() - 1));
    return picture;
}

} // namespace

TSplashForm::TSplashForm() : QSplashScreen(splashPicture()) {}

void TSplashForm::showNow()
{
    show();
    repaint();
    QApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    QTimer::singleShot(kShowMilliseconds, this, &QWidget::close);
}
