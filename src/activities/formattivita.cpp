#include "activities/formattivita.h"

#include "activities/sheet.h"
#include "printing/printout.h"
#include "ui/keys.h"
#include "session/snapshot.h"
#include "ui/ui.h"
#include "ui/windows.h"

#include <QCloseEvent>
#include <QFontMetrics>
#include <QKeyEvent>
#include <QListWidget>
#include <QMouseEvent>
#include <QResizeEvent>
#include <QStyle>
#include <algorithm>

using activities::ActivitySession;
using ui::tw;

namespace {

constexpr int kClientWidth = 11880;
constexpr int kClientHeight = 8595;
constexpr int kListLeft = 1440, kListTop = 4560, kListWidth = 10215, kListHeight = 2790;
constexpr int kBottomTop = 7680;

const QString kAuto = QStringLiteral("Data e ora automatica (F2 o Ctrl+D nel campo della data).");
const QString kAutoTime = QStringLiteral("Ora automatica (F2 o Ctrl+D nel campo dell'ora).");
const QString kDateKeys = QStringLiteral(" F2 o Ctrl+D: data e ora correnti.");
const QString kTimeKeys = QStringLiteral(" F2 o Ctrl+D: ora corrente.");

// 7.5 points give the 6-pixel columns the list was drawn for, so a whole
// 114-column line fits its width.
QFont listFont() { return printing::courier(7.5); }

// Room for a text in a field of the window's font, never less than designed.
int fitting(const QWidget *w, const QString &sample, int designed)
{
    return std::max(designed, w->fontMetrics().horizontalAdvance(sample) + 12);
}

} // namespace

