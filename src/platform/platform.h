#pragma once

#include "platform/busycursor.h"
#include "platform/busyguard.h"
#include "platform/clock.h"
#include "platform/helpviewer.h"
#include "platform/lineprinter.h"
#include "platform/prompts.h"

// The program reaches the user, the clock, the pointer, the printer and the
// help only through these interfaces, so that tests can stand in for each.

struct Platform {
    Prompts *prompts = nullptr;
    Clock *clock = nullptr;
    BusyCursor *busy = nullptr;
    LinePrinter *printer = nullptr;
    HelpViewer *help = nullptr;
};
