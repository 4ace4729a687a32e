#include "tools/control-host/EventRelay.h"

EventRelay::EventRelay(QObject* control, const QMetaObject& stopAt, Sink sink)
    : QObject(control), sink_(std::move(sink)) {
    const QMetaObject* meta = control->metaObject();
    const int slotBase = QObject::staticMetaObject.methodCount();
    for (int i = stopAt.methodCount(); i < meta->methodCount(); ++i) {
        const QMetaMethod method = meta->method(i);
        if (method.methodType() != QMetaMethod::Signal)
            continue;
        // Each relayed signal is connected to one virtual slot of this object, numbered in order.
        if (QMetaObject::connect(control, i, this, slotBase + static_cast<int>(signals_.size()),
                                 Qt::DirectConnection))
            signals_.append(method);
    }
}

int EventRelay::qt_metacall(QMetaObject::Call call, int id, void** args) {
    id = QObject::qt_metacall(call, id, args);
    if (id < 0 || call != QMetaObject::InvokeMetaMethod)
        return id;
    if (id < signals_.size()) {
        const QMetaMethod& signal = signals_[id];
        QVariantList values;
        for (int p = 0; p < signal.parameterCount(); ++p)
            values.append(QVariant(signal.parameterMetaType(p), args[p + 1]));
        sink_(QString::fromLatin1(signal.name()), values);
    }
    return -1;
}
