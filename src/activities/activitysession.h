#pragma once

#include "activities/records.h"
#include "activities/registration.h"
#include "resources/unregistered.h"
#include "session/context.h"

#include <QObject>
#include <optional>

namespace archive {
class Transaction;
}

namespace activities {

// One line of the resource list of the activity being edited.
struct SessionLine {
    QString line;
    // "O" while its resource is held, "L" when released; as loaded, a line
    // may carry another code, which registering writes back unchanged.
    QString state;
    // Taken since the last registration (or loading) and not registered yet:
    // the id of its entry among the unregistered changes; 0 otherwise.
    quint64 fresh = 0;
};

// The resource picked in a register list for the activity.
struct Pick {
    ResourceKind kind = ResourceKind::Equipment; // the list it comes from
    QString line;                                // the list line, as shown
};

// The activity being edited in the activity window: its fields as loaded,
// its resource lines with their states, what was taken from or given back
// to the registers and not registered yet (kept in sospese.dat as well),
// what an earlier occasion could not undo, and the resource pick under way.
// The activity window, the resource window, the names window and the
// register lists show it and hand it the user's actions; each action opens
// the one transaction it needs and returns what to tell the user.
//
// Of the program-wide values it writes the activity mode when a pick begins
// and ends or a registration changes it, and the activity chosen (`protsel`),
// the counter in memory (`ultimoprot`), `attchiusa` and `risorsecambiate`.
class ActivitySession : public QObject {
    Q_OBJECT
public:
    struct Outcome {
        // NoActivity: there is no open activity to add a resource to.
        enum Status { Done, Refused, NoActivity };
        Status status = Done;
        QStringList messages; // what to tell, in order, once the pointer is back
        // A registration refused for a field: the field to correct.
        InputField field = nullptr;
        // A registration that wrote the fields (insert, modify): the fields
        // as written, their dates and times in the archive's form.
        std::optional<ActivityInput> written;
        bool done() const { return status == Done; }
    };

    explicit ActivitySession(Context &ctx);
    ~ActivitySession() override;

    // ---- what the windows show
    // The activity window's own mode: during a pick, the one it returns to.
    modes::Activity mode() const;
    // The activity window is shown on an activity that takes resources
    // (insert or modify).
    bool receiving() const;
    // The fields as loaded, or as proposed for a new activity.
    const ActivityInput &fields() const { return m_fields; }
    // "Aperta", "Chiusa", "Annullata", or empty.
    const QString &stateWord() const { return m_stateWord; }
    const QList<SessionLine> &lines() const { return m_lines; }
    const Pick &pick() const { return m_pick; }
    // The changes made to the registers since the last registration, in the
    // order they were made; then what an earlier occasion left to undo.
    const QList<resources::Unregistered> &unregistered() const { return m_unregistered; }
    const QList<resources::Unregistered> &leftover() const { return m_leftover; }
    // Lines may be deleted: never while cancelling, nor when only consulting.
    bool mayDeleteLines() const;

    // The activity window appears or disappears.
    void setShown(bool shown);
    // What the activity window's fields hold now, as the user typed them
    // (the window tells at every change).
    void setTyped(const ActivityInput &typed);
    const ActivityInput &typed() const { return m_typed; }

    // ---- what the user would lose
    // What the window holds and has not registered: fields typed that differ
    // from those loaded, proposed or last registered, and lines added or
    // deleted since. Nothing while the window is hidden (left with "Esci"),
    // after a new task was prepared, when cancelling or only consulting, or
    // when no activity could be loaded (nothing there can be registered).
    struct Unsaved {
        int added = 0, deleted = 0, fields = 0;
        bool any() const { return added || deleted || fields; }
    };
    Unsaved unsaved() const;
    // The question to ask before a new task abandons what the window holds
    // unregistered ("L'attività numero 12 ha dati non registrati. Li
    // abbandono?"); empty when nothing would be lost.
    QString abandonQuestion() const;
    // The same before the program ends, naming what would be lost ("... ha
    // modifiche non registrate (2 risorse aggiunte, campi modificati). Esco
    // senza registrarle?").
    QString quitQuestion() const;
    // The question before "Annulla" cancels the activity loaded for
    // cancellation ("Annullo l'attività numero 5?"); empty in any other mode,
    // or when no activity was found to cancel.
    QString cancelQuestion() const;
    // The question before line `row` is deleted, naming it with its runs of
    // blanks made one ("Elimino la riga AUTO 1 ALFA JEEP?").
    QString deleteQuestion(int row) const;

