#include "activities/formattivita.h"

#include "activities/sheet.h"
#include "archive/journal.h"
#include "activities/flow.h"
#include "resources/operations.h"

#include "session/settings.h"
#include "session/snapshot.h"
#include "ui/ui.h"
#include "ui/windows.h"
#include "printing/printout.h"
#include "registers/holdings.h"

#include <QCloseEvent>
#include <QFontMetrics>
#include <QListWidget>
#include <QMouseEvent>
#include <QResizeEvent>
#include <QStyle>
#include <algorithm>

using archive::File;
using archive::Register;
using ui::tw;

namespace {

constexpr int kClientWidth = 11880;
constexpr int kClientHeight = 8595;
constexpr int kListLeft = 1440, kListTop = 4560, kListWidth = 10215, kListHeight = 2790;
constexpr int kBottomTop = 7680;

const QString kAuto = QStringLiteral("Data e ora automatica.");
const QString kAutoTime = QStringLiteral("Ora automatica.");

// 7.5 points give the 6-pixel columns the list was drawn for, so a whole
// 114-column line fits its width.
QFont listFont() { return printing::courier(7.5); }

// Room for a text in a field of the window's font, never less than designed.
int fitting(const QWidget *w, const QString &sample, int designed)
{
    return std::max(designed, w->fontMetrics().horizontalAdvance(sample) + 12);
}

} // namespace

