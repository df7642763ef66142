// The counts the office relies on, checked after every step of random
// operator sequences through the real windows: for every piece of equipment
// and every association, what is available plus what open activities hold
// (registered lines not released, and what the activity window took and has
// not registered) equals what the office owns; a vehicle is "A" exactly when
// one open activity holds it; nothing is held of a record that is gone;
// protocol numbers are unique. What the office owns changes only by the
// register windows, by a restore of a saved set and by a reset. The operator
// answers Yes to abandoning unregistered work and to cancelling.
//
// VELMORA_SOAK_SEED and VELMORA_SOAK_STEPS run one sequence of that seed and
// length instead of the fixed ones (make soak).
#include "counts.h"
#include "pickoffice.h"
#include "registerdesk.h"

#include "activities/records.h"
#include "archive/journal.h"
#include "archive/rewrite.h"
#include "archive/text.h"
#include "associations/records.h"
#include "equipment/records.h"
#include "registers/holdings.h"
#include "resources/unregistered.h"
#include "vehicles/records.h"

#include <QRandomGenerator>

using archive::File;
using archive::Record;

namespace {

using counts::key;
using counts::Owned;

struct Room : PickOffice {
    explicit Room(quint32 seed) : rnd(seed)
    {
        owned = counts::standing(ctx.folder);
        QVERIFY(QDir(dir()).mkpath("copie"));
    }

    QRandomGenerator rnd;
    Owned owned, saved;
    bool hasSave = false;
    QStringList log;

    int any(int n) { return int(rnd.bounded(quint32(n))); }
    template <class T>
    T any(const QList<T> &l) { return l.at(any(int(l.size()))); }
    QString anyName() { return any(QStringList{"ALFA", "BETA", "GAMMA"}); }
    QStringList told() const { return fake.prompts.messages(); }

    // The program ends abnormally: every window goes without a word; the
    // next start finishes a journal and gives back what was left unregistered.
    void restart()
    {
        windows.reset();
        ctx.g = Globals();
        ctx.lastActive = nullptr;
        archive::recover(ctx.folder);
        resources::undoLeftUnregistered(ctx.folder);
        windows = std::make_unique<Windows>(ctx);
        main = windows->get<Formvelmo>();
        activate(main);
    }

    bool activityOpen()
    {
        auto *w = windows->existing<Formattivita>();
        const auto mode = ctx.g.modoatt;
        return w && w->isVisible() && (mode == modes::Activity::I || mode == modes::Activity::M);
    }

    QList<Record> records(File f, const archive::RecordFormat &format) const
    {
        QList<Record> out;
        archive::readRecords(path(f), format, [&](const Record &r) { return out << r, true; });
        return out;
    }
    QList<qint16> activities(bool open) const
    {
        QList<qint16> out;
        for (const Record &r : records(File::Attivita, activities::activityFormat()))
            if (!open || r.at(activities::Stato) == "A") out << r.number(activities::NumProt);
        return out;
    }

