#include "reports/formdiario.h"

#include "printing/printout.h"
#include "reports/csv.h"
#include "reports/formnota.h"
#include "ui/keys.h"
#include "ui/linelist.h"
#include "ui/ui.h"
#include "ui/windows.h"

#include <QBoxLayout>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace {

const QString kAllDesks = QStringLiteral("Tutte le postazioni");

// Columns of a line: date, time, desk, kind and activity fit to their
// widths, then the text.
QString fit(const QString &s, int width) { return s.left(width).leftJustified(width); }

QLabel *caption(QWidget *parent, const QString &text, QWidget *buddy)
{
    auto *l = new QLabel(text, parent);
    l->setBuddy(buddy);
    l->setMinimumWidth(l->sizeHint().width() + 6);
    return l;
}

} // namespace

Formdiario::Formdiario(Context &ctx)
    : ReportWindow(ctx, "Formdiario", QStringLiteral("Rapporti - Diario di sala"))
{
    auto *filters = new QWidget(this);
    const auto named = [](auto *w, const char *name, const char *tooltip) {
        w->setObjectName(QString::fromLatin1(name));
        w->setToolTip(QString::fromUtf8(tooltip));
        return w;
    };
    m_giorno = named(new QLineEdit(filters), "txtgiorno",
                     "Giorno in formato gg/mm/aaaa; vuoto: tutti i giorni.");
    m_giorno->setMaximumWidth(100);
    m_postazione = named(new QComboBox(filters), "cmbpostazione",
                         "La postazione che ha registrato le righe, o tutte.");
    m_postazione->setMinimumWidth(240);
    m_numero = named(new QLineEdit(filters), "txtattivita",
                     "Numero di protocollo dell'attività; vuoto: tutte.");
    m_numero->setMaximumWidth(70);
    m_testo = named(new QLineEdit(filters), "txttesto",
                    "Le righe che contengono questo testo; vuoto: tutte.");
    auto *cmdcerca = ui::button(filters, "cmdcerca", QStringLiteral("Cerca"), 80);
    auto *row = new QHBoxLayout(filters);
    row->setContentsMargins(0, 0, 0, 0);
    row->addWidget(caption(filters, QStringLiteral("&Giorno"), m_giorno));
    row->addWidget(m_giorno);
    row->addWidget(caption(filters, QStringLiteral("P&ostazione"), m_postazione));
    row->addWidget(m_postazione);
    row->addWidget(caption(filters, QStringLiteral("Attività &n."), m_numero));
    row->addWidget(m_numero);
    row->addWidget(caption(filters, QStringLiteral("&Testo"), m_testo));
    row->addWidget(m_testo, 1);
    row->addWidget(cmdcerca);

    m_catena = new QLabel(this);
    m_catena->setObjectName(QStringLiteral("lblcatena"));
    m_catena->setFont(ui::boldLabelFont());
    m_list = new LineList(this);
    m_list->setObjectName(QStringLiteral("List1"));
    m_list->setFont(printing::courier(9.75));
    m_list->setHeadings(fit(QStringLiteral("Data"), 11) + fit(QStringLiteral("Ora"), 9)
                        + fit(QStringLiteral("Postazione"), 32) + fit(QStringLiteral("Tipo"), 9)
                        + fit(QStringLiteral("Att."), 6) + QStringLiteral("Evento"));
    auto *body = new QWidget(this);
    auto *column = new QVBoxLayout(body);
    column->setContentsMargins(0, 0, 0, 0);
    column->addWidget(filters);
    column->addWidget(m_catena);
    column->addWidget(m_list, 1);

    auto *cmdnota = ui::button(this, "cmdnota", QStringLiteral("Nuova nota"), 110);
    cmdnota->setToolTip(QStringLiteral("Aggiunge al diario una nota dell'operatore."));
    auto *cmdrettifica = ui::button(this, "cmdrettifica", QStringLiteral("Rettifica"), 110);
    cmdrettifica->setToolTip(QStringLiteral(
        "Aggiunge una nota che rettifica la riga scelta: le righe del diario non si cambiano."));
    cmdnota->setEnabled(!ctx.consultation);
    cmdrettifica->setEnabled(!ctx.consultation);
    connect(cmdnota, &QPushButton::clicked, this, [this] { nota(false); });
    connect(cmdrettifica, &QPushButton::clicked, this, [this] { nota(true); });
    connect(cmdcerca, &QPushButton::clicked, this, [this] { filter(); });
    connect(m_postazione, &QComboBox::activated, this, [this] { filter(); });
    arrange(body, nullptr, 1150, 660, {cmdnota, cmdrettifica});
    ui::WindowKeys::of(this)
        ->firstFields({m_testo})
        ->enterIn(m_giorno, cmdcerca)
        ->enterIn(m_numero, cmdcerca)
        ->enterIn(m_testo, cmdcerca);
    onDiaryChange(ctx, this, [this] { rebuild(); });
}

