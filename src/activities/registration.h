#pragma once

#include "activities/records.h"
#include "archive/io.h"
#include "archive/paths.h"
#include "session/modes.h"

#include <QDateTime>
#include <QString>
#include <QStringList>
#include <functional>
#include <optional>

// Registration of the activity shown in the activity window: insert, modify
// (close, re-open) and cancel, with the protocol counter, the resource lines
// and the snapshots that make the registered state the new rollback point.
namespace activities {

// One line of the window's resource list with the state it is written with:
// "O" while its resource is taken from its register, "L" when it is not.
struct ResourceEntry {
    QString line;
    QString state = QStringLiteral("O");
};

// An activity as the window loads it: its record and its resource lines in
// file order, each with its stored state.
struct LoadedActivity {
    archive::Record record;
    QList<ResourceEntry> resources;
};

struct Registration {
    modes::Activity mode = modes::Activity::Unset; // I, M or A (any other does nothing)
    ActivityInput input;                           // the window's fields as they stand
    QString protsel;                               // the activity loaded (modes "M" and "A")
    bool alreadyClosed = false;     // the activity was closed or cancelled when loaded
    QList<ResourceEntry> resources; // the resource list, from its first line
    bool counterFull = false;       // the counter stands at 32767: no number was proposed
    // Mode "I": the number is the one the window proposed, not one the
    // operator typed. Another desk may have given it meanwhile: then the
    // next free number is used, and the message says so.
    bool numberProposed = false;
    // The activity as the window loaded it (or last registered it), modes
    // "M" and "A": when the archives no longer hold it so (a restore or a
    // reset meanwhile), nothing is written, since its resource lines would
    // give back or hold what the registers no longer lent.
    std::optional<LoadedActivity> loaded;
    // Written with the archives of the registration, all or nothing (what
    // the window held unregistered, now registered).
    std::function<archive::IoResult()> alsoWrite;
    // The time of the platform clock: the refusals of a date or a time take
    // their example from it (the system clock's when it is not set).
    QDateTime now;
};

// The field of the activity a refusal asks to correct; none when it
// concerns no field (a resource line).
using InputField = QString ActivityInput::*;

struct RegistrationOutcome {
    enum Kind { Nothing, Refused, Inserted, Modified, Cancelled, Failed };
    Kind kind = Nothing;
    QStringList messages; // what to show, in order, once the pointer is back
    modes::Activity mode = modes::Activity::Unset; // the mode the window is in afterwards
    QString protsel;                               // the activity the window holds afterwards
    std::optional<qint16> counter;                 // the new value of the counter in memory
    QList<ResourceEntry> resources; // the resource lines with their states afterwards
    InputField field = nullptr;     // refused: the field to correct, if any
    // Inserted or modified: the fields as written, their dates and times in
    // the archive's form; the window shows them so.
    std::optional<ActivityInput> written;
};

// A refusal of the fields: the message and the field to correct.
struct Refusal {
    QString message;
    InputField field = nullptr;
};

// The first refusal of the fields before anything is written, or nothing
// when they can be registered. In this order, the first that fails only:
//  - request date: "Data richiesta mancante" when empty, then (insert and
//    modify) a real calendar date (dates::readDate); request time likewise
//    ("Ora richiesta mancante", dates::readTime);
//  - insert and modify: start date and time, end date and time, each either
//    empty or a date (time) that can be read; then the rows whole: a start
//    date needs its start time and the other way round, the same for the
//    end, and an end needs a start; then the order: request <= start <= end,
//    date and time together;
//  - "Tipo attività mancante", "Località mancante", "Richiedente attività
//    mancante";
//  - the protocol number, then (insert and modify) texts that Windows-1252
//    cannot hold.
// A wrong date or time names its field and its form, with `reg.now` as the
// example: "Data inizio errata: scrivere GG/MM/AAAA, per esempio
// 08/12/2026.". A cancellation writes only the state: its dates are not
// read, so an activity stored with odd dates can still be cancelled.
std::optional<Refusal> refusal(const Registration &reg);

// The fields with every date and time that can be read in the archive's
// form ("DD/MM/YYYY", "hh.mm"); every other text as typed.
ActivityInput normalised(const ActivityInput &in);

// Registers the activity. Resources of a closing or a cancellation are handed
// to `giveBack` (unless the activity was already closed when loaded).
RegistrationOutcome registerActivity(const archive::WorkingFolder &folder, const Registration &reg,
                                     const GiveBack &giveBack);

// The activity numbered `protsel`; nothing when the text names none.
std::optional<LoadedActivity> loadActivity(const archive::WorkingFolder &folder,
                                           const QString &protsel);

// The message for an activity that could not be found.
QString notFoundMessage(const QString &protsel);

// Whether two loadings of an activity hold the same record and the same
// resource lines with the same states.
bool sameActivity(const LoadedActivity &a, const LoadedActivity &b);

} // namespace activities
