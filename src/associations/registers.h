#pragma once

#include "archive/io.h"
#include "archive/rewrite.h"

#include <QString>
#include <QStringList>
#include <functional>

// What the three registers (associations, vehicles, equipment) share: the
// outcome of an operation on an archive, the state entries offered by the
// vehicle and equipment windows, and the fixed-column matching used by the
// list lines.
namespace registers {

struct Outcome {
    enum Status {
        Done,
        Duplicate,  // the key is already in the archive; nothing written
        NotFound,   // no record has the key; nothing written
        OutOfRange, // a whole number would leave -32768..32767; nothing written
        Failed,     // a file could not be read or written (see io)
    };
    Status status = Done;
    archive::IoResult io;

    bool done() const { return status == Done; }
    static Outcome with(Status s) { Outcome o; o.status = s; return o; }
};

// Aborted rewrites are the duplicate keys found while copying.
Outcome fromRewrite(const archive::RewriteOutcome &o);

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

// Ordered insertion by (association, description): `fields` goes just
// before the first record with a greater pair; a record with the same pair
// gives Duplicate and leaves the archive as it was, also when it stands in a
// damaged line (which otherwise keeps its place). Records for which `skip`
// answers true are left out (neither copied nor compared); a damaged line
// is never left out.
Outcome insertByPair(const archive::ArchiveSet &set, const archive::RecordFormat &format,
                     const QStringList &fields,
                     const std::function<bool(const archive::Record &)> &skip = {});

} // namespace registers
