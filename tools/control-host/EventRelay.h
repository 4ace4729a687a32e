// Relays every signal that a control's own classes declare (its events) to one sink, with the
// signal's name and its arguments, in the order they fire.
#pragma once

#include <QList>
#include <QMetaMethod>
#include <QObject>
#include <QVariantList>

#include <functional>

class EventRelay final : public QObject {
public:
    using Sink = std::function<void(const QString& name, const QVariantList& args)>;

    // Relays the signals declared below `stopAt` in the control's class hierarchy.
    EventRelay(QObject* control, const QMetaObject& stopAt, Sink sink);

    int qt_metacall(QMetaObject::Call call, int id, void** args) override;

private:
    QList<QMetaMethod> signals_;
    Sink sink_;
};
