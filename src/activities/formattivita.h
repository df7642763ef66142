#pragma once

#include "activities/records.h"
#include "activities/registration.h"
#include "session/context.h"
#include "resources/operations.h"
#include "resources/unregistered.h"

#include <QWidget>
#include <functional>

class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;

// The activity window: one activity's fields and resource lines, with its
// registration (insert, modify or close, cancel) and the way out.
class Formattivita : public QWidget {
    Q_OBJECT
public:
    explicit Formattivita(Context &ctx);
    ~Formattivita() override { m_ctx.associationRenamed = nullptr; }

    // What the caller sets before showing the window: the title and the
    // caption of the registration button (made visible when asked).
    void prepare(const QString &title, const QString &caption, bool showButton);

    // The resource list and its lines with their states ("O" taken from
    // the registers, "L" not).
    QListWidget *resourceList() const { return m_list; }
    QList<activities::ResourceEntry> resources() const;
    // Adds a line at the end. `taken`: its resource was taken from its
    // register (never for an activity loaded closed). Until the next
    // registration, leaving the window without registering gives it back.
    void addResourceLine(const QString &line, bool taken = true);
    // Takes the resource with `take` (nothing for an activity loaded closed)
    // and adds its line, all or nothing; the message to show when it could
    // not (empty when done).
    QString takeAndAdd(const QString &line, const std::function<resources::Outcome()> &take);

    // Leaves the activity shown without registering it: what the window took
    // from the registers or gave back since the last registration goes back
    // to where it was, record by record (the resources of lines added are
    // given back, those of lines deleted are taken again); nothing else in
    // the archives changes, so what other windows registered meanwhile
    // stays. Run before the window loads another activity, before anyone
    // takes a new rollback point, and at the end of the program.
    void discardUnregistered();

    // The changes made to the registers since the last registration, in
    // the order they were made.
    const QList<resources::Unregistered> &unregistered() const { return m_unregistered; }

    // What gives a released resource back to its register.
    void setGiveBack(activities::GiveBack giveBack) { m_giveBack = std::move(giveBack); }

    static constexpr int kStateRole = Qt::UserRole + 1;
    // For a line whose resource was taken since the last registration (or
    // loading) and is not registered yet: the id of its entry among the
    // unregistered changes.
    static constexpr int kFreshRole = Qt::UserRole + 2;

protected:
    void resizeEvent(QResizeEvent *event) override;
    // Closing the window from its title bar leaves it as "Esci" does.
    void closeEvent(QCloseEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void activated();
    void loadNew();
    void loadChosen();
    void clearFields();
    void fillDateTime(QLineEdit *date, QLineEdit *time);
    void fillTime(QLineEdit *time);
    void registra();
    void esci();
    void stampaFoglio();
    // A press of a mouse button on the resource list.
    void listPressed(Qt::MouseButton button);
    void showGiveBackMessages();
    void forgetUnregistered();
    // Keeps the changes on disk too, for a start after an abnormal end.
    void keepUnregistered(QList<resources::Unregistered> changes);
    void setResources(const QList<activities::ResourceEntry> &entries);
    // An association renamed in its window: the lines the window holds, and
    // what it holds unregistered, name it as the archives now do.
    void associationRenamed(const QString &from, const QString &to);
    activities::ActivityInput input() const;

    Context &m_ctx;
    QLineEdit *m_numprot, *m_stato;
    QLineEdit *m_datari, *m_orari, *m_datain, *m_orain, *m_datafi, *m_orafi;
    QLineEdit *m_tipoatt, *m_loc, *m_ric, *m_note;
    QListWidget *m_list;
    QList<QLabel *> m_headers;
    QPushButton *m_registra;
    QList<QPushButton *> m_bottom;
    bool m_counterFull = false;
    activities::GiveBack m_giveBack;
    QStringList m_giveBackMessages; // what the give-backs at release had to say
    QList<resources::Unregistered> m_unregistered;
    // Changes of an earlier activity (or of a copy that ended abnormally)
    // that could not be undone yet.
    QList<resources::Unregistered> m_leftover;
    quint64 m_nextId = 1;
    // The activity as loaded or last registered (modes "M" and "A"): its
    // registration is refused when the archives no longer hold it so.
    std::optional<activities::LoadedActivity> m_loaded;
};
