#include "platform/Lamp.h"
#include "platform/AppInfo.h"

#include <QFile>
#include <QImage>
#include <QPainter>
#include <QSaveFile>

namespace {

struct Pictures {
    QString folder;
    bool loaded = false;
    QPixmap on, off;
};

Pictures &pictures()
{
    static Pictures p;
    return p;
}

QString lampFile(bool on)
{
    return AppPath() + (on ? QStringLiteral("/OnLamp.bmp") : QStringLiteral("/OffLamp.bmp"));
}

QImage drawLamp(bool on)
{
    QImage img(16, 16, QImage::Format_RGB32);
    img.fill(QColor(0xC0, 0xC0, 0xC0));
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(QColor(0x40, 0x40, 0x40), 1));
    p.setBrush(on ? QColor(0xFF, 0x20, 0x20) : QColor(0x50, 0x10, 0x10));
    p.drawEllipse(QRectF(1.5, 1.5, 13, 13));
    if (on) {
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(0xFF, 0xC0, 0xC0));
        p.drawEllipse(QRectF(4.5, 4, 4, 4));
    }
    return img;
}

} // namespace

void EnsureLampPictures()
{
    for (bool on : {true, false}) {
        const QString path = lampFile(on);
        if (QFile::exists(path))
            continue;
        QSaveFile f(path);
        if (f.open(QIODevice::WriteOnly) && drawLamp(on).save(&f, "BMP"))
            f.commit();
    }
}

const QPixmap &LampPicture(bool on)
{
    Pictures &p = pictures();
    // A picture that could not be read is tried again next time: the files
    // may be written after the first lamps were made.
    if (!p.loaded || p.folder != AppPath() || p.on.isNull() || p.off.isNull()) {
        p.folder = AppPath();
        p.on = QPixmap(lampFile(true));
        p.off = QPixmap(lampFile(false));
        p.loaded = true;
    }
    return on ? p.on : p.off;
}

void ForgetLampPictures()
{
    pictures().loaded = false;
}

Lamp::Lamp(QWidget *parent) : QLabel(parent)
{
    setFixedSize(16, 16);
    // Until the program sets it, a lamp shows the off picture.
    ensurePicture();
}

void Lamp::ensurePicture()
{
    if (!pixmap().isNull())
        return;
    const QPixmap &off = LampPicture(false);
    if (!off.isNull())
        setPixmap(off);
}

void Lamp::setLit(bool on)
{
    const QPixmap &pic = LampPicture(on);
    if (pic.isNull())
        return;
    setPixmap(pic);
    m_state = on ? 1 : 0;
}

void Lamp::mouseDoubleClickEvent(QMouseEvent *event)
{
    emit doubleClicked();
    QLabel::mouseDoubleClickEvent(event);
}