Formattivita::Formattivita(Context &ctx)
    : QWidget(nullptr), m_ctx(ctx), m_session(*ctx.windows->get<ActivitySession>())
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
    ui::WindowKeys *keys = ui::WindowKeys::of(this);
    const QKeyCombination f2(Qt::Key_F2), ctrlD(Qt::CTRL, Qt::Key_D);
    for (int i = 0; i < 3; ++i) {
        const Row &r = rows[i];
        QPushButton *dateButton = small(r.dateButton, 1920, r.top + 30, kAuto);
        label(r.dateLabel, r.dateText, 2280, r.top + 30, 1860);
        dates[i] = field(r.date, 4200, r.top, 975, r.dateTip + kDateKeys, 315,
                         QStringLiteral("00/00/0000"));
        QPushButton *timeButton = small(r.timeButton, 7320, r.top + 30, kAutoTime);
        label(r.timeLabel, r.timeText, 7680, r.top + 30, 1740);
        times[i] = field(r.time, 9480, r.top, 495, r.timeTip + kTimeKeys, 315,
                         QStringLiteral("00.00"));
        QLineEdit *date = dates[i], *time = times[i];
        connect(dateButton, &QPushButton::clicked, this,
                [this, date, time] { fillDateTime(date, time); });
        connect(timeButton, &QPushButton::clicked, this, [this, time] { fillTime(time); });
        // The small buttons are the keys of their fields.
        ui::offTabChain(dateButton);
        ui::offTabChain(timeButton);
        keys->onKeys(date, {f2, ctrlD}, [this, date, time] { fillDateTime(date, time); });
        keys->onKeys(time, {f2, ctrlD}, [this, time] { fillTime(time); });
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
    auto *attr = ui::button(this, "cmdattr", QStringLiteral("Attrezzature"), tw(120), tw(kListTop),
                            tw(1095), tw(495),
                            QStringLiteral("Premere per inserire le attrezzature che verranno utilizzate "
                                           "durante lo svolgimento dell'attività."));
    auto *autom = ui::button(
        this, "cmdauto", QStringLiteral("Automezzi"), tw(120), tw(5760), tw(1095), tw(495),
        QStringLiteral("Premere per inserire gli automezzi che partecipano all'attività."));
    auto *vol =
        ui::button(this, "cmdvol", QStringLiteral("Volontari"), tw(120), tw(6960), tw(1095), tw(495),
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
        QLabel *h = ui::label(this, headerNames[i], headers[i], x, tw(kListTop) - fm.height() - 2,
                              w, fm.height());
        h->setFont(listFont());
        m_headers << h;
        x += w;
    }

    // The long caption needs more than its designed width: the button grows
    // to the left, keeping its gap to the registration button.
    const QString staccText = QStringLiteral("Stampa foglio accompagnamento");
    const int staccWidth = fitting(this, staccText, tw(1575));
    auto *stacc = ui::button(this, "cmdstacc", staccText, std::min(tw(3480), tw(5400) - staccWidth),
                             tw(kBottomTop), staccWidth, tw(495));
    m_registra = ui::button(this, "cmdregistra", QStringLiteral("Registra"), tw(5520),
                            tw(kBottomTop), tw(1335), tw(495));
    auto *stampa = ui::button(this, "cmdstampa", QStringLiteral("Stampa"), tw(7080), tw(kBottomTop),
                              tw(1335), tw(495));
    auto *esci = ui::button(this, "cmdesci", QStringLiteral("Esci"), tw(8760), tw(kBottomTop),
                            tw(1335), tw(495));
    m_bottom = {stacc, m_registra, stampa, esci};

    connect(attr, &QPushButton::clicked, this,
            [this] { m_session.startPicking(ResourceKind::Equipment); });
    connect(autom, &QPushButton::clicked, this,
            [this] { m_session.startPicking(ResourceKind::Vehicle); });
    connect(vol, &QPushButton::clicked, this,
            [this] { m_session.startPicking(ResourceKind::Association); });
    connect(stacc, &QPushButton::clicked, this, &Formattivita::stampaFoglio);
    connect(m_registra, &QPushButton::clicked, this, &Formattivita::registra);
    connect(esci, &QPushButton::clicked, this, &Formattivita::esci);
    connect(&m_session, &ActivitySession::loaded, this, &Formattivita::showLoaded);
    connect(&m_session, &ActivitySession::linesChanged, this, &Formattivita::showLines);
    connect(&m_session, &ActivitySession::numberProposed, this, &Formattivita::showProposedNumber);
    for (const auto &shown : edits())
        connect(shown.first, &QLineEdit::textChanged, this, &Formattivita::typed);
    onActivation(ctx, this, [this] { activated(); });
    // A new activity whose number the user has not changed proposes the
    // number that follows another copy's registration; that is all
    // activation does then. A task waiting to be loaded, a pick under way
    // and the fields of an activity loaded wait for the next activation.
    onFolderChange(ctx, this, [this] {
        if (m_ctx.g.modoatt == modes::Activity::I && !m_session.loadPending()) m_session.activate();
        else m_session.followStored();
    });
    // Consultation only: the activity is shown and printed, never registered,
    // and no resource is taken from or given back to the registers.
    if (ctx.consultation)
        for (QPushButton *b : {m_registra, attr, autom, vol}) b->setEnabled(false);

    m_stato->setFocusPolicy(Qt::ClickFocus); // shown, never typed
    ui::tabChain({m_numprot, m_datari, m_orari, m_datain, m_orain, m_datafi, m_orafi, m_tipoatt,
                  m_loc, m_ric, m_note, attr, autom, vol, m_list, stacc, m_registra, stampa, esci});
    keys->firstFields({m_numprot})
        ->mainButton(m_registra)
        ->exitButton(esci)
        // Canc on a resource line does what the right button does: on the
        // line selected, or else on the line of the cursor.
        ->onKeys(m_list, {Qt::Key_Delete},
                 [this] { askToDelete(m_list->selectedItems().value(0, m_list->currentItem())); });
}

void Formattivita::prepare(const QString &title, const QString &caption, bool showButton)
{
    setWindowTitle(m_ctx.consultation ? title + QStringLiteral(" - sola consultazione") : title);
    m_registra->setText(caption);
    if (showButton) m_registra->setVisible(true);
}

bool Formattivita::startTask(modes::Activity mode, const QString &protsel, bool rollbackPoint)
{
    const QString question = m_session.abandonQuestion();
    if (!question.isEmpty() && !m_ctx.platform.prompts->question(question)) return false;
    const bool held = !m_session.unregistered().isEmpty();
    BusyGuard busy(*m_ctx.platform.busy);
    const ActivitySession::Outcome out = m_session.choose(protsel, mode);
    busy.release();
    tell(out);
    if (rollbackPoint || held) snapshot::takeRegisters(m_ctx);
    return true;
}

void Formattivita::showTask(const QWidget *opener)
{
    // The activation filter lets through only an activation coming from
    // another window of the program.
    const bool activeAlready = isVisible() && m_ctx.lastActive == this;
    present(this, opener);
    if (activeAlready && m_session.loadPending()) activated();
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

// Minimized and restored, the window stays shown: those events come from
// the window system.
void Formattivita::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    if (!event->spontaneous()) m_session.setShown(true);
}

void Formattivita::hideEvent(QHideEvent *event)
{
    QWidget::hideEvent(event);
    if (!event->spontaneous()) m_session.setShown(false);
}