void Formdiario::rebuild()
{
    BusyGuard busy(*m_ctx.platform.busy);
    m_all = diary::readAll(m_ctx.folder);
    m_check = diary::check(m_ctx.folder);
    setHeading(QStringLiteral("Emergenza: ") + m_ctx.g.nomeemergenza);
    m_catena->setText(m_check.message());
    m_catena->setStyleSheet(m_check.alteredFrom ? QStringLiteral("color: #b00000;") : QString());
    // The desks that wrote, in the order they first did; the one chosen
    // stays chosen.
    const QString before = m_postazione->currentText();
    QStringList desks{kAllDesks};
    for (const diary::Entry &e : m_all)
        if (!desks.contains(e.desk)) desks << e.desk;
    m_postazione->clear();
    m_postazione->addItems(desks);
    m_postazione->setCurrentIndex(std::max(0, int(desks.indexOf(before))));
    filter();
}

QString Formdiario::lineOf(const diary::Entry &e) const
{
    // A line from the altered one on is marked: the chain no longer vouches
    // for it.
    const bool altered = m_check.alteredFrom && e.row >= m_check.alteredFrom;
    return fit(e.date, 11) + fit(e.time, 9) + fit(e.desk, 30)
           + (altered ? QStringLiteral("! ") : QStringLiteral("  ")) + fit(e.kind, 9)
           + fit(e.numprot, 6) + e.text;
}

void Formdiario::filter()
{
    const QString day = m_giorno->text().trimmed();
    const QString number = m_numero->text().trimmed();
    const QString text = m_testo->text().trimmed();
    const QString desk = m_postazione->currentIndex() > 0 ? m_postazione->currentText() : QString();
    m_shown.clear();
    for (auto it = m_all.crbegin(); it != m_all.crend(); ++it) {
        if ((!day.isEmpty() && it->date != day) || (!desk.isEmpty() && it->desk != desk)
            || (!number.isEmpty() && it->numprot != number)
            || (!text.isEmpty() && !it->text.contains(text, Qt::CaseInsensitive)))
            continue;
        m_shown << *it;
    }
    m_list->keepingPlace([this] {
        QStringList lines;
        for (const diary::Entry &e : m_shown) lines << lineOf(e);
        m_list->setLines(lines);
    });
}

void Formdiario::nota(bool correction)
{
    QString refers;
    if (correction) {
        const int row = m_list->currentRow();
        if (row < 0 || row >= m_shown.size()) {
            m_ctx.platform.prompts->info(
                QStringLiteral("Scegliere nell'elenco la riga del diario da rettificare."));
            return;
        }
        const diary::Entry &e = m_shown.at(row);
        refers =
            QStringLiteral("Rettifica della riga %1 del %2 ore %3: ").arg(e.row).arg(e.date, e.time);
    }
    Formnota *w = m_ctx.windows->get<Formnota>();
    w->start(refers);
    present(w, this);
}

void Formdiario::stampa()
{
    printing::Printout p;
    p.points = 9;
    p.orientation = Orientation::Landscape;
    p.lines << QStringLiteral("DIARIO DI SALA - Emergenza: ") + m_ctx.g.nomeemergenza
            << m_check.message() << QString();
    // Long events go on to further lines under the text's column.
    constexpr int kWidth = 150, kIndent = 67;
    for (const diary::Entry &e : m_shown) {
        QString line = lineOf(e);
        while (line.size() > kWidth) {
            int cut = int(line.lastIndexOf(QLatin1Char(' '), kWidth));
            if (cut <= kIndent) cut = kWidth;
            p.lines << line.left(cut);
            line = QString(kIndent, QLatin1Char(' ')) + line.mid(cut).trimmed();
        }
        p.lines << line;
    }
    printing::print(m_ctx.platform, p);
}

QByteArray Formdiario::csv() const
{
    QList<QStringList> rows;
    for (const diary::Entry &e : m_shown)
        rows << QStringList{QString::number(e.row),
                            e.date,
                            e.time,
                            e.desk,
                            e.kind,
                            e.numprot,
                            e.text,
                            m_check.alteredFrom && e.row >= m_check.alteredFrom
                                ? QStringLiteral("NO")
                                : QStringLiteral("SI"),
                            e.hash};
    return reports::csv::document({QStringLiteral("Riga"), QStringLiteral("Data"),
                                   QStringLiteral("Ora"), QStringLiteral("Postazione"),
                                   QStringLiteral("Tipo"), QStringLiteral("Attività"),
                                   QStringLiteral("Evento"), QStringLiteral("Catena integra"),
                                   QStringLiteral("Impronta")},
                                  rows);
}
