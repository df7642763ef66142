// One desk of tst_desks: an operator doing anything at random through the
// operations the windows call, on a working folder other desks share.
//   deskworker <folder> <desk> <seed> <seconds> <ledger>: starts, works, ends;
//     each change done is appended to the ledger (synced) before the next.
//   deskworker <folder> <desk>: starts and ends, nothing more.
// Counts never change through the registers: a rename adds "-R" to a name or
// takes it away; an association added owns the volunteers its name ends with
// ("N17-5"), its equipment the pieces its description ends with ("TELO-3").
#include "activities/activitysession.h"
#include "activities/lists.h"
#include "archive/disk.h"
#include "archive/journal.h"
#include "archive/text.h"
#include "associations/records.h"
#include "doubles.h"
#include "equipment/records.h"
#include "resources/unregistered.h"
#include "vehicles/records.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QRandomGenerator>
#include <QThread>

#include <fcntl.h>
#include <memory>
#include <unistd.h>

using activities::ActivitySession;
using archive::File;
using modes::Activity;

namespace {

// The start of a desk, as the program's: a change a killed desk left half
// made is finished or undone, and what stopped desks left unregistered goes
// back to the registers.
void startDesk(Context &ctx, [[maybe_unused]] const QString &desk)
{
    archive::Transaction settle(ctx.folder);
    if (!settle.failed()) archive::recover(ctx.folder);
    settle.commit();
    resources::startDesk(ctx.folder);
}

// The normal end: the operator leaves what the activity window holds
// unregistered, which goes back to the registers.
void endDesk(Context &ctx, ActivitySession &session)
{
    session.discard();
    resources::endDesk(ctx.folder);
}

// An association modified from the window that loaded it: refused when the
// archive no longer holds the volunteers as loaded; checked and written in
// one change.
bool modifyAsLoaded(Context &ctx, const associations::Association &loaded, const QStringList &fields)
{
    archive::Transaction tx(ctx.folder);
    const auto now = associations::find(ctx.path(File::Associazioni), loaded.denominazione);
    if (!now || now->volontari != loaded.volontari) return false;
    if (!associations::modify(ctx.folder, loaded.denominazione, fields).done() || !tx.commit().ok()) return false;
    if (ctx.associationRenamed) ctx.associationRenamed(loaded.denominazione, fields.at(0));
    return true;
}

QString list(const QString &a, const QString &d = {}) { return text::fit(a, 50) + text::fit(d, 50); }

struct Desk {
    Desk(const char *folder, quint32 seed) : rnd(seed)
    {
        ctx.folder = archive::WorkingFolder(QString::fromLocal8Bit(folder));
        ctx.platform = fake.platform();
    }

    FakePlatform fake;
    Context ctx;
    std::unique_ptr<ActivitySession> s;
    QRandomGenerator rnd;
    int ledger = -1;

    int any(qsizetype n) { return n > 0 ? int(rnd.bounded(quint32(n))) : 0; }
    template <class T>
    T any(const QList<T> &l) { return l.at(any(l.size())); }
    void note(const QString &done)
    {
        const QByteArray line = (done + '\n').toUtf8();
        if (::write(ledger, line.constData(), size_t(line.size())) != line.size() || !archive::disk::syncFile(ledger)) ::_exit(3);
    }

    // One resource of any register, picked from its list and added.
    void take()
    {
        const auto kind = ResourceKind(any(3));
        const auto pair = [this](const auto &all) {
            if (all.isEmpty()) return QString();
            const auto r = any(all);
            return list(r.associazione, r.descrizione);
        };
        const QStringList names = associations::allNames(ctx.path(File::Associazioni));
        const QString line = kind == ResourceKind::Equipment ? pair(equipment::Archive::readAll(ctx.path(File::Attrezzature)))
                             : kind == ResourceKind::Vehicle ? pair(vehicles::Archive::readAll(ctx.path(File::Automezzi)))
                             : names.isEmpty()               ? QString()
                                                             : list(any(names));
        if (line.isEmpty() || !s->startPicking(kind) || !s->offer(kind, line).done()) return;
        s->activate();
        s->add(QString::number(1 + any(3)));
    }
    // The activity window on a new activity, or on an open one.
    bool enter(Activity mode, bool fresh)
    {
        const QStringList all = activities::shortList(ctx.path(File::Attivita), activities::ShortFilter::All);
        if (!fresh && all.isEmpty()) return false;
        const QString n = fresh ? QString() : activities::protocolOf(any(all));
        s->choose(n, fresh ? Activity::I : mode);
        s->activate();
        // Only an activity still open when loaded: then at most one desk
        // closes or cancels it.
        return fresh || s->stateWord() == "Aperta";
    }
    void registerNow(const char *what, bool close = false)
    {
        activities::ActivityInput in = s->fields();
        if (in.datari.isEmpty()) in.datari = "07/12/2026", in.orari = "14.30", in.tipoatt = "INCENDIO", in.loc = "ROMA", in.ric = "ROSSI";
        if (close) in.datain = in.datafi = "08/12/2026", in.orain = "15.00", in.orafi = "18.00";
        const auto out = s->registerActivity(in);
        if (out.done()) note(QString("%1 %2").arg(what, out.written ? out.written->numprot : in.numprot));
    }