Formattivita::Formattivita(Context &ctx) : QWidget(nullptr), m_ctx(ctx)
{
    setObjectName(QStringLiteral("Formattivita"));
    setWindowTitle(QStringLiteral("Attività"));
    setMinimumSize(tw(kClientWidth), tw(kClientHeight));
    resize(tw(kClientWidth), tw(kClientHeight));
    QFont windowFont = font();
    windowFont.setPointSizeF(8);
    setFont(windowFont);

    auto label = [this](const char *name, const QString &text, int x, int y, int w) {
        return ui::label(this, name, text, tw(x), tw(y), tw(w), tw(255));
    };
    auto field = [this](const char *name, int x, int y, int w, const QString &tip, int h = 375,
                        const QString &sample = QString()) {
        return ui::field(this, name, tw(x), tw(y), fitting(this, sample, tw(w)), tw(h), tip);
    };
    auto small = [this](const char *name, int x, int y, const QString &tip) {
        auto *b = ui::button(this, name, QString(), tw(x), tw(y), tw(255), tw(255), tip);
        b->setText(QStringLiteral("…"));
        return b;
    };

    label("Label1", QStringLiteral("N. Protocollo"), 480, 480, 1335);
    m_numprot = field("numprot", 480, 720, 735, QStringLiteral("Numero progressivo dell'attività."));

    // The three rows of dates and times: request, start, end.
    struct Row {
        const char *dateLabel, *timeLabel, *date, *time, *dateButton, *timeButton;
        QString dateText, timeText, dateTip, timeTip;
        int top;
    };
    const Row rows[] = {
        {"Label2", "Label3", "datari", "orari", "cmddatari", "cmdorari",
         QStringLiteral("Data richiesta"), QStringLiteral("Ora richiesta"),
         QStringLiteral("Data di arrivo della richiesta di attività nel formato gg/mm/aaaa."),
         QStringLiteral("Ora di arrivo della richiesta di attività nel formato hh.mm."), 720},
        {"Label4", "Label5", "datain", "orain", "cmddatain", "cmdorain",
         QStringLiteral("Data inizio"), QStringLiteral("Ora inizio"),
         QStringLiteral("Data di inizio dell' attività nel formato gg/mm/aaaa."),
         QStringLiteral("Ora di inizio dell' attività nel formato hh.mm."), 1080},
        {"Label6", "Label7", "datafi", "orafi", "cmddatafi", "cmdorafi",
         QStringLiteral("Data fine"), QStringLiteral("Ora fine"),
         QStringLiteral("Data di fine dell' attività nel formato gg/mm/aaaa."),
         QStringLiteral("Ora di fine dell' attività nel formato hh.mm."), 1440},
    };
    QLineEdit *dates[3], *times[3];
    for (int i = 0; i < 3; ++i) {
        const Row &r = rows[i];
        QPushButton *dateButton = small(r.dateButton, 1920, r.top + 30, kAuto);
        label(r.dateLabel, r.dateText, 2280, r.top + 30, 1860);
        dates[i] = field(r.date, 4200, r.top, 975, r.dateTip, 315, QStringLiteral("00/00/0000"));
        QPushButton *timeButton = small(r.timeButton, 7320, r.top + 30, kAutoTime);
        label(r.timeLabel, r.timeText, 7680, r.top + 30, 1740);
        times[i] = field(r.time, 9480, r.top, 495, r.timeTip, 315, QStringLiteral("00.00"));
        QLineEdit *date = dates[i], *time = times[i];
        connect(dateButton, &QPushButton::clicked, this, [this, date, time] { fillDateTime(date, time); });
        connect(timeButton, &QPushButton::clicked, this, [this, time] { fillTime(time); });
    }
    m_datari = dates[0], m_orari = times[0];
    m_datain = dates[1], m_orain = times[1];
    m_datafi = dates[2], m_orafi = times[2];

    label("Label8", QStringLiteral("Stato"), 360, 1440, 1095);
    m_stato = field("stato", 360, 1680, 1095, QString(), 315);
    m_stato->setReadOnly(true);

    label("Label9", QStringLiteral("Tipo attività"), 2280, 1980, 1860);
    m_tipoatt = field("tipoatt", 4200, 1920, 5775, QStringLiteral("Descrizione dell'attività."));
    label("Label10", QStringLiteral("Località"), 2280, 2460, 1860);
    m_loc = field("loc", 4200, 2400, 5775, QStringLiteral("Località in cui si svolge l'attività."));
    label("Label11", QStringLiteral("Richiesta da"), 2280, 2940, 1860);
    m_ric = field("ric", 4200, 2880, 5775,
                  QStringLiteral("Persona da cui è arrivata la richiesta dell'attività."));
    label("Label12", QStringLiteral("Note"), 2280, 3420, 1860);
    m_note = field("note", 4200, 3360, 5775, QStringLiteral("Eventuali note relative all'attività"),
                   615);

    // Resources: the three buttons, the list and its column headers.
    auto *attr = ui::button(this, "cmdattr", QStringLiteral("Attrezzature"), tw(120), tw(kListTop), tw(1095),
               tw(495),
               QStringLiteral("Premere per inserire le attrezzature che verranno utilizzate "
                              "durante lo svolgimento dell'attività."));
    auto *autom = ui::button(this, "cmdauto", QStringLiteral("Automezzi"), tw(120), tw(5760), tw(1095), tw(495),
               QStringLiteral("Premere per inserire gli automezzi che partecipano all'attività."));
    auto *vol = ui::button(this, "cmdvol", QStringLiteral("Volontari"), tw(120), tw(6960), tw(1095), tw(495),
               QStringLiteral("Premere per inserire i volontari che partecipano all'attività."));

    ui::label(this, "Label13", QStringLiteral("RISORSE"), tw(120), tw(4260), tw(1095), tw(255));
    m_list = ui::make<QListWidget>(this, "List1", tw(kListLeft), tw(kListTop), tw(kListWidth),
                                   tw(kListHeight));
    m_list->setFont(listFont());
    m_list->setUniformItemSizes(true);
    m_list->viewport()->installEventFilter(this);
    const QFontMetrics fm(listFont());
    // The headers stand over the columns of the item texts.
    int x = tw(kListLeft) + m_list->frameWidth()
            + m_list->style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, m_list) + 1;
    const char *headerNames[] = {"Label14", "Label15", "Label16", "Label17"};
    const QString headers[] = {
        QStringLiteral("|Tipo|"),
        QStringLiteral("Numero |"),
        QStringLiteral("Associazione") + QString(35, QLatin1Char(' ')) + QLatin1Char('|'),
        QStringLiteral(" Descrizione") + QString(27, QLatin1Char(' ')) + QLatin1Char('|'),
    };
    for (int i = 0; i < 4; ++i) {
        const int w = fm.horizontalAdvance(headers[i]);
        QLabel *h = ui::label(this, headerNames[i], headers[i], x, tw(kListTop) - fm.height() - 2, w,
                              fm.height());
        h->setFont(listFont());
        m_headers << h;
        x += w;
    }

    // The long caption needs more than its designed width: the button grows
    // to the left, keeping its gap to the registration button.
    const QString staccText = QStringLiteral("Stampa foglio accompagnamento");
    const int staccWidth = fitting(this, staccText, tw(1575));
    auto *stacc = ui::button(this, "cmdstacc", staccText,
                             std::min(tw(3480), tw(5400) - staccWidth), tw(kBottomTop), staccWidth,
                             tw(495));
    m_registra = ui::button(this, "cmdregistra", QStringLiteral("Registra"), tw(5520),
                            tw(kBottomTop), tw(1335), tw(495));
    auto *stampa = ui::button(this, "cmdstampa", QStringLiteral("Stampa"), tw(7080),
                              tw(kBottomTop), tw(1335), tw(495));
    auto *esci = ui::button(this, "cmdesci", QStringLiteral("Esci"), tw(8760), tw(kBottomTop),
                            tw(1335), tw(495));
    m_bottom = {stacc, m_registra, stampa, esci};

    connect(attr, &QPushButton::clicked, this,
            [this] { resources::startPicking(m_ctx, ResourceKind::Equipment); });
    connect(autom, &QPushButton::clicked, this,
            [this] { resources::startPicking(m_ctx, ResourceKind::Vehicle); });
    connect(vol, &QPushButton::clicked, this,
            [this] { resources::startPicking(m_ctx, ResourceKind::Association); });
    connect(stacc, &QPushButton::clicked, this, &Formattivita::stampaFoglio);
    connect(m_registra, &QPushButton::clicked, this, &Formattivita::registra);
    // Released resources go back to their registers; what could not be
    // given back is told once the registration is over.
    m_giveBack = [this](const archive::Record &resource) {
        const archive::Outcome o = resources::giveBackRecord(
            m_ctx.folder, activities::resourceOf(resource), resource.at(activities::RNumProt));
        if (!resources::ok(o)) m_giveBackMessages << archive::messageOf(o);
        return resources::ok(o);
    };
    connect(esci, &QPushButton::clicked, this, &Formattivita::esci);
    onActivation(ctx, this, [this] { activated(); });
    ctx.associationRenamed = [this](const QString &from, const QString &to) {
        associationRenamed(from, to);
    };
    // What the start could not undo stays to be undone at the next occasion
    // (the copy that only consults the folder leaves it to the writer).
    if (!ctx.consultation) m_leftover = resources::readUnregistered(ctx.folder);
    // Consultation only: the activity is shown and printed, never registered,
    // and no resource is taken from or given back to the registers.
    if (ctx.consultation)
        for (QPushButton *b : {m_registra, attr, autom, vol}) b->setEnabled(false);
}

