#include "tools/control-host/HostSession.h"

#include "tools/control-host/JsonValues.h"

#include <QApplication>
#include <QEventLoop>
#include <QImage>
#include <QJsonDocument>
#include <QMetaMethod>
#include <QMetaProperty>
#include <QMouseEvent>
#include <QTimer>

#include <vector>

namespace {

// The automation surface: what the control's own classes declare, not QWidget's.
int firstOwnProperty() {
    return QWidget::staticMetaObject.propertyCount();
}
int firstOwnMethod() {
    return QWidget::staticMetaObject.methodCount();
}

int ownPropertyIndex(const QObject* control, const QString& name) {
    const int index = control->metaObject()->indexOfProperty(name.toLatin1().constData());
    return index >= firstOwnProperty() ? index : -1;
}

struct Failure {
    QString text;
};

} // namespace

struct HostSession::Reply {
    QJsonObject body;
    void fail(const QString& text) { throw Failure{text}; }
};

HostSession::HostSession(ControlRegistry registry) : registry_(std::move(registry)) {}

HostSession::~HostSession() = default;

QJsonObject HostSession::handleLine(const QByteArray& line) {
    QJsonParseError error{};
    const QJsonDocument document = QJsonDocument::fromJson(line, &error);
    if (!document.isObject()) {
        const QString text = error.error != QJsonParseError::NoError
                                 ? QStringLiteral("invalid JSON: %1").arg(error.errorString())
                                 : QStringLiteral("a command is a JSON object");
        return QJsonObject{
            {"ok", false}, {"error", text}, {"messages", QJsonArray()}, {"events", QJsonArray()}};
    }
    return handle(document.object());
}

QJsonObject HostSession::handle(const QJsonObject& command) {
    messages_.clear();
    events_ = QJsonArray();
    Reply reply;
    const QString cmd = command.value("cmd").toString();
    bool ok = true;
    QString error;
    try {
        if (cmd == QLatin1String("create"))
            create(command, reply);
        else if (cmd == QLatin1String("quit"))
            quit_ = true;
        else if (!control_ && (cmd == "set" || cmd == "get" || cmd == "call" || cmd == "mouse" ||
                               cmd == "paint" || cmd == "resize" || cmd == "save" || cmd == "state"))
            reply.fail(QStringLiteral("no control: create one first"));
        else if (cmd == QLatin1String("set"))
            set(command, reply);
        else if (cmd == QLatin1String("get"))
            get(command, reply);
        else if (cmd == QLatin1String("call"))
            call(command, reply);
        else if (cmd == QLatin1String("mouse"))
            mouse(command, reply);
        else if (cmd == QLatin1String("wait"))
            wait(command, reply);
        else if (cmd == QLatin1String("paint"))
            paint(command, reply);
        else if (cmd == QLatin1String("resize"))
            resize(command, reply);
        else if (cmd == QLatin1String("save"))
            save(reply);
        else if (cmd == QLatin1String("state"))
            state(reply);
        else
            reply.fail(cmd.isEmpty() ? QStringLiteral("missing \"cmd\"")
                                     : QStringLiteral("unknown command: %1").arg(cmd));
    } catch (const Failure& failure) {
        ok = false;
        error = failure.text;
    }
    QJsonObject out = ok ? reply.body : QJsonObject{};
    out.insert("ok", ok);
    if (!ok)
        out.insert("error", error);
    out.insert("messages", QJsonArray::fromStringList(messages_));
    out.insert("events", events_);
    return out;
}

