#include "vehicles/formauto.h"

#include "ui/keys.h"
#include "ui/ui.h"
#include "ui/windows.h"
#include "archive/encoding.h"
#include "associations/records.h"
#include "registers/widgets.h"

#include <QComboBox>
#include <QLineEdit>

using archive::File;

namespace {
constexpr int kButtonX = 8, kLabelX = 64, kFieldX = 200, kTop = 24, kStep = 32, kRowH = 23;
constexpr int rowY(int row) { return kTop + row * kStep; }

const char *const kPick = "Scegliere l'associazione o digitare alcuni caratteri di ricerca e "
                          "cliccare 'CERCA', quindi scegliere l'associazione.";
const char *const kCampoTip = "Digitare il campo di stazionamento del volontario.";

QString today(const QDateTime &t) { return t.toString(QStringLiteral("dd/MM/yyyy")); }
QString now(const QDateTime &t) { return t.toString(QStringLiteral("hh.mm")); }
} // namespace

Formauto::Formauto(Context &ctx) : QWidget(nullptr), m_ctx(ctx)
{
    setObjectName(QStringLiteral("Formauto"));
    setWindowTitle(QStringLiteral("Automezzi - Inserimento"));
    setFixedSize(584, 384);

    const char *labels[] = {"Denominazione ass.", "Descrizione",      "Campo",
                            "Data arrivo",        "Ora di arrivo",    "Data partenza",
                            "Ora partenza",       "Specializzazione", "Stato (A/B/L/R)"};
    for (int i = 0; i < 9; ++i) {
        const QByteArray name = "Label" + QByteArray::number(i + 1);
        ui::label(this, name.constData(), QString::fromUtf8(labels[i]), kLabelX, rowY(i) + 3, 132,
                  17);
    }
    const QString pick = QString::fromUtf8(kPick);
    m_ass = registers::editableList(this, "cmbass", kFieldX, rowY(0), 360, kRowH, pick);
    m_des = registers::editableList(this, "cmbdes", kFieldX, rowY(1), 360, kRowH, pick);
    m_campo = ui::field(this, "campo", kFieldX, rowY(2), 360, kRowH, QString::fromUtf8(kCampoTip));
    // Dates and times of arrival and departure, each with its tip.
    const struct {
        QLineEdit **field;
        const char *name, *what, *when, *form, *help;
        int width;
    } moments[] = {
        {&m_dataar, "dataar", "Data", "arrivo al", "gg/mm/aaaa", "la data", 89},
        {&m_oraar, "oraar", "Ora", "arrivo al", "oo.mm", "l'ora", 57},
        {&m_datapa, "datapa", "Data", "partenza dal", "gg/mm/aaaa", "la data", 89},
        {&m_orapa, "orapa", "Ora", "partenza dal", "oo.mm", "l'ora", 57},
    };
    int row = 3;
    for (const auto &m : moments)
        *m.field = ui::field(this, m.name, kFieldX, rowY(row++), m.width, kRowH,
                             QStringLiteral("%1 di %2 campo in formato %3 o premere il pulsante di "
                                            "Help per %4 corrente (tasto F2 o Ctrl+D).")
                                 .arg(QLatin1String(m.what), QLatin1String(m.when),
                                      QLatin1String(m.form), QString::fromUtf8(m.help)));
    m_note = ui::field(this, "note", kFieldX, rowY(7), 360, kRowH, QString::fromUtf8(kCampoTip));
    m_stato = registers::editableList(this, "cmbstato", kFieldX, rowY(8), 121, kRowH);

    auto *cerca = ui::button(this, "cmdcercaass", QStringLiteral("Cerca"), kButtonX, rowY(0), 49,
                             kRowH);
    auto *cognome = ui::button(this, "cmdcognome", QStringLiteral("H"), kButtonX, rowY(1), 25, kRowH);
    const QString dateTip = QStringLiteral("Data e ora correnti (F2 o Ctrl+D nel campo della data).");
    const QString timeTip = QStringLiteral("Ora corrente (F2 o Ctrl+D nel campo dell'ora).");
    auto *dataar = ui::button(this, "cmddataar", QStringLiteral("H"), kButtonX, rowY(3), 25, kRowH,
                              dateTip);
    auto *oraar = ui::button(this, "cmdoraar", QStringLiteral("H"), kButtonX, rowY(4), 25, kRowH,
                             timeTip);
    auto *datapa = ui::button(this, "cmddatapa", QStringLiteral("H"), kButtonX, rowY(5), 25, kRowH,
                              dateTip);
    auto *orapa = ui::button(this, "cmdorapa", QStringLiteral("H"), kButtonX, rowY(6), 25, kRowH,
                             timeTip);
    m_registra = ui::button(this, "cmdregistra", QStringLiteral("Registra"), kFieldX, 328, 97, 33);
    auto *esci = ui::button(this, "cmdesci", QStringLiteral("Esci"), kFieldX + 128, 328, 97, 33);

    connect(cerca, &QPushButton::clicked, this, &Formauto::cerca);
    connect(m_ass, &registers::ChoiceList::chosen, this, &Formauto::associationChosen);
    connect(m_des, &registers::ChoiceList::chosen, this, &Formauto::descriptionChosen);
    Clock *clock = ctx.platform.clock;
    auto dateTime = [clock](QLineEdit *date, QLineEdit *time) {
        return [clock, date, time] {
            date->setText(today(clock->now()));
            time->setText(now(clock->now()));
        };
    };
    auto timeOnly = [clock](QLineEdit *time) {
        return [clock, time] { time->setText(now(clock->now())); };
    };
    connect(dataar, &QPushButton::clicked, this, dateTime(m_dataar, m_oraar));
    connect(datapa, &QPushButton::clicked, this, dateTime(m_datapa, m_orapa));
    connect(oraar, &QPushButton::clicked, this, timeOnly(m_oraar));
    connect(orapa, &QPushButton::clicked, this, timeOnly(m_orapa));
    connect(m_registra, &QPushButton::clicked, this, &Formauto::registra);
    connect(esci, &QPushButton::clicked, this, &QWidget::hide);
    onActivation(ctx, this, [this] { activated(); });
    // Activation only refreshes the drop-down lists: so does a change of
    // the archives on disk.
    onFolderChange(ctx, this, [this] { activated(); });

    // The "H" buttons are the keys of their fields; the one of the
    // description does nothing.
    for (QPushButton *b : {cognome, dataar, oraar, datapa, orapa}) ui::offTabChain(b);
    ui::tabChain({cerca, m_ass, m_des, m_campo, m_dataar, m_oraar, m_datapa, m_orapa, m_note,
                  m_stato, m_registra, esci});
    const QKeyCombination f2(Qt::Key_F2), ctrlD(Qt::CTRL, Qt::Key_D);
    ui::WindowKeys::of(this)
        ->firstFields({m_ass})
        ->mainButton(m_registra)
        ->exitButton(esci)
        ->enterIn(m_ass, cerca)
        ->onKeys(m_dataar, {f2, ctrlD}, dateTime(m_dataar, m_oraar))
        ->onKeys(m_oraar, {f2, ctrlD}, timeOnly(m_oraar))
        ->onKeys(m_datapa, {f2, ctrlD}, dateTime(m_datapa, m_orapa))
        ->onKeys(m_orapa, {f2, ctrlD}, timeOnly(m_orapa));
}

