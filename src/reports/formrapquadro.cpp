#include "reports/formrapquadro.h"

#include "printing/printout.h"

#include <QBarCategoryAxis>
#include <QBarSet>
#include <QChart>
#include <QChartView>
#include <QCoreApplication>
#include <QEvent>
#include <QGraphicsScene>
#include <QGraphicsSimpleTextItem>
#include <QGridLayout>
#include <QHorizontalBarSeries>
#include <QLabel>
#include <QSet>
#include <QValueAxis>
#include <algorithm>

namespace {

struct Series {
    QString name;
    QColor color;
    QList<qint64> values;
};

// Category names must differ one from the other and be non-empty; long
// names are cut so that the bars keep their room.
QStringList categoryNames(const QStringList &labels)
{
    QStringList out;
    QSet<QString> used;
    for (const QString &l : labels) {
        QString name = l.isEmpty() ? QStringLiteral("(senza nome)") : l;
        if (name.size() > 32) name = name.left(31) + QChar(0x2026);
        const QString base = name;
        for (int n = 2; used.contains(name); ++n) name = base + QStringLiteral(" (%1)").arg(n);
        used.insert(name);
        out << name;
    }
    return out;
}

// The end of the value axis and its step: whole numbers, at most five
// steps, with room after the longest bar for its number.
QPair<qint64, qint64> valueRange(qint64 top)
{
    const qint64 room = std::max<qint64>(1, std::min<qint64>(top, qint64(1) << 52) * 7 / 6 + 1);
    qint64 step = 1;
    for (qint64 base = 1;; base *= 10) {
        if (base * 5 >= room) {
            step = base;
            break;
        }
        if (base * 10 >= room) {
            step = base * 2;
            break;
        }
        if (base * 25 >= room) {
            step = base * 5;
            break;
        }
    }
    return {(room + step - 1) / step * step, step};
}

// The number at the end of every bar, a 0 included (the chart's own labels
// leave out the bars of no length). Placed again whenever the plot area
// changes.
class BarNumbers : public QObject {
public:
    BarNumbers(QChart *chart, QHorizontalBarSeries *series, const QList<QList<qint64>> &values)
        : QObject(chart), m_chart(chart), m_series(series)
    {
        QFont font = chart->font();
        font.setPointSizeF(9);
        for (int set = 0; set < values.size(); ++set) {
            for (int i = 0; i < values[set].size(); ++i) {
                auto *item = new QGraphicsSimpleTextItem(QString::number(values[set][i]), chart);
                item->setFont(font);
                item->setBrush(Qt::black);
                item->setZValue(10);
                m_items.append({item, set, i, values[set][i]});
            }
        }
        m_sets = int(values.size()); // the chart's two or three series
        connect(chart, &QChart::plotAreaChanged, this, &BarNumbers::place);
    }

    void place()
    {
        // Category i stands at i on the category axis; its bars share
        // barWidth, the first set lowest.
        const qreal width = m_series->barWidth();
        for (const Item &it : std::as_const(m_items)) {
            const qreal y = it.category - width / 2 + (it.set + 0.5) * width / m_sets;
            const QPointF end = m_chart->mapToPosition(QPointF(qreal(it.value), y), m_series);
            const QRectF box = it.item->boundingRect();
            it.item->setPos(end.x() + 4, end.y() - box.height() / 2);
        }
    }

private:
    struct Item {
        QGraphicsSimpleTextItem *item;
        int set, category;
        qint64 value;
    };
    QChart *m_chart;
    QHorizontalBarSeries *m_series;
    QList<Item> m_items;
    int m_sets = 1;
};

// A horizontal bar chart, first category on top, the number at the end of
// every bar.
QChart *barChart(const QString &title, const QStringList &labels, const QList<Series> &sets)
{
    auto *chart = new QChart;
    chart->setTitle(title);
    QFont titleFont = chart->titleFont();
    titleFont.setBold(true);
    titleFont.setPointSizeF(11);
    chart->setTitleFont(titleFont);
    chart->setMargins(QMargins(4, 4, 4, 4));

    auto *series = new QHorizontalBarSeries;
    qint64 top = 0;
    QList<QList<qint64>> values;
    for (const Series &s : sets) {
        auto *set = new QBarSet(s.name);
        set->setColor(s.color);
        set->setBorderColor(s.color.darker(130));
        QList<qint64> shown(s.values.crbegin(), s.values.crend());
        for (qint64 v : shown) {
            *set << qreal(v);
            top = std::max(top, v);
        }
        values << shown;
        series->append(set);
    }
    chart->addSeries(series);

    QStringList names = categoryNames(labels);
    std::reverse(names.begin(), names.end());
    auto *categories = new QBarCategoryAxis;
    categories->append(names);
    chart->addAxis(categories, Qt::AlignLeft);
    series->attachAxis(categories);
    auto *axis = new QValueAxis;
    const auto [end, step] = valueRange(top);
    axis->setRange(0, qreal(end));
    axis->setTickCount(int(end / step) + 1);
    axis->setLabelFormat(QStringLiteral("%.0f"));
    chart->addAxis(axis, Qt::AlignBottom);
    series->attachAxis(axis);
    new BarNumbers(chart, series, values);

    chart->legend()->setVisible(sets.size() > 1);
    chart->legend()->setAlignment(Qt::AlignBottom);
    return chart;
}

const QColor kEngaged(0xc0, 0x39, 0x2b);
const QColor kAvailable(0x27, 0xae, 0x60);
const QColor kCount(0x29, 0x80, 0xb9);

QChart *pairs(const QString &title, const QVector<reports::Bar> &bars, const QString &engaged,
              const QString &available)
{
    QStringList labels;
    Series e{engaged, kEngaged, {}}, a{available, kAvailable, {}};
    for (const reports::Bar &b : bars) {
        labels << b.label;
        e.values << b.engaged;
        a.values << b.available;
    }
    return barChart(title, labels, {e, a});
}

QChart *counts(const QString &title, const QVector<reports::Count> &list)
{
    QStringList labels;
    Series s{QString(), kCount, {}};
    for (const reports::Count &c : list) {
        labels << c.label;
        s.values << c.value;
    }
    return barChart(title, labels, {s});
}

} // namespace

