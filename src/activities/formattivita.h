#pragma once

#include "activities/activitysession.h"
#include "session/context.h"

#include <QWidget>

class QLabel;
class QLineEdit;
class QListWidget;
class QListWidgetItem;
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

    // A new task for the window: a new activity (mode I) or the activity
    // `protsel` (M, A), loaded when the window is next activated. When the
    // window holds typed or picked work not registered, the user is asked
    // first, naming it; No keeps everything as it is and returns false.
    // `rollbackPoint`: the registers' snapshot is taken once the undo of
    // what the window held unregistered is done (taken anyway after such an
    // undo, so that it never keeps a resource taken for nothing).
    bool startTask(modes::Activity mode, const QString &protsel, bool rollbackPoint);
    // Shows the window and makes it the active one; a task chosen while it
    // was the active window already (no activation follows) is loaded at once.
    void showTask(const QWidget *opener = nullptr);

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
    void showProposedNumber();
    // The fields as the user left them, told to the activity.
    void typed();
    void tell(const activities::ActivitySession::Outcome &out);
    void activated();
    void fillDateTime(QLineEdit *date, QLineEdit *time);
    void fillTime(QLineEdit *time);
    void registra();
    void esci();
    void stampaFoglio();
    // The right button pressed on line `item` of the resource list (none:
    // on no line), or the Delete key on the selected one.
    void askToDelete(QListWidgetItem *item);
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
    bool m_filling = false; // the fields are being filled from the activity
};
