#include "tools/control-host/ControlRegistry.h"

#include <VantorGraph/VantorGraphCtrl.h>
#include <VantorGraph/VantorGraphFactory.h>
#include <VantorLabel/VantorLabelCtrl.h>
#include <VantorLabel/VantorLabelFactory.h>

void ControlRegistry::add(const QString& kind, Factory factory) {
    factories_[kind] = std::move(factory);
}

std::unique_ptr<HostedControl> ControlRegistry::create(const QString& kind) const {
    const auto it = factories_.find(kind);
    return it == factories_.end() ? nullptr : it->second();
}

QStringList ControlRegistry::kinds() const {
    QStringList names;
    for (const auto& entry : factories_)
        names.append(entry.first);
    return names;
}

ControlRegistry ControlRegistry::builtIn() {
    ControlRegistry registry;
    registry.add(QStringLiteral("graph"), [] {
        return hostControl(createVantorGraphControl(QString::fromLatin1(VantorGraphIds::ProgId)));
    });
    registry.add(QStringLiteral("label"), [] {
        return hostControl(createVantorLabelControl(QString::fromLatin1(VantorLabelIds::ProgId)));
    });
    return registry;
}
