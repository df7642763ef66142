#include "counts.h"

#include "activities/records.h"
#include "archive/rewrite.h"
#include "archive/text.h"
#include "associations/records.h"
#include "equipment/records.h"
#include "registers/holdings.h"
#include "resources/unregistered.h"
#include "vehicles/records.h"

#include <QSet>

namespace counts {

using archive::File;
using archive::Record;

QString key(const QString &a, const QString &d) { return text::fit(a, 50) + text::fit(d, 50); }

Held held(const archive::WorkingFolder &folder)
{
    Held h;
    auto add = [&](const QString &tipo, const QString &a, const QString &d, int n) {
        if (tipo == registers::kHeldEquipment) h.pieces[key(a, d)] += n;
        else if (tipo == registers::kHeldVehicle) h.vehicles[key(a, d)] += n > 0 ? 1 : -1;
        else if (tipo == registers::kHeldVolunteers) h.volunteers[key(a)] += n;
    };
    archive::readRecords(folder.path(File::Risorse), registers::resourceFormat(), [&](const Record &r) {
        if (r.at(registers::RStato) != "L")
            add(r.at(registers::RTipo), r.at(registers::RAssociazione), r.at(registers::RDescrizione),
                r.at(registers::RNumero).trimmed().toInt());
        return true;
    });
    for (const auto &u : resources::readUnregistered(folder)) {
        const auto p = resources::partsOf(u.line);
        add(p.tipo, p.associazione, p.descrizione, (u.givenBack ? -1 : 1) * p.numero.trimmed().toInt());
    }
    return h;
}

Owned standing(const archive::WorkingFolder &folder)
{
    const Held h = held(folder);
    Owned o;
    for (const auto &a : associations::readAll(folder.path(File::Associazioni)))
        o.volunteers[key(a.denominazione)] = a.volontari + h.volunteers.value(key(a.denominazione));
    for (const auto &e : equipment::Archive::readAll(folder.path(File::Attrezzature)))
        o.pieces[key(e.associazione, e.descrizione)] = e.quantita + h.pieces.value(key(e.associazione, e.descrizione));
    return o;
}

QString broken(const archive::WorkingFolder &folder, const Owned &owned)
{
    Held h = held(folder);
    QStringList wrong;
    auto balance = [&](const QString &what, const QString &k, int available, QMap<QString, int> &heldOf,
                       const QMap<QString, int> &ownedOf) {
        const int held = heldOf.take(k);
        if (!ownedOf.contains(k)) wrong << what + " non prevista: " + k.simplified();
        else if (available + held != ownedOf[k])
            wrong << QString("%1 %2: disponibili %3 + impegnati %4 != %5").arg(what, k.simplified()).arg(available).arg(held).arg(ownedOf[k]);
    };
    QSet<QString> present;
    for (const auto &a : associations::readAll(folder.path(File::Associazioni))) {
        present << key(a.denominazione);
        balance("associazione", key(a.denominazione), a.volontari, h.volunteers, owned.volunteers);
    }
    for (const auto &e : equipment::Archive::readAll(folder.path(File::Attrezzature))) {
        present << key(e.associazione, e.descrizione);
        balance("attrezzatura", key(e.associazione, e.descrizione), e.quantita, h.pieces, owned.pieces);
    }
    for (const auto &v : vehicles::Archive::readAll(folder.path(File::Automezzi))) {
        const int n = h.vehicles.take(key(v.associazione, v.descrizione));
        if (n > 1 || n < 0 || (v.stato == "A") != (n == 1))
            wrong << QString("automezzo %1 %2 stato %3 impegnato %4 volte").arg(v.associazione, v.descrizione, v.stato).arg(n);
    }
    for (const QString &k : owned.volunteers.keys() + owned.pieces.keys())
        if (!present.contains(k)) wrong << "record scomparso: " + k.simplified();
    for (const auto *left : {&h.volunteers, &h.pieces, &h.vehicles})
        for (auto it = left->begin(); it != left->end(); ++it)
            if (it.value() != 0) wrong << "impegnato senza record: " + it.key().simplified();
    QMap<qint16, QString> states; // activity -> state
    int stored = 0;
    archive::readRecords(folder.path(File::Attivita), activities::activityFormat(), [&](const Record &r) {
        return ++stored, states.insert(r.number(activities::NumProt), r.at(activities::Stato)), true;
    });
    if (states.size() != stored) wrong << "numeri di protocollo ripetuti";
    archive::readRecords(folder.path(File::Risorse), registers::resourceFormat(), [&](const Record &r) {
        if (r.at(registers::RStato) != "L" && states.value(r.number(registers::RNumProt)) != "A")
            wrong << "riga impegnata di un'attività non aperta: " + r.raw;
        return true;
    });
    return wrong.join("\n");
}

} // namespace counts
