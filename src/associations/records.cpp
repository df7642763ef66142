#include "associations/records.h"

#include "archive/encoding.h"
#include "archive/journal.h"
#include "archive/rewrite.h"
#include "archive/text.h"
#include "equipment/records.h"
#include "registers/holdings.h"
#include "vehicles/records.h"

#include <QFile>

using archive::Record;
using archive::RecordSink;
using archive::Step;
using registers::Outcome;

namespace associations {

const archive::RecordFormat &format()
{
    static const archive::RecordFormat f{10, {Volontari, VolontariTotali}};
    return f;
}

const archive::RecordFormat &volunteerFormat()
{
    static const archive::RecordFormat f{10, {}};
    return f;
}

Association Association::from(const Record &r)
{
    return {r.at(Denominazione), r.at(Indirizzo),
            r.at(Comune),        r.at(Provincia),
            r.at(Telefono),      r.at(Fax),
            r.at(Email),         r.at(Campo),
            r.number(Volontari), r.number(VolontariTotali)};
}

namespace {

std::optional<Association> findFirst(const QString &path,
                                     const std::function<bool(const Record &)> &match)
{
    std::optional<Association> found;
    archive::readRecords(path, format(), [&](const Record &r) {
        if (!match(r)) return true;
        found = Association::from(r);
        return false;
    });
    return found;
}

// A volunteer line, all its items, with the first one replaced.
QByteArray renamedLine(const Record &r, const QString &to)
{
    QStringList items = r.fields;
    items[0] = to;
    const QString line = items.join(QLatin1Char(','));
    bool ok = false;
    const QByteArray out = cp1252::encode(line, &ok);
    return ok ? out : line.toUtf8();
}

} // namespace

QList<Association> readAll(const QString &path)
{
    QList<Association> out;
    archive::readRecords(path, format(), [&](const Record &r) {
        out << Association::from(r);
        return true;
    });
    return out;
}

std::optional<Association> find(const QString &path, const QString &name)
{
    return findFirst(path, [&](const Record &r) { return r.at(Denominazione) == name; });
}

std::optional<Association> findByColumn(const QString &path, const QString &text50)
{
    return findFirst(path, [&](const Record &r) {
        return registers::sameColumn(r.at(Denominazione), text50);
    });
}

bool exists(const QString &path, const QString &name) { return find(path, name).has_value(); }

QStringList matchingNames(const QString &path, const QString &search)
{
    const QString wanted = text::capitals(search);
    QStringList out;
    QString last;
    archive::readRecords(path, format(), [&](const Record &r) {
        const QString &name = r.at(Denominazione);
        if (!name.isEmpty() && name != last && name.contains(wanted)) {
            out << name;
            last = name;
        }
        return true;
    });
    return out;
}

QStringList allNames(const QString &path)
{
    QStringList out;
    archive::readRecords(path, format(), [&](const Record &r) {
        out << r.at(Denominazione);
        return true;
    });
    return out;
}

Input cleaned(const Input &in)
{
    using registers::recordText;
    return {registers::keyText(in.denominazione),
            recordText(in.indirizzo),
            recordText(in.comune),
            recordText(in.provincia),
            recordText(in.telefono),
            recordText(in.fax),
            recordText(in.email),
            recordText(in.campo),
            in.numvol};
}

QStringList recordFields(const Input &in)
{
    return {in.denominazione, in.indirizzo, in.comune, in.provincia, in.telefono,
            in.fax,           in.email,     in.campo,  in.numvol,    in.numvol};
}

QString check(const Input &in)
{
    if (in.denominazione.isEmpty()) return QStringLiteral("Manca denominazione.");
    if (!text::parseNumber(in.numvol))
        return QStringLiteral("Numero volontari dell'associazione errato.");
    return registers::refusalOf(recordFields(in));
}

namespace {

// The ordered insertion of `fields`, leaving out every record named `skip`.
Outcome placeByName(const archive::WorkingFolder &folder, const QStringList &fields,
                    const std::optional<QString> &skip)
{
    std::function<bool(const Record &)> skipped;
    if (skip) skipped = [&](const Record &r) { return r.at(Denominazione) == *skip; };
    return registers::insertOrdered(folder.set(archive::Register::Associazioni), format(), fields,
                                    1, skipped);
}

// The outcome of a change over several archives, replaced together when it
// ended well.
Outcome committed(archive::Transaction &tx, const Outcome &o)
{
    if (!o.done()) return o;
    const archive::IoResult io = tx.commit();
    if (io.ok()) return o;
    Outcome failed = Outcome::with(Outcome::Failed);
    failed.io = io;
    return failed;
}

Outcome removeRecord(const archive::WorkingFolder &folder, const QString &name)
{
    return registers::fromRewrite(archive::rewrite(folder.set(archive::Register::Associazioni),
                                                   format(), [&](const Record &r, RecordSink &) {
                                                       return r.at(Denominazione) == name
                                                                  ? Step::Drop
                                                                  : Step::Keep;
                                                   }));
}

} // namespace

Outcome insert(const archive::WorkingFolder &folder, const QStringList &fields)
{
    return registers::inOneChange(folder, [&] {
        return registers::toldInDiary(
            folder, placeByName(folder, fields, std::nullopt),
            QStringLiteral("Inserita l'associazione %1.").arg(fields.at(Denominazione)));
    });
}

Outcome modify(const archive::WorkingFolder &folder, const QString &oldName, const QStringList &fields)
{
    const QString &newName = fields.at(Denominazione);
    archive::Transaction tx(folder);
    if (newName != oldName) {
        // Damaged lines too: their names are taken.
        bool taken = false;
        registers::eachLine(folder.path(archive::File::Associazioni), format(), [&](const Record &r) {
            return !(taken = r.at(Denominazione) == newName);
        });
        if (taken) return Outcome::with(Outcome::Duplicate);
        const Outcome carried = renameDependents(folder, oldName, newName);
        if (!carried.done()) return carried;
    }
    const QString told =
        newName != oldName
            ? QStringLiteral("Rinominata l'associazione %1 > %2.").arg(oldName, newName)
            : QStringLiteral("Modificata l'associazione %1.").arg(newName);
    return committed(tx, registers::toldInDiary(folder, placeByName(folder, fields, oldName), told));
}

Outcome renameVolunteers(const archive::WorkingFolder &folder, const QString &from, const QString &to)
{
    // The program never creates the volunteer archive.
    if (!QFile::exists(folder.path(archive::File::Volontari))) return {};
    // Lines of more items than a volunteer record keep their place and all
    // their items; only the first item changes.
    return registers::fromRewrite(archive::rewrite(
        folder.path(archive::File::Volontari), folder.volontariWork(), volunteerFormat(),
        [&](const Record &r, RecordSink &sink) {
            if (r.raw.isEmpty() || r.fields.value(0) != from) return Step::Keep;
            if (r.damaged) {
                sink.writeRaw(renamedLine(r, to));
            } else {
                Record renamed = r;
                renamed.fields[0] = to;
                sink.copy(renamed);
            }
            return Step::Drop;
        },
        {}, true));
}

Outcome renameDependents(const archive::WorkingFolder &folder, const QString &from, const QString &to)
{
    // An empty name is no association: nothing stands under it.
    if (from.isEmpty() || from == to) return {};
    // Vehicles and equipment are known by association and description: two
    // records under one name would share what is given back to them.
    QStringList twice;
    for (const QString &d :
         vehicles::Archive::descriptionsOf(folder.path(archive::File::Automezzi), from))
        if (vehicles::Archive::find(folder.path(archive::File::Automezzi), {to, d})) twice << d;
    for (const QString &d :
         equipment::Archive::descriptionsOf(folder.path(archive::File::Attrezzature), from))
        if (equipment::Archive::find(folder.path(archive::File::Attrezzature), {to, d})) twice << d;
    if (!twice.isEmpty())
        return Outcome::refused(
            Outcome::Refused,
            QStringLiteral("Sotto il nome %1 ci sono già automezzi o attrezzature con la stessa "
                           "descrizione di quelli dell'associazione %2 (%3): nessun archivio è "
                           "stato modificato.")
                .arg(to, from, twice.join(QStringLiteral(", "))));
    // What activities hold of the association goes back to it under its new name.
    return registers::inOrder([&] { return renameVolunteers(folder, from, to); },
                              [&] { return vehicles::Archive::renameAssociation(folder, from, to); },
                              [&] { return equipment::Archive::renameAssociation(folder, from, to); },
                              [&] { return registers::carryAssociation(folder, from, to); });
}

Outcome remove(const archive::WorkingFolder &folder, const QString &name, const QString &nameField)
{
    // Checked and written as one change, under the folder's change lock.
    archive::Transaction tx(folder);
    if (!exists(folder.path(archive::File::Associazioni), name))
        return Outcome::with(Outcome::NotFound);
    const QString held = deleteRefusal(folder, name);
    if (!held.isEmpty()) return Outcome::refused(Outcome::Refused, held);
    registers::toldInDiary(
        folder, Outcome{},
        QStringLiteral("Eliminata l'associazione %1, con %2 automezzi e %3 "
                       "attrezzature.")
            .arg(name)
            .arg(vehicles::Archive::descriptionsOf(folder.path(archive::File::Automezzi), name).size())
            .arg(equipment::Archive::descriptionsOf(folder.path(archive::File::Attrezzature), name)
                     .size()));
    return committed(tx, registers::inOrder(
                             [&] { return equipment::Archive::removeOfAssociation(folder, name); },
                             [&] { return vehicles::Archive::removeOfAssociation(folder, name); },
                             [&] {
                                 return nameField != name ? renameDependents(folder, name, nameField)
                                                          : Outcome{};
                             },
                             [&] { return removeRecord(folder, name); }));
}

QString deleteRefusal(const archive::WorkingFolder &folder, const QString &name)
{
    const registers::Holders h = registers::holdersOf(
        folder, {registers::kHeldEquipment, registers::kHeldVehicle, registers::kHeldVolunteers},
        name);
    if (!h.any()) return {};
    return QStringLiteral("L'associazione %1 ha volontari, automezzi o attrezzature impegnati %2: "
                          "non può essere eliminata finché non tornano disponibili.")
        .arg(name, h.where());
}

Outcome adjustVolunteers(const archive::WorkingFolder &folder, const QString &text50, int delta,
                         bool *matched, bool onlyAvailable)
{
    bool done = false, outOfRange = false;
    int available = -1;
    const Outcome o = registers::fromRewrite(archive::rewriteFiltered(
        folder.set(archive::Register::Associazioni), format(), archive::startingWith(text50),
        [&](const Record &r, RecordSink &sink) {
            if (done || !registers::sameColumn(r.at(Denominazione), text50)) return Step::Keep;
            done = true;
            const int v = r.number(Volontari) + delta;
            if (onlyAvailable && v < 0) {
                available = r.number(Volontari);
                return Step::Abort;
            }
            if (v < -32768 || v > 32767) {
                outOfRange = true;
                return Step::Abort;
            }
            Record changed = r;
            changed.values[Volontari] = static_cast<qint16>(v);
            sink.copy(changed);
            return Step::Drop;
        }));
    if (matched) *matched = done && o.done();
    if (outOfRange) return Outcome::with(Outcome::OutOfRange);
    if (available >= 0)
        return Outcome::refused(Outcome::Refused,
                                QStringLiteral("L'associazione %1 ha %2 volontari disponibili: non se "
                                               "ne possono impegnare %3.")
                                    .arg(text::fit(text50, registers::kColumn).trimmed())
                                    .arg(available)
                                    .arg(-delta));
    return o;
}

} // namespace associations
