#pragma once

#include "activities/activitysession.h"
#include "session/context.h"

#include <QWidget>

class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;

// The activity window: shows the activity being edited (its fields and
// resource lines) and hands the user's actions to it: the resource buttons,
// the deletion of a line, the registration (insert, modify or close,
// cancel) and the way out.
class Formattivita : public QWidget {
    Q_OBJECT
public:
    explicit Formattivita(Context &ctx);

    // What the caller sets before showing the window: the title and the
    // caption of the registration button (made visible when asked).
    void prepare(const QString &title, const QString &caption, bool showButton);

    QListWidget *resourceList() const { return m_list; }
    activities::ActivitySession &session() const { return m_session; }

protected:
    void resizeEvent(QResizeEvent *event) override;
    void showEvent(QShowEvent *event) override;
    void hideEvent(QHideEvent *event) override;
    // Closing the window from its title bar leaves it as "Esci" does.
    void closeEvent(QCloseEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void showLoaded();
    void showLines();
    void tell(const activities::ActivitySession::Outcome &out);
    void activated();
    void fillDateTime(QLineEdit *date, QLineEdit *time);
    void fillTime(QLineEdit *time);
    void registra();
    void esci();
    void stampaFoglio();
    // A press of a mouse button on the resource list.
    void listPressed(Qt::MouseButton button);
    // The fields of the window, each with the field of the activity it shows.
    QList<std::pair<QLineEdit *, QString activities::ActivityInput::*>> edits() const;
    activities::ActivityInput input() const;

    Context &m_ctx;
    activities::ActivitySession &m_session;
    QLineEdit *m_numprot, *m_stato;
    QLineEdit *m_datari, *m_orari, *m_datain, *m_orain, *m_datafi, *m_orafi;
    QLineEdit *m_tipoatt, *m_loc, *m_ric, *m_note;
    QListWidget *m_list;
    QList<QLabel *> m_headers;
    QPushButton *m_registra;
    QList<QPushButton *> m_bottom;
};
