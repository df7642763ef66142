#pragma once

#include "archive/paths.h"
#include "archive/record.h"
#include "registers/registers.h"

#include <QList>
#include <QString>
#include <QStringList>
#include <optional>

// The equipment archive (attrezzature.csv): association, description, state
// and quantity, kept in ascending order of association and, within one
// association, description.
namespace equipment {

enum Field { Associazione, Descrizione, Stato, Quantita };

const archive::RecordFormat &format(); // 4 fields, the last a number

struct Item {
    QString associazione, descrizione, stato;
    qint16 quantita = 0;
    static Item from(const archive::Record &r);
    static constexpr archive::Register kRegister = archive::Register::Attrezzature;
    static const archive::RecordFormat &format();
};

// Identity: association and description.
using Key = registers::PairKey;

// Reading all, finding, removing, and the association cascades.
using Archive = registers::PairRegister<Item>;

// What the window holds when the user registers.
struct Input {
    QString associazione, descrizione, stato, qta;
};

// The four record values: association and description cleaned (capitals,
// separators blanked), the state letter, the quantity as typed.
QStringList recordFields(const Input &in);

// The message of the first check that fails, empty when the input can be
// registered. The quantity must be a whole number from -32768 to 32767.
QString check(const Input &in);

// Ordered insertion; an existing key gives Duplicate.
registers::Outcome insert(const archive::WorkingFolder &folder, const QStringList &fields);

// Drops the record `key` (if any) and inserts the new values at their place;
// a new key that another record has gives Duplicate and changes nothing, as
// does a new key for equipment an activity holds (refused).
registers::Outcome modify(const archive::WorkingFolder &folder, const Key &key,
                          const QStringList &fields);

// Engaging pieces: the quantity of the first record whose association and
// description match the list columns given (padded to 50) falls by `pieces`;
// at 0 the state becomes "A". Giving back: it rises by `pieces`; the state
// becomes "A" at 0 and "L" otherwise. A quantity that would leave the 16-bit
// range gives OutOfRange and changes nothing; no match changes nothing and
// is no failure (`matched` tells).
// With `onlyAvailable`, more pieces than the record holds are refused,
// saying how many there are.
registers::Outcome engage(const archive::WorkingFolder &folder, const QString &associazione50,
                          const QString &descrizione50, int pieces, bool *matched = nullptr,
                          bool onlyAvailable = false);

// Deletes the record `key`; refused while an activity holds it.
registers::Outcome remove(const archive::WorkingFolder &folder, const Key &key);
registers::Outcome giveBack(const archive::WorkingFolder &folder, const QString &associazione50,
                            const QString &descrizione50, int pieces, bool *matched = nullptr);

} // namespace equipment
