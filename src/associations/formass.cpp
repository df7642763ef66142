#include "associations/formass.h"

#include "ui/keys.h"
#include "ui/ui.h"
#include "ui/windows.h"
#include "archive/encoding.h"
#include "associations/riempiassociazioni.h"
#include "registers/widgets.h"
#include "equipment/records.h"
#include "vehicles/records.h"

#include <QComboBox>
#include <QLineEdit>
#include <optional>

using archive::File;

namespace {
const char *const kDuplicate = "Associazione già presente nell'archivio.";
const char *const kNotFound = "Associazione non trovata.";
const char *const kGiveUp = "Rinuncio ad eliminare l'associazione";

// Rows of the field column: a small button, the label, the field.
constexpr int kButtonX = 8, kLabelX = 64, kFieldX = 176, kTop = 24, kStep = 32, kRowH = 23;
constexpr int rowY(int row) { return kTop + row * kStep; }
} // namespace

Formass::Formass(Context &ctx) : QWidget(nullptr), m_ctx(ctx)
{
    setObjectName(QStringLiteral("Formass"));
    setWindowTitle(QStringLiteral("Associazioni "));
    setFixedSize(512, 376);

    struct Row {
        const char *label, *labelText, *field, *tooltip;
        int width;
    };
    const Row rows[] = {
        {"Label1", "Denominazione", "cmbassdenom",
         "Digitare il nome dell'associazione o sceglierlo dall'elenco.", 320},
        {"Label2", "Indirizzo", "assindir", "Via o Piazza dell'associazione", 320},
        {"Label3", "Comune", "asscomune", "Comune di residenza dell'associazione", 320},
        {"Label4", "Provincia", "assprov", "Sigla della provincia di residenza dell'associazione", 41},
        {"Label5", "Telefono", "asstel", "Numeri telefonici dell'associazione", 320},
        {"Label6", "Fax", "assfax", "Numeri fax dell'associazione", 320},
        {"Label7", "e-mail", "assemail", "Indirizzi e-mail dell'associazione", 320},
        {"Label8", "Campo", "asscampo", "Campo di stazionamento dell'associazione", 320},
        {"Label9", "N. Volontari", "assnumvol",
         "Numero di volontari partecipanti dell'associazione", 57},
    };
    QLineEdit *fields[9] = {};
    for (int i = 0; i < 9; ++i) {
        const Row &r = rows[i];
        ui::label(this, r.label, QString::fromUtf8(r.labelText), kLabelX, rowY(i) + 3, 108, 17);
        if (i == 0) {
            m_denom = registers::editableList(this, r.field, kFieldX, rowY(i), r.width, kRowH,
                                              QString::fromUtf8(r.tooltip));
        } else {
            fields[i] = ui::field(this, r.field, kFieldX, rowY(i), r.width, kRowH,
                                  QString::fromUtf8(r.tooltip));
        }
    }
    m_indir = fields[1];
    m_comune = fields[2];
    m_prov = fields[3];
    m_tel = fields[4];
    m_fax = fields[5];
    m_email = fields[6];
    m_campo = fields[7];
    m_numvol = fields[8];

    auto *cerca = ui::button(this, "cmdcercaass", QStringLiteral("Cerca"), kButtonX, rowY(0), 49,
                             kRowH);
    m_registra = ui::button(this, "cmdassregistra", QStringLiteral("Registra"), kFieldX, 320, 97, 33);
    auto *esci = ui::button(this, "cmdassesci", QStringLiteral("Esci"), kFieldX + 128, 320, 97, 33);

    connect(cerca, &QPushButton::clicked, this, &Formass::cerca);
    connect(m_denom, &registers::ChoiceList::chosen, this, &Formass::nameChosen);
    connect(m_registra, &QPushButton::clicked, this, &Formass::registra);
    connect(esci, &QPushButton::clicked, this, &QWidget::hide);
    onActivation(ctx, this, [this] { activated(); });
    onFolderChange(ctx, this, [this] { refreshNames(); });

    ui::tabChain({cerca, m_denom, m_indir, m_comune, m_prov, m_tel, m_fax, m_email, m_campo,
                  m_numvol, m_registra, esci});
    ui::WindowKeys::of(this)
        ->firstFields({m_denom})
        ->mainButton(m_registra)
        ->exitButton(esci)
        ->enterIn(m_denom, cerca);
}

