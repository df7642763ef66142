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

namespace killops {

using archive::Register;
using modes::Activity;

namespace {

constexpr int kSeedAssociations = 300;
constexpr int kSeedEquipment = 52;  // 50 in the register, 2 held by the seed activity
constexpr int kSeedVolunteers = 40;
constexpr int kCycleEquipment = 10;
constexpr int kCycleVolunteers = 12;
constexpr int kRenamedVolunteers = 7;

QString seedName(int i) { return QStringLiteral("ASSOCIAZIONE B%1").arg(i, 4, 10, QLatin1Char('0')); }
QString cycleName(int c) { return QStringLiteral("ASSOCIAZIONE C%1").arg(c, 4, 10, QLatin1Char('0')); }
QString renamed(int c) { return QStringLiteral("ASSOCIAZIONE D%1").arg(c, 4, 10, QLatin1Char('0')); }

// The activities of cycle c: A registered and closed, E rolled back by
// copies, B rolled back record by record, D cancelled.
enum Role { A, B, D, E, F };
qint16 activityOf(int c, Role r) { return qint16(1000 + 4 * c + r); }
int linesOf(qint16 n) { return n < 1000 || (n - 1000) % 4 == A ? 4 : 2; }

QByteArray lines(const QStringList &records)
{
    QByteArray out;
    for (const QString &r : records) out += r.toLatin1() + "\r\n";
    return out;
}

QString listLine(const QString &ass, const QString &des)
{
    return text::fit(ass, 50) + text::fit(des, 50);
}

// A resource picked from its list: engaged now, and its resource line.
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
    switch (role) {
    case A:
        return {{ResourceKind::Equipment, name, "TENDA", 3}, {ResourceKind::Vehicle, name, "AMBULANZA", 1},
                {ResourceKind::Association, name, {}, 4},
                {ResourceKind::Equipment, seedName(c % kSeedAssociations), "ATTREZZO 1", 2}};
    case B: return {{ResourceKind::Equipment, name, "TENDA", 2}, {ResourceKind::Association, name, {}, 1}};
    case D:
        return {{ResourceKind::Equipment, seedName((c + 7) % kSeedAssociations), "ATTREZZO 2", 1},
                {ResourceKind::Association, name, {}, 1}};
    case E: return {{ResourceKind::Equipment, name, "TENDA", 1}, {ResourceKind::Association, name, {}, 2}};
    case F: return {{ResourceKind::Equipment, name, "TENDA", 2}, {ResourceKind::Association, name, {}, 3}};
    }
    return {};
}

activities::Registration registration(int c, Role role, Activity mode, bool closed = false)
{
    const QString n = QString::number(activityOf(c, role));
    activities::Registration reg;
    reg.mode = mode;
    reg.protsel = mode == Activity::I ? QString() : n;
    reg.input = {n, "03/03/2025", "09.05", "03/03/2025", "09.10", closed ? "03/03/2025" : "",
                 closed ? "18.00" : "", "ricerca", "bosco", "sindaco", {}};
    for (const Pick &p : picksOf(c, role)) reg.resources << activities::ResourceEntry{p.line(), "O"};
    return reg;
}

activities::GiveBack giveBackTo(const archive::WorkingFolder &folder)
{
    return [&folder](const archive::Record &r) { return resources::ok(resources::giveBackRecord(folder, activities::resourceOf(r), r.at(activities::RNumProt))); };
}

bool engage(const archive::WorkingFolder &folder, const QList<Pick> &picks)
{
    for (const Pick &p : picks)
        if (!resources::ok(resources::engage(folder, p.kind, listLine(p.ass, p.des), p.q))) return false;
    return true;
}

// The resources picked and the activity registered, as one change.
bool pickAndRegister(const archive::WorkingFolder &folder, int c, Role role)
{
    archive::Transaction tx(folder);
    if (!engage(folder, picksOf(c, role))) return false;
    const auto out = activities::registerActivity(folder, registration(c, role, Activity::I), giveBackTo(folder));
    return out.kind == activities::RegistrationOutcome::Inserted && tx.commit().ok();
}

} // namespace

const char *kindName(int kind)
{
    static const char *const names[] = {
        "inserimento associazione con mezzi", "registrazione attività con risorse",
        "risorse scelte e non registrate", "risorse non registrate rimesse", "istantanea",
        "registrazione da ripristinare", "ripristino delle istantanee", "registrazione da disfare",
        "ripristino riga per riga", "chiusura attività", "registrazione da annullare",
        "annullamento attività", "rinomina associazione", "eliminazione associazione"};
    return kind >= 0 && kind < KindCount ? names[kind] : "?";
}

