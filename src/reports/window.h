#pragma once

#include "session/context.h"

#include <QByteArray>
#include <QWidget>

class QLabel;
class QPushButton;

namespace reports {

// What the three report windows share: the heading `Label1` with the
// emergency name, "Stampa" (`cmdstampa`), "Esporta CSV" (`cmdesporta`) and
// "Esci" (`cmdlistesci`) at the bottom, the report rebuilt from the archives
// each time the window is activated. The archives are only read.
class ReportWindow : public QWidget {
    Q_OBJECT
public:
    ReportWindow(Context &ctx, const char *name, const QString &title);

protected:
    // Puts `body` between the heading and the buttons; `top` (may be null)
    // beside the heading; `more` buttons of the window after "Esporta CSV".
    void arrange(QWidget *body, QWidget *top, int width, int height,
                 const QList<QWidget *> &more = {});
    void setHeading(const QString &heading);
    QDate today() const;

    virtual void rebuild() = 0;
    virtual void stampa() = 0;
    // The report for a spreadsheet, and the file name offered for it.
    virtual QByteArray csv() const = 0;
    virtual QString csvName() const = 0;

    Context &m_ctx;

private:
    void esporta();

    QLabel *m_heading;
};

// Saves `bytes` where the user chooses, never over one of the program's
// archives; tells the user how it went.
void saveCsv(Context &ctx, const QByteArray &bytes, const QString &suggestedName);

} // namespace reports
