#pragma once

#include "archive/io.h"
#include "archive/outcome.h"
#include "archive/paths.h"
#include "archive/record.h"
#include "registers/holdings.h"
#include "resources/lines.h"

#include <QStringList>
#include <functional>
#include <optional>

// The activity archive (attivita.csv) and the activity-resource archive
// (risorse.csv): record formats, ordering and record-level operations.
namespace activities {

const archive::RecordFormat &activityFormat(); // 12 fields, the first a number
using registers::resourceFormat;               // 6 fields, the first a number

enum ActivityField {
    NumProt,
    DataRi,
    OraRi,
    DataIn,
    OraIn,
    DataFi,
    OraFi,
    TipoAtt,
    Loc,
    Ric,
    Note,
    Stato
};
using registers::ResourceField;
using registers::RNumProt, registers::RTipo, registers::RNumero, registers::RAssociazione,
    registers::RDescrizione, registers::RStato;


// What the activity window supplies for a record.
struct ActivityInput {
    QString numprot; // as typed
    QString datari, orari, datain, orain, datafi, orafi;
    QString tipoatt, loc, ric, note;
};

// The twelve fields of the record written from the window: the protocol
// number as typed, dates and times as they stand, the four texts in capitals,
// and the state derived from the end time ("A" when empty, "C" otherwise).
// Commas, double quotes and line breaks become blanks in every text, so the
// record always reads back whole.
QStringList activityFields(const ActivityInput &in);

// The state word shown in the activity window ("Aperta", "Chiusa",
// "Annullata"); empty for any other code.
QString stateWord(const QString &code);

// What a change of the two archives reports.
using archive::Outcome;

// The highest protocol number in attivita.csv (0 when there is none).
qint16 highestNumber(const QString &attivitaPath);

// The first readable activity numbered `n`, if any.
std::optional<archive::Record> findActivity(const QString &attivitaPath, qint16 n);

// Inserts the record before the first activity with a greater number (at the
// end when there is none). An existing number gives Duplicate and leaves the
// archive as it was.
Outcome insertActivity(const archive::WorkingFolder &folder, const QStringList &fields, qint16 n);

// Removes every activity numbered `n`.
Outcome removeActivity(const archive::WorkingFolder &folder, qint16 n);

// Removes every resource line of activity `n`.
Outcome removeResources(const archive::WorkingFolder &folder, qint16 n);

// Sets the state of activity `n` to "S" (cancelled); nothing else changes.
Outcome cancelActivity(const archive::WorkingFolder &folder, qint16 n);

// The resource record cut from a 114-column list line for activity `nText`,
// with its state ("O" engaged, "L" released).
QStringList resourceFields(const QString &nText, const QString &listLine,
                           const QString &state = QStringLiteral("O"));

// Inserts one resource list line in its place among the lines of activity n
// (by type, then association, then description, both padded to 50; before an
// equal key).
Outcome insertResourceLine(const archive::WorkingFolder &folder, const QString &nText, qint16 n,
                           const QString &listLine, const QString &state = QStringLiteral("O"));

// Inserts every line in one pass over the archive, giving exactly the bytes
// that one insertResourceLine per line, in list order, gives. `states` holds
// the state of each line; lines without one are engaged ("O").
// With `replacing`, the lines of that activity are removed in the same pass:
// the bytes are those of removeResources(replacing) followed by the insert.
Outcome insertResourceLines(const archive::WorkingFolder &folder, const QString &nText, qint16 n,
                            const QStringList &listLines, const QStringList &states = {},
                            std::optional<qint16> replacing = std::nullopt);

// Removes activity `replacing` and inserts the record of activity `n` in one
// pass, giving the bytes of removeActivity followed by insertActivity; the
// archive is untouched when it fails. Without `replacing` it only inserts.
Outcome replaceActivity(const archive::WorkingFolder &folder, const QStringList &fields, qint16 n,
                        std::optional<qint16> replacing);

// The list line rebuilt from a resource record (114 columns).
QString resourceListLine(const archive::Record &r);

// The four parts of a record of risorse.csv.
resources::Resource resourceOf(const archive::Record &r);

// The list lines of activity `n`, in file order.
QStringList resourceLinesOf(const QString &risorsePath, qint16 n);

// Called for each resource given back at release, with the record as read;
// false when the resource could not go back to its register.
using GiveBack = std::function<bool(const archive::Record &resource)>;

// Marks every resource line of activity `n` that is not "L" as released
// ("L"); unless `alreadyClosed`, each one is handed to `giveBack` so that its
// register gets the resource back, and a line whose resource could not go
// back stays engaged ("O").
Outcome releaseResources(const archive::WorkingFolder &folder, qint16 n, bool alreadyClosed,
                         const GiveBack &giveBack);

} // namespace activities