QString stepFile(const archive::WorkingFolder &folder)
{
    return QDir(folder.dir()).filePath(QStringLiteral("killworker.step"));
}

void seed(const archive::WorkingFolder &folder)
{
    QStringList ass, veh, equ, att, ris, vol;
    for (int i = 0; i < kSeedAssociations; ++i) {
        const QString n = seedName(i);
        ass << QStringLiteral("%1,VIA ROMA %2,COMUNE,PR,0123,0456,MAIL@ASS.IT,CAMPO 1, %3 , %3 ").arg(n).arg(i).arg(kSeedVolunteers);
        for (int k = 0; k < 4; ++k) {
            veh << QStringLiteral("%1,MEZZO %2,CAMPO,01/03/2025,08.00,,,FUORISTRADA,L").arg(n).arg(k);
            equ << QStringLiteral("%1,ATTREZZO %2,L, %3 ").arg(n).arg(k).arg(kSeedEquipment - 2);
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
    for (Register r : {Register::Associazioni, Register::Automezzi, Register::Attrezzature,
                       Register::Attivita, Register::Risorse})
        snapshot::copiainsav(folder, r);
}

bool run(const archive::WorkingFolder &folder, int step)
{
    const int c = step / KindCount;
    const QString name = cycleName(c);
    const Register all5[] = {Register::Associazioni, Register::Attrezzature, Register::Automezzi,
                             Register::Attivita, Register::Risorse};
    using Outcome = activities::RegistrationOutcome;
    switch (kindOf(step)) {
    case InsertAssociation: {
        archive::Transaction tx(folder);
        associations::Input in{name, "Via Nuova, 1", "Comune", "pr", "011", {}, {}, "campo",
                               QString::number(kCycleVolunteers)};
        vehicles::Input car{name, "ambulanza", "campo", "02/03/2025", "10.00", {}, {}, "sanitario", "L"};
        return associations::insert(folder, associations::recordFields(associations::cleaned(in))).done()
               && vehicles::insert(folder, vehicles::recordFields(car)).done()
               && equipment::insert(folder, equipment::recordFields({name, "tenda", "L", QString::number(kCycleEquipment)})).done()
               && tx.commit().ok();
    }
    case RegisterActivity: return pickAndRegister(folder, c, A);
    case PickUnregistered: {
        // Picked in the activity window and not registered: the registers
        // and sospese.dat change together.
        archive::Transaction tx(folder);
        QList<resources::Unregistered> held;
        for (const Pick &p : picksOf(c, F)) held << resources::Unregistered{p.line(), false, 0};
        return engage(folder, picksOf(c, F)) && resources::saveUnregistered(folder, held).ok()
               && tx.commit().ok();
    }
    case DiscardUnregistered: {
        // Left without registering: undone record by record, as one change.
        archive::Transaction tx(folder);
        return resources::undo(folder, resources::readUnregistered(folder)).failures.isEmpty()
               && resources::saveUnregistered(folder, {}).ok() && tx.commit().ok();
    }
    case Snapshot:
        for (Register r : all5)
            if (!snapshot::copiainsav(folder, r).ok()) return false;
        return true;
    case RegisterToRollBack: {
        // Picked and registered without a snapshot of its own.
        archive::Transaction tx(folder);
        const qint16 n = activityOf(c, E);
        const auto reg = registration(c, E, Activity::I);
        QStringList texts;
        for (const auto &e : reg.resources) texts << e.line;
        return engage(folder, picksOf(c, E))
               && activities::insertActivity(folder, activities::activityFields(reg.input), n).done()
               && activities::insertResourceLines(folder, reg.input.numprot, n, texts).done()
               && tx.commit().ok();
    }
    case RollbackCopies: {
        // Back to the snapshot: every archive, as one change.
        archive::Transaction tx(folder);
        for (Register r : all5)
            if (!snapshot::copiadasav(folder, r).ok()) return false;
        return tx.commit().ok();
    }
    case RegisterToUndo: return pickAndRegister(folder, c, B);
    case RollbackRecords: {
        // Undone record by record: each resource given back, then the
        // activity and its lines taken out.
        archive::Transaction tx(folder);
        const qint16 n = activityOf(c, B);
        for (const QString &line : activities::resourceLinesOf(folder.path(archive::File::Risorse), n))
            if (!resources::ok(resources::giveBackLine(folder, line))) return false;
        return activities::removeResources(folder, n).done() && activities::removeActivity(folder, n).done()
               && tx.commit().ok();
    }
    case CloseActivity:
        return activities::registerActivity(folder, registration(c, A, Activity::M, true), giveBackTo(folder)).kind
               == Outcome::Modified;
    case RegisterToCancel: return pickAndRegister(folder, c, D);
    case CancelActivity:
        return activities::registerActivity(folder, registration(c, D, Activity::A), giveBackTo(folder)).kind
               == Outcome::Cancelled;
    case RenameAssociation: {
        associations::Input in{renamed(c), "Via Altra", "Comune", "pr", {}, {}, {}, {},
                               QString::number(kRenamedVolunteers)};
        return associations::modify(folder, name, associations::recordFields(associations::cleaned(in))).done();
    }
    case RemoveAssociation:
        return associations::remove(folder, renamed(c), renamed(c)).done();
    }
    return false;
}

QString inconsistency(const archive::WorkingFolder &folder)
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
    archive::readRecords(folder.path(File::Risorse), resourceFormat(), [&](const Record &r) {
        const qint16 n = r.number(RNumProt);
        ++count[n];
        if (!states.contains(n)) wrong += QStringLiteral("riga di risorsa dell'attività %1 che non c'è; ").arg(n);
        if (r.at(RStato) != QLatin1String("O")) return true;
        if (states.value(n) != QLatin1String("A"))
            wrong += QStringLiteral("risorsa impegnata dall'attività %1 non aperta; ").arg(n);
        QString key = r.at(RTipo) + '|' + text::fit(r.at(RAssociazione), 50);
        if (r.at(RTipo) != QLatin1String("VOL.")) key += '|' + text::fit(r.at(RDescrizione), 50);
        held[key] += text::parseNumber(r.at(RNumero)).value_or(0);
        return true;
    });
    // What the activity window holds unregistered is taken too (given back
    // for a deleted line).
    for (const resources::Unregistered &u : resources::readUnregistered(folder)) {
        const QString l = text::fit(u.line, 114);
        QString key = l.left(4) + '|' + l.mid(14, 50);
        if (l.left(4) != QLatin1String("VOL.")) key += '|' + l.mid(64, 50);
        const int q = text::parseNumber(l.mid(6, 6)).value_or(0);
        held[key] += u.givenBack ? -q : q;
    }
    for (auto it = states.begin(); it != states.end(); ++it)
        if (count.value(it.key()) != linesOf(it.key()))
            wrong += QStringLiteral("attività %1 con %2 righe; ").arg(it.key()).arg(count.value(it.key()));
    const auto mine = [](const QString &ass, int seedValue) {
        return ass.startsWith(QLatin1String("ASSOCIAZIONE C")) ? kCycleVolunteers
               : ass.startsWith(QLatin1String("ASSOCIAZIONE D")) ? kRenamedVolunteers
                                                                 : seedValue;
    };
    archive::readRecords(folder.path(File::Attrezzature), equipment::format(), [&](const Record &r) {
        const int start = r.at(1) == QLatin1String("TENDA") ? kCycleEquipment : kSeedEquipment;
        const int taken = held.value("ATTR|" + text::fit(r.at(0), 50) + '|' + text::fit(r.at(1), 50));
        if (r.number(3) + taken != start)
            wrong += QStringLiteral("%1 %2: %3 più %4 impegnati; ").arg(r.at(0), r.at(1)).arg(r.number(3)).arg(taken);
        return true;
    });
    archive::readRecords(folder.path(File::Automezzi), vehicles::format(), [&](const Record &r) {
        const bool taken = held.value("AUTO|" + text::fit(r.at(0), 50) + '|' + text::fit(r.at(1), 50)) > 0;
        if (r.at(8) != (taken ? QLatin1String("A") : QLatin1String("L")))
            wrong += QStringLiteral("%1 %2 in stato %3; ").arg(r.at(0), r.at(1), r.at(8));
        return true;
    });
    archive::readRecords(folder.path(File::Associazioni), associations::format(), [&](const Record &r) {
        const QString &ass = r.at(associations::Denominazione);
        const int taken = held.value("VOL.|" + text::fit(ass, 50));
        if (r.number(associations::Volontari) + taken != mine(ass, kSeedVolunteers))
            wrong += QStringLiteral("%1: %2 volontari più %3 impegnati; ").arg(ass).arg(r.number(associations::Volontari)).arg(taken);
        return true;
    });
    return wrong;
}

} // namespace killops
