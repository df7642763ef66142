#include "killops.h"

#include "activities/records.h"
#include "app/snapshot.h"
#include "archive/io.h"
#include "archive/text.h"
#include "associations/records.h"
#include "equipment/records.h"
#include "vehicles/records.h"

#include <QDir>

namespace killops {

using archive::Register;

namespace {

constexpr int kSeedAssociations = 300;

QString seedName(int i) { return QStringLiteral("ASSOCIAZIONE B%1").arg(i, 4, 10, QLatin1Char('0')); }
QString cycleName(int c) { return QStringLiteral("ASSOCIAZIONE C%1").arg(c, 4, 10, QLatin1Char('0')); }
QString renamed(int c) { return QStringLiteral("ASSOCIAZIONE D%1").arg(c, 4, 10, QLatin1Char('0')); }
qint16 cycleActivity(int c) { return qint16(1000 + c); }

QByteArray lines(const QStringList &records)
{
    QByteArray out;
    for (const QString &r : records) out += r.toLatin1() + "\r\n";
    return out;
}

QString resourceLine(const QString &type, int qty, const QString &ass, const QString &des)
{
    return text::fit(type, 4) + QStringLiteral("  ") + text::alignRight(QString::number(qty), 5)
           + QStringLiteral("   ") + text::fit(ass, 50) + text::fit(des, 50);
}

} // namespace

const char *kindName(int kind)
{
    static const char *const names[] = {
        "inserimento associazione", "inserimento automezzo", "inserimento attrezzatura",
        "inserimento attività", "istantanea", "impegno attrezzatura", "ripristino istantanea",
        "rinomina associazione", "ripristino da copia", "rilascio risorse",
        "eliminazione associazione", "annullamento attività"};
    return kind >= 0 && kind < KindCount ? names[kind] : "?";
}

QString stepFile(const archive::WorkingFolder &folder)
{
    return QDir(folder.dir()).filePath(QStringLiteral("killworker.step"));
}

QString backupFile(const archive::WorkingFolder &folder)
{
    return QDir(folder.dir()).filePath(QStringLiteral("copia-automezzi.bak"));
}

void seed(const archive::WorkingFolder &folder)
{
    QStringList ass, veh, equ, att, ris, vol, backup;
    for (int i = 0; i < kSeedAssociations; ++i) {
        const QString n = seedName(i);
        ass << QStringLiteral("%1,VIA ROMA %2,COMUNE,PR,0123,0456,MAIL@ASS.IT,CAMPO 1, 40 , 40 ").arg(n).arg(i);
        for (int k = 0; k < 4; ++k) {
            veh << QStringLiteral("%1,MEZZO %2,CAMPO,01/03/2025,08.00,,,FUORISTRADA,L").arg(n).arg(k);
            equ << QStringLiteral("%1,ATTREZZO %2,L, 50 ").arg(n).arg(k);
            if (i % 2) backup << veh.last();
        }
        vol << QStringLiteral("%1,ROSSI %2,MARIO,,,,,,,").arg(n).arg(i) << QStringLiteral("%1,BIANCHI %2,LUCA,,,,,,,").arg(n).arg(i);
        const int prot = i + 1;
        att << QStringLiteral(" %1 ,01/03/2025,09.00,,,,,SOCCORSO,LUOGO %1,SALA OPERATIVA,,A").arg(prot);
        for (int k = 0; k < 4; ++k)
            ris << QStringLiteral(" %1 ,ATTR,     2,%2,ATTREZZO %3,O").arg(prot).arg(n).arg(k);
    }
    // Volunteers wait for the associations the cycles add, so that each
    // rename carries some into the new name.
    for (int c = 0; c < 1000; ++c) vol << QStringLiteral("%1,VERDI %2,ANNA,,,,,,,").arg(cycleName(c)).arg(c);
    using F = archive::File;
    for (const auto &[f, records] : {std::pair{F::Associazioni, ass}, {F::Automezzi, veh}, {F::Attrezzature, equ},
                                     {F::Attivita, att}, {F::Risorse, ris}, {F::Volontari, vol},
                                     {F::NumeroProt, QStringList{"300"}}, {F::Emergenza, QStringList{"PROVA"}}})
        archive::replaceFile(folder.path(f), lines(records));
    archive::replaceFile(backupFile(folder), lines(backup));
    for (Register r : {Register::Associazioni, Register::Automezzi, Register::Attrezzature,
                       Register::Attivita, Register::Risorse})
        snapshot::copiainsav(folder, r);
}

bool run(const archive::WorkingFolder &folder, int step)
{
    const int c = step / KindCount;
    const QString name = cycleName(c);
    const qint16 n = cycleActivity(c);
    const QString nText = QString::number(n);
    const Register registers3[] = {Register::Associazioni, Register::Attrezzature, Register::Automezzi};
    switch (kindOf(step)) {
    case InsertAssociation: {
        associations::Input in{name, "Via Nuova, 1", "Comune", "pr", "011", {}, {}, "campo", "12"};
        return associations::insert(folder, associations::recordFields(associations::cleaned(in))).done();
    }
    case InsertVehicle: {
        vehicles::Input in{name, "ambulanza", "campo", "02/03/2025", "10.00", {}, {}, "sanitario", "L"};
        return vehicles::insert(folder, vehicles::recordFields(in)).done();
    }
    case InsertEquipment: {
        return equipment::insert(folder, equipment::recordFields({name, "tenda", "L", "10"})).done();
    }
    case InsertActivity: {
        const activities::ActivityInput in{nText, "03/03/2025", "09.05", {}, {}, {}, {}, "ricerca", "bosco", "sindaco", {}};
        return activities::insertActivity(folder, activities::activityFields(in), n).done()
               && activities::insertResourceLines(folder, nText, n,
                                                  {resourceLine("ATTR", 3, name, "TENDA"),
                                                   resourceLine("AUTO", 1, name, "AMBULANZA"),
                                                   resourceLine("VOL.", 4, name, {})})
                      .done();
    }
    case Snapshot:
        for (Register r : registers3)
            if (!snapshot::copiainsav(folder, r).ok()) return false;
        return true;
    case Engage:
        return equipment::engage(folder, name, QStringLiteral("TENDA"), 3).done();
    case Rollback:
        for (Register r : registers3)
            if (!snapshot::copiadasav(folder, r).ok()) return false;
        return true;
    case RenameAssociation: {
        associations::Input in{renamed(c), "Via Altra", "Comune", "pr", {}, {}, {}, {}, "7"};
        return associations::modify(folder, name, associations::recordFields(associations::cleaned(in))).done();
    }
    case Restore:
        return archive::copyLines(backupFile(folder), folder.path(archive::File::Automezzi)).ok();
    case ReleaseResources:
        return activities::releaseResources(folder, n, false, [&](const archive::Record &r) {
                   if (r.at(activities::RTipo) == QLatin1String("ATTR"))
                       equipment::giveBack(folder, r.at(activities::RAssociazione),
                                           r.at(activities::RDescrizione),
                                           r.number(activities::RNumero));
                   return true;
               })
            .done();
    case RemoveAssociation:
        return associations::remove(folder, renamed(c), renamed(c)).done();
    case CancelActivity:
        return activities::cancelActivity(folder, n).done();
    }
    return false;
}

} // namespace killops