QList<QChart *> Formrapquadro::charts(const reports::Board &b)
{
    return {pairs(QStringLiteral("Volontari per associazione"),
                  reports::leading(b.associations, kBars), QStringLiteral("Impegnati"),
                  QStringLiteral("Disponibili")),
            counts(QStringLiteral("Automezzi per stato"), b.vehicles),
            pairs(QStringLiteral("Attrezzature più impegnate (pezzi)"),
                  reports::leading(b.equipment, kBars), QStringLiteral("Impegnati"),
                  QStringLiteral("Disponibili")),
            counts(QStringLiteral("Attività"), b.activities)};
}

Formrapquadro::Formrapquadro(Context &ctx)
    : ReportWindow(ctx, "Formrapquadro", QStringLiteral("Rapporti - Quadro della situazione"))
{
    auto *body = new QWidget(this);
    auto *grid = new QGridLayout(body);
    grid->setContentsMargins(0, 0, 0, 0);
    const char *names[] = {"graficovol", "graficoauto", "graficoattr", "graficoatt"};
    for (int i = 0; i < 4; ++i) {
        auto *view = new QChartView(body);
        view->setObjectName(QString::fromLatin1(names[i]));
        view->setRenderHint(QPainter::Antialiasing);
        // Small enough for the board to fit the room of a small screen: the
        // charts scale to what the window has.
        view->setMinimumSize(300, 180);
        grid->addWidget(view, i / 2, i % 2);
        m_views << view;
    }
    m_note = new QLabel(body);
    m_note->setObjectName(QStringLiteral("Label2"));
    grid->addWidget(m_note, 2, 0, 1, 2);
    arrange(body, nullptr, 1180, 800);
}

void Formrapquadro::rebuild()
{
    BusyGuard busy(*m_ctx.platform.busy);
    m_report = reports::buildBoard(m_ctx.folder, m_ctx.g.nomeemergenza, today());
    setHeading(reports::boardHeading(m_report));
    const QList<QChart *> made = charts(m_report);
    for (int i = 0; i < m_views.size(); ++i) {
        QChart *old = m_views[i]->chart();
        m_views[i]->setChart(made[i]);
        delete old;
    }
    m_note->setText(m_report.skipped.note());
    m_note->setVisible(!m_note->text().isEmpty());
}

void Formrapquadro::paintBoard(QPainter &painter, const QRectF &area, const reports::Board &b)
{
    painter.save();
    QFont font(QStringLiteral("Liberation Sans"));
    font.setPointSizeF(13);
    font.setBold(true);
    painter.setFont(font);
    const qreal line = painter.fontMetrics().height();
    painter.drawText(QRectF(area.left(), area.top(), area.width(), line * 1.5),
                     Qt::AlignLeft | Qt::AlignTop, reports::boardHeading(b));
    qreal bottom = area.bottom();
    const QString note = b.skipped.note();
    if (!note.isEmpty()) {
        font.setBold(false);
        font.setPointSizeF(9);
        painter.setFont(font);
        const qreal h = painter.fontMetrics().height() * 1.5;
        painter.drawText(QRectF(area.left(), bottom - h, area.width(), h),
                         Qt::AlignLeft | Qt::AlignBottom, note);
        bottom -= h;
    }
    const QRectF charts(area.left(), area.top() + line * 1.6, area.width(),
                        bottom - area.top() - line * 1.6);
    const QSizeF cell(charts.width() / 2, charts.height() / 2);
    // Each chart is laid out at a screen-like size and scaled to its cell,
    // so that its fonts keep their proportion to the bars.
    const QSizeF logical(620, 620 * cell.height() / cell.width());
    const QList<QChart *> made = Formrapquadro::charts(b);
    for (int i = 0; i < made.size(); ++i) {
        QGraphicsScene scene;
        scene.addItem(made[i]); // the scene deletes it
        made[i]->resize(logical);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::LayoutRequest);
        const QRectF target(charts.left() + (i % 2) * cell.width(),
                            charts.top() + (i / 2) * cell.height(), cell.width(), cell.height());
        scene.render(&painter, target.adjusted(4, 4, -4, -4), QRectF(QPointF(0, 0), logical));
    }
    painter.restore();
}

void Formrapquadro::stampa()
{
    const reports::Board board = m_report;
    printing::printPage(m_ctx.platform, Orientation::Landscape,
                        [&](QPainter &painter, const QRectF &area) {
                            paintBoard(painter, area, board);
                        });
}

QByteArray Formrapquadro::csv() const { return reports::boardCsv(m_report); }
