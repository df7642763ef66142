#pragma once

#include "app/qtbusycursor.h"
#include "app/qtclock.h"
#include "app/qthelpviewer.h"
#include "app/qtlineprinter.h"
#include "app/qtprompts.h"
#include "archive/paths.h"
#include "platform/platform.h"

#include <memory>

// Loads the Italian texts of the toolkit's own buttons and dialogs ("Sì",
// "Annulla", "Salva"...). False when the translations are not installed: the
// program then runs with the toolkit's English captions.
bool installItalianTexts();

// The Qt implementations together, owned by main(), for the working folder
// `folder`.
class QtPlatform {
public:
    explicit QtPlatform(const archive::WorkingFolder &folder);
    Platform platform();

private:
    QtPrompts m_prompts;
    QtClock m_clock;
    QtBusyCursor m_busy;
    std::unique_ptr<QtLinePrinter> m_printer;
    std::unique_ptr<QtHelpViewer> m_help;
};