    void step()
    {
        switch (any(12)) {
        case 0:
        case 1:
        case 2: // a new activity with resources
            enter(Activity::I, true);
            for (int i = any(3); i >= 0; --i) take();
            return registerNow("INS", any(6) == 0);
        case 3:
        case 4: // an open one: a resource more or one less, perhaps closed
            if (!enter(Activity::M, false)) return;
            if (any(2) || s->lines().isEmpty()) take();
            else s->deleteLine(any(s->lines().size()));
            return any(2) ? registerNow("CLOSE", true) : registerNow("MOD");
        case 5:
            if (enter(Activity::A, false)) registerNow("CANCEL");
            return;
        case 6:
        case 7: // resources taken and not registered
            if (enter(Activity::M, any(2))) take();
            return;
        case 8:
        case 9: { // an association's other fields, or its name
            const auto all = associations::readAll(ctx.path(File::Associazioni));
            if (all.isEmpty()) return;
            const auto a = any(all);
            QString name = a.denominazione;
            if (any(2)) name = name.endsWith("-R") ? name.chopped(2) : name + "-R";
            const associations::Input in{name, QString("VIA %1").arg(any(100)), a.comune, a.provincia, a.telefono, a.fax, a.email, a.campo, QString::number(a.volontari)};
            QThread::usleep(any(20000)); // the operator types
            if (modifyAsLoaded(ctx, a, associations::recordFields(in)))
                note(name == a.denominazione ? "ASS " + name : QString("REN %1>%2").arg(a.denominazione, name));
            return;
        }
        case 10: { // a new association with its equipment and a vehicle
            const QString name = QString("N%1-%2").arg(any(1000)).arg(1 + any(9));
            const associations::Input in{name, "VIA NUOVA", "COMUNE", "PR", {}, {}, {}, "CAMPO", name.section('-', 1)};
            if (!associations::insert(ctx.folder, associations::recordFields(in)).done()) return;
            note("NEW " + name);
            const QString pieces = QString::number(1 + any(9));
            equipment::insert(ctx.folder, equipment::recordFields({name, "TELO-" + pieces, "L", pieces}));
            vehicles::insert(ctx.folder, vehicles::recordFields({name, "FURGONE", "CAMPO", "01/03/2025", "08.00", {}, {}, {}, "L"}));
            return;
        }
        case 11: { // one of them deleted, with its equipment and vehicles
            QStringList added;
            for (const QString &n : associations::allNames(ctx.path(File::Associazioni)))
                if (n.startsWith('N')) added << n;
            if (added.isEmpty()) return;
            const QString name = any(added);
            if (associations::remove(ctx.folder, name, name).done()) note("DEL " + name);
        }
        }
    }
};

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    if (argc != 3 && argc != 6) return 64;
    Desk d(argv[1], argc == 6 ? quint32(QByteArray(argv[3]).toUInt()) : 0);
    const QString desk = QString::fromLocal8Bit(argv[2]);
    startDesk(d.ctx, desk);
    d.s = std::make_unique<ActivitySession>(d.ctx);
    d.s->setShown(true);
    if (argc == 6) {
#ifndef O_BINARY
#define O_BINARY 0 // lines end as written, on Windows too
#endif
        d.ledger = ::open(argv[5], O_WRONLY | O_CREAT | O_APPEND | O_BINARY, 0644);
        if (d.ledger < 0) return 2;
        d.note(QString("START %1 %2").arg(desk, argv[3]));
        QElapsedTimer t;
        t.start();
        while (double(t.elapsed()) < QByteArray(argv[4]).toDouble() * 1000) d.step();
    }
    endDesk(d.ctx, *d.s);
    return 0;
}
