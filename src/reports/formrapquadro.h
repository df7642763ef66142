#pragma once

#include "reports/board.h"
#include "reports/window.h"

#include <QPainter>
#include <QRectF>

class QChart;
class QChartView;
class QLabel;

// "Quadro della situazione": four charts of what is engaged and what is
// still available, with the number beside every bar.
class Formrapquadro : public reports::ReportWindow {
    Q_OBJECT
public:
    explicit Formrapquadro(Context &ctx);

    // How many bars the association and equipment charts show before they
    // sum the rest in one bar.
    static constexpr int kBars = 10;

    // The four charts of a board, in the order of the window.
    static QList<QChart *> charts(const reports::Board &b);
    // Draws the whole board (heading, charts, note) inside `area`.
    static void paintBoard(QPainter &painter, const QRectF &area, const reports::Board &b);

private:
    void rebuild() override;
    void stampa() override;
    QByteArray csv() const override;
    QString csvName() const override { return QStringLiteral("quadro.csv"); }

    reports::Board m_report;
    QList<QChartView *> m_views;
    QLabel *m_note;
};