void Formattivita::prepare(const QString &title, const QString &caption, bool showButton)
{
    setWindowTitle(m_ctx.consultation ? title + QStringLiteral(" - sola consultazione") : title);
    m_registra->setText(caption);
    if (showButton) m_registra->setVisible(true);
}

void Formattivita::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    // The resource list takes what the window grows by; the bottom row
    // keeps its distance from the lower edge.
    const int grownW = width() - tw(kClientWidth);
    const int grownH = height() - tw(kClientHeight);
    m_list->resize(tw(kListWidth) + grownW, tw(kListHeight) + grownH);
    for (QPushButton *b : m_bottom) b->move(b->x(), tw(kBottomTop) + grownH);
}

void Formattivita::activated()
{
    using modes::Activity;
    const Activity mode = m_ctx.g.modoatt;
    // What an earlier occasion could not undo is tried again at the next
    // one that leaves the window, not at every reload.
    if (mode == Activity::I) {
        if (!m_unregistered.isEmpty()) discardUnregistered();
        loadNew();
    } else if (mode == Activity::M || mode == Activity::A) {
        if (!m_unregistered.isEmpty()) discardUnregistered();
        loadChosen();
    } else if (mode == Activity::RT || mode == Activity::RU || mode == Activity::RA) {
        m_ctx.g.modoatt = m_ctx.g.modoattprec;
    }
}