bool Formauto::prepare(modes::Registry mode, const QString &title, const QString &caption)
{
    if (isVisible() && !m_ctx.consultation && m_draft.changed(shown())
        && !registers::abandon(*m_ctx.platform.prompts,
                               registers::recordName(m_ass->currentText(), m_des->currentText(),
                                                     "l'automezzo %1", "un automezzo",
                                                     "un nuovo automezzo")))
        return false;
    m_ctx.g.modoauto = mode;
    registers::prepareWindow(this, m_registra, m_ctx.consultation, title, caption);
    BusyGuard busy(*m_ctx.platform.busy);
    registers::refill(m_ass, associations::matchingNames(m_ctx.path(File::Associazioni), QString()));
    registers::empty(m_des);
    m_descriptionsOf.clear();
    for (QLineEdit *e : {m_campo, m_dataar, m_oraar, m_datapa, m_orapa, m_note}) e->clear();
    registers::refill(m_stato, registers::stateEntries());
    markClean();
    return true;
}

void Formauto::activated()
{
    // What the user typed or chose stays; the lists follow what other
    // windows registered.
    BusyGuard busy(*m_ctx.platform.busy);
    registers::refresh(m_ass, associations::matchingNames(m_ctx.path(File::Associazioni), QString()));
    if (!m_descriptionsOf.isEmpty())
        registers::refresh(m_des, vehicles::Archive::descriptionsOf(m_ctx.path(File::Automezzi),
                                                                    m_descriptionsOf));
}

QStringList Formauto::shown() const
{
    const vehicles::Input in = input();
    return {in.associazione, in.descrizione, in.campo, in.dataar, in.oraar,
            in.datapa,       in.orapa,       in.note,  in.stato};
}

void Formauto::markClean() { m_draft.markClean(shown()); }

void Formauto::cerca()
{
    BusyGuard busy(*m_ctx.platform.busy);
    const QString search = m_ass->currentText();
    registers::refill(m_ass, associations::matchingNames(m_ctx.path(File::Associazioni), search));
}

void Formauto::fillDescriptions()
{
    m_descriptionsOf = m_ass->currentText();
    registers::refill(m_des, vehicles::Archive::descriptionsOf(m_ctx.path(File::Automezzi),
                                                               m_descriptionsOf));
}