bool Formass::prepare(modes::Registry mode, const QString &title, const QString &caption)
{
    // Viewing and consulting register nothing: nothing there is lost.
    const bool registering = !m_ctx.consultation && m_ctx.g.modoass != modes::Registry::L;
    if (isVisible() && registering && m_draft.changed(shown())) {
        const QString name = m_denom->currentText().trimmed();
        if (!registers::abandon(*m_ctx.platform.prompts,
                                name.isEmpty() ? QStringLiteral("una nuova associazione")
                                               : QStringLiteral("l'associazione %1").arg(name)))
            return false;
    }
    m_ctx.g.modoass = mode;
    registers::prepareWindow(this, m_registra, m_ctx.consultation, title, caption);
    BusyGuard busy(*m_ctx.platform.busy);
    m_denom->setEditText(QString());
    riempiassociazioni(m_denom, m_ctx.path(File::Associazioni), QString());
    clearFields();
    markClean();
    return true;
}

void Formass::activated()
{
    if (m_ctx.g.modoass == modes::Registry::L) {
        BusyGuard busy(*m_ctx.platform.busy);
        const QString path = m_ctx.path(File::Associazioni);
        // Viewing follows the archive: the list window has set nomecaricato
        // already.
        if (const auto a = associations::findByColumn(path, m_selectedLine.left(registers::kColumn)))
            load(*a);
        markClean();
        return;
    }
    refreshNames();
}

void Formass::refreshNames()
{
    // What the user typed or chose stays; the names follow what other
    // windows, or other copies of the program, registered.
    BusyGuard busy(*m_ctx.platform.busy);
    riempiassociazioni(m_denom, m_ctx.path(File::Associazioni), QString());
}

QStringList Formass::shown() const
{
    QStringList out{m_denom->currentText()};
    for (const QLineEdit *e : {m_indir, m_comune, m_prov, m_tel, m_fax, m_email, m_campo, m_numvol})
        out << e->text();
    return out;
}

void Formass::markClean() { m_draft.markClean(shown()); }

void Formass::cerca()
{
    BusyGuard busy(*m_ctx.platform.busy);
    riempiassociazioni(m_denom, m_ctx.path(File::Associazioni), m_denom->currentText());
}

namespace {

// What the archive holds of an association, field by field.
QStringList valuesOf(const std::optional<associations::Association> &a)
{
    if (!a) return {};
    return {a->denominazione,
            a->indirizzo,
            a->comune,
            a->provincia,
            a->telefono,
            a->fax,
            a->email,
            a->campo,
            QString::number(a->volontari),
            QString::number(a->volontaritotali)};
}

} // namespace

void Formass::nameChosen()
{
    const QString name = m_denom->currentText();
    std::optional<associations::Association> found;
    {
        BusyGuard busy(*m_ctx.platform.busy);
        found = associations::find(m_ctx.path(File::Associazioni), name);
    }
    if (name.isEmpty() || !found) return;
    m_ctx.g.nomecaricato = found->denominazione;
    m_loaded = valuesOf(found);
    load(*found);
    markClean();
}

associations::Input Formass::input() const
{
    return {m_denom->currentText(), m_indir->text(), m_comune->text(),
            m_prov->text(),         m_tel->text(),   m_fax->text(),
            m_email->text(),        m_campo->text(), m_numvol->text()};
}

void Formass::showInput(const associations::Input &in)
{
    m_denom->setEditText(in.denominazione);
    m_indir->setText(in.indirizzo);
    m_comune->setText(in.comune);
    m_prov->setText(in.provincia);
    m_tel->setText(in.telefono);
    m_fax->setText(in.fax);
    m_email->setText(in.email);
    m_campo->setText(in.campo);
    m_numvol->setText(in.numvol);
}

void Formass::load(const associations::Association &a)
{
    showInput({a.denominazione, a.indirizzo, a.comune, a.provincia, a.telefono, a.fax, a.email,
               a.campo, QString::number(a.volontari)});
}

void Formass::clearFields()
{
    for (QLineEdit *e : {m_indir, m_comune, m_prov, m_tel, m_fax, m_email, m_campo}) e->clear();
    m_numvol->setText(QStringLiteral("0"));
}

void Formass::tell(const QString &message) { m_ctx.platform.prompts->info(message); }

QWidget *Formass::fieldOf(const QString &message) const
{
    if (message == QLatin1String("Numero volontari dell'associazione errato.")) return m_numvol;
    // A character the archives cannot hold: the first field holding one.
    for (QLineEdit *e : {m_indir, m_comune, m_prov, m_tel, m_fax, m_email, m_campo})
        if (message == cp1252::refusal(e->text())) return e;
    return m_denom;
}