void Formattivita::clearFields()
{
    for (QLineEdit *e : {m_stato, m_datari, m_datain, m_datafi, m_orari, m_orain, m_orafi,
                         m_tipoatt, m_loc, m_ric, m_note})
        e->clear();
    m_list->clear();
}

void Formattivita::loadNew()
{
    m_ctx.g.attchiusa = false;
    m_loaded.reset();
    // A counter that cannot be read must not send the numbers back to 1:
    // the next number after the highest registered one is proposed.
    bool unreadable = false;
    const auto counter = settings::readCounter(m_ctx.path(File::NumeroProt), &unreadable);
    m_ctx.g.ultimoprot = unreadable ? activities::highestNumber(m_ctx.path(File::Attivita))
                                    : counter.value_or(0);
    // At 32767 there is no next number: the field stays empty and the user
    // is told so if he registers without choosing a free one.
    m_counterFull = m_ctx.g.ultimoprot == 32767;
    m_numprot->setText(m_counterFull ? QString() : QString::number(m_ctx.g.ultimoprot + 1));
    clearFields();
    if (unreadable)
        m_ctx.platform.prompts->info(QStringLiteral(
            "Il contatore dei protocolli (numeroprot.dat) non è leggibile: viene proposto il "
            "numero successivo al più alto di attivita.csv."));
}

void Formattivita::loadChosen()
{
    m_counterFull = false;
    const auto loaded = activities::loadActivity(m_ctx.folder, m_ctx.g.protsel);
    if (!loaded) {
        // Nothing to show: an empty window that registers nothing and,
        // as for a closed activity, touches no register.
        m_ctx.g.attchiusa = true;
        m_loaded.reset();
        m_numprot->clear();
        clearFields();
        snapshot::take(m_ctx, {Register::Attivita, Register::Risorse});
        m_ctx.platform.prompts->info(activities::notFoundMessage(m_ctx.g.protsel));
        return;
    }
    const archive::Record &r = loaded->record;
    const QString &state = r.at(activities::Stato);
    m_ctx.g.attchiusa = state == QLatin1String("C") || state == QLatin1String("S");
    m_numprot->setText(QString::number(r.number(activities::NumProt)));
    m_stato->setText(activities::stateWord(state));
    m_datari->setText(r.at(activities::DataRi));
    m_orari->setText(r.at(activities::OraRi));
    m_datain->setText(r.at(activities::DataIn));
    m_orain->setText(r.at(activities::OraIn));
    m_datafi->setText(r.at(activities::DataFi));
    m_orafi->setText(r.at(activities::OraFi));
    m_tipoatt->setText(r.at(activities::TipoAtt));
    m_loc->setText(r.at(activities::Loc));
    m_ric->setText(r.at(activities::Ric));
    m_note->setText(r.at(activities::Note));
    setResources(loaded->resources);
    m_loaded = loaded;
    snapshot::take(m_ctx, {Register::Attivita, Register::Risorse});
}

void Formattivita::associationRenamed(const QString &from, const QString &to)
{
    for (int i = 0; i < m_list->count(); ++i) {
        QListWidgetItem *item = m_list->item(i);
        item->setText(registers::renamedLine(item->text(), from, to));
    }
    for (QList<resources::Unregistered> *changes : {&m_unregistered, &m_leftover})
        for (resources::Unregistered &u : *changes) u.line = registers::renamedLine(u.line, from, to);
    // Loaded from the archives again: they now name the new association.
    if (m_loaded) m_loaded = activities::loadActivity(m_ctx.folder, m_ctx.g.protsel);
}

