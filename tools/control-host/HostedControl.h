// What the control host needs from a control beyond its automation surface: the container side
// (message port, persistence, modified flag, repaint count, painting). Every control kind offers
// these under the same C++ names; HostedControlFor adapts one, so a new kind is one factory line.
#pragma once

#include <QJsonArray>
#include <QJsonObject>
#include <QPainter>
#include <QPoint>
#include <QRect>
#include <QString>
#include <QVariantMap>
#include <QWidget>

#include <functional>
#include <memory>

class HostedControl {
public:
    using MessagePort = std::function<void(const QString&)>;

    virtual ~HostedControl() = default;
    virtual QWidget* widget() = 0;
    virtual void setMessagePort(MessagePort port) = 0;
    virtual void resetToDefaults() = 0;
    virtual void loadPropertyBag(const QVariantMap& bag) = 0;
    virtual QVariantMap savePropertyBag() const = 0;
    virtual bool isModified() const = 0;
    virtual void setModified(bool modified) = 0;
    virtual int repaintRequestCount() const = 0;
    virtual void paint(QPainter& painter, const QRect& rect) = 0;
    // Kind-specific parts of the state reply ("series", "cursors"), empty when the kind has none.
    virtual QJsonObject stateDetails() const = 0;
};

namespace hosted_detail {
inline QJsonArray rectArray(const QRect& r) {
    return QJsonArray{r.left(), r.top(), r.left() + r.width(), r.top() + r.height()};
}
} // namespace hosted_detail

template <typename Control> class HostedControlFor final : public HostedControl {
public:
    explicit HostedControlFor(std::unique_ptr<Control> control) : control_(std::move(control)) {}

    QWidget* widget() override { return control_.get(); }
    void setMessagePort(MessagePort port) override { control_->setMessagePort(std::move(port)); }
    void resetToDefaults() override { control_->resetToDefaults(); }
    void loadPropertyBag(const QVariantMap& bag) override { control_->loadPropertyBag(bag); }
    QVariantMap savePropertyBag() const override { return control_->savePropertyBag(); }
    bool isModified() const override { return control_->isModified(); }
    void setModified(bool modified) override { control_->setModified(modified); }
    int repaintRequestCount() const override { return control_->repaintRequestCount(); }
    void paint(QPainter& painter, const QRect& rect) override { control_->paint(painter, rect); }

    QJsonObject stateDetails() const override {
        QJsonObject details;
        if constexpr (requires(const Control& c) {
                          c.GetSeriesCount();
                          c.seriesPointCount(0);
                          c.seriesScreenPositions(0);
                      }) {
            QJsonArray series;
            for (int i = 0; i < control_->GetSeriesCount(); ++i) {
                QJsonArray screen;
                for (const QPoint& p : control_->seriesScreenPositions(i))
                    screen.append(QJsonArray{p.x(), p.y()});
                series.append(QJsonObject{{"points", control_->seriesPointCount(i)}, {"screen", screen}});
            }
            details.insert("series", series);
        }
        if constexpr (requires(const Control& c) { c.cursorReadouts(); }) {
            QJsonArray cursors;
            for (const auto& cursor : control_->cursorReadouts()) {
                cursors.append(QJsonObject{{"name", cursor.name},
                                           {"x", cursor.x},
                                           {"y", cursor.y},
                                           {"line", hosted_detail::rectArray(cursor.line)},
                                           {"handle", hosted_detail::rectArray(cursor.handle)}});
            }
            details.insert("cursors", cursors);
        }
        if constexpr (requires(const Control& c) { c.plotRect(); })
            details.insert("plot", hosted_detail::rectArray(control_->plotRect()));
        if constexpr (requires(const Control& c) {
                          c.tooltipWindowVisible();
                          c.tooltipWindowText();
                      }) {
            details.insert("tooltipWindow", QJsonObject{{"visible", control_->tooltipWindowVisible()},
                                                        {"text", control_->tooltipWindowText()}});
        }
        return details;
    }

private:
    std::unique_ptr<Control> control_;
};

template <typename Control> std::unique_ptr<HostedControl> hostControl(std::unique_ptr<Control> control) {
    if (!control)
        return nullptr;
    return std::make_unique<HostedControlFor<Control>>(std::move(control));
}
