// The control kinds the host can create, each by the factory the application uses.
#pragma once

#include "tools/control-host/HostedControl.h"

#include <QStringList>

#include <functional>
#include <map>
#include <memory>

class ControlRegistry {
public:
    using Factory = std::function<std::unique_ptr<HostedControl>()>;

    void add(const QString& kind, Factory factory);
    // Null for an unknown kind.
    std::unique_ptr<HostedControl> create(const QString& kind) const;
    QStringList kinds() const;

    // Every control kind built into this host.
    static ControlRegistry builtIn();

private:
    std::map<QString, Factory> factories_;
};
