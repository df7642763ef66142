#include "reports/formrappresenze.h"

#include "ui/linelist.h"
#include "printing/printout.h"

Formrappresenze::Formrappresenze(Context &ctx)
    : ReportWindow(ctx, "Formrappresenze", QStringLiteral("Rapporti - Presenze dei volontari"))
{
    m_list = new LineList(this);
    m_list->setObjectName(QStringLiteral("List1"));
    m_list->setFont(printing::courier(9.75));
    arrange(m_list, nullptr, 1000, 660);
}

void Formrappresenze::rebuild()
{
    BusyGuard busy(*m_ctx.platform.busy);
    m_report = reports::buildAttendance(m_ctx.folder, m_ctx.g.nomeemergenza, today());
    setHeading(QStringLiteral("Emergenza: ") + m_ctx.g.nomeemergenza);
    // On screen the blocks follow each other; on paper each has its page.
    QStringList lines;
    for (const QStringList &block : reports::attendanceBlocks(m_report)) {
        if (!lines.isEmpty()) lines << reports::rule() << QString();
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

QByteArray Formrappresenze::csv() const { return reports::attendanceCsv(m_report); }
