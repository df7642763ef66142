#include "activities/registration.h"

#include "session/settings.h"
#include "session/snapshot.h"
#include "archive/diary.h"
#include "archive/encoding.h"
#include "archive/journal.h"
#include "archive/rewrite.h"
#include "archive/text.h"
#include "dates/dates.h"

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

// A day and a time of the day, in this order.
using Moment = std::pair<QDate, QTime>;

QString momentText(const Moment &m) { return dates::momentText(m.first, m.second); }

// The start and the end of an activity as insert and modify take them:
// each date and time that is there can be read; each row is empty or whole
// (a date without its time would show the activity as not started, or as
// open, while its date says otherwise), an end has a start, and request,
// start and end follow each other.
std::optional<Refusal> startAndEndRefusal(const ActivityInput &in, const QDateTime &now)
{
    using In = ActivityInput;
    struct Typed {
        InputField field;
        bool date;
        const char *label;
    };
    const Typed typed[] = {{&In::datain, true, "Data inizio"},
                           {&In::orain, false, "Ora inizio"},
                           {&In::datafi, true, "Data fine"},
                           {&In::orafi, false, "Ora fine"}};
    for (const Typed &t : typed) {
        const QString &text = in.*t.field;
        if (text.isEmpty()) continue;
        const QString label = QString::fromUtf8(t.label);
        if (t.date && !dates::readDate(text)) return Refusal{dates::wrongDate(label, now), t.field};
        if (!t.date && !dates::readTime(text))
            return Refusal{dates::wrongTime(label, now), t.field};
    }
    const bool startDate = !in.datain.isEmpty(), startTime = !in.orain.isEmpty();
    const bool endDate = !in.datafi.isEmpty(), endTime = !in.orafi.isEmpty();
    if (startTime && !startDate)
        return Refusal{QStringLiteral("Data inizio mancante: con l'ora inizio scrivere anche la data "
                                      "(%1), oppure cancellare l'ora inizio se l'attività non è "
                                      "iniziata.")
                           .arg(dates::dateForm(now)),
                       &In::datain};
    if (startDate && !startTime)
        return Refusal{QStringLiteral("Ora inizio mancante: con la data inizio scrivere anche l'ora "
                                      "(%1), oppure cancellare la data inizio se l'attività non è "
                                      "iniziata.")
                           .arg(dates::timeForm(now)),
                       &In::orain};
    if (endTime && !endDate)
        return Refusal{QStringLiteral("Data fine mancante: con l'ora fine scrivere anche la data "
                                      "(%1), oppure cancellare l'ora fine se l'attività non è "
                                      "finita.")
                           .arg(dates::dateForm(now)),
                       &In::datafi};
    if (endDate && !endTime)
        return Refusal{QStringLiteral("Ora fine mancante: con la data fine scrivere anche l'ora "
                                      "(%1), oppure cancellare la data fine se l'attività non è "
                                      "finita.")
                           .arg(dates::timeForm(now)),
                       &In::orafi};
    if (endDate && !startDate)
        return Refusal{QStringLiteral("Data inizio mancante: un'attività finita ha anche un inizio: "
                                      "scrivere data e ora inizio (%1).")
                           .arg(dates::dateForm(now)),
                       &In::datain};
    if (!startDate) return std::nullopt;
    const Moment request{*dates::readDate(in.datari), *dates::readTime(in.orari)};
    const Moment start{*dates::readDate(in.datain), *dates::readTime(in.orain)};
    if (start < request)
        return Refusal{QStringLiteral("L'inizio (%1) precede la richiesta (%2).")
                           .arg(momentText(start), momentText(request)),
                       &In::datain};
    if (!endDate) return std::nullopt;
    const Moment end{*dates::readDate(in.datafi), *dates::readTime(in.orafi)};
    if (end < start)
        return Refusal{QStringLiteral("La fine (%1) precede l'inizio (%2).")
                           .arg(momentText(end), momentText(start)),
                       &In::datafi};
    return std::nullopt;
}

