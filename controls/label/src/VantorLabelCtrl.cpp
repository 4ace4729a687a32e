#include <VantorLabel/VantorLabelCtrl.h>
#include <VantorLabel/VantorLabelFactory.h>

#include "LabelPainter.h"
#include "LabelPalette.h"
#include "LabelPersistence.h"
#include "LabelProperties.h"

#include <QImage>
#include <QMessageBox>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>

struct CVantorLabelCtrl::Private {
    explicit Private(CVantorLabelCtrl* control) : q(control) {}

    CVantorLabelCtrl* q;
    LabelProperties props;
    MessagePort messagePort;
    bool modified = false;
    int repaintRequests = 0;
    bool leftPressed = false;
    QRect textRect;

    QColor ambientBackground() const {
        return (q->parentWidget() ? q->parentWidget()->palette() : q->palette()).color(QPalette::Window);
    }

    void repaint() {
        ++repaintRequests;
        q->update();
    }

    template <typename T, typename V> void store(T& field, const V& value) {
        field = value;
        modified = true;
        repaint();
    }
};

// ---------------------------------------------------------------------------------------------
// Construction and container side

CVantorLabelCtrl::CVantorLabelCtrl(QWidget* parent) : QWidget(parent), d(std::make_unique<Private>(this)) {
    setAttribute(Qt::WA_OpaquePaintEvent);
    d->props.BackGroundColorAlt = rgbValueOf(d->ambientBackground());
}

CVantorLabelCtrl::~CVantorLabelCtrl() = default;

void CVantorLabelCtrl::setMessagePort(MessagePort port) {
    d->messagePort = std::move(port);
}

void CVantorLabelCtrl::resetToDefaults() {
    loadPropertyBag({});
}

void CVantorLabelCtrl::loadPropertyBag(const QVariantMap& bag) {
    loadPersisted(d->props, bag, rgbValueOf(d->ambientBackground()));
    QWidget::setEnabled(d->props.Enabled);
    d->modified = false;
    d->repaint();
}

QVariantMap CVantorLabelCtrl::savePropertyBag() const {
    return savePersisted(d->props);
}

QStringList CVantorLabelCtrl::persistedPropertyNames() {
    return persistedNames();
}

bool CVantorLabelCtrl::isModified() const {
    return d->modified;
}
void CVantorLabelCtrl::setModified(bool modified) {
    d->modified = modified;
}
int CVantorLabelCtrl::repaintRequestCount() const {
    return d->repaintRequests;
}

QRect CVantorLabelCtrl::textRect() const {
    return d->textRect;
}

QMargins CVantorLabelCtrl::textShadowOffset() const {
    const ShadowOffset& o = d->props.TextShadowOffset;
    return QMargins(o.left, o.top, o.right, o.bottom);
}

// ---------------------------------------------------------------------------------------------
// Painting and input

void CVantorLabelCtrl::paint(QPainter& painter, const QRect& rect) {
    const LabelEnvironment environment{d->ambientBackground(), palette()};
    d->textRect = paintLabel(painter, rect, d->props, environment);
}

void CVantorLabelCtrl::paintEvent(QPaintEvent*) {
    // Drawn off-screen first and copied in one block, so the label never flickers.
    QImage buffer(size(), QImage::Format_ARGB32_Premultiplied);
    {
        QPainter offscreen(&buffer);
        paint(offscreen, buffer.rect());
    }
    QPainter painter(this);
    painter.drawImage(0, 0, buffer);
}

void CVantorLabelCtrl::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton)
        d->leftPressed = true;
    event->accept();
}

void CVantorLabelCtrl::mouseReleaseEvent(QMouseEvent* event) {
    // A click is a left press and release, the release still over the label.
    if (event->button() == Qt::LeftButton && d->leftPressed) {
        d->leftPressed = false;
        if (rect().contains(event->position().toPoint()))
            emit Click();
    }
    event->accept();
}

// ---------------------------------------------------------------------------------------------
// Methods

void CVantorLabelCtrl::SetTextShadowOffset(short left, short right, short top, short bottom) {
    d->store(d->props.TextShadowOffset, ShadowOffset{left, top, right, bottom});
}

void CVantorLabelCtrl::DoClick() {
    emit Click();
}

void CVantorLabelCtrl::AboutBox() {
    const QString text =
        QStringLiteral("%1, Version %2")
            .arg(QLatin1String(VantorLabelIds::ControlName), QLatin1String(VantorLabelIds::Version));
    if (d->messagePort) {
        d->messagePort(text);
        return;
    }
    QMessageBox::about(this, QStringLiteral("About %1").arg(QLatin1String(VantorLabelIds::ControlName)),
                       text);
}

// ---------------------------------------------------------------------------------------------
// Properties: no write is range-tested; each stores, marks the control modified and repaints.

