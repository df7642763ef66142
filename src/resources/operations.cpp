#include "resources/operations.h"

#include "activities/records.h"
#include "archive/rewrite.h"
#include "archive/text.h"
#include "associations/records.h"
#include "equipment/records.h"
#include "vehicles/records.h"

using archive::File;
using Changed = registers::Outcome;

namespace resources {

namespace {

constexpr int kColumn = registers::kColumn;

const QString kTypeAttr = QStringLiteral("ATTR");
const QString kTypeAuto = QStringLiteral("AUTO");
const QString kTypeVol = QStringLiteral("VOL.");
const QString kTypeNamed = QStringLiteral("VOL>");

QString head(const QString &tipo, const QString &qty)
{
    return tipo + QStringLiteral("  ") + qty + QStringLiteral("   ");
}

// `matched` false: the record was not found, which changed nothing.
resources::Outcome told(const Changed &o, const QString &outOfRange, bool matched = true)
{
    switch (o.status) {
    case Changed::Done: return {true, {}, !matched};
    case Changed::NotFound: return {true, {}, true};
    case Changed::OutOfRange: return resources::Outcome::refused(outOfRange);
    case Changed::Duplicate:
    case Changed::Failed: break;
    }
    return resources::Outcome::refused(o.io.message());
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
resources::Outcome damagedQuantity(const QString &numero)
{
    return resources::Outcome::refused(
        QStringLiteral("La quantità \"%1\" non è un numero: la risorsa non è stata restituita.")
            .arg(numero.trimmed()));
}

// The give-back of one resource by its type, quantity text, association
// and description (the two texts as stored or cut from the line); with
// `retake`, the opposite: the resource is taken again.
resources::Outcome giveBack(const archive::WorkingFolder &folder, const QString &tipo,
                            const QString &numero, const QString &association,
                            const QString &description, bool retake = false)
{
    bool matched = false;
    if (tipo == kTypeAttr) {
        const auto pieces = text::parseNumber(numero);
        if (!pieces) return damagedQuantity(numero);
        const Changed o = retake ? equipment::engage(folder, association, description, *pieces, &matched)
                                 : equipment::giveBack(folder, association, description, *pieces, &matched);
        return told(o, equipmentRange(retake), matched);
    }
    if (tipo == kTypeAuto) {
        const Changed o = vehicles::setState(folder, association, description,
                                             retake ? QStringLiteral("A") : QStringLiteral("L"),
                                             &matched);
        return told(o, {}, matched);
    }
    if (tipo == kTypeVol) {
        const auto count = text::parseNumber(numero);
        if (!count) return damagedQuantity(numero);
        const Changed o = associations::adjustVolunteers(
            folder, association, retake ? -int(*count) : int(*count), &matched);
        return told(o, volunteersRange(retake), matched);
    }
    return {};
}

} // namespace

std::optional<qint16> quantity(const QString &typed)
{
    const auto q = text::parseRounded(typed);
    if (!q || *q < -9999) return std::nullopt;
    return q;
}

QString quantityRefusal()
{
    return QStringLiteral("Quantità errata: inserire un numero intero da -9999 a 32767.");
}

QString quantityColumn(qint16 q) { return text::alignRight(QString::number(q), 5); }

QString equipmentLine(const QString &listLine, qint16 q)
{
    return head(kTypeAttr, quantityColumn(q)) + listLine;
}

QString vehicleLine(const QString &listLine)
{
    return head(kTypeAuto, quantityColumn(1)) + listLine;
}

QString volunteersLine(const QString &listLine, qint16 q)
{
    return head(kTypeVol, quantityColumn(q)) + listLine.left(kColumn);
}

QString namedVolunteerLine(const QString &listLine, const QString &name)
{
    return head(kTypeNamed, quantityColumn(0)) + text::fit(listLine.left(kColumn), kColumn)
           + QLatin1Char(' ') + name;
}

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

resources::Outcome engage(const archive::WorkingFolder &folder, const QString &tiporisorsa,
                          const QString &rigarisorsa, qint16 q)
{
    const QString association = rigarisorsa.mid(0, kColumn);
    const QString description = rigarisorsa.mid(kColumn, kColumn);
    bool matched = false;
    Changed o;
    QString outOfRange;
    if (tiporisorsa == kEquipment) {
        o = equipment::engage(folder, association, description, q, &matched);
        outOfRange = equipmentRange(true);
    } else if (tiporisorsa == kVehicle) {
        o = vehicles::setState(folder, association, description, QStringLiteral("A"), &matched);
    } else if (tiporisorsa == kAssociation) {
        o = associations::adjustVolunteers(folder, association, -int(q), &matched);
        outOfRange = volunteersRange(true);
    } else {
        return {};
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

resources::Outcome giveBackLine(const archive::WorkingFolder &folder, const QString &line)
{
    const QString l = text::fit(line, activities::kResourceLineWidth);
    return giveBack(folder, l.mid(0, 4), l.mid(6, 6), l.mid(14, kColumn), l.mid(64, kColumn));
}

resources::Outcome retakeLine(const archive::WorkingFolder &folder, const QString &line)
{
    const QString l = text::fit(line, activities::kResourceLineWidth);
    return giveBack(folder, l.mid(0, 4), l.mid(6, 6), l.mid(14, kColumn), l.mid(64, kColumn),
                    true);
}

QString describeLine(const QString &line)
{
    const QString l = text::fit(line, activities::kResourceLineWidth);
    const QString tipo = l.mid(0, 4);
    const QString association = l.mid(14, kColumn).trimmed();
    const QString description = l.mid(64, kColumn).trimmed();
    if (tipo == kTypeAttr)
        return QStringLiteral("attrezzatura %1 dell'associazione %2").arg(description, association);
    if (tipo == kTypeAuto)
        return QStringLiteral("automezzo %1 dell'associazione %2").arg(description, association);
    return QStringLiteral("volontari dell'associazione %1").arg(association);
}

resources::Outcome giveBackRecord(const archive::WorkingFolder &folder,
                                  const archive::Record &resource)
{
    using namespace activities;
    Outcome o = giveBack(folder, resource.at(RTipo), resource.at(RNumero),
                         resource.at(RAssociazione), resource.at(RDescrizione));
    if (!o.ok) {
        // At release the user is told which line stays engaged.
        QStringList named;
        for (int f : {RTipo, RNumero, RAssociazione, RDescrizione})
            if (!resource.at(f).trimmed().isEmpty()) named << resource.at(f).trimmed();
        o.message += QStringLiteral(" La riga \"%1\" dell'attività %2 resta impegnata.")
                         .arg(named.join(QLatin1Char(' ')), resource.at(RNumProt).trimmed());
    }
    return o;
}

} // namespace resources
