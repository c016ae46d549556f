// What a plot shows, counted: the pixels of a widget's picture whose colour passes a test.
#pragma once
#include <QColor>
#include <QImage>
#include <QWidget>

namespace testsupport {

template <typename Test>
int CountPixels(QWidget* widget, Test test) {
    const QImage img = widget->grab().toImage();
    int n = 0;
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x) n += test(img.pixelColor(x, y)) ? 1 : 0;
    return n;
}
// Antialiased thin lines: judged by the hue.
inline bool Reddish(const QColor& c) { return c.red() > c.green() + 80 && c.red() > c.blue() + 80; }
inline bool Greenish(const QColor& c) { return c.green() > c.red() + 40 && c.green() > c.blue() + 40; }
inline bool Bluish(const QColor& c) { return c.blue() > c.red() + 80 && c.blue() > c.green() + 80; }

}  // namespace testsupport
