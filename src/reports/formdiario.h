#pragma once

#include "archive/diary.h"
#include "reports/window.h"

class LineList;
class QComboBox;
class QLabel;
class QLineEdit;

// "Diario di sala": the room's diary, newest line first, filtered by day,
// desk, activity number and text; it says whether the chain of the lines is
// intact or from which line it was altered. Notes are added from here too.
class Formdiario : public reports::ReportWindow {
    Q_OBJECT
public:
    explicit Formdiario(Context &ctx);

private:
    void rebuild() override;
    void stampa() override;
    QByteArray csv() const override;
    QString csvName() const override { return QStringLiteral("diario.csv"); }

    // The lines that pass the filters, newest first.
    void filter();
    // Opens the note window, for a correction of the line chosen when
    // `correction` is set.
    void nota(bool correction);
    // The heading of the shown lines and the altered mark of a line.
    QString lineOf(const diary::Entry &e) const;

    QList<diary::Entry> m_all;
    QList<diary::Entry> m_shown;
    diary::Check m_check;
    QLineEdit *m_giorno, *m_numero, *m_testo;
    QComboBox *m_postazione;
    QLabel *m_catena;
    LineList *m_list;
};
