#pragma once
// The entity records live in the value-type library below the store.
#include "records/Records.h"