void Formattivita::setResources(const QList<activities::ResourceEntry> &entries)
{
    m_list->clear();
    for (const activities::ResourceEntry &e : entries) {
        auto *item = new QListWidgetItem(e.line, m_list);
        item->setData(kStateRole, e.state);
    }
}

QList<activities::ResourceEntry> Formattivita::resources() const
{
    QList<activities::ResourceEntry> out;
    for (int i = 0; i < m_list->count(); ++i) {
        const QListWidgetItem *item = m_list->item(i);
        activities::ResourceEntry e;
        e.line = item->text();
        const QString state = item->data(kStateRole).toString();
        if (!state.isEmpty()) e.state = state;
        out << e;
    }
    return out;
}

void Formattivita::addResourceLine(const QString &line, bool taken)
{
    auto *item = new QListWidgetItem(line, m_list);
    const bool open = !m_ctx.g.attchiusa;
    item->setData(kStateRole, open ? QStringLiteral("O") : QStringLiteral("L"));
    if (open && taken && resources::holdsRegister(line.left(4))) {
        item->setData(kFreshRole, m_nextId);
        auto changes = m_unregistered;
        changes << resources::Unregistered{line, false, m_nextId++};
        keepUnregistered(changes);
    }
}

QString Formattivita::takeAndAdd(const QString &line,
                                 const std::function<archive::Outcome()> &take)
{
    // The register and the record of what the window holds unregistered
    // change together, or neither does.
    archive::Transaction tx(m_ctx.folder);
    bool taken = false;
    if (take) {
        const archive::Outcome o = take();
        if (!resources::ok(o)) return archive::messageOf(o);
        // A line that would stand engaged with nothing taken for it.
        if (o.status == archive::Outcome::NotFound)
            return QStringLiteral("La risorsa scelta non si trova più nell'archivio (eliminata o "
                                  "rinominata nel frattempo): nulla è stato aggiunto. Sceglierla "
                                  "di nuovo dall'elenco.");
        taken = true;
    }
    const auto before = m_unregistered;
    addResourceLine(line, taken);
    const archive::IoResult io = tx.commit();
    if (io.ok()) return {};
    delete m_list->takeItem(m_list->count() - 1);
    m_unregistered = before;
    return io.message();
}

bool Formattivita::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_list->viewport() && event->type() == QEvent::MouseButtonPress) {
        const auto *press = static_cast<QMouseEvent *>(event);
        if (press->button() == Qt::RightButton) {
            // The line concerned is the one already selected: the right
            // press does not move the selection.
            listPressed(press->button());
            return true;
        }
        listPressed(press->button());
    }
    return QWidget::eventFilter(watched, event);
}

void Formattivita::listPressed(Qt::MouseButton button)
{
    // Any button but the right one only selects.
    if (button != Qt::RightButton || m_ctx.consultation) return;
    if (resources::activityMode(m_ctx.g) == modes::Activity::A) return;
    const QList<QListWidgetItem *> selected = m_list->selectedItems();
    if (selected.isEmpty()) return;
    QListWidgetItem *item = selected.first();
    if (!m_ctx.platform.prompts->question(QStringLiteral("Elimino la riga selezionata?"))) return;

    BusyGuard busy(*m_ctx.platform.busy);
    const QString line = item->text();
    if (!m_ctx.g.attchiusa) {
        if (!resources::knownType(line.left(4))) return; // not a resource line: it stays
        // A line released already holds nothing to give back.
        if (item->data(kStateRole).toString() != QLatin1String("L")) {
            // The register and the record of what the window holds
            // unregistered change together, or neither does.
            archive::Transaction tx(m_ctx.folder);
            const archive::Outcome o = resources::giveBackLine(m_ctx.folder, line);
            const quint64 fresh = item->data(kFreshRole).toULongLong();
            auto changes = m_unregistered;
            if (fresh) {
                // Taken and given back since the last registration: nothing
                // is left to undo.
                changes.removeIf([fresh](const resources::Unregistered &u) { return u.id == fresh; });
            } else if (o.status != archive::Outcome::NotFound && resources::holdsRegister(line.left(4))) {
                changes << resources::Unregistered{line, true, m_nextId++};
            }
            // A failure to write sospese.dat is the transaction's, told by
            // its commit.
            if (resources::ok(o)) resources::saveUnregistered(m_ctx.folder, m_leftover + changes);
            const archive::IoResult committed = resources::ok(o) ? tx.commit() : archive::IoResult();
            if (!resources::ok(o) || !committed.ok()) {
                busy.release();
                m_ctx.platform.prompts->info(!resources::ok(o) ? archive::messageOf(o) : committed.message());
                return;
            }
            m_unregistered = changes;
        }
    }
    delete item;
    m_ctx.g.risorsecambiate = true;
}

