// A label control created by its ProgID and reset like a newly inserted one, with its messages
// recorded, and helpers that find the caption's pixels in a painted image.
#pragma once

#include <VantorLabel/VantorLabelCtrl.h>
#include <VantorLabel/VantorLabelFactory.h>

#include <QImage>
#include <QPainter>
#include <QStringList>

#include <gtest/gtest.h>

#include <functional>
#include <memory>

class LabelFixture : public ::testing::Test {
protected:
    void SetUp() override {
        label = createVantorLabelControl(QString::fromLatin1(VantorLabelIds::ProgId));
        ASSERT_TRUE(label);
        label->setMessagePort([this](const QString& text) { messages.append(text); });
        label->resetToDefaults();
        label->resize(160, 40);
        label->setModified(false);
        repaintBaseline = label->repaintRequestCount();
    }

    int repaints() {
        const int count = label->repaintRequestCount() - repaintBaseline;
        repaintBaseline = label->repaintRequestCount();
        return count;
    }

    QImage render() {
        QImage image(label->size(), QImage::Format_ARGB32);
        image.fill(Qt::magenta);
        QPainter painter(&image);
        label->paint(painter, image.rect());
        return image;
    }

    QColor ambient() const { return label->palette().color(QPalette::Window); }

    std::unique_ptr<CVantorLabelCtrl> label;
    QStringList messages;
    int repaintBaseline = 0;
};

inline int rgbValue(int r, int g, int b) {
    return r + 256 * g + 65536 * b;
}

using PixelTest = std::function<bool(const QColor&)>;

// The bounding box of the pixels that pass the test (null when none does).
inline QRect pixelBounds(const QImage& image, const PixelTest& test) {
    QRect bounds;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (test(image.pixelColor(x, y)))
                bounds |= QRect(x, y, 1, 1);
    return bounds;
}

inline int pixelCount(const QImage& image, const PixelTest& test) {
    int count = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            count += test(image.pixelColor(x, y)) ? 1 : 0;
    return count;
}

// Pixels within tolerance of a colour on each channel.
inline PixelTest near(const QColor& color, int tolerance = 40) {
    return [color, tolerance](const QColor& c) {
        return std::abs(c.red() - color.red()) <= tolerance &&
               std::abs(c.green() - color.green()) <= tolerance &&
               std::abs(c.blue() - color.blue()) <= tolerance;
    };
}

// Pixels that differ clearly from a colour (the caption's ink on a plain background).
inline PixelTest differsFrom(const QColor& color, int threshold = 60) {
    return [color, threshold](const QColor& c) {
        return std::abs(c.red() - color.red()) + std::abs(c.green() - color.green()) +
                   std::abs(c.blue() - color.blue()) >
               threshold;
    };
}

// Strongly red pixels (a caption drawn in RGB(255,0,0)).
inline bool isRed(const QColor& c) {
    return c.red() > 160 && c.green() < 90 && c.blue() < 90;
}
inline bool isBlue(const QColor& c) {
    return c.blue() > 160 && c.red() < 90 && c.green() < 90;
}
