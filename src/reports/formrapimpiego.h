#pragma once

#include "reports/engagement.h"
#include "reports/window.h"

class QComboBox;
class QListView;
namespace reports {
class LinesModel;
}

// "Impiego per associazione": for one association or all, every activity
// it took part in with what it gave, and its totals.
class Formrapimpiego : public reports::ReportWindow {
    Q_OBJECT
public:
    explicit Formrapimpiego(Context &ctx);

private:
    void rebuild() override;
    void stampa() override;
    QByteArray csv() const override;
    QString csvName() const override { return QStringLiteral("impiego.csv"); }
    void showChosen();
    int chosen() const; // the association shown, -1 for all

    reports::Engagement m_report;
    reports::EngagementLines m_lines;
    QComboBox *m_cmbass;
    QListView *m_list;
    reports::LinesModel *m_model;
};