void Formass::renamed(const QString &from, const QString &to)
{
    if (!from.isEmpty() && from != to && m_ctx.associationRenamed)
        m_ctx.associationRenamed(from, to);
}

void Formass::registra()
{
    const associations::Input in = associations::cleaned(input());
    showInput(in);
    const QString wrong = associations::check(in);
    if (!wrong.isEmpty()) {
        tell(wrong);
        ui::focusField(fieldOf(wrong));
        return;
    }
    const QStringList fields = associations::recordFields(in);
    const modes::Registry mode = m_ctx.g.modoass;
    if (mode == modes::Registry::M) modifyRecord(fields);
    else if (mode == modes::Registry::A) deleteRecord(in.denominazione);
    else insertRecord(fields);
}

void Formass::insertRecord(const QStringList &fields)
{
    BusyGuard busy(*m_ctx.platform.busy);
    const registers::Outcome o = associations::insert(m_ctx.folder, fields);
    if (!o.done()) {
        busy.release();
        tell(archive::messageOf(o, QString::fromUtf8(kDuplicate), QString::fromUtf8(kNotFound)));
        ui::focusField(m_denom);
        return;
    }
    m_denom->setEditText(QString());
    clearFields();
    markClean();
    m_denom->setFocus();
}

void Formass::modifyRecord(const QStringList &fields)
{
    BusyGuard busy(*m_ctx.platform.busy);
    const QString from = m_ctx.g.nomecaricato;
    const QString path = m_ctx.path(File::Associazioni);
    // What the window shows of the association chosen must still be what
    // is stored: volunteers an activity took or gave back meanwhile, or a
    // change another desk registered, are not undone unseen.
    const registers::Outcome o = registers::whileUnchanged(
        m_ctx.folder, m_loaded.value(0) == from ? m_loaded : QStringList(),
        [&] { return valuesOf(associations::find(path, from)); },
        QStringLiteral("L'associazione %1 è cambiata nell'archivio da quando è stata scelta: nulla "
                       "è stato modificato. Sceglierla di nuovo per vederla com'è ora.")
            .arg(from),
        [&] { return associations::modify(m_ctx.folder, from, fields); });
    busy.release();
    if (!o.done()) {
        tell(archive::messageOf(o, QString::fromUtf8(kDuplicate), QString::fromUtf8(kNotFound)));
        ui::focusField(m_denom);
        return;
    }
    renamed(from, fields.at(associations::Denominazione));
    m_loaded = valuesOf(associations::find(path, fields.at(associations::Denominazione)));
    markClean();
    tell(QStringLiteral("Associazione modificata."));
}

void Formass::deleteRecord(const QString &nameField)
{
    const QString name = m_ctx.g.nomecaricato;
    std::optional<BusyGuard> busy;
    auto confirmed = [&](bool present, const char *question) {
        busy.reset();
        if (!present || m_ctx.platform.prompts->question(QString::fromUtf8(question))) return true;
        tell(QString::fromUtf8(kGiveUp));
        return false;
    };

    busy.emplace(*m_ctx.platform.busy);
    if (!associations::exists(m_ctx.path(File::Associazioni), name)) {
        busy.reset();
        tell(QString::fromUtf8(kNotFound));
        return;
    }
    // Asked before any question: nothing is to be confirmed that cannot be done.
    const QString held = associations::deleteRefusal(m_ctx.folder, name);
    if (!held.isEmpty()) {
        busy.reset();
        tell(held);
        return;
    }
    const bool hasEquipment = equipment::Archive::anyOf(m_ctx.path(File::Attrezzature), name);
    if (!confirmed(hasEquipment, "Ci sono attrezzature registrate per questa associazione. "
                                 "Elimino tutte le attrezzature?"))
        return;
    busy.emplace(*m_ctx.platform.busy);
    const bool hasVehicles = vehicles::Archive::anyOf(m_ctx.path(File::Automezzi), name);
    if (!confirmed(hasVehicles, "Ci sono Automezzi registrati per questa associazione. "
                                "Elimino tutti gli automezzi?"))
        return;

    busy.emplace(*m_ctx.platform.busy);
    const registers::Outcome o = associations::remove(m_ctx.folder, name, nameField);
    busy.reset();
    if (!o.done()) {
        tell(archive::messageOf(o, QString::fromUtf8(kDuplicate), QString::fromUtf8(kNotFound)));
        return;
    }
    renamed(name, nameField);
    markClean();
    tell(QStringLiteral("Associazione eliminata."));
}