void Formattivita::tell(const ActivitySession::Outcome &out)
{
    for (const QString &m : out.messages) m_ctx.platform.prompts->info(m);
}

void Formattivita::activated()
{
    BusyGuard busy(*m_ctx.platform.busy);
    const ActivitySession::Outcome out = m_session.activate();
    busy.release();
    tell(out);
}

void Formattivita::showLoaded()
{
    m_filling = true;
    for (const auto &[edit, field] : edits()) edit->setText(m_session.fields().*field);
    m_filling = false;
    typed();
    m_list->clear();
    showLines();
}

void Formattivita::showProposedNumber()
{
    m_filling = true;
    m_numprot->setText(m_session.fields().numprot);
    m_filling = false;
    typed();
}

void Formattivita::typed()
{
    if (!m_filling) m_session.setTyped(input());
}

void Formattivita::showLines()
{
    m_stato->setText(m_session.stateWord());
    const QList<activities::SessionLine> &lines = m_session.lines();
    // Lines added at the end keep the selection; any other change shows
    // the list anew, with nothing selected.
    bool appended = m_list->count() <= lines.size();
    for (int i = 0; appended && i < m_list->count(); ++i)
        appended = m_list->item(i)->text() == lines.at(i).line;
    if (!appended) m_list->clear();
    for (int i = m_list->count(); i < lines.size(); ++i) m_list->addItem(lines.at(i).line);
}

bool Formattivita::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_list->viewport() && event->type() == QEvent::MouseButtonPress) {
        const auto *press = static_cast<QMouseEvent *>(event);
        // Any button but the right one only selects; the right one acts on
        // the line under the pointer.
        if (press->button() == Qt::RightButton) {
            askToDelete(m_list->itemAt(press->position().toPoint()));
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

void Formattivita::askToDelete(QListWidgetItem *item)
{
    if (!item || !m_session.mayDeleteLines()) return;
    m_list->setCurrentItem(item);
    const int row = m_list->row(item);
    if (!m_ctx.platform.prompts->question(m_session.deleteQuestion(row))) return;
    BusyGuard busy(*m_ctx.platform.busy);
    const ActivitySession::Outcome out = m_session.deleteLine(row);
    busy.release();
    tell(out);
}

void Formattivita::stampaFoglio()
{
    sheet::Fields f{input(), {}};
    for (const activities::SessionLine &l : m_session.lines()) f.resources << l.line;
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

QList<std::pair<QLineEdit *, QString activities::ActivityInput::*>> Formattivita::edits() const
{
    using In = activities::ActivityInput;
    return {{m_numprot, &In::numprot}, {m_datari, &In::datari},   {m_orari, &In::orari},
            {m_datain, &In::datain},   {m_orain, &In::orain},     {m_datafi, &In::datafi},
            {m_orafi, &In::orafi},     {m_tipoatt, &In::tipoatt}, {m_loc, &In::loc},
            {m_ric, &In::ric},         {m_note, &In::note}};
}

activities::ActivityInput Formattivita::input() const
{
    activities::ActivityInput in;
    for (const auto &[edit, field] : edits()) in.*field = edit->text();
    return in;
}

void Formattivita::registra()
{
    // A cancellation is not undone by leaving: it is confirmed first.
    const QString cancel = m_session.cancelQuestion();
    if (!cancel.isEmpty() && !m_ctx.platform.prompts->question(cancel)) return;
    const modes::Activity before = m_ctx.g.modoatt;
    BusyGuard busy(*m_ctx.platform.busy);
    const ActivitySession::Outcome out = m_session.registerActivity(input());
    busy.release();
    // The dates and times as the archive has them now.
    if (out.written)
        for (const auto &[edit, field] : edits())
            if (edit->text() != (*out.written).*field) edit->setText((*out.written).*field);
    // A new activity, once registered, is the one the window modifies.
    if (before == modes::Activity::I && m_ctx.g.modoatt == modes::Activity::M)
        prepare(QStringLiteral("Attività - Modifica"), QStringLiteral("Modifica"), false);
    tell(out);
    // The field the refusal names takes the keyboard.
    for (const auto &[edit, field] : edits())
        if (out.field && field == out.field) ui::focusField(edit);
}

void Formattivita::esci()
{
    BusyGuard busy(*m_ctx.platform.busy);
    const ActivitySession::Outcome out = m_session.leave();
    busy.release();
    tell(out);
    hide();
}

void Formattivita::closeEvent(QCloseEvent *event)
{
    if (isVisible()) esci();
    event->accept();
}