// A registration under way: what it wrote so far and what it has to say.
struct Run {
    const archive::WorkingFolder &folder;
    const GiveBack &giveBack;
    archive::Transaction &tx; // every archive of the registration, replaced together
    std::function<archive::IoResult()> alsoWrite;
    RegistrationOutcome out;
    bool inserting = false; // an activity inserted already closed, registered as a modification

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
            refuse(kDuplicate, &ActivityInput::numprot);
            return false;
        }
        return failed(r.io);
    }
    void refuse(const QString &message, InputField field = nullptr)
    {
        out.kind = RegistrationOutcome::Refused;
        out.messages << message;
        out.field = field;
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

// The diary's line of a registration: "Attività n. 12 inserita (SOCCORSO,
// ROMA) con 3 risorse."; renumbered, "Attività n. 13, già n. 12, modificata".
void tell(Run &run, const QString &numprot, const QString &what, const QStringList &fields,
          qsizetype resources, const QString &before = {})
{
    const QString count = resources == 1 ? QStringLiteral("1 risorsa")
                                         : QStringLiteral("%1 risorse").arg(resources);
    const QString number = before.isEmpty()
                               ? numprot.trimmed()
                               : QStringLiteral("%1, già n. %2,").arg(numprot.trimmed(), before);
    run.tx.tell({diary::kActivity, numprot.trimmed(),
                 QStringLiteral("Attività n. %1 %2 (%3, %4) con %5.")
                     .arg(number, what, fields.at(TipoAtt), fields.at(Loc), count)});
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
        run.refuse(kDuplicate, &ActivityInput::numprot);
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
    QString what = QStringLiteral("modificata");
    if (run.inserting) what = QStringLiteral("inserita chiusa");
    else if (fields.at(Stato) == QLatin1String("C") && !reg.alreadyClosed)
        what = QStringLiteral("chiusa");
    tell(run, reg.input.numprot, what, fields, lines.size(),
         n != *loaded ? QString::number(*loaded) : QString());
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
        tell(run, reg.input.numprot, QStringLiteral("inserita"), fields, lines.size());
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
    run.inserting = true;
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
    tell(run, reg.protsel, QStringLiteral("annullata"), activityFields(reg.input),
         listed(reg.resources).size());
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

std::optional<Refusal> refusal(const Registration &reg)
{
    using In = ActivityInput;
    const ActivityInput &in = reg.input;
    // A cancellation writes only the state: its dates and times stay as
    // they are stored.
    const bool moments = reg.mode != modes::Activity::A;
    if (in.datari.isEmpty()) return Refusal{QStringLiteral("Data richiesta mancante"), &In::datari};
    if (moments && !dates::readDate(in.datari))
        return Refusal{dates::wrongDate(QStringLiteral("Data richiesta"), reg.now), &In::datari};
    if (in.orari.isEmpty()) return Refusal{QStringLiteral("Ora richiesta mancante"), &In::orari};
    if (moments && !dates::readTime(in.orari))
        return Refusal{dates::wrongTime(QStringLiteral("Ora richiesta"), reg.now), &In::orari};
    if (moments)
        if (auto why = startAndEndRefusal(in, reg.now)) return why;
    if (in.tipoatt.isEmpty())
        return Refusal{QStringLiteral("Tipo attività mancante"), &In::tipoatt};
    if (in.loc.isEmpty()) return Refusal{QStringLiteral("Località mancante"), &In::loc};
    if (in.ric.isEmpty()) return Refusal{QStringLiteral("Richiedente attività mancante"), &In::ric};
    if (!text::parseNumber(in.numprot)) {
        if (reg.counterFull && in.numprot.trimmed().isEmpty())
            return Refusal{counterFullMessage(), &In::numprot};
        return Refusal{badNumberMessage(), &In::numprot};
    }
    if (reg.mode == modes::Activity::A) return std::nullopt; // only the state is written
    for (InputField f : {&In::datari, &In::orari, &In::datain, &In::orain, &In::datafi, &In::orafi,
                         &In::tipoatt, &In::loc, &In::ric, &In::note}) {
        const QString why = cp1252::refusal(in.*f);
        if (!why.isEmpty()) return Refusal{why, f};
    }
    for (const ResourceEntry &e : listed(reg.resources)) {
        const QString why = cp1252::refusal(e.line);
        if (!why.isEmpty()) return Refusal{why, nullptr};
    }
    return std::nullopt;
}

ActivityInput normalised(const ActivityInput &in)
{
    ActivityInput out = in;
    for (InputField f : {&ActivityInput::datari, &ActivityInput::datain, &ActivityInput::datafi})
        out.*f = dates::normalDate(in.*f);
    for (InputField f : {&ActivityInput::orari, &ActivityInput::orain, &ActivityInput::orafi})
        out.*f = dates::normalTime(in.*f);
    return out;
}

namespace {

// The number proposed, or when another desk gave it meanwhile the first
// free one after it and after the counter (none past 32767). Read under the
// change lock: no other desk gives a number until this registration ends.
std::optional<qint16> nextFree(const archive::WorkingFolder &folder, qint16 proposed)
{
    const QString path = folder.path(File::Attivita);
    if (!findActivity(path, proposed)) return proposed;
    int n = std::max<int>(proposed, settings::readCounter(folder.path(File::NumeroProt)).value_or(0))
            + 1;
    while (n <= 32767 && findActivity(path, qint16(n))) ++n;
    if (n > 32767) return std::nullopt;
    return qint16(n);
}

} // namespace

RegistrationOutcome registerActivity(const archive::WorkingFolder &folder, const Registration &reg,
                                     const GiveBack &giveBack)
{
    archive::Transaction tx(folder);
    Run run{folder, giveBack, tx, reg.alsoWrite, {}, false};
    run.out.mode = reg.mode;
    run.out.protsel = reg.protsel;
    run.out.resources = reg.resources;
    if (!isMode(reg.mode)) return run.out;
    if (const auto why = refusal(reg)) {
        run.refuse(why->message, why->field);
        return run.out;
    }
    const qint16 n = *text::parseNumber(reg.input.numprot);
    run.out.counter = n;
    if (reg.mode == modes::Activity::A) {
        cancel(run, reg);
        return run.out;
    }
    // Written with its dates and times in the archive's form.
    Registration written = reg;
    written.input = normalised(reg.input);
    qint16 number = n;
    if (reg.mode == modes::Activity::I && reg.numberProposed) {
        const std::optional<qint16> free = nextFree(folder, n);
        if (!free) {
            run.refuse(counterFullMessage(), &ActivityInput::numprot);
            return run.out;
        }
        number = *free;
        written.input.numprot = QString::number(number);
        run.out.counter = number;
    }
    if (reg.mode == modes::Activity::I) insert(run, written, number);
    else modify(run, written, n);
    if (run.out.kind == RegistrationOutcome::Inserted || run.out.kind == RegistrationOutcome::Modified)
        run.out.written = written.input;
    if (number != n
        && (run.out.kind == RegistrationOutcome::Inserted
            || run.out.kind == RegistrationOutcome::Modified)) {
        run.out.messages.removeAll(QStringLiteral("Attività inserita correttamente."));
        run.out.messages.prepend(QStringLiteral("Attività inserita con il numero %1: il %2 è stato "
                                                "appena dato da un'altra postazione.")
                                     .arg(number)
                                     .arg(n));
    }
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