    // ---- register windows
    void association()
    {
        const int how = any(3);
        const QString name = anyName(), vol = QString::number(any(12));
        QWidget *w = openEntry(*this, how == 0 ? "mnassains" : how == 1 ? "mnassamod"
                                                                        : "mnassaann");
        const bool chosen = how == 0 || chooseEntry(child<QComboBox>(w, "cmbassdenom"), name);
        if (!chosen) return;
        const QString renamed = how == 1 && any(3) == 0 ? any(QStringList{"ALFA", "DELTA", "OMEGA"}) : name;
        if (how != 2) typeAll(w, {{"cmbassdenom", renamed}, {"assnumvol", vol}});
        fake.prompts.answers << true << true;
        log << QString("associazione %1 %2 -> %3 %4").arg(how).arg(name, renamed, vol);
        press(w, "cmdassregistra");
        fake.prompts.answers.clear();
        if (how == 0 && told().isEmpty()) owned.volunteers[key(name)] = vol.toInt();
        if (how == 1 && told() == QStringList{"Associazione modificata."}) {
            moveAssociation(name, renamed);
            owned.volunteers[key(renamed)] = vol.toInt() + held().volunteers.value(key(renamed));
        }
        if (how == 2 && told() == QStringList{QString::fromUtf8("Associazione eliminata.")}) {
            owned.volunteers.remove(key(name));
            for (const QString &k : owned.pieces.keys())
                if (k.startsWith(key(name).left(50))) owned.pieces.remove(k);
        }
    }
    void moveAssociation(const QString &from, const QString &to)
    {
        if (from == to) return;
        owned.volunteers.remove(key(from));
        for (const QString &k : owned.pieces.keys())
            if (k.startsWith(key(from).left(50))) owned.pieces[key(to).left(50) + k.mid(50)] = owned.pieces.take(k);
    }
    // A vehicle or a piece of equipment: insert, modify (state, quantity or
    // description), delete.
    void pair(bool vehicle)
    {
        const int how = any(3);
        const QString assoc = anyName();
        const QStringList descriptions = vehicle ? QStringList{"JEEP", "AMBULANZA", "FURGONE"}
                                                 : QStringList{"POMPA", "TENDA", "GENERATORE"};
        const QString descr = any(descriptions);
        QWidget *w = openEntry(*this, vehicle ? (how == 0 ? "mnautains" : how == 1 ? "mnautamod"
                                                                                   : "mnautaann")
                                              : (how == 0 ? "mnatrains" : how == 1 ? "mnatramod"
                                                                                   : "mnatraann"));
        if (!chooseEntry(child<QComboBox>(w, "cmbass"), assoc) && how != 0) return;
        if (how != 0 && !chooseEntry(child<QComboBox>(w, "cmbdes"), descr)) return;
        const QString newDescr = how == 1 && any(4) == 0 ? any(descriptions) : descr;
        const QString qty = QString::number(any(8));
        Typed typed{{"cmbass", assoc}, {"cmbdes", newDescr}, {"cmbstato", any(QStringList{"L", "B", "R", "L"})}};
        if (vehicle) typed << qMakePair(QString("dataar"), QString("01/03/2025")) << qMakePair(QString("oraar"), QString("08.00"));
        else typed << qMakePair(QString("qta"), qty);
        if (how != 2) typeAll(w, typed);
        log << QString("%1 %2 %3 %4 -> %5 %6").arg(vehicle ? "automezzo" : "attrezzatura").arg(how).arg(assoc, descr, newDescr, qty);
        press(w, "cmdregistra");
        if (vehicle || told().size() != 1 || !told().first().contains("correttamente")) return;
        if (how == 2) owned.pieces.remove(key(assoc, descr));
        if (how == 1) owned.pieces.remove(key(assoc, descr));
        if (how != 2) owned.pieces[key(assoc, newDescr)] = qty.toInt() + held().pieces.value(key(assoc, newDescr));
    }

    // ---- the activity window
    void newActivity()
    {
        openInsert();
        fillRequest();
        log << "nuova attività";
    }
    void openActivity()
    {
        const QList<qint16> open = activities(true);
        if (open.isEmpty()) return;
        const QString prot = QString::number(any(open));
        log << "apre " + prot;
        openFromMain(prot);
    }
    void openAnyFromList(const char *entry)
    {
        const QList<qint16> all = activities(false);
        if (all.isEmpty()) return;
        const QString prot = QString::number(any(all));
        log << QString("%1 %2").arg(entry, prot);
        if (!chooseActivity(fromMenu<Formattlist>(entry), "List1", prot)) return;
        shown<Formattivita>();
    }
    void take()
    {
        if (!activityOpen()) any(2) ? newActivity() : openActivity();
        if (!activityOpen()) return;
        const int kind = any(3);
        QString line;
        if (kind == 0) {
            const auto all = equipment::Archive::readAll(path(File::Attrezzature));
            if (all.isEmpty()) return;
            const auto e = any(all);
            line = key(e.associazione, e.descrizione);
            pickInList<Formattrlist>("cmdattr", line);
        } else if (kind == 1) {
            const auto all = vehicles::Archive::readAll(path(File::Automezzi));
            if (all.isEmpty()) return;
            const auto v = any(all);
            line = key(v.associazione, v.descrizione);
            pickInList<Formautolist>("cmdauto", line);
        } else {
            const auto all = associations::readAll(path(File::Associazioni));
            if (all.isEmpty()) return;
            line = key(any(all).denominazione).left(50);
            pickInList<Formlist>("cmdvol", line);
        }
        if (!ris()->isVisible()) return;
        const QString qty = QString::number(1 + any(4));
        log << QString("prende %1 %2").arg(line.simplified(), qty);
        typeText(ris(), "qta", qty);
        press(ris(), "cmdaggiungi");
        if (ris()->isVisible()) press(ris(), "cmdannulla");
    }
    void deleteLine()
    {
        if (!activityOpen()) return;
        if (ctx.lastActive != activity()) activate(activity());
        if (resourceList()->count() == 0) return;
        const int row = any(resourceList()->count());
        log << "elimina la riga " + resourceList()->item(row)->text().simplified();
        deleteRow(row);
    }
    void registra()
    {
        auto *w = windows->existing<Formattivita>();
        if (!w || !w->isVisible()) return;
        if (ctx.lastActive != w) activate(w);
        if (child<QLineEdit>(w, "datari")->text().isEmpty()) fillRequest();
        if (any(4) == 0) // closed, after its start
            for (auto [field, text] : {std::pair{"datain", "05/03/2025"}, {"orain", "15.00"}, {"datafi", "05/03/2025"}, {"orafi", "18.00"}}) typeText(w, field, text);
        if (any(6) == 0) typeText(w, "numprot", QString::number(1 + any(12)));
        log << QString("registra %1 %2").arg(child<QLineEdit>(w, "numprot")->text(), child<QLineEdit>(w, "orafi")->text());
        press(w, "cmdregistra");
    }
    void leave()
    {
        auto *w = windows->existing<Formattivita>();
        if (!w || !w->isVisible()) return;
        log << "esci";
        if (ctx.lastActive != w) activate(w);
        if (any(2)) press(w, "cmdesci");
        else w->close();
    }
    void lookAway()
    {
        log << "finestra principale e ritorno";
        activate(main);
        if (auto *w = windows->existing<Formattivita>(); w && w->isVisible()) activate(w);
    }

