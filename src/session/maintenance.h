#pragma once

// Whole-archive maintenance from the main window's menu: saving archives to
// backup files of the user's choice, restoring them from such files, and
// emptying them for a new emergency. Each runs as a fixed sequence of
// questions, one archive after the other.

struct Context;

namespace maintenance {

// "Salva Archivi": for each of the six archives, a question and a save
// dialog; the archive is copied line by line into the chosen file.
void save(Context &ctx);

// "Ripristina Archivi": for each of the six archives, a question and an open
// dialog; the chosen file is copied line by line over the archive.
void restore(Context &ctx);

// "Azzeramento Archivi": a first question, then one per archive; the
// protocol counter is set to 0 instead of being emptied.
void reset(Context &ctx);

} // namespace maintenance
