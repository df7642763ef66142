#include "vehicles/records.h"

#include "archive/rewrite.h"
#include "dates/dates.h"
#include "archive/text.h"
#include "registers/holdings.h"

using archive::Record;
using archive::RecordSink;
using archive::Step;
using registers::Outcome;

namespace vehicles {

const archive::RecordFormat &format()
{
    static const archive::RecordFormat f{9, {}};
    return f;
}

const archive::RecordFormat &Vehicle::format() { return vehicles::format(); }

Vehicle Vehicle::from(const Record &r)
{
    return {r.at(Associazione), r.at(Descrizione),      r.at(Campo),
            r.at(DataArrivo),   r.at(OraArrivo),        r.at(DataPartenza),
            r.at(OraPartenza),  r.at(Specializzazione), r.at(Stato)};
}

namespace {

Key keyOf(const QStringList &fields) { return {fields.at(Associazione), fields.at(Descrizione)}; }

QString vehicleText(const Key &key)
{
    return registers::pairText(QStringLiteral("l'automezzo"), key);
}

// The diary's line of a change of the vehicle `from`, now `to`.
QString changedText(const Key &from, const Key &to)
{
    if (from == to) return QStringLiteral("Modificato %1.").arg(vehicleText(from));
    return QStringLiteral("Rinominato %1 > %2 dell'associazione %3.")
        .arg(vehicleText(from), to.descrizione, to.associazione);
}

QString departureBefore(const QString &departure, const QString &arrival)
{
    return QStringLiteral("La partenza (%1) precede l'arrivo (%2).").arg(departure, arrival);
}

} // namespace

QStringList recordFields(const Input &in)
{
    using registers::keyText;
    using registers::recordText;
    return {keyText(in.associazione),
            keyText(in.descrizione),
            recordText(in.campo),
            text::blankSeparators(dates::normalDate(in.dataar)),
            text::blankSeparators(dates::normalTime(in.oraar)),
            text::blankSeparators(dates::normalDate(in.datapa)),
            text::blankSeparators(dates::normalTime(in.orapa)),
            recordText(in.note),
            registers::stateLetter(in.stato)};
}

Refusal check(const Input &in, const QDateTime &now)
{
    const QStringList f = recordFields(in);
    if (f.at(Associazione).isEmpty())
        return {QStringLiteral("Manca denominazione Associazione."), Associazione};
    const auto dataar = dates::readDate(in.dataar);
    if (!dataar) return {dates::wrongDate(QStringLiteral("Data arrivo"), now), DataArrivo};
    const auto oraar = dates::readTime(in.oraar);
    if (!oraar) return {dates::wrongTime(QStringLiteral("Ora arrivo"), now), OraArrivo};
    // No departure yet is right; a departure is not before the arrival.
    std::optional<QDate> datapa;
    if (!in.datapa.isEmpty()) {
        datapa = dates::readDate(in.datapa);
        if (!datapa) return {dates::wrongDate(QStringLiteral("Data partenza"), now), DataPartenza};
        if (*datapa < *dataar)
            return {departureBefore(dates::dateText(*datapa), dates::dateText(*dataar)),
                    DataPartenza};
    }
    if (!in.orapa.isEmpty()) {
        const auto orapa = dates::readTime(in.orapa);
        if (!orapa) return {dates::wrongTime(QStringLiteral("Ora partenza"), now), OraPartenza};
        if (datapa == dataar && *orapa < *oraar)
            return {departureBefore(dates::momentText(*datapa, *orapa),
                                    dates::momentText(*dataar, *oraar)),
                    OraPartenza};
    }
    if (in.stato.isEmpty()) return {QStringLiteral("Manca stato."), Stato};
    if (!registers::isStateLetter(f.at(Stato)))
        return {QStringLiteral("Stato non previsto."), Stato};
    for (int i = 0; i < f.size(); ++i) {
        const QString why = registers::refusalOf({f.at(i)});
        if (!why.isEmpty()) return {why, Field(i)};
    }
    return {};
}

Outcome insert(const archive::WorkingFolder &folder, const QStringList &fields)
{
    return registers::inOneChange(folder, [&] {
        return registers::toldInDiary(
            folder,
            registers::insertOrdered(folder.set(archive::Register::Automezzi), format(), fields, 2),
            QStringLiteral("Inserito %1.").arg(vehicleText(keyOf(fields))));
    });
}

namespace {

enum class HeldChange { Delete, Key, State };

// The refusal of a change that would part a vehicle held by an activity
// from what holds it (empty when nothing holds it).
QString heldRefusal(const archive::WorkingFolder &folder, const Key &key, HeldChange change)
{
    const registers::Holders h = registers::holdersOf(folder, {registers::kHeldVehicle},
                                                      key.associazione, key.descrizione);
    if (!h.any()) return {};
    const QString what = QStringLiteral("L'automezzo %1 dell'associazione %2 è impegnato %3: ")
                             .arg(key.descrizione, key.associazione, h.where());
    switch (change) {
    case HeldChange::Delete:
        return what + QStringLiteral("non può essere eliminato finché non torna libero.");
    case HeldChange::Key:
        return what
               + QStringLiteral("associazione e descrizione non possono cambiare finché non "
                                "torna libero.");
    case HeldChange::State:
        return what + QStringLiteral("il suo stato resta A = Attivo finché non torna libero.");
    }
    return {};
}

} // namespace

Outcome modify(const archive::WorkingFolder &folder, const Key &key, const QStringList &fields)
{
    // Checked and written as one change, under the folder's change lock.
    return registers::inOneChange(folder, [&]() -> Outcome {
        const Key k = keyOf(fields);
        const QString path = folder.path(archive::File::Automezzi);
        bool found = false, taken = false;
        QString state;
        // A damaged line is no record to change, but its key is taken.
        registers::eachLine(path, format(), [&](const Record &r) {
            const Key rk = registers::pairKeyOf(r);
            if (rk == key) {
                if (!found && !r.damaged) state = r.at(Stato);
                found = found || !r.damaged;
            } else if (rk == k) {
                taken = true;
            }
            return true;
        });
        if (!found) return Outcome::with(Outcome::NotFound);
        if (taken) return Outcome::with(Outcome::Duplicate);
        // A vehicle an activity holds keeps its name and its state "A" until
        // it is given back, which finds it by that name.
        if (k != key || (state == QLatin1String("A") && fields.at(Stato) != QLatin1String("A"))) {
            const QString held = heldRefusal(folder, key,
                                             k != key ? HeldChange::Key : HeldChange::State);
            if (!held.isEmpty()) return Outcome::refused(Outcome::Refused, held);
        }
        registers::toldInDiary(folder, Outcome{}, changedText(key, k));
        return registers::fromRewrite(archive::rewrite(folder.set(archive::Register::Automezzi),
                                                       format(),
                                                       [&](const Record &r, RecordSink &sink) {
                                                           if (registers::pairKeyOf(r) != key)
                                                               return Step::Keep;
                                                           sink.writeTyped(fields);
                                                           return Step::Drop;
                                                       }));
    });
}

Outcome remove(const archive::WorkingFolder &folder, const Key &key)
{
    // Checked and written as one change, under the folder's change lock.
    return registers::inOneChange(folder, [&]() -> Outcome {
        const QString held = heldRefusal(folder, key, HeldChange::Delete);
        if (!held.isEmpty()) return Outcome::refused(Outcome::Refused, held);
        return registers::toldInDiary(folder, Archive::remove(folder, key),
                                      QStringLiteral("Eliminato %1.").arg(vehicleText(key)));
    });
}

Outcome engage(const archive::WorkingFolder &folder, const QString &associazione50,
               const QString &descrizione50, bool *matched)
{
    QString found;
    const Outcome o = registers::changeFirstPair(
        folder.set(archive::Register::Automezzi), format(), associazione50, descrizione50,
        [&](Record &changed) {
            found = changed.fields[Stato];
            if (found != QLatin1String("L")) return false;
            changed.fields[Stato] = QStringLiteral("A");
            return true;
        },
        matched);
    if (o.status != Outcome::OutOfRange) return o;
    // Only a free vehicle is engaged: one held by an activity would be freed
    // by the first of the two to close.
    const QString description = text::fit(descrizione50, registers::kColumn).trimmed();
    const QString association = text::fit(associazione50, registers::kColumn).trimmed();
    QString why = QStringLiteral("L'automezzo %1 dell'associazione %2 non è libero (stato %3")
                      .arg(description, association, stateName(found));
    const registers::Holders h = registers::holdersOf(folder, {registers::kHeldVehicle},
                                                      associazione50, descrizione50);
    if (h.any()) why += QStringLiteral(", impegnato ") + h.where();
    return Outcome::refused(Outcome::Refused, why + QStringLiteral("): non può essere aggiunto."));
}

QString stateName(const QString &letter)
{
    for (const QString &entry : registers::stateEntries())
        if (entry.startsWith(letter + QLatin1Char(' ')) && !letter.isEmpty()) return entry;
    return letter.isEmpty() ? QStringLiteral("vuoto") : letter;
}

Outcome setState(const archive::WorkingFolder &folder, const QString &associazione50,
                 const QString &descrizione50, const QString &stato, bool *matched)
{
    return registers::changeFirstPair(
        folder.set(archive::Register::Automezzi), format(), associazione50, descrizione50,
        [&](Record &changed) {
            changed.fields[Stato] = stato;
            return true;
        },
        matched);
}

} // namespace vehicles