short CVantorLabelCtrl::GetBackGroundColor() const {
    return d->props.BackGroundColor;
}
void CVantorLabelCtrl::SetBackGroundColor(short value) {
    d->store(d->props.BackGroundColor, value);
}
short CVantorLabelCtrl::GetFontName() const {
    return d->props.FontName;
}
void CVantorLabelCtrl::SetFontName(short value) {
    d->store(d->props.FontName, value);
}
short CVantorLabelCtrl::GetSize() const {
    return d->props.Size;
}
void CVantorLabelCtrl::SetSize(short value) {
    d->store(d->props.Size, value);
}
short CVantorLabelCtrl::GetColor() const {
    return d->props.Color;
}
void CVantorLabelCtrl::SetColor(short value) {
    d->store(d->props.Color, value);
}
bool CVantorLabelCtrl::GetUnderlineOn() const {
    return d->props.UnderlineOn;
}
void CVantorLabelCtrl::SetUnderlineOn(bool value) {
    d->store(d->props.UnderlineOn, value);
}
bool CVantorLabelCtrl::GetBoldOn() const {
    return d->props.BoldOn;
}
void CVantorLabelCtrl::SetBoldOn(bool value) {
    d->store(d->props.BoldOn, value);
}
bool CVantorLabelCtrl::GetItalicOn() const {
    return d->props.ItalicOn;
}
void CVantorLabelCtrl::SetItalicOn(bool value) {
    d->store(d->props.ItalicOn, value);
}
bool CVantorLabelCtrl::GetStrikethroughOn() const {
    return d->props.StrikethroughOn;
}
void CVantorLabelCtrl::SetStrikethroughOn(bool value) {
    d->store(d->props.StrikethroughOn, value);
}
short CVantorLabelCtrl::GetRotation() const {
    return d->props.Rotation;
}
void CVantorLabelCtrl::SetRotation(short value) {
    d->store(d->props.Rotation, value);
}
bool CVantorLabelCtrl::GetWordWrapOn() const {
    return d->props.WordWrapOn;
}
void CVantorLabelCtrl::SetWordWrapOn(bool value) {
    d->store(d->props.WordWrapOn, value);
}
short CVantorLabelCtrl::GetHorizontalAlignment() const {
    return d->props.HorizontalAlignment;
}
void CVantorLabelCtrl::SetHorizontalAlignment(short value) {
    d->store(d->props.HorizontalAlignment, value);
}
short CVantorLabelCtrl::GetVerticalAlignment() const {
    return d->props.VerticalAlignment;
}
void CVantorLabelCtrl::SetVerticalAlignment(short value) {
    d->store(d->props.VerticalAlignment, value);
}
QString CVantorLabelCtrl::GetCaption() const {
    return d->props.Caption;
}
void CVantorLabelCtrl::SetCaption(const QString& value) {
    d->store(d->props.Caption, value);
}
short CVantorLabelCtrl::GetBorderStyle() const {
    return d->props.BorderStyle;
}
void CVantorLabelCtrl::SetBorderStyle(short value) {
    d->store(d->props.BorderStyle, value);
}
bool CVantorLabelCtrl::GetEnabled() const {
    return d->props.Enabled;
}
void CVantorLabelCtrl::SetEnabled(bool value) {
    // A disabled label takes no mouse input either.
    QWidget::setEnabled(value);
    d->store(d->props.Enabled, value);
}
int CVantorLabelCtrl::GetBackGroundColorAlt() const {
    return d->props.BackGroundColorAlt;
}
void CVantorLabelCtrl::SetBackGroundColorAlt(int value) {
    d->store(d->props.BackGroundColorAlt, value);
}
int CVantorLabelCtrl::GetColorAlt() const {
    return d->props.ColorAlt;
}
void CVantorLabelCtrl::SetColorAlt(int value) {
    d->store(d->props.ColorAlt, value);
}
short CVantorLabelCtrl::GetBorderEffect() const {
    return d->props.BorderEffect;
}
void CVantorLabelCtrl::SetBorderEffect(short value) {
    d->store(d->props.BorderEffect, value);
}
short CVantorLabelCtrl::GetBackGroundColorSelect() const {
    return d->props.BackGroundColorSelect;
}
void CVantorLabelCtrl::SetBackGroundColorSelect(short value) {
    d->store(d->props.BackGroundColorSelect, value);
}
short CVantorLabelCtrl::GetColorSelect() const {
    return d->props.ColorSelect;
}
void CVantorLabelCtrl::SetColorSelect(short value) {
    d->store(d->props.ColorSelect, value);
}
QString CVantorLabelCtrl::GetFontNameByString() const {
    return d->props.FontNameByString;
}
void CVantorLabelCtrl::SetFontNameByString(const QString& value) {
    d->store(d->props.FontNameByString, value);
}
int CVantorLabelCtrl::GetTextShadowColor() const {
    return d->props.TextShadowColor;
}
void CVantorLabelCtrl::SetTextShadowColor(int value) {
    d->store(d->props.TextShadowColor, value);
}
bool CVantorLabelCtrl::GetTextShadowOn() const {
    return d->props.TextShadowOn;
}
void CVantorLabelCtrl::SetTextShadowOn(bool value) {
    d->store(d->props.TextShadowOn, value);
}
bool CVantorLabelCtrl::GetGradientBkFillOn() const {
    return d->props.GradientBkFillOn;
}
void CVantorLabelCtrl::SetGradientBkFillOn(bool value) {
    d->store(d->props.GradientBkFillOn, value);
}
