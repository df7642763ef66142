#pragma once

#include "reports/attendance.h"
#include "reports/window.h"

class LineList;
class QCheckBox;

// "Presenze dei volontari": every named volunteer with the activities he
// took part in and his days of service, one block to be signed each, and
// the days past the legal limits. "Attestati" prints the certificates of
// participation of the volunteer chosen, or of all.
class Formrappresenze : public reports::ReportWindow {
    Q_OBJECT
public:
    explicit Formrappresenze(Context &ctx);

private:
    void rebuild() override;
    void stampa() override;
    void attestati();
    QByteArray csv() const override;
    QString csvName() const override { return QStringLiteral("presenze.csv"); }

    reports::Attendance m_report;
    QVector<int> m_blockStart; // first line of each block, the volunteers' first
    LineList *m_list;
    QCheckBox *m_chknazionale;
};