void Formattivita::forgetUnregistered()
{
    // sospese.dat already says so: written with the registration or the undo.
    m_unregistered.clear();
    for (int i = 0; i < m_list->count(); ++i) m_list->item(i)->setData(kFreshRole, QVariant());
    m_ctx.g.risorsecambiate = false;
}

void Formattivita::keepUnregistered(QList<resources::Unregistered> changes)
{
    // Within the transaction of the change that made them: a failure to
    // write is told by its commit.
    m_unregistered = std::move(changes);
    resources::saveUnregistered(m_ctx.folder, m_leftover + m_unregistered);
}

void Formattivita::showGiveBackMessages()
{
    QStringList messages = m_giveBackMessages;
    m_giveBackMessages.clear();
    messages.removeDuplicates();
    // One message, however many lines had something to say.
    if (!messages.isEmpty()) m_ctx.platform.prompts->info(messages.join(QLatin1Char('\n')));
}

void Formattivita::stampaFoglio()
{
    sheet::Fields f;
    f.numprot = m_numprot->text();
    f.datari = m_datari->text();
    f.orari = m_orari->text();
    f.datain = m_datain->text();
    f.orain = m_orain->text();
    f.datafi = m_datafi->text();
    f.orafi = m_orafi->text();
    f.loc = m_loc->text();
    f.ric = m_ric->text();
    f.tipoatt = m_tipoatt->text();
    f.note = m_note->text();
    for (int i = 0; i < m_list->count(); ++i) f.resources << m_list->item(i)->text();
    printing::print(m_ctx.platform, sheet::printout(f));
}

void Formattivita::fillDateTime(QLineEdit *date, QLineEdit *time)
{
    const QDateTime now = m_ctx.platform.clock->now();
    date->setText(now.toString(QStringLiteral("dd/MM/yyyy")));
    time->setText(now.toString(QStringLiteral("hh.mm")));
}

void Formattivita::fillTime(QLineEdit *time)
{
    time->setText(m_ctx.platform.clock->now().toString(QStringLiteral("hh.mm")));
}

activities::ActivityInput Formattivita::input() const
{
    activities::ActivityInput in;
    in.numprot = m_numprot->text();
    in.datari = m_datari->text();
    in.orari = m_orari->text();
    in.datain = m_datain->text();
    in.orain = m_orain->text();
    in.datafi = m_datafi->text();
    in.orafi = m_orafi->text();
    in.tipoatt = m_tipoatt->text();
    in.loc = m_loc->text();
    in.ric = m_ric->text();
    in.note = m_note->text();
    return in;
}

