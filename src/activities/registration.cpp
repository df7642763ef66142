#include "activities/registration.h"

#include "session/settings.h"
#include "session/snapshot.h"
#include "archive/encoding.h"
#include "archive/journal.h"
#include "archive/rewrite.h"
#include "archive/text.h"

using archive::File;
using archive::Record;
using archive::Register;

namespace activities {

namespace {

const QString kDuplicate = QStringLiteral("Numero protocollo già esistente.");

QString badNumberMessage()
{
    return QStringLiteral("Numero protocollo errato: inserire un numero intero da -32768 a 32767.");
}

QString counterFullMessage()
{
    return QStringLiteral("Il contatore dei protocolli è arrivato a 32767 e non c'è un numero "
                          "successivo: inserire in \"N. Protocollo\" un numero libero, oppure "
                          "modificare il numero protocollo dal menu \"Ripristina\".");
}

bool isMode(modes::Activity mode)
{
    return mode == modes::Activity::I || mode == modes::Activity::M || mode == modes::Activity::A;
}

// A registration under way: what it wrote so far and what it has to say.
struct Run {
    const archive::WorkingFolder &folder;
    const GiveBack &giveBack;
    archive::Transaction &tx; // every archive of the registration, replaced together
    std::function<archive::IoResult()> alsoWrite;
    RegistrationOutcome out;

