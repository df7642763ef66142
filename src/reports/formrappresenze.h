#pragma once

#include "reports/attendance.h"
#include "reports/window.h"

class LineList;

// "Presenze dei volontari": every named volunteer with the activities he
// took part in and his days of service, one block to be signed each.
class Formrappresenze : public reports::ReportWindow {
    Q_OBJECT
public:
    explicit Formrappresenze(Context &ctx);

private:
    void rebuild() override;
    void stampa() override;
    QByteArray csv() const override;
    QString csvName() const override { return QStringLiteral("presenze.csv"); }

    reports::Attendance m_report;
    LineList *m_list;
};
