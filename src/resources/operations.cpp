#include "resources/operations.h"

#include "archive/rewrite.h"
#include "archive/text.h"
#include "associations/records.h"
#include "registers/holdings.h"
#include "registers/listlines.h"
#include "equipment/records.h"
#include "vehicles/records.h"

using archive::File;

namespace resources {

namespace {

// `matched` false: the record was not found, which changed nothing.
Outcome told(const Outcome &o, const QString &outOfRange, bool matched = true)
{
    if (o.done() && !matched) return Outcome::with(Outcome::NotFound);
    if (o.status == Outcome::OutOfRange) return Outcome::refused(Outcome::OutOfRange, outOfRange);
    if (o.status == Outcome::Duplicate) return Outcome::failed(o.io);
    return o;
}

QString equipmentRange(bool engaging)
{
    return engaging ? QStringLiteral("La quantità dell'attrezzatura uscirebbe dai limiti da -32768 "
                                     "a 32767: la risorsa non è stata aggiunta.")
                    : QStringLiteral("La quantità dell'attrezzatura uscirebbe dai limiti da -32768 "
                                     "a 32767: la risorsa non è stata restituita.");
}

QString volunteersRange(bool engaging)
{
    return engaging ? QStringLiteral("Il numero dei volontari dell'associazione uscirebbe dai "
                                     "limiti da -32768 a 32767: la risorsa non è stata aggiunta.")
                    : QStringLiteral("Il numero dei volontari dell'associazione uscirebbe dai "
                                     "limiti da -32768 a 32767: la risorsa non è stata restituita.");
}

// A quantity that is no number gives nothing back.
Outcome damagedQuantity(const QString &numero)
{
    return Outcome::refused(
        Outcome::Refused,
        QStringLiteral("La quantità \"%1\" non è un numero: la risorsa non è stata restituita.")
            .arg(numero.trimmed()));
}

// The give-back of one resource by its type, quantity text, association
// and description (the two texts as stored or cut from the line); with
// `retake`, the opposite: the resource is taken again.
Outcome giveBack(const archive::WorkingFolder &folder, const QString &tipo, const QString &numero,
                 const QString &association, const QString &description, bool retake = false)
{
    bool matched = false;
    if (tipo == kTypeAttr) {
        const auto pieces = text::parseNumber(numero);
        if (!pieces) return damagedQuantity(numero);
        const Outcome o =
            retake ? equipment::engage(folder, association, description, *pieces, &matched)
                   : equipment::giveBack(folder, association, description, *pieces, &matched);
        return told(o, equipmentRange(retake), matched);
    }
    if (tipo == kTypeAuto) {
        // A vehicle is taken again only for a line that still holds it: the
        // activity may have been closed or cancelled meanwhile by another
        // desk, which released the line.
        if (retake
            && registers::holdersOf(folder, {registers::kHeldVehicle}, association, description)
                   .activities.isEmpty())
            return {};
        const Outcome o = vehicles::setState(folder, association, description,
                                             retake ? QStringLiteral("A") : QStringLiteral("L"),
                                             &matched);
        return told(o, {}, matched);
    }
    if (tipo == kTypeVol) {
        const auto count = text::parseNumber(numero);
        if (!count) return damagedQuantity(numero);
        const Outcome o = associations::adjustVolunteers(folder, association,
                                                         retake ? -int(*count) : int(*count),
                                                         &matched);
        return told(o, volunteersRange(retake), matched);
    }
    return {};
}

} // namespace

QStringList volunteerNames(const QString &volontariPath, const QString &association50)
{
    QStringList names;
    archive::readRecords(volontariPath, associations::volunteerFormat(),
                         [&](const archive::Record &r) {
                             if (registers::sameColumn(r.at(0), association50))
                                 names << r.at(1) + QLatin1Char(' ') + r.at(2);
                             return true;
                         });
    return names;
}

Outcome engage(const archive::WorkingFolder &folder, ResourceKind kind, const QString &rigarisorsa,
               qint16 q)
{
    const QString association = registers::listAssociation(rigarisorsa);
    const QString description = registers::listDescription(rigarisorsa);
    bool matched = false;
    Outcome o;
    QString outOfRange;
    // Never more than is available, and a vehicle only when it is free.
    switch (kind) {
    case ResourceKind::Equipment:
        o = equipment::engage(folder, association, description, q, &matched, true);
        outOfRange = equipmentRange(true);
        break;
    case ResourceKind::Vehicle: {
        // Given back by another desk that has not registered it: that desk
        // may still take it again for its activity.
        const QStringList desks = registers::vehicleGivenBackElsewhere(folder, association,
                                                                       description);
        if (!desks.isEmpty())
            return Outcome::refused(
                Outcome::Refused,
                QStringLiteral("L'automezzo %1 dell'associazione %2 è stato tolto da un'attività "
                               "nella finestra Attività della postazione %3, che non l'ha ancora "
                               "registrata: non può essere aggiunto finché quella postazione non "
                               "registra o abbandona l'attività.")
                    .arg(text::fit(description, 50).trimmed(), text::fit(association, 50).trimmed(),
                         desks.join(QStringLiteral(", "))));
        o = vehicles::engage(folder, association, description, &matched);
        break;
    }
    case ResourceKind::Association:
        o = associations::adjustVolunteers(folder, association, -int(q), &matched, true);
        outOfRange = volunteersRange(true);
        break;
    }
    return told(o, outOfRange, matched);
}

bool knownType(const QString &tipo)
{
    return tipo == kTypeAttr || tipo == kTypeAuto || tipo == kTypeVol || tipo == kTypeNamed;
}

bool holdsRegister(const QString &tipo)
{
    return tipo == kTypeAttr || tipo == kTypeAuto || tipo == kTypeVol;
}

Outcome giveBackLine(const archive::WorkingFolder &folder, const QString &line)
{
    const Resource r = partsOf(line);
    return giveBack(folder, r.tipo, r.numero, r.associazione, r.descrizione);
}

Outcome retakeLine(const archive::WorkingFolder &folder, const QString &line)
{
    const Resource r = partsOf(line);
    return giveBack(folder, r.tipo, r.numero, r.associazione, r.descrizione, true);
}

QString describeLine(const QString &line)
{
    const Resource r = partsOf(line);
    const QString &tipo = r.tipo;
    const QString association = r.associazione.trimmed();
    const QString description = r.descrizione.trimmed();
    if (tipo == kTypeAttr)
        return QStringLiteral("attrezzatura %1 dell'associazione %2").arg(description, association);
    if (tipo == kTypeAuto)
        return QStringLiteral("automezzo %1 dell'associazione %2").arg(description, association);
    return QStringLiteral("volontari dell'associazione %1").arg(association);
}

Outcome giveBackRecord(const archive::WorkingFolder &folder, const Resource &resource,
                       const QString &numprot)
{
    Outcome o = giveBack(folder, resource.tipo, resource.numero, resource.associazione,
                         resource.descrizione);
    if (!ok(o)) {
        // At release the user is told which line stays engaged.
        QStringList named;
        for (const QString *f :
             {&resource.tipo, &resource.numero, &resource.associazione, &resource.descrizione})
            if (!f->trimmed().isEmpty()) named << f->trimmed();
        o = Outcome::refused(Outcome::Refused,
                             archive::messageOf(o)
                                 + QStringLiteral(" La riga \"%1\" dell'attività %2 resta impegnata.")
                                       .arg(named.join(QLatin1Char(' ')), numprot.trimmed()));
    }
    return o;
}

} // namespace resources
