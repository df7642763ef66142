#pragma once

#include "app/context.h"

class QMenuBar;

namespace reports {

// The menu "Rapporti" (`mnrap`) with its three reports, added at the end of
// `bar`. The reports only read the archives, so they stay available when
// the folder is open for consultation only.
void addMenu(QMenuBar *bar, Context &ctx);

} // namespace reports
