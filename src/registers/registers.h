#pragma once

#include "archive/io.h"
#include "archive/outcome.h"
#include "archive/rewrite.h"

#include <QString>
#include <QStringList>
#include <QList>
#include <functional>
#include <optional>

// What the three registers (associations, vehicles, equipment) share: the
// outcome of their operations, the state entries offered by the vehicle and
// equipment windows, and the fixed-column matching used by the list lines.
namespace registers {

using archive::fromRewrite;
using archive::Outcome;

// Runs the steps in order and stops at the first that does not end well.
template <class... Steps> Outcome inOrder(Steps &&...steps)
{
    Outcome last;
    ((last.done() ? (void)(last = steps()) : (void)0), ...);
    return last;
}

// Width of the association and description columns of the list lines.
constexpr int kColumn = 50;

// A stored text matches a text cut from a list line when both, padded or cut
// to the column width, are the same.
bool sameColumn(const QString &stored, const QString &fromLine);

// "A = Attivo", "B = Bloccato", "L = Libero", "R = Riposo".
const QStringList &stateEntries();

// The state letter taken from what the user typed or chose: the first
// character in capitals (empty for an empty text).
QString stateLetter(const QString &typed);

bool isStateLetter(const QString &letter);

// The record value of a text typed in a window: commas, double quotes and
// line breaks become blanks and letters capitals, so the record always reads
// back whole.
QString recordText(const QString &typed);

// The record value of a key text: as recordText, without the blanks at its
// ends, which no reader keeps (so the key compares as it will read back).
QString keyText(const QString &typed);

// The first text that Windows-1252 cannot hold gives its refusal message.
QString refusalOf(const QStringList &texts);

// Ordered insertion by the first `keyFields` fields (the association name;
// association and description): `fields` goes just before the first record
// with a greater key; a record with the same key gives Duplicate and leaves
// the archive as it was, also when it stands in a damaged line (which
// otherwise keeps its place). Records for which `skip` answers true are
// left out (neither copied nor compared); a damaged line is never left out.
// Runs `change` as one change of the folder, under its change lock: what it
// checks before writing (a record held, a key taken) still stands when it
// writes. Nothing is written unless it ends well.
Outcome inOneChange(const archive::WorkingFolder &folder, const std::function<Outcome()> &change);

// A change of a record the window loaded: made only while the record still
// reads `loaded` (as `stored` reads it now), both under the folder's change
// lock, so that a change another desk (or an activity) made meanwhile is
// never overwritten unseen; otherwise nothing is written and the outcome
// is Refused with `changed` as its reason. A record no longer there is left
// to `change` to report.
Outcome whileUnchanged(const archive::WorkingFolder &folder, const QStringList &loaded,
                       const std::function<QStringList()> &stored, const QString &changed,
                       const std::function<Outcome()> &change);

// `o`; when it ended well, the change it belongs to tells `text` in the
// room's diary (archive/diary.h).
Outcome toldInDiary(const archive::WorkingFolder &folder, const Outcome &o, const QString &text);

Outcome insertOrdered(const archive::ArchiveSet &set, const archive::RecordFormat &format,
                      const QStringList &fields, int keyFields,
                      const std::function<bool(const archive::Record &)> &skip = {});

} // namespace registers

// Record operations shared by the archives whose records start with the
// association name and a description (vehicles, equipment).
namespace registers {

// The descriptions (field 2) of the records of `associazione` (field 1,
// exact text), in file order.
QStringList descriptionsOf(const QString &path, const archive::RecordFormat &format,
                           const QString &associazione);

// Hands every line of an archive to `each` as a record, damaged lines
// included (their texts still read; empty lines are left out), for the
// duplicate checks: a key kept in a damaged line is taken all the same.
// `each` returns false to stop.
void eachLine(const QString &path, const archive::RecordFormat &format,
              const std::function<bool(const archive::Record &)> &each);

// Whether some record belongs to `associazione`.
bool anyOf(const QString &path, const archive::RecordFormat &format, const QString &associazione);

// Field 1 of every record of `from` becomes `to`; the rest is copied.
Outcome renameAssociation(const archive::ArchiveSet &set, const archive::RecordFormat &format,
                          const QString &from, const QString &to);

// Removes every record of `associazione`.
Outcome removeOfAssociation(const archive::ArchiveSet &set, const archive::RecordFormat &format,
                            const QString &associazione);

// Changes the first record whose association and description match the
// list columns given (padded to 50): `change` edits a copy of it, or answers
// false to leave the archive as it was (OutOfRange). No match changes
// nothing and is no failure: `matched` tells.
Outcome changeFirstPair(const archive::ArchiveSet &set, const archive::RecordFormat &format,
                        const QString &associazione50, const QString &descrizione50,
                        const std::function<bool(archive::Record &)> &change, bool *matched);

// Identity of a vehicle or an equipment record: association and description.
struct PairKey {
    QString associazione, descrizione;
    bool operator==(const PairKey &o) const
    {
        return associazione == o.associazione && descrizione == o.descrizione;
    }
    bool operator!=(const PairKey &o) const { return !(*this == o); }
};
PairKey pairKeyOf(const archive::Record &r);

// "l'automezzo JEEP dell'associazione ALFA" (`what` with its article).
QString pairText(const QString &what, const PairKey &key);

// The first readable record with `key`.
std::optional<archive::Record> findPair(const QString &path, const archive::RecordFormat &format,
                                        const PairKey &key);

// Removes the record `key`; NotFound (nothing written) when there is none.
Outcome removePair(const archive::ArchiveSet &set, const archive::RecordFormat &format,
                   const PairKey &key);

// The operations of such a register for its record type `T`, which gives
// `T::kRegister`, `T::format()` and `T::from(record)`.
template <class T> struct PairRegister {
    // Readable records, in file order (a missing archive reads as empty).
    static QList<T> readAll(const QString &path)
    {
        QList<T> out;
        archive::readRecords(path, T::format(), [&](const archive::Record &r) {
            out << T::from(r);
            return true;
        });
        return out;
    }
    static std::optional<T> find(const QString &path, const PairKey &key)
    {
        const auto r = findPair(path, T::format(), key);
        return r ? std::optional<T>(T::from(*r)) : std::nullopt;
    }
    // The descriptions of the records of `associazione` (exact text), in file order.
    static QStringList descriptionsOf(const QString &path, const QString &associazione)
    {
        return registers::descriptionsOf(path, T::format(), associazione);
    }
    static bool anyOf(const QString &path, const QString &associazione)
    {
        return registers::anyOf(path, T::format(), associazione);
    }
    static Outcome remove(const archive::WorkingFolder &folder, const PairKey &key)
    {
        return removePair(folder.set(T::kRegister), T::format(), key);
    }
    // The records of association `from` pass to `to`.
    static Outcome renameAssociation(const archive::WorkingFolder &folder, const QString &from,
                                     const QString &to)
    {
        return registers::renameAssociation(folder.set(T::kRegister), T::format(), from, to);
    }
    static Outcome removeOfAssociation(const archive::WorkingFolder &folder,
                                       const QString &associazione)
    {
        return registers::removeOfAssociation(folder.set(T::kRegister), T::format(), associazione);
    }
};

} // namespace registers
