#pragma once

#include <QCursor>
#include <QImage>
#include <QWidget>
#include <functional>

namespace zelk {

inline constexpr int kPictureWidth = 1280;
inline constexpr int kPictureHeight = 800;

// One picture layer of the plot: a white picture of 1280 x 800 pixels, shown from its
// top-left corner and cut to the layer's size; drawing beyond the picture is lost.
// A transparent layer lets the colour of its bottom-left pixel show what lies below.
class PictureLayer : public QWidget {
    Q_OBJECT
public:
    PictureLayer(bool transparent, QWidget* parent);

    const QImage& Picture() const { return picture_; }
    // Draw into the picture, then call Changed.
    QImage& Picture() { return picture_; }
    void Changed();

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    const QImage& Shown();

    QImage picture_;
    bool transparent_;
    QImage shown_;  // the visible part with its transparent colour cleared
    bool shownValid_ = false;
};

// The transparent top layer that takes the mouse moves over the plot.
class MouseLayer : public QWidget {
    Q_OBJECT
public:
    explicit MouseLayer(QWidget* parent);
    std::function<void(int x, int y)> onMouseMove;

protected:
    void mouseMoveEvent(QMouseEvent* event) override;
};

// The plot's cursor "NewCursor": a 32 x 32 cross-hair of four white arms edged in
// black that run on as black lines to the border, a two-pixel gap around a white dot
// at the hot spot (15, 15). Transparent pixels have alpha 0.
QImage NewCursorImage();
QCursor MakeNewCursor();
inline constexpr int kNewCursorHotSpot = 15;

}  // namespace zelk
