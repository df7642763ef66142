#include "equipment/formattr.h"

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
} // namespace

Formattr::Formattr(Context &ctx) : QWidget(nullptr), m_ctx(ctx)
{
    setObjectName(QStringLiteral("Formattr"));
    setWindowTitle(QStringLiteral("Attrezzature - Inserimento"));
    setFixedSize(584, 232);

    const char *labels[] = {"Denominazione ass.", "Descrizione", "Stato (A/B/L/R)", "Quantità"};
    for (int i = 0; i < 4; ++i) {
        const QByteArray name = "Label" + QByteArray::number(i + 1);
        ui::label(this, name.constData(), QString::fromUtf8(labels[i]), kLabelX, rowY(i) + 3, 132,
                  17);
    }
    const QString pick = QStringLiteral("Scegliere l'associazione o digitare alcuni caratteri di "
                                        "ricerca e cliccare 'CERCA', quindi scegliere "
                                        "l'associazione.");
    m_ass = registers::editableList(this, "cmbass", kFieldX, rowY(0), 360, kRowH, pick);
    m_des = registers::editableList(this, "cmbdes", kFieldX, rowY(1), 360, kRowH, pick);
    m_stato = registers::editableList(this, "cmbstato", kFieldX, rowY(2), 121, kRowH);
    m_qta = ui::field(this, "qta", kFieldX, rowY(3), 57, kRowH);

    auto *cerca = ui::button(this, "cmdcercaass", QStringLiteral("Cerca"), kButtonX, rowY(0), 49,
                             kRowH);
    auto *cognome = ui::button(this, "cmdcognome", QStringLiteral("H"), kButtonX, rowY(1), 25, kRowH);
    m_registra = ui::button(this, "cmdregistra", QStringLiteral("Registra"), kFieldX, 168, 97, 33);
    auto *esci = ui::button(this, "cmdesci", QStringLiteral("Esci"), kFieldX + 128, 168, 97, 33);

    connect(cerca, &QPushButton::clicked, this, &Formattr::cerca);
    connect(m_ass, &registers::ChoiceList::chosen, this, &Formattr::associationChosen);
    connect(m_des, &registers::ChoiceList::chosen, this, &Formattr::descriptionChosen);
    connect(m_registra, &QPushButton::clicked, this, &Formattr::registra);
    connect(esci, &QPushButton::clicked, this, &QWidget::hide);
    onActivation(ctx, this, [this] { activated(); });
    // Activation only refreshes the drop-down lists: so does a change of
    // the archives on disk.
    onFolderChange(ctx, this, [this] { activated(); });

    ui::offTabChain(cognome); // it does nothing
    ui::tabChain({cerca, m_ass, m_des, m_stato, m_qta, m_registra, esci});
    ui::WindowKeys::of(this)
        ->firstFields({m_ass})
        ->mainButton(m_registra)
        ->exitButton(esci)
        ->enterIn(m_ass, cerca);
}

bool Formattr::prepare(modes::Registry mode, const QString &title, const QString &caption)
{
    if (isVisible() && !m_ctx.consultation && m_draft.changed(shown())
        && !registers::abandon(*m_ctx.platform.prompts,
                               registers::recordName(m_ass->currentText(), m_des->currentText(),
                                                     "l'attrezzatura %1", "un'attrezzatura",
                                                     "una nuova attrezzatura")))
        return false;
    m_ctx.g.modoattr = mode;
    registers::prepareWindow(this, m_registra, m_ctx.consultation, title, caption);
    registers::refill(m_ass, associations::allNames(m_ctx.path(File::Associazioni)));
    registers::empty(m_des);
    m_descriptionsOf.clear();
    registers::refill(m_stato, registers::stateEntries());
    m_qta->clear();
    markClean();
    return true;
}

void Formattr::activated()
{
    // What the user typed or chose stays; the lists follow what other
    // windows registered.
    registers::refresh(m_ass, associations::allNames(m_ctx.path(File::Associazioni)));
    if (!m_descriptionsOf.isEmpty())
        registers::refresh(m_des, equipment::Archive::descriptionsOf(m_ctx.path(File::Attrezzature),
                                                                     m_descriptionsOf));
}

QStringList Formattr::shown() const
{
    return {m_ass->currentText(), m_des->currentText(), m_stato->currentText(), m_qta->text()};
}

void Formattr::markClean() { m_draft.markClean(shown()); }

