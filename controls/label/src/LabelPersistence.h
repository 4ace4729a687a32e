// The persisted subset of the label control's properties in a property bag, by name.
#pragma once

#include "LabelProperties.h"

#include <QStringList>
#include <QVariantMap>

QVariantMap savePersisted(const LabelProperties& properties);
// Takes every persisted value from the bag as it is (no setter, no range test); absent names and
// values that do not convert to the property's type take their persisted default.
// ambientBackground (RGB) is the default of BackGroundColorAlt.
void loadPersisted(LabelProperties& properties, const QVariantMap& bag, int ambientBackground);
// The persisted names in exchange order.
QStringList persistedNames();
