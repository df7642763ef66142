#pragma once

#include "archive/paths.h"
#include "archive/record.h"
#include "registers/registers.h"

#include <QList>
#include <QString>
#include <QStringList>
#include <optional>

// The association archive (associazioni.csv): ten fields per record, the
// name first (the key, ascending order), the two volunteer counts last. Every
// other register names its association by this name.
namespace associations {

enum Field {
    Denominazione,
    Indirizzo,
    Comune,
    Provincia,
    Telefono,
    Fax,
    Email,
    Campo,
    Volontari,
    VolontariTotali
};

const archive::RecordFormat &format();          // 10 fields, the last two numbers
const archive::RecordFormat &volunteerFormat(); // volontari.csv: 10 texts

struct Association {
    QString denominazione, indirizzo, comune, provincia, telefono, fax, email, campo;
    qint16 volontari = 0, volontaritotali = 0;
    static Association from(const archive::Record &r);
};

// Readable records, in file order (a missing archive reads as empty).
QList<Association> readAll(const QString &path);

// The first association named exactly `name`.
std::optional<Association> find(const QString &path, const QString &name);

// The first association whose name, padded or cut to 50 characters, equals
// `text50` padded or cut the same way (a line of the association list).
std::optional<Association> findByColumn(const QString &path, const QString &text50);

bool exists(const QString &path, const QString &name);

// The names containing `search` in capitals, in file order, without empty
// names and without a name equal to the one listed just before it.
QStringList matchingNames(const QString &path, const QString &search);

// Every name in file order, as stored (empty names included).
QStringList allNames(const QString &path);

// What the window holds when the user registers.
struct Input {
    QString denominazione, indirizzo, comune, provincia, telefono, fax, email, campo;
    QString numvol; // as typed
};

// The eight texts in capitals with commas, double quotes and line breaks
// blanked; the name also loses the blanks at its ends. The number stays as
// typed.
Input cleaned(const Input &in);

// The message of the first check that fails on a cleaned input, empty when
// it can be registered.
QString check(const Input &in);

// The ten record values: the eight texts, then the number as typed, twice.
QStringList recordFields(const Input &in);

// Ordered insertion; an existing name gives Duplicate.
registers::Outcome insert(const archive::WorkingFolder &folder, const QStringList &fields);

// Replaces the association `oldName` with the new values, placed by name.
// A new name that another association has gives Duplicate and changes
// nothing. A new name is carried into the volunteers, vehicles and
// equipment of the association and into the resource lines that name it
// first.
registers::Outcome modify(const archive::WorkingFolder &folder, const QString &oldName,
                          const QStringList &fields);

// The volunteers, vehicles and equipment of `from` pass to `to`.
registers::Outcome renameDependents(const archive::WorkingFolder &folder, const QString &from,
                                    const QString &to);

// Only the volunteer archive: field 1 of every record of `from` becomes `to`.
registers::Outcome renameVolunteers(const archive::WorkingFolder &folder, const QString &from,
                                    const QString &to);

// Deletes the association `name` with its equipment and vehicles; refused
// while activities hold any of them (deleteRefusal). When the
// name field holds another text (`nameField`), the association's remaining
// dependents (its volunteers) pass to it first. No association `name` gives
// NotFound and changes nothing.
registers::Outcome remove(const archive::WorkingFolder &folder, const QString &name,
                          const QString &nameField);

// The refusal of deleting association `name` while activities hold its
// volunteers, vehicles or equipment (empty when it may be deleted).
QString deleteRefusal(const archive::WorkingFolder &folder, const QString &name);

// Changes `volontari` of the first association matching the list column
// (padded to 50) by `delta`; a count leaving the 16-bit range gives
// OutOfRange and changes nothing; no match changes nothing (`matched` tells).
// With `onlyAvailable`, taking more volunteers than the record holds is
// refused, saying how many there are.
registers::Outcome adjustVolunteers(const archive::WorkingFolder &folder, const QString &text50,
                                    int delta, bool *matched = nullptr, bool onlyAvailable = false);

} // namespace associations
