#include "app/picking.h"

#include "app/context.h"

// Filled in by the resource window.
void picking::offerResource(Context &, Kind, const QString &) {}
