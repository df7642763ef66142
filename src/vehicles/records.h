#pragma once

#include "archive/paths.h"
#include "archive/record.h"
#include "registers/registers.h"

#include <QDateTime>
#include <QList>
#include <QString>
#include <QStringList>
#include <optional>

// The vehicle archive (automezzi.csv): nine text fields per record, kept in
// ascending order of association and, within one association, description.
namespace vehicles {

enum Field {
    Associazione,
    Descrizione,
    Campo,
    DataArrivo,
    OraArrivo,
    DataPartenza,
    OraPartenza,
    Specializzazione,
    Stato
};

const archive::RecordFormat &format(); // 9 texts

struct Vehicle {
    QString associazione, descrizione, campo, dataarrivo, oraarrivo, datapartenza, orapartenza,
        specializzazione, stato;
    static Vehicle from(const archive::Record &r);
    static constexpr archive::Register kRegister = archive::Register::Automezzi;
    static const archive::RecordFormat &format();
};

// Identity: association and description.
using Key = registers::PairKey;

// Reading all, finding, removing, and the association cascades.
using Archive = registers::PairRegister<Vehicle>;

// What the window holds when the user registers.
struct Input {
    QString associazione, descrizione, campo, dataar, oraar, datapa, orapa, note, stato;
};

// The nine record values: texts cleaned (capitals, separators blanked),
// dates and times in the archive's form ("DD/MM/YYYY", "hh.mm") when they
// can be read (dates::readDate, dates::readTime), otherwise as typed with
// separators blanked, the state letter.
QStringList recordFields(const Input &in);

// The first check that fails: its message and the field to correct.
struct Refusal {
    QString message; // empty when the input can be registered
    Field field = Associazione;
    bool refused() const { return !message.isEmpty(); }
};

// The checks, in this order: the association; the arrival date and time
// (real calendar date and time of day, see dates::readDate and readTime);
// the departure date (none is right; not before the arrival date) and time
// (none is right; on the arrival day not before the arrival time); the
// state; texts Windows-1252 cannot hold. A wrong date or time names its form,
// with `now` as the example: "Data arrivo errata: scrivere GG/MM/AAAA, per
// esempio 08/12/2026.".
Refusal check(const Input &in, const QDateTime &now);

// Ordered insertion; an existing key gives Duplicate.
registers::Outcome insert(const archive::WorkingFolder &folder, const QStringList &fields);

// Replaces the vehicle `key` in place. No such vehicle gives NotFound; a new
// key that another vehicle already has gives Duplicate; a new key, or a state
// other than "A", for a vehicle that an activity holds is refused. Each leaves
// the archive as it was.
registers::Outcome modify(const archive::WorkingFolder &folder, const Key &key,
                          const QStringList &fields);

// Deletes the vehicle `key`; refused while an activity holds it.
registers::Outcome remove(const archive::WorkingFolder &folder, const Key &key);

// Engages the first vehicle whose association and description match the
// list columns given (padded to 50): its state "L" becomes "A". A vehicle in
// any other state is refused, naming its state and the activity that holds
// it; no match changes nothing (`matched` tells).
registers::Outcome engage(const archive::WorkingFolder &folder, const QString &associazione50,
                          const QString &descrizione50, bool *matched = nullptr);

// "A = Attivo" for "A", and so on; the letter itself when it is none of the four.
QString stateName(const QString &letter);

// Sets the state of the first vehicle whose association and description
// match the list columns given (padded to 50). No match changes nothing and
// is no failure (the vehicle was renamed or deleted meanwhile): `matched`
// tells.
registers::Outcome setState(const archive::WorkingFolder &folder, const QString &associazione50,
                            const QString &descrizione50, const QString &stato,
                            bool *matched = nullptr);

} // namespace vehicles
