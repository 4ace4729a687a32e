// The persisted subset of the graph control's properties in a property bag, by name.
#pragma once

#include "GraphProperties.h"

#include <QStringList>
#include <QVariantMap>

QVariantMap savePersisted(const GraphProperties& properties);
// Takes every persisted value from the bag as it is (no validation); absent or unreadable names
// take their persisted default.
void loadPersisted(GraphProperties& properties, const QVariantMap& bag);
QStringList persistedNames();