void HostSession::create(const QJsonObject& command, Reply& reply) {
    const QString kind = command.value("control").toString();
    std::unique_ptr<HostedControl> control = registry_.create(kind);
    if (!control)
        reply.fail(
            QStringLiteral("unknown control: \"%1\" (known: %2)").arg(kind, registry_.kinds().join(", ")));
    const int width = command.value("width").toInt(400);
    const int height = command.value("height").toInt(300);
    if (width <= 0 || height <= 0)
        reply.fail(QStringLiteral("width and height must be positive"));

    control->setMessagePort([this](const QString& text) { messages_.append(text); });
    QWidget* widget = control->widget();
    new EventRelay(widget, QWidget::staticMetaObject, [this](const QString& name, const QVariantList& args) {
        QJsonArray values;
        for (const QVariant& arg : args)
            values.append(jsonFromVariant(arg));
        events_.append(QJsonObject{{"name", name}, {"args", values}});
    });
    if (command.contains("bag")) {
        if (!command.value("bag").isObject())
            reply.fail(QStringLiteral("\"bag\" must be an object of property names and values"));
        control->loadPropertyBag(bagFromJson(command.value("bag").toObject()));
    } else {
        control->resetToDefaults();
    }
    widget->resize(width, height);
    // Shown (offscreen by default) so that it owns a window as in a container: the tooltip window
    // and mouse capture need one.
    widget->show();
    control->setModified(false);
    control_ = std::move(control);
    repaintBaseline_ = control_->repaintRequestCount();
}

void HostSession::set(const QJsonObject& command, Reply& reply) {
    QWidget* widget = control_->widget();
    const QString name = command.value("name").toString();
    const int index = ownPropertyIndex(widget, name);
    if (index < 0)
        reply.fail(QStringLiteral("unknown property: %1").arg(name));
    if (!command.contains("value"))
        reply.fail(QStringLiteral("missing \"value\""));
    const QMetaProperty property = widget->metaObject()->property(index);
    if (!property.isWritable())
        reply.fail(QStringLiteral("property %1 is read-only").arg(name));
    QString error;
    const auto value = variantFromJson(command.value("value"), property.metaType(), &error);
    if (!value)
        reply.fail(QStringLiteral("property %1: %2").arg(name, error));
    if (!property.write(widget, *value))
        reply.fail(QStringLiteral("property %1 could not be written").arg(name));
}

void HostSession::get(const QJsonObject& command, Reply& reply) {
    QWidget* widget = control_->widget();
    const QString name = command.value("name").toString();
    const int index = ownPropertyIndex(widget, name);
    if (index < 0)
        reply.fail(QStringLiteral("unknown property: %1").arg(name));
    reply.body.insert("value", jsonFromVariant(widget->metaObject()->property(index).read(widget)));
}

void HostSession::call(const QJsonObject& command, Reply& reply) {
    QWidget* widget = control_->widget();
    const QMetaObject* meta = widget->metaObject();
    const QString name = command.value("name").toString();
    const QJsonArray args = command.value("args").toArray();

    std::vector<QMetaMethod> candidates;
    for (int i = firstOwnMethod(); i < meta->methodCount(); ++i) {
        const QMetaMethod method = meta->method(i);
        if (method.access() == QMetaMethod::Public && method.methodType() != QMetaMethod::Signal &&
            QString::fromLatin1(method.name()) == name)
            candidates.push_back(method);
    }
    if (candidates.empty())
        reply.fail(QStringLiteral("unknown method: %1").arg(name));
    const auto chosen = std::find_if(candidates.begin(), candidates.end(),
                                     [&](const QMetaMethod& m) { return m.parameterCount() == args.size(); });
    if (chosen == candidates.end())
        reply.fail(QStringLiteral("method %1 expects %2 arguments, got %3")
                       .arg(name)
                       .arg(candidates.front().parameterCount())
                       .arg(args.size()));
    const QMetaMethod method = *chosen;

    // Every argument converted to the declared parameter type, then invoked through the
    // meta-object (any number of parameters).
    std::vector<QVariant> values;
    values.reserve(static_cast<std::size_t>(args.size()));
    for (int i = 0; i < args.size(); ++i) {
        QString error;
        auto value = variantFromJson(args[i], method.parameterMetaType(i), &error);
        if (!value)
            reply.fail(QStringLiteral("%1 argument %2 (%3): %4")
                           .arg(name)
                           .arg(i + 1)
                           .arg(QString::fromLatin1(method.parameterNames().value(i)), error));
        values.push_back(std::move(*value));
    }
    QVariant result;
    if (method.returnMetaType().id() != QMetaType::Void)
        result = QVariant(method.returnMetaType());
    std::vector<void*> pointers;
    pointers.push_back(result.isValid() ? result.data() : nullptr);
    for (QVariant& value : values)
        pointers.push_back(value.data());
    QMetaObject::metacall(widget, QMetaObject::InvokeMetaMethod, method.methodIndex(), pointers.data());
    reply.body.insert("result", jsonFromVariant(result));
}