void Formauto::associationChosen()
{
    BusyGuard busy(*m_ctx.platform.busy);
    fillDescriptions();
}

void Formauto::descriptionChosen()
{
    BusyGuard busy(*m_ctx.platform.busy);
    const vehicles::Key key{m_ass->currentText(), m_des->currentText()};
    const auto v = vehicles::Archive::find(m_ctx.path(File::Automezzi), key);
    if (!v) return;
    m_campo->setText(v->campo);
    m_dataar->setText(v->dataarrivo);
    m_oraar->setText(v->oraarrivo);
    m_datapa->setText(v->datapartenza);
    m_orapa->setText(v->orapartenza);
    m_note->setText(v->specializzazione);
    m_stato->setEditText(v->stato);
    m_chiaveauto = key;
    m_loaded = registers::storedFields(m_ctx.path(File::Automezzi), vehicles::format(), key);
    markClean();
}

vehicles::Input Formauto::input() const
{
    return {m_ass->currentText(), m_des->currentText(), m_campo->text(),
            m_dataar->text(),     m_oraar->text(),      m_datapa->text(),
            m_orapa->text(),      m_note->text(),       m_stato->currentText()};
}

QWidget *Formauto::fieldOf(vehicles::Field field) const
{
    switch (field) {
    case vehicles::Associazione: return m_ass;
    case vehicles::Descrizione: return m_des;
    case vehicles::Campo: return m_campo;
    case vehicles::DataArrivo: return m_dataar;
    case vehicles::OraArrivo: return m_oraar;
    case vehicles::DataPartenza: return m_datapa;
    case vehicles::OraPartenza: return m_orapa;
    case vehicles::Specializzazione: return m_note;
    case vehicles::Stato: return m_stato;
    }
    return m_ass;
}

void Formauto::afterChange(bool keepArrival)
{
    fillDescriptions();
    m_campo->clear();
    m_datapa->clear();
    m_orapa->clear();
    m_note->clear();
    if (!keepArrival) {
        m_dataar->clear();
        m_oraar->clear();
        m_stato->setEditText(QString());
    }
    m_des->setFocus();
}

void Formauto::registra()
{
    Prompts &prompts = *m_ctx.platform.prompts;
    const vehicles::Input in = input();
    const vehicles::Refusal wrong = vehicles::check(in, m_ctx.platform.clock->now());
    if (wrong.refused()) {
        prompts.info(wrong.message);
        ui::focusField(fieldOf(wrong.field));
        return;
    }
    const QStringList fields = vehicles::recordFields(in);
    const modes::Registry mode = m_ctx.g.modoauto;
    const bool modify = mode == modes::Registry::M, remove = mode == modes::Registry::A;
    // What the window shows of the vehicle chosen must still be what is
    // stored: a change made meanwhile (an activity took it or gave it back,
    // another desk registered a change) is not undone unseen.
    const QString path = m_ctx.path(File::Automezzi);
    BusyGuard busy(*m_ctx.platform.busy);
    const registers::Outcome o =
        modify ? registers::whileUnchanged(
            m_ctx.folder, m_loaded,
            [&] { return registers::storedFields(path, vehicles::format(), m_chiaveauto); },
            QStringLiteral("L'automezzo %1 dell'associazione %2 è cambiato nell'archivio da "
                           "quando è stato scelto: nulla è stato modificato. Sceglierlo di "
                           "nuovo per vederlo com'è ora.")
                .arg(m_chiaveauto.descrizione, m_chiaveauto.associazione),
            [&] { return vehicles::modify(m_ctx.folder, m_chiaveauto, fields); })
        : remove ? vehicles::remove(m_ctx.folder, m_chiaveauto)
                 : vehicles::insert(m_ctx.folder, fields);
    if (!o.done()) {
        busy.release();
        prompts.info(archive::messageOf(o, QString::fromUtf8("Automezzo già presente nell'archivio."),
                                        QStringLiteral("Automezzo non trovato.")));
        if (o.status != registers::Outcome::Failed) ui::focusField(m_des);
        return;
    }
    // The dates and times as written: what stays in the window shows them so.
    m_dataar->setText(fields.at(vehicles::DataArrivo));
    m_oraar->setText(fields.at(vehicles::OraArrivo));
    m_datapa->setText(fields.at(vehicles::DataPartenza));
    m_orapa->setText(fields.at(vehicles::OraPartenza));
    if (modify) m_loaded = registers::storedFields(path, vehicles::format(), m_chiaveauto);
    afterChange(!modify && !remove);
    markClean();
    busy.release();
    prompts.info(modify   ? QStringLiteral("Automezzo modificato correttamente.")
                 : remove ? QStringLiteral("Automezzo eliminato correttamente.")
                          : QStringLiteral("Automezzo registrato correttamente."));
}
