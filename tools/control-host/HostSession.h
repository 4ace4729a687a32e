// One scripted session of the control host: a JSON command in, exactly one JSON reply out.
// Properties and methods are reached by name through the meta-object system only; every reply
// carries the messages the control showed and the events it fired during the command.
#pragma once

#include "tools/control-host/ControlRegistry.h"
#include "tools/control-host/EventRelay.h"
#include "tools/control-host/HostedControl.h"

#include <QJsonArray>
#include <QJsonObject>
#include <QStringList>

#include <memory>

class HostSession {
public:
    explicit HostSession(ControlRegistry registry = ControlRegistry::builtIn());
    ~HostSession();

    QJsonObject handle(const QJsonObject& command);
    // Parses one input line and handles it; malformed JSON gets an error reply.
    QJsonObject handleLine(const QByteArray& line);
    bool quitRequested() const { return quit_; }

private:
    struct Reply;
    void create(const QJsonObject& command, Reply& reply);
    void set(const QJsonObject& command, Reply& reply);
    void get(const QJsonObject& command, Reply& reply);
    void call(const QJsonObject& command, Reply& reply);
    void mouse(const QJsonObject& command, Reply& reply);
    void wait(const QJsonObject& command, Reply& reply);
    void paint(const QJsonObject& command, Reply& reply);
    void resize(const QJsonObject& command, Reply& reply);
    void save(Reply& reply);
    void state(Reply& reply);

    ControlRegistry registry_;
    std::unique_ptr<HostedControl> control_;
    QStringList messages_;
    QJsonArray events_;
    int repaintBaseline_ = 0;
    bool quit_ = false;
};