// Narrows the association list to the names holding the typed characters.
void Formattr::cerca()
{
    BusyGuard busy(*m_ctx.platform.busy);
    const QString search = m_ass->currentText();
    registers::refill(m_ass, associations::matchingNames(m_ctx.path(File::Associazioni), search));
}

void Formattr::fillDescriptions()
{
    m_descriptionsOf = m_ass->currentText();
    registers::refill(m_des, equipment::Archive::descriptionsOf(m_ctx.path(File::Attrezzature),
                                                                m_descriptionsOf));
    m_selectedAss = m_ass->currentText();
}

void Formattr::associationChosen()
{
    BusyGuard busy(*m_ctx.platform.busy);
    fillDescriptions();
}

void Formattr::descriptionChosen()
{
    BusyGuard busy(*m_ctx.platform.busy);
    const auto item = equipment::Archive::find(m_ctx.path(File::Attrezzature),
                                               {m_ass->currentText(), m_des->currentText()});
    if (!item) return;
    m_stato->setEditText(item->stato);
    m_qta->setText(QString::number(item->quantita));
    m_selectedDes = m_des->currentText();
    m_loaded = registers::storedFields(m_ctx.path(File::Attrezzature), equipment::format(),
                                       selectedKey());
    markClean();
}

QWidget *Formattr::fieldOf(const QString &message) const
{
    if (message == QLatin1String("Manca Associazione.")) return m_ass;
    if (message == QLatin1String("Manca descrizione automezzo.")) return m_des;
    if (message == QLatin1String("Manca stato.") || message == QLatin1String("Stato non previsto."))
        return m_stato;
    if (message == QString::fromUtf8("Manca quantità.")
        || message == QString::fromUtf8("Quantità dell'attrezzatura errata."))
        return m_qta;
    // A character the archives cannot hold: the first field holding one.
    for (QComboBox *list : {m_ass, m_des})
        if (message == cp1252::refusal(list->currentText())) return list;
    return m_stato;
}

void Formattr::registra()
{
    Prompts &prompts = *m_ctx.platform.prompts;
    // The description goes into the field in capitals once both names are there.
    if (!m_ass->currentText().isEmpty() && !m_des->currentText().isEmpty())
        m_des->setEditText(registers::keyText(m_des->currentText()));
    const equipment::Input in{m_ass->currentText(), m_des->currentText(), m_stato->currentText(),
                              m_qta->text()};
    const QString wrong = equipment::check(in);
    if (!wrong.isEmpty()) {
        prompts.info(wrong);
        ui::focusField(fieldOf(wrong));
        return;
    }
    const QStringList fields = equipment::recordFields(in);
    const modes::Registry mode = m_ctx.g.modoattr;
    const bool modify = mode == modes::Registry::M, remove = mode == modes::Registry::A;
    // What the window shows of the record chosen must still be what is
    // stored: pieces an activity took or gave back meanwhile, or a change
    // another desk registered, are not undone unseen.
    const QString path = m_ctx.path(File::Attrezzature);
    BusyGuard busy(*m_ctx.platform.busy);
    const registers::Outcome o =
        modify ? registers::whileUnchanged(
            m_ctx.folder, m_loaded,
            [&] { return registers::storedFields(path, equipment::format(), selectedKey()); },
            QStringLiteral("L'attrezzatura %1 dell'associazione %2 è cambiata nell'archivio "
                           "da quando è stata scelta: nulla è stato modificato. Sceglierla "
                           "di nuovo per vederla com'è ora.")
                .arg(m_selectedDes, m_selectedAss),
            [&] { return equipment::modify(m_ctx.folder, selectedKey(), fields); })
        : remove ? equipment::remove(m_ctx.folder, selectedKey())
                 : equipment::insert(m_ctx.folder, fields);
    if (!o.done()) {
        busy.release();
        prompts.info(archive::messageOf(o, QString::fromUtf8("Attrezzatura già presente in archivio."),
                                        QStringLiteral("Attrezzatura non trovata.")));
        if (o.status != registers::Outcome::Failed) ui::focusField(m_des);
        return;
    }
    if (modify) m_loaded = registers::storedFields(path, equipment::format(), selectedKey());
    fillDescriptions();
    markClean();
    busy.release();
    prompts.info(modify   ? QStringLiteral("Attrezzatura modificata correttamente.")
                 : remove ? QStringLiteral("Attrezzatura eliminata correttamente.")
                          : QStringLiteral("Attrezzatura registrata correttamente."));
}
