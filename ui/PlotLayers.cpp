#include "ui/PlotLayers.h"

#include <QBitmap>
#include <QMouseEvent>
#include <QPainter>

namespace zelk {

PictureLayer::PictureLayer(bool transparent, QWidget* parent)
    : QWidget(parent), picture_(kPictureWidth, kPictureHeight, QImage::Format_RGB32), transparent_(transparent) {
    picture_.fill(Qt::white);
    setAttribute(Qt::WA_TransparentForMouseEvents);
    if (!transparent_) setAttribute(Qt::WA_OpaquePaintEvent);
}

void PictureLayer::Changed() {
    shownValid_ = false;
    update();
}

const QImage& PictureLayer::Shown() {
    const QRect visible = rect().intersected(picture_.rect());
    if (shownValid_ && shown_.size() == visible.size()) return shown_;
    shown_ = picture_.copy(visible).convertToFormat(QImage::Format_ARGB32);
    const QRgb clear = picture_.pixel(0, picture_.height() - 1);
    for (int y = 0; y < shown_.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(shown_.scanLine(y));
        for (int x = 0; x < shown_.width(); ++x)
            if (line[x] == clear) line[x] = 0;
    }
    shownValid_ = true;
    return shown_;
}

void PictureLayer::paintEvent(QPaintEvent* event) {
    QPainter painter(this);
    if (transparent_) {
        painter.drawImage(0, 0, Shown());
        return;
    }
    // Parts of the layer beyond the picture show the white panel.
    painter.fillRect(event->rect(), Qt::white);
    painter.drawImage(event->rect().topLeft(), picture_, event->rect());
}

MouseLayer::MouseLayer(QWidget* parent) : QWidget(parent) { setMouseTracking(true); }

void MouseLayer::mouseMoveEvent(QMouseEvent* event) {
    const QPoint at = event->position().toPoint();
    if (onMouseMove) onMouseMove(at.x(), at.y());
}

QImage NewCursorImage() {
    constexpr int size = 32;
    constexpr int centre = kNewCursorHotSpot;
    constexpr int barStart = 3;  // two transparent pixels lie between the dot and the arms
    constexpr int barEnd = 11;   // the white bar lies between the black caps at 3 and 11
    const QRgb black = qRgba(0, 0, 0, 255);
    const QRgb white = qRgba(255, 255, 255, 255);
    QImage image(size, size, QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    image.setPixel(centre, centre, white);
    const auto put = [&](int along, int across, int direction, bool horizontal, QRgb colour) {
        const int a = centre + direction * along;
        const int x = horizontal ? a : centre + across;
        const int y = horizontal ? centre + across : a;
        if (x >= 0 && x < size && y >= 0 && y < size) image.setPixel(x, y, colour);
    };
    for (const bool horizontal : {true, false}) {
        for (const int direction : {-1, 1}) {
            for (int d = barStart; d < size; ++d) {
                if (d <= barEnd) {
                    const bool cap = d == barStart || d == barEnd;
                    put(d, 0, direction, horizontal, cap ? black : white);
                    put(d, -1, direction, horizontal, black);
                    put(d, 1, direction, horizontal, black);
                } else {
                    put(d, 0, direction, horizontal, black);
                }
            }
        }
    }
    return image;
}

QCursor MakeNewCursor() {
    const QImage shape = NewCursorImage();
    QImage bits(shape.size(), QImage::Format_MonoLSB);
    QImage mask(shape.size(), QImage::Format_MonoLSB);
    for (QImage* plane : {&bits, &mask}) {
        plane->setColorCount(2);
        plane->setColor(0, qRgb(255, 255, 255));
        plane->setColor(1, qRgb(0, 0, 0));  // index 1 sets the bit: black, or opaque in the mask
        plane->fill(0);
    }
    for (int y = 0; y < shape.height(); ++y) {
        for (int x = 0; x < shape.width(); ++x) {
            const QRgb pixel = shape.pixel(x, y);
            if (qAlpha(pixel) == 0) continue;
            mask.setPixel(x, y, 1);
            if (qRed(pixel) == 0) bits.setPixel(x, y, 1);
        }
    }
    return QCursor(QBitmap::fromImage(bits), QBitmap::fromImage(mask), kNewCursorHotSpot, kNewCursorHotSpot);
}

}  // namespace zelk
