#include "activities/activitysession.h"

#include "archive/diary.h"
#include "archive/encoding.h"
#include "archive/journal.h"
#include "registers/holdings.h"
#include "registers/listlines.h"
#include "resources/operations.h"
#include "session/settings.h"
#include "session/snapshot.h"

using archive::File;
using archive::Register;
using modes::Activity;

namespace activities {

namespace {

bool pickingMode(Activity m) { return m == Activity::RT || m == Activity::RU || m == Activity::RA; }

ActivitySession::Outcome told(ActivitySession::Outcome::Status status, QStringList messages)
{
    ActivitySession::Outcome out;
    out.status = status;
    out.messages = std::move(messages);
    return out;
}

ActivitySession::Outcome refused(const QString &message)
{
    return told(ActivitySession::Outcome::Refused,
                message.isEmpty() ? QStringList() : QStringList{message});
}

ActivitySession::Outcome noActivity()
{
    return told(
        ActivitySession::Outcome::NoActivity,
        {QStringLiteral("Nessuna attività aperta a cui aggiungere la risorsa: aprire l'attività "
                        "e premere di nuovo \"Attrezzature\", \"Automezzi\" o \"Volontari\".")});
}

} // namespace

ActivitySession::ActivitySession(Context &ctx) : QObject(nullptr), m_ctx(ctx), m_g(ctx.g)
{
    // Released resources go back to their registers; what could not be
    // given back is told once the registration is over.
    m_giveBack = [this](const archive::Record &resource) {
        const archive::Outcome o = resources::giveBackRecord(m_ctx.folder, resourceOf(resource),
                                                             resource.at(RNumProt));
        if (!resources::ok(o)) m_giveBackMessages << archive::messageOf(o);
        return resources::ok(o);
    };
    ctx.associationRenamed = [this](const QString &from, const QString &to) {
        associationRenamed(from, to);
    };
    // What the start could not undo stays to be undone at the next occasion
    // (the copy that only consults the folder leaves it to the writer).
    if (!ctx.consultation) m_leftover = resources::readUnregistered(ctx.folder);
}

// Going away writes nothing: what is left unregistered stays in sospese.dat
// for the next start, as after an abnormal end.
ActivitySession::~ActivitySession() { m_ctx.associationRenamed = nullptr; }

modes::Activity ActivitySession::mode() const
{
    return pickingMode(m_g.modoatt) ? m_g.modoattprec : m_g.modoatt;
}

bool ActivitySession::receiving() const
{
    return m_shown && (mode() == Activity::I || mode() == Activity::M);
}

bool ActivitySession::mayDeleteLines() const
{
    return !m_ctx.consultation && mode() != Activity::A;
}

void ActivitySession::setShown(bool shown) { m_shown = shown; }

void ActivitySession::setTyped(const ActivityInput &typed) { m_typed = typed; }

namespace {

// The fields of an activity, one by one.
constexpr QString ActivityInput::*kFields[] = {
    &ActivityInput::numprot, &ActivityInput::datari, &ActivityInput::orari, &ActivityInput::datain,
    &ActivityInput::orain,   &ActivityInput::datafi, &ActivityInput::orafi, &ActivityInput::tipoatt,
    &ActivityInput::loc,     &ActivityInput::ric,    &ActivityInput::note};

QString counted(int n, const char *one, const char *many)
{
    return n == 1 ? QString::fromUtf8(one) : QString::fromUtf8(many).arg(n);
}

} // namespace

ActivitySession::Unsaved ActivitySession::unsaved() const
{
    Unsaved u;
    if (!m_shown || m_pending || m_ctx.consultation) return u;
    const Activity m = mode();
    // Cancelling registers nothing typed; an activity that could not be
    // loaded registers nothing at all.
    if (m != Activity::I && m != Activity::M) return u;
    if (m == Activity::M && !m_loaded) return u;
    for (QString ActivityInput::*f : kFields)
        if (m_typed.*f != m_baseFields.*f) ++u.fields;
    // Lines compared by their texts, each as many times as it stands.
    QStringList base = m_baseLines;
    for (const SessionLine &l : m_lines)
        if (!base.removeOne(l.line)) ++u.added;
    u.deleted = int(base.size());
    return u;
}

QString ActivitySession::subject() const
{
    if (m_loaded && mode() != Activity::I)
        return QStringLiteral("L'attività numero %1").arg(m_loaded->record.number(NumProt));
    const QString number = m_typed.numprot.trimmed();
    if (number.isEmpty()) return QStringLiteral("La nuova attività");
    return QStringLiteral("La nuova attività numero %1").arg(number);
}

QString ActivitySession::unsavedText() const
{
    const Unsaved u = unsaved();
    QStringList parts;
    if (u.added) parts << counted(u.added, "1 risorsa aggiunta", "%1 risorse aggiunte");
    if (u.deleted) parts << counted(u.deleted, "1 risorsa eliminata", "%1 risorse eliminate");
    if (u.fields) parts << QStringLiteral("campi modificati");
    return parts.join(QStringLiteral(", "));
}

QString ActivitySession::abandonQuestion() const
{
    if (!unsaved().any()) return {};
    return QStringLiteral("%1 ha dati non registrati. Li abbandono?").arg(subject());
}

QString ActivitySession::quitQuestion() const
{
    if (!unsaved().any()) return {};
    return QStringLiteral("%1 ha modifiche non registrate (%2). Esco senza registrarle?")
        .arg(subject(), unsavedText());
}

QString ActivitySession::cancelQuestion() const
{
    if (m_g.modoatt != Activity::A || !m_loaded) return {};
    return QStringLiteral("Annullo l'attività numero %1?").arg(m_loaded->record.number(NumProt));
}

QString ActivitySession::deleteQuestion(int row) const
{
    return QStringLiteral("Elimino la riga %1?").arg(m_lines.value(row).line.simplified());
}

ActivitySession::Outcome ActivitySession::choose(const QString &protsel, modes::Activity mode)
{
    Outcome out;
    // What the window took or gave back for the task it leaves goes back
    // now; what an earlier occasion could not undo is tried again at the
    // next occasion that leaves the window, not at every new task.
    if (!m_unregistered.isEmpty()) out = discard();
    if (mode != Activity::I) m_g.protsel = protsel;
    m_g.modoatt = mode;
    m_pending = true;
    return out;
}

ActivitySession::Outcome ActivitySession::activate()
{
    const Activity m = m_g.modoatt;
    Outcome out;
    if (pickingMode(m)) {
        m_g.modoatt = m_g.modoattprec;
    } else if (m_pending && (m == Activity::I || m == Activity::M || m == Activity::A)) {
        m_pending = false;
        out.messages << (m == Activity::I ? loadNew() : loadChosen());
        emit loaded();
    } else if (m_ctx.consultation && (m == Activity::M || m == Activity::A)) {
        // Consulting, nothing typed can be registered: the activity is shown
        // as the writing copy has it now.
        out.messages << loadChosen();
        emit loaded();
    } else if (m == Activity::I && m_typed.numprot == m_fields.numprot) {
        // Another desk may have registered meanwhile: a number the user has
        // not changed follows the counter (a counter that cannot be read was
        // told when the activity was begun).
        const QString before = m_fields.numprot;
        propose();
        if (m_fields.numprot != before) {
            m_typed.numprot = m_baseFields.numprot = m_fields.numprot;
            emit numberProposed();
        }
    }
    return out;
}

bool ActivitySession::followStored()
{
    const Activity m = m_g.modoatt;
    if (m_pending || !m_shown || !m_loaded || (m != Activity::M && m != Activity::A)) return false;
    const Unsaved u = unsaved();
    if (u.fields || u.added || u.deleted || !m_unregistered.isEmpty()) return false;
    const auto stored = loadActivity(m_ctx.folder, m_g.protsel);
    if (stored && sameActivity(*stored, *m_loaded)) return false;
    // A message of the loading (an activity no longer there) waits for the
    // next registration or activation: a refresh shows none.
    loadChosen();
    emit loaded();
    return true;
}

void ActivitySession::clear()
{
    m_fields = ActivityInput();
    m_stateWord.clear();
    m_lines.clear();
}

QStringList ActivitySession::loadNew()
{
    m_g.attchiusa = false;
    m_loaded.reset();
    clear();
    const bool readable = propose();
    markRegistered(m_fields);
    if (readable) return {};
    return {QStringLiteral("Il contatore dei protocolli (numeroprot.dat) non è leggibile: viene proposto il "
                           "numero successivo al più alto di attivita.csv.")};
}

bool ActivitySession::propose()
{
    // A counter that cannot be read must not send the numbers back to 1:
    // the next number after the highest registered one is proposed.
    bool unreadable = false;
    const auto counter = settings::readCounter(m_ctx.path(File::NumeroProt), &unreadable);
    m_g.ultimoprot = unreadable ? highestNumber(m_ctx.path(File::Attivita)) : counter.value_or(0);
    // At 32767 there is no next number: the field stays empty and the user
    // is told so if he registers without choosing a free one.
    m_counterFull = m_g.ultimoprot == 32767;
    m_fields.numprot = m_counterFull ? QString() : QString::number(m_g.ultimoprot + 1);
    return !unreadable;
}

void ActivitySession::markRegistered(const ActivityInput &fields)
{
    m_baseFields = fields;
    m_typed = fields;
    m_baseLines.clear();
    for (const SessionLine &l : m_lines) m_baseLines << l.line;
}

QStringList ActivitySession::loadChosen()
{
    m_counterFull = false;
    clear();
    m_loaded = loadActivity(m_ctx.folder, m_g.protsel);
    // Taken in either case: the registration compares with it.
    snapshot::take(m_ctx, {Register::Attivita, Register::Risorse});
    if (!m_loaded) {
        // Nothing to show: an empty window that registers nothing and, as
        // for a closed activity, touches no register.
        m_g.attchiusa = true;
        markRegistered(m_fields);
        return {notFoundMessage(m_g.protsel)};
    }
    const archive::Record &r = m_loaded->record;
    const QString &state = r.at(Stato);
    m_g.attchiusa = state == QLatin1String("C") || state == QLatin1String("S");
    m_fields.numprot = QString::number(r.number(NumProt));
    m_fields.datari = r.at(DataRi);
    m_fields.orari = r.at(OraRi);
    m_fields.datain = r.at(DataIn);
    m_fields.orain = r.at(OraIn);
    m_fields.datafi = r.at(DataFi);
    m_fields.orafi = r.at(OraFi);
    m_fields.tipoatt = r.at(TipoAtt);
    m_fields.loc = r.at(Loc);
    m_fields.ric = r.at(Ric);
    m_fields.note = r.at(Note);
    m_stateWord = activities::stateWord(state);
    for (const ResourceEntry &e : m_loaded->resources) m_lines << SessionLine{e.line, e.state, 0};
    markRegistered(m_fields);
    return {};
}

void ActivitySession::enterPicking(ResourceKind kind)
{
    // A second pick before coming back to the activity window keeps the
    // mode to return to.
    if (!pickingMode(m_g.modoatt)) m_g.modoattprec = m_g.modoatt;
    switch (kind) {
    case ResourceKind::Equipment: m_g.modoatt = Activity::RT; break;
    case ResourceKind::Vehicle: m_g.modoatt = Activity::RU; break;
    case ResourceKind::Association: m_g.modoatt = Activity::RA; break;
    }
}

bool ActivitySession::startPicking(ResourceKind kind)
{
    if (!receiving()) return false;
    enterPicking(kind);
    emit pickStarted(kind);
    return true;
}

ActivitySession::Outcome ActivitySession::offer(ResourceKind kind, const QString &line)
{
    if (line.trimmed().isEmpty()) return refused(QString());
    if (!receiving()) return noActivity();
    // Coming back to the activity window from this pick must not reload it
    // and lose what it holds.
    enterPicking(kind);
    m_pick = {kind, line};
    return {};
}

void ActivitySession::addLine(const QString &line, bool taken)
{
    const bool open = !m_g.attchiusa;
    SessionLine l{line, open ? QStringLiteral("O") : QStringLiteral("L"), 0};
    if (open && taken && resources::holdsRegister(line.left(4))) {
        l.fresh = m_nextId++;
        m_unregistered << resources::Unregistered{line, false, l.fresh};
    }
    m_lines << l;
}

ActivitySession::Outcome ActivitySession::add(const QString &typedQuantity)
{
    if (!receiving()) return noActivity();
    const ResourceKind kind = m_pick.kind;
    const QString &picked = m_pick.line;
    qint16 q = 1;
    if (kind != ResourceKind::Vehicle) {
        const auto typed = resources::quantity(typedQuantity);
        if (!typed) return refused(resources::quantityRefusal());
        q = *typed;
    }
    QString line;
    switch (kind) {
    case ResourceKind::Equipment: line = resources::equipmentLine(picked, q); break;
    case ResourceKind::Vehicle: line = resources::vehicleLine(picked); break;
    case ResourceKind::Association: line = resources::volunteersLine(picked, q); break;
    }
    // The register and the record of what is held unregistered change
    // together, or neither does. A closed or cancelled activity takes
    // nothing from the registers.
    archive::Transaction tx(m_ctx.folder);
    const bool take = !m_g.attchiusa;
    if (take) {
        const archive::Outcome o = resources::engage(m_ctx.folder, kind, picked, q);
        if (!resources::ok(o)) return refused(archive::messageOf(o));
        // A line that would stand engaged with nothing taken for it.
        if (o.status == archive::Outcome::NotFound)
            return refused(QStringLiteral("La risorsa scelta non si trova più nell'archivio (eliminata o "
                                          "rinominata nel frattempo): nulla è stato aggiunto. Sceglierla "
                                          "di nuovo dall'elenco."));
    }
    return commitLine(tx, line, take);
}

ActivitySession::Outcome ActivitySession::addNamed(const QStringList &names)
{
    if (!receiving()) return noActivity();
    Outcome out;
    QStringList refusedNames;
    for (const QString &name : names) {
        const QString why = cp1252::refusal(name);
        if (!why.isEmpty()) {
            refusedNames << why;
            continue;
        }
        out = append(resources::namedVolunteerLine(m_pick.line, name));
        if (!out.done()) break;
    }
    out.messages << refusedNames;
    return out;
}

ActivitySession::Outcome ActivitySession::append(const QString &line)
{
    archive::Transaction tx(m_ctx.folder);
    return commitLine(tx, line, true);
}

void ActivitySession::tellUnregistered(bool taken, const QString &line) const
{
    const QString numprot = mode() == Activity::I ? QString() : m_g.protsel.trimmed();
    QString activity;
    if (numprot.isEmpty())
        activity = taken ? QStringLiteral("per la nuova attività")
                         : QStringLiteral("dalla nuova attività");
    else
        activity = (taken ? QStringLiteral("per l'attività n. %1")
                          : QStringLiteral("dall'attività n. %1"))
                       .arg(numprot);
    diary::record(m_ctx.folder, diary::kActivity, numprot,
                  QStringLiteral("%1 %2, non ancora registrata: %3 (%4).")
                      .arg(taken ? QStringLiteral("Impegnata") : QStringLiteral("Restituita"),
                           activity, resources::describeLine(line),
                           resources::partsOf(line).numero.trimmed()));
}

ActivitySession::Outcome ActivitySession::commitLine(archive::Transaction &tx, const QString &line,
                                                     bool taken)
{
    const auto changes = m_unregistered;
    if (taken) tellUnregistered(true, line);
    addLine(line, taken);
    if (m_unregistered.size() != changes.size())
        resources::saveUnregistered(m_ctx.folder, m_leftover + m_unregistered);
    const archive::IoResult io = tx.commit();
    if (!io.ok()) {
        m_lines.removeLast();
        m_unregistered = changes;
        return refused(io.message());
    }
    emit linesChanged();
    return {};
}

ActivitySession::Outcome ActivitySession::deleteLine(int row)
{
    if (!mayDeleteLines() || row < 0 || row >= m_lines.size()) return refused(QString());
    const SessionLine l = m_lines.at(row);
    // A line released already holds nothing to give back; a closed activity
    // gives nothing back.
    if (!m_g.attchiusa) {
        if (!resources::knownType(l.line.left(4))) return refused(QString()); // not a resource line
        if (l.state != QLatin1String("L")) {
            // The register and the record of what is held unregistered
            // change together, or neither does.
            archive::Transaction tx(m_ctx.folder);
            const archive::Outcome o = resources::giveBackLine(m_ctx.folder, l.line);
            if (!resources::ok(o)) return refused(archive::messageOf(o));
            auto changes = m_unregistered;
            if (l.fresh) {
                // Taken and given back since the last registration: nothing
                // is left to undo.
                changes.removeIf([&l](const resources::Unregistered &u) { return u.id == l.fresh; });
            } else if (o.status != archive::Outcome::NotFound
                       && resources::holdsRegister(l.line.left(4))) {
                changes << resources::Unregistered{l.line, true, m_nextId++};
            }
            // A failure to write sospese.dat is the transaction's, told by
            // its commit.
            resources::saveUnregistered(m_ctx.folder, m_leftover + changes);
            tellUnregistered(false, l.line);
            const archive::IoResult committed = tx.commit();
            if (!committed.ok()) return refused(committed.message());
            m_unregistered = changes;
        }
    }
    m_lines.removeAt(row);
    m_g.risorsecambiate = true;
    emit linesChanged();
    return {};
}

QList<ResourceEntry> ActivitySession::entries() const
{
    QList<ResourceEntry> out;
    for (const SessionLine &l : m_lines) {
        ResourceEntry e;
        e.line = l.line;
        if (!l.state.isEmpty()) e.state = l.state;
        out << e;
    }
    return out;
}

void ActivitySession::forgetUnregistered()
{
    // sospese.dat already says so: written with the registration or the undo.
    m_unregistered.clear();
    for (SessionLine &l : m_lines) l.fresh = 0;
    m_g.risorsecambiate = false;
}

ActivitySession::Outcome ActivitySession::registerActivity(const ActivityInput &typed)
{
    Registration reg;
    reg.mode = m_g.modoatt;
    reg.input = typed;
    reg.protsel = m_g.protsel;
    reg.alreadyClosed = m_g.attchiusa;
    reg.resources = entries();
    reg.counterFull = m_counterFull;
    reg.numberProposed = reg.mode == Activity::I && !m_baseFields.numprot.isEmpty()
                         && typed.numprot.trimmed() == m_baseFields.numprot;
    reg.now = m_ctx.platform.clock->now();
    if (reg.mode == Activity::M || reg.mode == Activity::A) reg.loaded = m_loaded;
    // Once registered, nothing taken or given back is left to undo (what is
    // left from an earlier activity stays to be undone).
    if (!m_unregistered.isEmpty())
        reg.alsoWrite = [this] { return resources::saveUnregistered(m_ctx.folder, m_leftover); };

    m_giveBackMessages.clear();
    const RegistrationOutcome out = activities::registerActivity(m_ctx.folder, reg, m_giveBack);
    Outcome told;
    // One message, however many lines had something to say.
    m_giveBackMessages.removeDuplicates();
    if (!m_giveBackMessages.isEmpty()) told.messages << m_giveBackMessages.join(QLatin1Char('\n'));
    m_giveBackMessages.clear();
    told.messages << out.messages;
    told.field = out.field;
    told.written = out.written;
    const bool registered = out.kind == RegistrationOutcome::Inserted
                            || out.kind == RegistrationOutcome::Modified
                            || out.kind == RegistrationOutcome::Cancelled;
    if (!registered) told.status = Outcome::Refused;
    // Registered: the registered state is the new rollback point, with
    // nothing left to undo.
    if (registered) forgetUnregistered();
    if (out.counter) m_g.ultimoprot = *out.counter;
    m_g.modoatt = out.mode;
    m_g.protsel = out.protsel;
    if (registered) m_loaded = loadActivity(m_ctx.folder, out.protsel);
    // A new activity, once registered, is the one the window modifies.
    if (reg.mode == Activity::I && out.mode == Activity::M && m_loaded)
        m_stateWord = activities::stateWord(m_loaded->record.at(Stato));
    // The lines now carry the states the archive holds for them.
    for (int i = 0; i < out.resources.size() && i < m_lines.size(); ++i)
        m_lines[i].state = out.resources.at(i).state;
    // What the window shows is now what is registered: the fields as
    // written, their dates and times in the archive's form.
    if (registered) markRegistered(out.written ? *out.written : typed);
    emit linesChanged();
    return told;
}

ActivitySession::Outcome ActivitySession::discard()
{
    if (registers::deskFileTaken(m_ctx.folder)) {
        // Another desk took this one for stopped and gave back what it
        // held: undoing it again would count it twice. The desk is there
        // again from now on.
        m_leftover.clear();
        forgetUnregistered();
        resources::startDesk(m_ctx.folder);
        emit linesChanged();
        return told(Outcome::Done, {QStringLiteral("Quello che la finestra Attività di questa "
                                                   "postazione aveva preso o restituito senza "
                                                   "registrarlo era già stato rimesso com'era da "
                                                   "un'altra postazione, che l'aveva creduta "
                                                   "chiusa.")});
    }
    if (m_unregistered.isEmpty() && m_leftover.isEmpty()) {
        m_g.risorsecambiate = false;
        return {};
    }
    // Undone all together, or not at all when an archive cannot be written
    // or a record refuses; then it is left to be undone at the next
    // occasion, whatever activity is shown by then (and never taken for
    // registered with it). A record that no longer exists (deleted or
    // renamed meanwhile) is only named.
    archive::Transaction tx(m_ctx.folder);
    const resources::UndoReport report = resources::undo(m_ctx.folder, m_leftover + m_unregistered);
    archive::IoResult io;
    if (report.failures.isEmpty()) {
        resources::saveUnregistered(m_ctx.folder, {});
        resources::tellUndone(m_ctx.folder, report, QString());
        io = tx.commit();
    }
    const bool undone = report.failures.isEmpty() && io.ok();
    m_leftover = undone ? QList<resources::Unregistered>() : m_leftover + m_unregistered;
    forgetUnregistered();
    emit linesChanged();
    if (!undone) {
        QStringList messages = report.failures;
        if (!io.ok()) messages << io.message();
        messages.removeDuplicates();
        return told(Outcome::Refused, {messages.join(QLatin1Char('\n'))});
    }
    if (!report.missing.isEmpty()) return told(Outcome::Done, {report.missingMessage()});
    return {};
}

ActivitySession::Outcome ActivitySession::leave()
{
    // Leaving in cancellation mode touches nothing the window did not change
    // itself: a cancellation not registered has written nothing.
    const bool rollback = m_g.risorsecambiate;
    Outcome out = discard();
    // Without a rollback the registers as they now stand become the new
    // rollback point.
    if (m_g.modoatt != Activity::A && !rollback)
        snapshot::take(m_ctx, {Register::Associazioni, Register::Attrezzature, Register::Automezzi});
    return out;
}

void ActivitySession::associationRenamed(const QString &from, const QString &to)
{
    for (SessionLine &l : m_lines) l.line = registers::renamedLine(l.line, from, to);
    for (QString &l : m_baseLines) l = registers::renamedLine(l, from, to);
    for (QList<resources::Unregistered> *changes : {&m_unregistered, &m_leftover})
        for (resources::Unregistered &u : *changes)
            u.line = registers::renamedLine(u.line, from, to);
    // Loaded from the archives again: they now name the new association.
    if (m_loaded) m_loaded = loadActivity(m_ctx.folder, m_g.protsel);
    emit linesChanged();
}

} // namespace activities
