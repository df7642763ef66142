#include "reports/formrapimpiego.h"

#include "printing/printout.h"
#include "reports/linesmodel.h"

#include <QComboBox>
#include <QListView>

namespace {

const QString kAll = QStringLiteral("Tutte le associazioni");

} // namespace

Formrapimpiego::Formrapimpiego(Context &ctx)
    : ReportWindow(ctx, "Formrapimpiego", QStringLiteral("Rapporti - Impiego per associazione"))
{
    m_cmbass = new QComboBox(this);
    m_cmbass->setObjectName(QStringLiteral("cmbass"));
    m_cmbass->setToolTip(QStringLiteral("Scegliere l'associazione, o tutte."));
    m_cmbass->setMinimumWidth(380);
    m_cmbass->setMaxVisibleItems(20);
    // Lines are built as they come into view: for every association of a
    // large office they run to hundreds of thousands.
    m_model = new reports::LinesModel(this);
    m_list = new QListView(this);
    m_list->setObjectName(QStringLiteral("List1"));
    m_list->setFont(printing::courier(9.75));
    m_list->setUniformItemSizes(true);
    m_list->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_list->setModel(m_model);
    connect(m_cmbass, &QComboBox::activated, this, [this] { showChosen(); });
    arrange(m_list, m_cmbass, 1100, 660);
}

void Formrapimpiego::rebuild()
{
    BusyGuard busy(*m_ctx.platform.busy);
    m_model->show(0, {}); // nothing refers to the report while it is read again
    const QString before = m_cmbass->currentText();
    m_report = reports::buildEngagement(m_ctx.folder, m_ctx.g.nomeemergenza, today());
    QStringList names{kAll};
    for (const auto &a : m_report.associations) names << a.name;
    m_cmbass->clear();
    m_cmbass->addItems(names);
    // The association chosen before stays chosen while it is there.
    m_cmbass->setCurrentIndex(std::max(0, int(names.indexOf(before))));
    setHeading(QStringLiteral("Emergenza: ") + m_ctx.g.nomeemergenza);
    showChosen();
}

int Formrapimpiego::chosen() const { return m_cmbass->currentIndex() - 1; }

void Formrapimpiego::showChosen()
{
    m_lines = reports::EngagementLines(m_report, chosen());
    m_model->show(m_lines.count(), [this](int row) { return m_lines.line(row); });
}

void Formrapimpiego::stampa()
{
    printing::Printout p;
    p.points = 10;
    p.orientation = Orientation::Landscape;
    p.lines = m_lines.all();
    printing::print(m_ctx.platform, p);
}

QByteArray Formrapimpiego::csv() const { return reports::engagementCsv(m_report, chosen()); }