    // ---- whole archives
    void maintenance(int how)
    {
        QStringList files;
        for (const char *n : {"ass", "attr", "auto", "att", "ris", "prot"}) files << path(QString("copie/") + n);
        fake.prompts.answers.clear();
        if (how == 0) {
            log << "salva";
            for (int i = 0; i < 6; ++i) fake.prompts.answers << true;
            fake.prompts.files << files;
            main->action("mnsalvaarc")->trigger();
            if (told().size() == 6) saved = owned, hasSave = true;
        } else if (how == 1 && hasSave) {
            log << "ripristina";
            for (int i = 0; i < 6; ++i) fake.prompts.answers << true;
            fake.prompts.files << files;
            main->action("mnriparc")->trigger();
            if (told().size() == 6) owned = saved;
        } else if (how == 2) {
            log << "azzera";
            for (int i = 0; i < 8; ++i) fake.prompts.answers << true;
            main->action("mnripazze")->trigger();
            if (told() == QStringList{"Azzeramento archivi richiesti effettuato."}) owned = Owned();
        }
        fake.prompts.answers.clear();
        fake.prompts.files.clear();
    }

    void step()
    {
        fake.prompts.clear();
        fake.prompts.answers << true << true;
        switch (any(24)) {
        case 0:
        case 1: association(); break;
        case 2:
        case 3: pair(true); break;
        case 4:
        case 5: pair(false); break;
        case 6: newActivity(); break;
        case 7: openActivity(); break;
        case 8: openAnyFromList(any(2) ? "mnattamod" : "mnattaann"); break;
        case 9:
        case 10:
        case 11:
        case 12:
        case 13:
        case 14: take(); break;
        case 15:
        case 16: deleteLine(); break;
        case 17:
        case 18:
        case 19: registra(); break;
        case 20: leave(); break;
        case 21: lookAway(); break;
        case 22: maintenance(any(12) == 0 ? 2 : any(2)); break;
        case 23: log << "fine anomala", restart(); break;
        }
        if (!told().isEmpty()) log << "  " + told().join(" | ");
    }

    counts::Held held() const { return counts::held(ctx.folder); }
    QString broken() const { return counts::broken(ctx.folder, owned); }
};

// One sequence; on a broken count, the seed and the steps that led to it.
void run(quint32 seed, int steps)
{
    Room room(seed);
    for (int i = 0; i < steps; ++i) {
        room.step();
        const QString wrong = room.broken();
        if (!wrong.isEmpty() || room.fake.prompts.unexpected)
            QFAIL(qPrintable(QString("seme %1, passo %2:\n%3\ndomande senza risposta: %4\nultimi passi:\n%5")
                                 .arg(seed)
                                 .arg(i)
                                 .arg(wrong)
                                 .arg(room.fake.prompts.unexpected)
                                 .arg(room.log.mid(qMax(0, int(room.log.size()) - 40)).join("\n"))));
    }
    if (qEnvironmentVariableIsSet("DBG")) {
        QMap<QString, int> n;
        for (const QString &l : room.log) n[l.startsWith("  ") ? l.left(40) : l.section(' ', 0, 0)]++;
        for (auto it = n.begin(); it != n.end(); ++it)
            if (it.value() > 3) qDebug() << it.value() << it.key();
    }
}

} // namespace

class TestCounts : public QObject {
    Q_OBJECT
private slots:
    void randomOperatorSequences_data()
    {
        QTest::addColumn<quint32>("seed");
        QTest::addColumn<int>("steps");
        const QByteArray soak = qgetenv("VELMORA_SOAK_SEED");
        if (!soak.isEmpty()) {
            QTest::newRow("soak") << quint32(soak.toUInt()) << qEnvironmentVariableIntValue("VELMORA_SOAK_STEPS");
            return;
        }
        for (quint32 seed : {1u, 2u, 3u, 4u}) QTest::addRow("seme %u", seed) << seed << 1000;
    }
    void randomOperatorSequences()
    {
        QFETCH(quint32, seed);
        QFETCH(int, steps);
        run(seed, steps);
    }
};

QTEST_MAIN(TestCounts)
#include "tst_counts.moc"