void HostSession::mouse(const QJsonObject& command, Reply& reply) {
    const QString action = command.value("action").toString();
    QEvent::Type type = QEvent::None;
    if (action == "press")
        type = QEvent::MouseButtonPress;
    else if (action == "release")
        type = QEvent::MouseButtonRelease;
    else if (action == "move")
        type = QEvent::MouseMove;
    else if (action == "dblclick")
        type = QEvent::MouseButtonDblClick;
    else
        reply.fail(QStringLiteral("unknown mouse action: %1").arg(action));
    const QString buttonName = command.value("button").toString(QStringLiteral("left"));
    if (buttonName != "left" && buttonName != "right")
        reply.fail(QStringLiteral("unknown mouse button: %1").arg(buttonName));
    const Qt::MouseButton button = buttonName == "right" ? Qt::RightButton : Qt::LeftButton;
    Qt::KeyboardModifiers modifiers;
    for (const QJsonValue& modifier : command.value("modifiers").toArray()) {
        if (modifier.toString() == "ctrl")
            modifiers |= Qt::ControlModifier;
        else if (modifier.toString() == "shift")
            modifiers |= Qt::ShiftModifier;
        else
            reply.fail(QStringLiteral("unknown modifier: %1").arg(modifier.toString()));
    }
    QWidget* widget = control_->widget();
    const QPointF local(command.value("x").toInt(), command.value("y").toInt());
    const Qt::MouseButton eventButton = type == QEvent::MouseMove ? Qt::NoButton : button;
    const Qt::MouseButtons held =
        type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::MouseButtons(button);
    QMouseEvent event(type, local, widget->mapToGlobal(local), eventButton, held, modifiers);
    QApplication::sendEvent(widget, &event);
}

void HostSession::wait(const QJsonObject& command, Reply& reply) {
    const int ms = command.value("ms").toInt(-1);
    if (ms < 0)
        reply.fail(QStringLiteral("\"ms\" must be a non-negative number"));
    QEventLoop loop;
    QTimer::singleShot(ms, &loop, &QEventLoop::quit);
    loop.exec();
}

void HostSession::paint(const QJsonObject& command, Reply& reply) {
    const QString file = command.value("file").toString();
    if (file.isEmpty())
        reply.fail(QStringLiteral("missing \"file\""));
    QWidget* widget = control_->widget();
    QImage image(widget->size(), QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    {
        QPainter painter(&image);
        control_->paint(painter, image.rect());
    }
    if (!image.save(file, "PNG"))
        reply.fail(QStringLiteral("cannot write %1").arg(file));
    reply.body.insert("file", file);
}

void HostSession::resize(const QJsonObject& command, Reply& reply) {
    const int width = command.value("width").toInt();
    const int height = command.value("height").toInt();
    if (width <= 0 || height <= 0)
        reply.fail(QStringLiteral("width and height must be positive"));
    control_->widget()->resize(width, height);
}

void HostSession::save(Reply& reply) {
    reply.body.insert("bag", jsonFromBag(control_->savePropertyBag()));
    control_->setModified(false);
}

void HostSession::state(Reply& reply) {
    QWidget* widget = control_->widget();
    const int repaints = control_->repaintRequestCount();
    reply.body.insert("modified", control_->isModified());
    reply.body.insert("repaints", repaints - repaintBaseline_);
    repaintBaseline_ = repaints;
    reply.body.insert("tooltip", QJsonObject{{"shown", widget->property("ShowToolTip").toBool()},
                                             {"text", widget->property("ToolTipText").toString()}});
    const QJsonObject details = control_->stateDetails();
    for (auto it = details.begin(); it != details.end(); ++it)
        reply.body.insert(it.key(), it.value());
}