    // ---- a new task for the window
    // A new activity (mode I) or the activity `protsel` (M, A), loaded at the
    // window's next activation. What was taken or given back and not
    // registered is undone first; the caller has asked the user (see
    // abandonQuestion()).
    Outcome choose(const QString &protsel, modes::Activity mode);
    // A task was chosen and waits for the window's activation.
    bool loadPending() const { return m_pending; }

    // ---- the user's actions
    // The activity window activated: the task chosen since the last
    // activation (a new activity, or the chosen one) is loaded. Otherwise
    // the window keeps what it holds: back from a pick it returns to its own
    // mode; for a new activity whose number the user has not changed, the
    // number proposed follows the counter (another desk may have registered
    // meanwhile).
    Outcome activate();
    // Another desk changed the archives: an activity shown for modification
    // or cancellation with nothing typed, taken or given back here is shown
    // again as it is now stored (its rollback point with it). True when it
    // was.
    bool followStored();
    // "Attrezzature", "Automezzi", "Volontari": the activity passes to its
    // picking mode and `pickStarted` asks for the list of the kind. False
    // (and nothing happens) without an activity that takes resources.
    bool startPicking(ResourceKind kind);
    // A record line chosen in a list opened for picking becomes the pick.
    // A blank line is refused without a word.
    Outcome offer(ResourceKind kind, const QString &line);
    // The pick added with the quantity typed (vehicles: always one), taking
    // the resource from its register unless the activity was loaded closed.
    Outcome add(const QString &typedQuantity);
    // Volunteers of the picked association added by name; a name that the
    // archive encoding cannot hold is told and left out.
    Outcome addNamed(const QStringList &names);
    // Adds a line at the end as it stands, its resource counted as taken
    // (left for the undo) when it is held by a register.
    Outcome append(const QString &line);
    // Deletes line `row`, giving its resource back (a line already released
    // holds nothing). A line that is no resource line stays.
    Outcome deleteLine(int row);
    // "Registra": insert, modify (close, re-open) or cancel, by the mode.
    Outcome registerActivity(const ActivityInput &typed);
    // Undoes, record by record, what was taken or given back and not
    // registered (and what an earlier occasion left); nothing else in the
    // archives changes. When it cannot, it is kept for the next occasion.
    Outcome discard();
    // "Esci": discards, then (unless cancelling or undoing) the registers
    // as they stand become the new rollback point.
    Outcome leave();

    // What gives a released resource back to its register.
    void setGiveBack(GiveBack giveBack) { m_giveBack = std::move(giveBack); }

signals:
    // Fields and lines replaced: another activity, or a new one.
    void loaded();
    // Lines, their states or the state word changed.
    void linesChanged();
    // The number proposed for the new activity changed (fields().numprot).
    void numberProposed();
    // A pick began: the register list of `kind` is wanted.
    void pickStarted(ResourceKind kind);

private:
    // The diary's line of a resource taken or given back and not yet
    // registered.
    void tellUnregistered(bool taken, const QString &line) const;
    QStringList loadNew();
    QStringList loadChosen();
    // The number to propose for a new activity, from the counter; false when
    // the counter cannot be read.
    bool propose();
    void clear();
    // What the window holds is what the archives hold: the base to compare
    // the typed fields and the lines with.
    void markRegistered(const ActivityInput &fields);
    // "L'attività numero 12", "La nuova attività numero 13", "La nuova attività".
    QString subject() const;
    QString unsavedText() const;
    void addLine(const QString &line, bool taken);
    // Adds the line, and keeps on disk what is now held unregistered, in
    // `tx`: both or neither.
    Outcome commitLine(archive::Transaction &tx, const QString &line, bool taken);
    void forgetUnregistered();
    void enterPicking(ResourceKind kind);
    void associationRenamed(const QString &from, const QString &to);
    QList<ResourceEntry> entries() const;

    Context &m_ctx;
    Globals &m_g;
    ActivityInput m_fields;
    ActivityInput m_typed;
    // The fields and the line texts as loaded or last registered.
    ActivityInput m_baseFields;
    QStringList m_baseLines;
    // A task chosen and not loaded yet.
    bool m_pending = false;
    QString m_stateWord;
    QList<SessionLine> m_lines;
    Pick m_pick;
    bool m_shown = false;
    bool m_counterFull = false;
    GiveBack m_giveBack;
    QStringList m_giveBackMessages; // what the give-backs at release had to say
    QList<resources::Unregistered> m_unregistered;
    // Changes of an earlier activity (or of a copy that ended abnormally)
    // that could not be undone yet.
    QList<resources::Unregistered> m_leftover;
    quint64 m_nextId = 1;
    // The activity as loaded or last registered (modes M and A): its
    // registration is refused when the archives no longer hold it so.
    std::optional<LoadedActivity> m_loaded;
};

} // namespace activities