void Formattivita::registra()
{
    activities::Registration reg;
    reg.mode = m_ctx.g.modoatt;
    reg.input = input();
    reg.protsel = m_ctx.g.protsel;
    reg.alreadyClosed = m_ctx.g.attchiusa;
    reg.resources = resources();
    reg.counterFull = m_counterFull;
    if (reg.mode == modes::Activity::M || reg.mode == modes::Activity::A) reg.loaded = m_loaded;
    // Once registered, nothing the window took or gave back is left to undo.
    // (what is left from an earlier activity stays to be undone).
    if (!m_unregistered.isEmpty())
        reg.alsoWrite = [this] { return resources::saveUnregistered(m_ctx.folder, m_leftover); };

    BusyGuard busy(*m_ctx.platform.busy);
    m_giveBackMessages.clear();
    const activities::RegistrationOutcome out =
        activities::registerActivity(m_ctx.folder, reg, m_giveBack);
    busy.release();
    showGiveBackMessages();
    // Registered: the registered state is the new rollback point, with
    // nothing left to undo.
    if (out.kind == activities::RegistrationOutcome::Inserted
        || out.kind == activities::RegistrationOutcome::Modified
        || out.kind == activities::RegistrationOutcome::Cancelled)
        forgetUnregistered();

    if (out.counter) m_ctx.g.ultimoprot = *out.counter;
    m_ctx.g.modoatt = out.mode;
    m_ctx.g.protsel = out.protsel;
    if (out.kind == activities::RegistrationOutcome::Inserted
        || out.kind == activities::RegistrationOutcome::Modified
        || out.kind == activities::RegistrationOutcome::Cancelled) {
        m_loaded = activities::loadActivity(m_ctx.folder, out.protsel);
    }
    // A new activity, once registered, is the one the window modifies.
    if (reg.mode == modes::Activity::I && out.mode == modes::Activity::M) {
        prepare(QStringLiteral("Attività - Modifica"), QStringLiteral("Modifica"), false);
        if (m_loaded) m_stato->setText(activities::stateWord(m_loaded->record.at(activities::Stato)));
    }
    // The lines now carry the states the archive holds for them.
    for (int i = 0; i < out.resources.size() && i < m_list->count(); ++i)
        m_list->item(i)->setData(kStateRole, out.resources.at(i).state);
    for (const QString &m : out.messages) m_ctx.platform.prompts->info(m);
}

void Formattivita::discardUnregistered()
{
    if (m_unregistered.isEmpty() && m_leftover.isEmpty()) {
        m_ctx.g.risorsecambiate = false;
        return;
    }
    // Undone all together, or not at all when an archive cannot be written
    // or a record refuses; then it is left to be undone at the next
    // occasion, whatever activity the window shows by then (and never taken
    // for registered with it). A record that no longer exists (deleted or
    // renamed meanwhile) is only named.
    BusyGuard busy(*m_ctx.platform.busy);
    archive::Transaction tx(m_ctx.folder);
    const resources::UndoReport report = resources::undo(m_ctx.folder, m_leftover + m_unregistered);
    archive::IoResult io;
    if (report.failures.isEmpty()) {
        resources::saveUnregistered(m_ctx.folder, {});
        io = tx.commit();
    }
    busy.release();
    const bool undone = report.failures.isEmpty() && io.ok();
    m_leftover = undone ? QList<resources::Unregistered>() : m_leftover + m_unregistered;
    forgetUnregistered();
    if (!undone) {
        QStringList told = report.failures;
        if (!io.ok()) told << io.message();
        told.removeDuplicates();
        m_ctx.platform.prompts->info(told.join(QLatin1Char('\n')));
        return;
    }
    if (!report.missing.isEmpty()) m_ctx.platform.prompts->info(report.missingMessage());
}

void Formattivita::esci()
{
    // Leaving in cancellation mode touches nothing the window did not change
    // itself: a cancellation not registered has written nothing.
    const bool rollback = m_ctx.g.risorsecambiate;
    discardUnregistered();
    // Without a rollback the registers as they now stand become the new
    // rollback point.
    if (m_ctx.g.modoatt != modes::Activity::A && !rollback)
        snapshot::take(m_ctx, {Register::Associazioni, Register::Attrezzature, Register::Automezzi});
    hide();
}

void Formattivita::closeEvent(QCloseEvent *event)
{
    if (isVisible()) esci();
    event->accept();
}