    bool failed(const archive::IoResult &io)
    {
        out.kind = RegistrationOutcome::Failed;
        out.messages << io.message();
        return false;
    }
    bool check(const Outcome &r)
    {
        if (r.done()) return true;
        if (r.status == Outcome::Duplicate) {
            out.kind = RegistrationOutcome::Refused;
            out.messages << kDuplicate;
            return false;
        }
        return failed(r.io);
    }
    void refuse(const QString &message)
    {
        out.kind = RegistrationOutcome::Refused;
        out.messages << message;
    }
    // Replaces the archives prepared so far. A give-back that could not be
    // prepared has told its file already.
    bool commit()
    {
        const bool givingBackFailed = tx.failed();
        if (!givingBackFailed && alsoWrite) alsoWrite();
        const archive::IoResult io = tx.commit();
        if (io.ok()) return true;
        out.kind = RegistrationOutcome::Failed;
        out.messages << (givingBackFailed ? QStringLiteral("L'attività non è stata registrata: "
                                                           "nessun archivio è stato modificato.")
                                          : io.message());
        return false;
    }
    // The snapshots the registration ends with, taken in the same pass as
    // the rewrites of their archives and put in place with them (a snapshot
    // that cannot be written there is taken afterwards as usual).
    void snapshotsWithChange(std::initializer_list<Register> registers)
    {
        for (Register r : registers) {
            const archive::ArchiveSet set = folder.set(r);
            if (archive::writableTarget(set.snapshot))
                tx.snapshotAtCommit(set.archive, set.snapshot);
        }
    }
    // Snapshot failures are told, but the registration stands.
    void snapshots(std::initializer_list<Register> registers)
    {
        for (Register r : registers) {
            if (tx.snapshotted(folder.set(r).archive)) continue;
            const archive::IoResult io = snapshot::copiainsav(folder, r);
            if (!io.ok() && io.status != archive::IoResult::SourceMissing)
                out.messages << io.message();
        }
    }
};

// The lines up to the first empty one.
QList<ResourceEntry> listed(const QList<ResourceEntry> &all)
{
    QList<ResourceEntry> out;
    for (const ResourceEntry &e : all) {
        if (e.line.isEmpty()) break;
        out << e;
    }
    return out;
}

bool insertLines(Run &run, const QString &nText, qint16 n, const QList<ResourceEntry> &lines,
                 std::optional<qint16> replacing = std::nullopt)
{
    QStringList texts, states;
    for (const ResourceEntry &e : lines) {
        texts << e.line;
        states << e.state;
    }
    return run.check(insertResourceLines(run.folder, nText, n, texts, states, replacing));
}

void released(QList<ResourceEntry> &lines)
{
    for (ResourceEntry &e : lines) e.state = QStringLiteral("L");
}

// The activity the window holds is still stored as it was loaded.
bool unchanged(Run &run, const Registration &reg)
{
    if (!reg.loaded) return true;
    const auto stored = loadActivity(run.folder, reg.protsel);
    if (stored && sameActivity(*stored, *reg.loaded)) return true;
    run.refuse(QStringLiteral("L'attività numero %1 negli archivi non è più come è stata aperta "
                              "(ripristino o azzeramento degli archivi): nulla è stato registrato. "
                              "Uscire dall'attività con \"Esci\" e riaprirla.")
                   .arg(reg.protsel.trimmed()));
    return false;
}

void modify(Run &run, const Registration &reg, qint16 n)
{
    const auto loaded = text::parseNumber(reg.protsel);
    if (!loaded || !findActivity(run.folder.path(File::Attivita), *loaded)) {
        run.refuse(notFoundMessage(reg.protsel));
        return;
    }
    if (!unchanged(run, reg)) return;
    if (n != *loaded && findActivity(run.folder.path(File::Attivita), n)) {
        run.refuse(kDuplicate);
        return;
    }
    run.snapshotsWithChange({Register::Associazioni, Register::Attrezzature, Register::Automezzi,
                             Register::Attivita, Register::Risorse});
    // The record and the resource lines are each replaced in one pass, so a
    // failure leaves the activity as it was rather than half removed.
    const QStringList fields = activityFields(reg.input);
    if (!run.check(replaceActivity(run.folder, fields, n, *loaded))) return;
    QList<ResourceEntry> lines = listed(reg.resources);
    if (!insertLines(run, reg.input.numprot, n, lines, *loaded)) return;
    if (fields.at(Stato) == QLatin1String("C")) {
        if (!run.check(releaseResources(run.folder, n, reg.alreadyClosed, run.giveBack))) return;
        released(lines);
    }
    if (!run.commit()) return;
    run.snapshots({Register::Associazioni, Register::Attrezzature, Register::Automezzi,
                   Register::Attivita, Register::Risorse});
    run.out.kind = RegistrationOutcome::Modified;
    run.out.mode = modes::Activity::M;
    // The window now holds the activity under its (possibly new) number.
    run.out.protsel = reg.input.numprot.trimmed();
    run.out.resources = lines;
    run.out.messages << QStringLiteral("Attività modificata correttamente.");
}

void insert(Run &run, const Registration &reg, qint16 n)
{
    const archive::IoResult counter = settings::writeCounter(run.folder.path(File::NumeroProt), n);
    if (!counter.ok()) {
        run.failed(counter);
        return;
    }
    const QStringList fields = activityFields(reg.input);
    if (!run.check(insertActivity(run.folder, fields, n))) return;
    const QList<ResourceEntry> lines = listed(reg.resources);
    if (!insertLines(run, reg.input.numprot, n, lines)) return;
    if (reg.input.orafi.isEmpty()) {
        if (!run.commit()) return;
        run.snapshots({Register::Associazioni, Register::Automezzi, Register::Attrezzature});
        run.out.kind = RegistrationOutcome::Inserted;
        // The new activity becomes the one chosen, and the window goes on
        // with it as a modification: a second "Registra" changes it rather
        // than storing a second activity with the same resources.
        run.out.mode = modes::Activity::M;
        run.out.protsel = reg.input.numprot.trimmed();
        run.out.resources = lines;
        run.out.messages << QStringLiteral("Attività inserita correttamente.");
        return;
    }
    // Entered already closed: registered again as a modification, which
    // releases its resources.
    Registration again = reg;
    again.mode = modes::Activity::M;
    again.protsel = reg.input.numprot.trimmed();
    again.resources = lines;
    again.loaded.reset(); // just written by this registration
    run.out.mode = again.mode;
    run.out.protsel = again.protsel;
    modify(run, again, n);
}

void cancel(Run &run, const Registration &reg)
{
    const auto loaded = text::parseNumber(reg.protsel);
    if (!loaded || !findActivity(run.folder.path(File::Attivita), *loaded)) {
        run.refuse(notFoundMessage(reg.protsel));
        return;
    }
    if (!unchanged(run, reg)) return;
    run.snapshotsWithChange({Register::Attivita, Register::Risorse});
    QList<ResourceEntry> lines = reg.resources;
    // An activity that was open when loaded still holds its resources,
    // whatever end time was typed since.
    if (!reg.alreadyClosed) {
        if (!run.check(releaseResources(run.folder, *loaded, false, run.giveBack))) return;
        released(lines);
    }
    if (!run.check(cancelActivity(run.folder, *loaded))) return;
    if (!run.commit()) return;
    run.snapshots({Register::Attivita, Register::Risorse});
    run.out.kind = RegistrationOutcome::Cancelled;
    run.out.resources = lines;
    run.out.messages << QStringLiteral("Attività annullata correttamente.");
}

} // namespace

QString notFoundMessage(const QString &protsel)
{
    if (protsel.trimmed().isEmpty()) return QStringLiteral("Nessuna attività scelta.");
    return QStringLiteral("Attività numero %1 non trovata.").arg(protsel.trimmed());
}

bool sameActivity(const LoadedActivity &a, const LoadedActivity &b)
{
    const archive::RecordFormat &format = activityFormat();
    for (int i = 0; i < format.count; ++i) {
        const bool same = format.isNumber(i) ? a.record.number(i) == b.record.number(i)
                                             : a.record.at(i) == b.record.at(i);
        if (!same) return false;
    }
    if (a.resources.size() != b.resources.size()) return false;
    for (int i = 0; i < a.resources.size(); ++i)
        if (a.resources.at(i).line != b.resources.at(i).line
            || a.resources.at(i).state != b.resources.at(i).state)
            return false;
    return true;
}

std::optional<QString> refusal(const Registration &reg)
{
    const ActivityInput &in = reg.input;
    if (in.datari.isEmpty()) return QStringLiteral("Data richiesta mancante");
    if (in.orari.isEmpty()) return QStringLiteral("Ora richiesta mancante");
    if (in.tipoatt.isEmpty()) return QStringLiteral("Tipo attività mancante");
    if (in.loc.isEmpty()) return QStringLiteral("Località mancante");
    if (in.ric.isEmpty()) return QStringLiteral("Richiedente attività mancante");
    if (!text::parseNumber(in.numprot)) {
        if (reg.counterFull && in.numprot.trimmed().isEmpty()) return counterFullMessage();
        return badNumberMessage();
    }
    if (reg.mode == modes::Activity::A) return std::nullopt; // only the state is written
    for (const QString *s : {&in.datari, &in.orari, &in.datain, &in.orain, &in.datafi, &in.orafi,
                             &in.tipoatt, &in.loc, &in.ric, &in.note}) {
        const QString why = cp1252::refusal(*s);
        if (!why.isEmpty()) return why;
    }
    for (const ResourceEntry &e : listed(reg.resources)) {
        const QString why = cp1252::refusal(e.line);
        if (!why.isEmpty()) return why;
    }
    return std::nullopt;
}

RegistrationOutcome registerActivity(const archive::WorkingFolder &folder, const Registration &reg,
                                     const GiveBack &giveBack)
{
    archive::Transaction tx(folder);
    Run run{folder, giveBack, tx, reg.alsoWrite, {}};
    run.out.mode = reg.mode;
    run.out.protsel = reg.protsel;
    run.out.resources = reg.resources;
    if (!isMode(reg.mode)) return run.out;
    if (const auto why = refusal(reg)) {
        run.refuse(*why);
        return run.out;
    }
    const qint16 n = *text::parseNumber(reg.input.numprot);
    run.out.counter = n;
    if (reg.mode == modes::Activity::I) insert(run, reg, n);
    else if (reg.mode == modes::Activity::M) modify(run, reg, n);
    else cancel(run, reg);
    return run.out;
}

std::optional<LoadedActivity> loadActivity(const archive::WorkingFolder &folder,
                                           const QString &protsel)
{
    const auto n = text::parseNumber(protsel);
    if (!n) return std::nullopt;
    const auto record = findActivity(folder.path(File::Attivita), *n);
    if (!record) return std::nullopt;
    LoadedActivity loaded;
    loaded.record = *record;
    archive::readRecordsKeyed(
        folder.path(File::Risorse), resourceFormat(), [&](qint16 k) { return k == *n; },
        [&](const Record &r) {
            if (r.number(RNumProt) != *n) return true;
            ResourceEntry e;
            e.line = resourceListLine(r);
            e.state = r.at(RStato) == QLatin1String("L") ? QStringLiteral("L") : QStringLiteral("O");
            loaded.resources << e;
            return true;
        });
    return loaded;
}

} // namespace activities
