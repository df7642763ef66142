#include "reports/formrappresenze.h"

#include "ui/linelist.h"
#include "ui/ui.h"
#include "printing/printout.h"

#include <QCheckBox>
#include <QItemSelectionModel>
#include <QPushButton>

Formrappresenze::Formrappresenze(Context &ctx)
    : ReportWindow(ctx, "Formrappresenze", QStringLiteral("Rapporti - Presenze dei volontari"))
{
    m_list = new LineList(this);
    m_list->setObjectName(QStringLiteral("List1"));
    m_list->setFont(printing::courier(9.75));
    m_chknazionale = new QCheckBox(QStringLiteral("Emergenza di rilievo nazionale"), this);
    m_chknazionale->setObjectName(QStringLiteral("chknazionale"));
    m_chknazionale->setToolTip(
        QStringLiteral("Limiti di legge di 60 giorni consecutivi e 180 nell'anno."));
    connect(m_chknazionale, &QCheckBox::toggled, this, [this] { rebuild(); });
    auto *cmdattestati = ui::button(this, "cmdattestati", QStringLiteral("Attestati"), 110);
    cmdattestati->setToolTip(
        QStringLiteral("Stampa gli attestati di partecipazione del volontario scelto, o di tutti."));
    connect(cmdattestati, &QPushButton::clicked, this, &Formrappresenze::attestati);
    arrange(m_list, m_chknazionale, 1000, 660, {cmdattestati});
}

void Formrappresenze::rebuild()
{
    BusyGuard busy(*m_ctx.platform.busy);
    m_report = reports::buildAttendance(m_ctx.folder, m_ctx.g.nomeemergenza, today(),
                                        reports::legalLimits(m_chknazionale->isChecked()));
    setHeading(QStringLiteral("Emergenza: ") + m_ctx.g.nomeemergenza);
    // On screen the blocks follow each other; on paper each has its page.
    QStringList lines;
    m_blockStart.clear();
    const QVector<QStringList> blocks = reports::attendanceBlocks(m_report);
    for (const QStringList &block : blocks) {
        if (!lines.isEmpty()) lines << reports::rule() << QString();
        m_blockStart << int(lines.size());
        lines << block;
    }
    m_list->setLines(lines);
}

void Formrappresenze::stampa()
{
    printing::Printout p;
    p.points = 10;
    p.orientation = Orientation::Portrait;
    for (const QStringList &block : reports::attendanceBlocks(m_report)) {
        if (!p.lines.isEmpty()) p.lines << printing::newPage();
        p.lines << block;
    }
    printing::print(m_ctx.platform, p);
}

void Formrappresenze::attestati()
{
    Prompts &prompts = *m_ctx.platform.prompts;
    // The volunteer whose block holds the line selected (the rule after a
    // block belongs to it); none for the note of the skipped lines, which
    // is the last block.
    int volunteer = -1;
    const QModelIndexList selected = m_list->selectionModel()->selectedIndexes();
    if (!selected.isEmpty()) {
        const int row = selected.first().row();
        for (int b = 0; b < m_blockStart.size() && m_blockStart.at(b) <= row; ++b) volunteer = b;
        if (volunteer >= m_report.volunteers.size()) volunteer = -1;
    }
    QVector<int> who;
    if (volunteer >= 0) {
        who << volunteer;
    } else if (!m_report.volunteers.isEmpty()) {
        if (!prompts.question(QStringLiteral("Stampare gli attestati di tutti i volontari?")))
            return;
        for (int v = 0; v < m_report.volunteers.size(); ++v) who << v;
    }

    printing::Printout p;
    p.points = 10;
    p.orientation = Orientation::Portrait;
    for (int v : who) {
        for (const QStringList &page : reports::certificates(m_report, v)) {
            if (!p.lines.isEmpty()) p.lines << printing::newPage();
            p.lines << page;
        }
    }
    if (p.lines.isEmpty()) {
        prompts.info(QStringLiteral("Nessun attestato da stampare: non ci sono attività non "
                                    "annullate con le date di inizio e di fine leggibili."));
        return;
    }
    printing::print(m_ctx.platform, p);
}

QByteArray Formrappresenze::csv() const { return reports::attendanceCsv(m_report); }
