#include "killops.h"

#include "activities/records.h"
#include "activities/registration.h"
#include "session/snapshot.h"
#include "archive/io.h"
#include "archive/journal.h"
#include "archive/rewrite.h"
#include "archive/text.h"
#include "associations/records.h"
#include "equipment/records.h"
#include "resources/operations.h"
#include "resources/unregistered.h"
#include "vehicles/records.h"

#include <QDir>
#include <QHash>
#include <functional>

namespace killops {

using archive::Register;
using archive::WorkingFolder;
using modes::Activity;

activities::GiveBack giveBackTo(const WorkingFolder &folder)
{
    return [&folder](const archive::Record &r) { return resources::ok(resources::giveBackRecord(folder, activities::resourceOf(r), r.at(activities::RNumProt))); };
}

namespace {

constexpr int kSeedAssociations = 300;
constexpr int kSeedEquipment = 52; // 50 in the register, 2 held by the seed activity
constexpr int kSeedVolunteers = 40;
constexpr int kCycleEquipment = 10;
constexpr int kCycleVolunteers = 12;
constexpr int kRenamedVolunteers = 7;

QString numbered(const char *prefix, int i) { return QString(prefix) + QStringLiteral("%1").arg(i, 4, 10, QLatin1Char('0')); }
QString seedName(int i) { return numbered("ASSOCIAZIONE B", i); }
QString cycleName(int c) { return numbered("ASSOCIAZIONE C", c); }
QString renamed(int c) { return numbered("ASSOCIAZIONE D", c); }

// The activities of cycle c: A registered and closed, E rolled back by
// copies, B rolled back record by record, D cancelled; F's resources are
// picked and left unregistered.
enum Role { A,
            B,
            D,
            E,
            F };
qint16 activityOf(int c, Role r) { return qint16(1000 + 4 * c + r); }
int linesOf(qint16 n) { return n < 1000 || (n - 1000) % 4 == A ? 4 : 2; }

QString listLine(const QString &ass, const QString &des) { return text::fit(ass, 50) + text::fit(des, 50); }

struct Pick {
    ResourceKind kind;
    QString ass, des;
    qint16 q;
    QString line() const
    {
        const QString l = listLine(ass, des);
        if (kind == ResourceKind::Equipment) return resources::equipmentLine(l, q);
        if (kind == ResourceKind::Vehicle) return resources::vehicleLine(l);
        return resources::volunteersLine(l, q);
    }
};

QList<Pick> picksOf(int c, Role role)
{
    const QString name = cycleName(c);
    const Pick tents{ResourceKind::Equipment, name, "TENDA", qint16(role == A ? 3 : role == E ? 1
                                                                                              : 2)};
    const Pick volunteers{ResourceKind::Association, name, {}, qint16(role == A ? 4 : role == E ? 2
                                                                                  : role == F   ? 3
                                                                                                : 1)};
    if (role == A)
        return {tents, {ResourceKind::Vehicle, name, "AMBULANZA", 1}, volunteers, {ResourceKind::Equipment, seedName(c % kSeedAssociations), "ATTREZZO 1", 2}};
    if (role == D) return {{ResourceKind::Equipment, seedName((c + 7) % kSeedAssociations), "ATTREZZO 2", 1}, volunteers};
    return {tents, volunteers};
}

activities::Registration registration(int c, Role role, Activity mode, bool closed = false)
{
    const QString n = QString::number(activityOf(c, role));
    activities::Registration reg;
    reg.mode = mode;
    reg.protsel = mode == Activity::I ? QString() : n;
    reg.input = {n, "03/03/2025", "09.05", "03/03/2025", "09.10", closed ? "03/03/2025" : "", closed ? "18.00" : "", "ricerca", "bosco", "sindaco", {}};
    for (const Pick &p : picksOf(c, role)) reg.resources << activities::ResourceEntry{p.line(), "O"};
    return reg;
}

bool engage(const WorkingFolder &folder, const QList<Pick> &picks)
{
    for (const Pick &p : picks)
        if (!resources::ok(resources::engage(folder, p.kind, listLine(p.ass, p.des), p.q))) return false;
    return true;
}

bool together(const WorkingFolder &folder, const std::function<bool()> &change)
{
    archive::Transaction tx(folder);
    return change() && tx.commit().ok();
}

bool pickAndRegister(const WorkingFolder &folder, int c, Role role)
{
    return together(folder, [&] {
        return engage(folder, picksOf(c, role))
               && activities::registerActivity(folder, registration(c, role, Activity::I), giveBackTo(folder)).kind
                      == activities::RegistrationOutcome::Inserted;
    });
}

bool modifyActivity(const WorkingFolder &folder, int c, Role role, Activity mode,
                    activities::RegistrationOutcome::Kind expected)
{
    return activities::registerActivity(folder, registration(c, role, mode, mode == Activity::M), giveBackTo(folder)).kind
           == expected;
}

bool copyAll(const WorkingFolder &folder, archive::IoResult (*copy)(const WorkingFolder &, Register))
{
    for (Register r : {Register::Associazioni, Register::Attrezzature, Register::Automezzi, Register::Attivita, Register::Risorse})
        if (!copy(folder, r).ok()) return false;
    return true;
}

using Outcome = activities::RegistrationOutcome;
const struct {
    const char *name;
    bool (*run)(const WorkingFolder &, int c);
} kSteps[KindCount] = {
    {"inserimento associazione con mezzi", [](const WorkingFolder &folder, int c) {
         return together(folder, [&] {
             const QString name = cycleName(c);
             associations::Input in{name, "Via Nuova, 1", "Comune", "pr", "011", {}, {}, "campo", QString::number(kCycleVolunteers)};
             vehicles::Input car{name, "ambulanza", "campo", "02/03/2025", "10.00", {}, {}, "sanitario", "L"};
             return associations::insert(folder, associations::recordFields(associations::cleaned(in))).done()
                    && vehicles::insert(folder, vehicles::recordFields(car)).done()
                    && equipment::insert(folder, equipment::recordFields({name, "tenda", "L", QString::number(kCycleEquipment)})).done();
         });
     }},
    {"registrazione attività con risorse", [](const WorkingFolder &folder, int c) { return pickAndRegister(folder, c, A); }},
    {"risorse scelte e non registrate", [](const WorkingFolder &folder, int c) {
         // Picked in the activity window and not registered: the registers
         // and sospese.dat change together.
         return together(folder, [&] {
             QList<resources::Unregistered> held;
             for (const Pick &p : picksOf(c, F)) held << resources::Unregistered{p.line(), false, 0};
             return engage(folder, picksOf(c, F)) && resources::saveUnregistered(folder, held).ok();
         });
     }},
    {"risorse non registrate rimesse", [](const WorkingFolder &folder, int) {
         return together(folder, [&] {
             return resources::undo(folder, resources::readUnregistered(folder)).failures.isEmpty()
                    && resources::saveUnregistered(folder, {}).ok();
         });
     }},
    {"istantanea", [](const WorkingFolder &folder, int) { return copyAll(folder, snapshot::copiainsav); }},
    {"registrazione da ripristinare", [](const WorkingFolder &folder, int c) {
         // Picked and registered without a snapshot of its own.
         return together(folder, [&] {
             const auto reg = registration(c, E, Activity::I);
             QStringList texts;
             for (const auto &e : reg.resources) texts << e.line;
             return engage(folder, picksOf(c, E))
                    && activities::insertActivity(folder, activities::activityFields(reg.input), activityOf(c, E)).done()
                    && activities::insertResourceLines(folder, reg.input.numprot, activityOf(c, E), texts).done();
         });
     }},
    {"ripristino delle istantanee", [](const WorkingFolder &folder, int) {
         return together(folder, [&] { return copyAll(folder, snapshot::copiadasav); });
     }},
    {"registrazione da disfare", [](const WorkingFolder &folder, int c) { return pickAndRegister(folder, c, B); }},
    {"ripristino riga per riga", [](const WorkingFolder &folder, int c) {
         return together(folder, [&] {
             const qint16 n = activityOf(c, B);
             for (const QString &line : activities::resourceLinesOf(folder.path(archive::File::Risorse), n))
                 if (!resources::ok(resources::giveBackLine(folder, line))) return false;
             return activities::removeResources(folder, n).done() && activities::removeActivity(folder, n).done();
         });
     }},
    {"chiusura attività", [](const WorkingFolder &folder, int c) { return modifyActivity(folder, c, A, Activity::M, Outcome::Modified); }},
    {"registrazione da annullare", [](const WorkingFolder &folder, int c) { return pickAndRegister(folder, c, D); }},
    {"annullamento attività", [](const WorkingFolder &folder, int c) { return modifyActivity(folder, c, D, Activity::A, Outcome::Cancelled); }},
    {"rinomina associazione", [](const WorkingFolder &folder, int c) {
         associations::Input in{renamed(c), "Via Altra", "Comune", "pr", {}, {}, {}, {}, QString::number(kRenamedVolunteers)};
         return associations::modify(folder, cycleName(c), associations::recordFields(associations::cleaned(in))).done();
     }},
    {"eliminazione associazione", [](const WorkingFolder &folder, int c) {
         return associations::remove(folder, renamed(c), renamed(c)).done();
     }},
};

} // namespace

const char *kindName(int kind) { return kind >= 0 && kind < KindCount ? kSteps[kind].name : "?"; }

bool run(const WorkingFolder &folder, int step) { return kSteps[kindOf(step)].run(folder, step / KindCount); }

QString stepFile(const WorkingFolder &folder) { return QDir(folder.dir()).filePath(QStringLiteral("killworker.step")); }

void seed(const WorkingFolder &folder)
{
    QStringList ass, veh, equ, att, ris, vol;
    for (int i = 0; i < kSeedAssociations; ++i) {
        const QString n = seedName(i);
        ass << QStringLiteral("%1,VIA ROMA %2,COMUNE,PR,0123,0456,MAIL@ASS.IT,CAMPO 1, %3 , %3 ").arg(n).arg(i).arg(kSeedVolunteers);
        for (int k = 0; k < 4; ++k) {
            veh << QStringLiteral("%1,MEZZO %2,CAMPO,01/03/2025,08.00,,,FUORISTRADA,L").arg(n).arg(k);
            equ << QStringLiteral("%1,ATTREZZO %2,L, %3 ").arg(n).arg(k).arg(kSeedEquipment - 2);
            ris << QStringLiteral(" %1 ,ATTR,     2,%2,ATTREZZO %3,O").arg(i + 1).arg(n).arg(k);
        }
        vol << QStringLiteral("%1,ROSSI %2,MARIO,,,,,,,").arg(n).arg(i) << QStringLiteral("%1,BIANCHI %2,LUCA,,,,,,,").arg(n).arg(i);
        att << QStringLiteral(" %1 ,01/03/2025,09.00,,,,,SOCCORSO,LUOGO %1,SALA OPERATIVA,,A").arg(i + 1);
    }
    // Volunteers wait for the associations the cycles add, so that each
    // rename carries some into the new name.
    for (int c = 0; c < 1000; ++c) vol << QStringLiteral("%1,VERDI %2,ANNA,,,,,,,").arg(cycleName(c)).arg(c);
    using F = archive::File;
    for (const auto &[f, records] : {std::pair{F::Associazioni, ass}, {F::Automezzi, veh}, {F::Attrezzature, equ}, {F::Attivita, att}, {F::Risorse, ris}, {F::Volontari, vol}, {F::NumeroProt, QStringList{"300"}}, {F::Emergenza, QStringList{"PROVA"}}})
        archive::replaceFile(folder.path(f), (records.join("\r\n") + "\r\n").toLatin1());
    copyAll(folder, snapshot::copiainsav);
}

QString inconsistency(const WorkingFolder &folder)
{
    using namespace activities;
    using archive::File;
    using archive::Record;
    QHash<qint16, QString> states;
    archive::readRecords(folder.path(File::Attivita), activityFormat(), [&](const Record &r) {
        states[r.number(NumProt)] = r.at(Stato);
        return true;
    });
    QHash<qint16, int> count;
    QHash<QString, int> held; // "ATTR|ass|des", "AUTO|ass|des", "VOL.|ass"
    QString wrong;
    const auto keyOf = [](const QString &tipo, const QString &ass, const QString &des) {
        return tipo + '|' + text::fit(ass, 50) + (tipo == QLatin1String("VOL.") ? QString() : '|' + text::fit(des, 50));
    };
    archive::readRecords(folder.path(File::Risorse), resourceFormat(), [&](const Record &r) {
        const qint16 n = r.number(RNumProt);
        ++count[n];
        if (!states.contains(n)) wrong += QStringLiteral("riga di risorsa dell'attività %1 che non c'è; ").arg(n);
        if (r.at(RStato) != QLatin1String("O")) return true;
        if (states.value(n) != QLatin1String("A"))
            wrong += QStringLiteral("risorsa impegnata dall'attività %1 non aperta; ").arg(n);
        held[keyOf(r.at(RTipo), r.at(RAssociazione), r.at(RDescrizione))] += text::parseNumber(r.at(RNumero)).value_or(0);
        return true;
    });
    // Held unregistered too (given back for a deleted line).
    for (const resources::Unregistered &u : resources::readUnregistered(folder)) {
        const QString l = text::fit(u.line, 114);
        const int q = text::parseNumber(l.mid(6, 6)).value_or(0);
        held[keyOf(l.left(4), l.mid(14, 50), l.mid(64, 50))] += u.givenBack ? -q : q;
    }
    for (auto it = states.begin(); it != states.end(); ++it)
        if (count.value(it.key()) != linesOf(it.key()))
            wrong += QStringLiteral("attività %1 con %2 righe; ").arg(it.key()).arg(count.value(it.key()));
    const auto check = [&](File f, const archive::RecordFormat &format, const char *tipo,
                           const std::function<QString(const Record &, int taken)> &wrongOf) {
        archive::readRecords(folder.path(f), format, [&](const Record &r) {
            wrong += wrongOf(r, held.value(keyOf(tipo, r.at(0), r.at(1))));
            return true;
        });
    };
    check(File::Attrezzature, equipment::format(), "ATTR", [](const Record &r, int taken) {
        const int start = r.at(1) == QLatin1String("TENDA") ? kCycleEquipment : kSeedEquipment;
        return r.number(3) + taken == start ? QString()
                                            : QStringLiteral("%1 %2: %3 più %4 impegnati; ").arg(r.at(0), r.at(1)).arg(r.number(3)).arg(taken);
    });
    check(File::Automezzi, vehicles::format(), "AUTO", [](const Record &r, int taken) {
        return r.at(8) == QLatin1String(taken > 0 ? "A" : "L") ? QString()
                                                               : QStringLiteral("%1 %2 in stato %3; ").arg(r.at(0), r.at(1), r.at(8));
    });
    check(File::Associazioni, associations::format(), "VOL.", [](const Record &r, int taken) {
        const QString &ass = r.at(associations::Denominazione);
        const int start = ass.startsWith(QLatin1String("ASSOCIAZIONE C"))   ? kCycleVolunteers
                          : ass.startsWith(QLatin1String("ASSOCIAZIONE D")) ? kRenamedVolunteers
                                                                            : kSeedVolunteers;
        return r.number(associations::Volontari) + taken == start ? QString()
                                                                  : QStringLiteral("%1: %2 volontari più %3 impegnati; ").arg(ass).arg(r.number(associations::Volontari)).arg(taken);
    });
    return wrong;
}

} // namespace killops
