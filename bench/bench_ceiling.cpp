// Every everyday action on the largest office the format holds, each beside
// its floor: one plain read (or one plain read and write) of the files the
// action works on, measured in the same run. Prints one table; exits with an
// error when an action cannot be carried out at all.

#include "ceiling.h"

#include "activities/formattlist.h"
#include "activities/records.h"
#include "activities/registration.h"
#include "session/context.h"
#include "app/formvelmo.h"
#include "ui/linelist.h"
#include "session/snapshot.h"
#include "ui/windows.h"
#include "archive/io.h"
#include "archive/journal.h"
#include "archive/rewrite.h"
#include "archive/text.h"
#include "associations/formlist.h"
#include "associations/records.h"
#include "equipment/formattrlist.h"
#include "equipment/records.h"
#include "doubles.h"
#include "reports/formrapimpiego.h"
#include "reports/formrappresenze.h"
#include "reports/formrapquadro.h"
#include "vehicles/formautolist.h"
#include "vehicles/records.h"

#include <QAction>
#include <QChartView>
#include <QApplication>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QPushButton>
#include <QSettings>
#include <QSysInfo>
#include <QTemporaryDir>
#include <QThread>
#include <algorithm>
#include <cstdio>
#include <functional>
#include <memory>
#include <sys/resource.h>
#include <unistd.h>
#include <vector>

namespace {

using archive::File;

constexpr int kRuns = 5;

// The median of `runs` timings of `f`, each after `between` (not timed).
// Every run starts with the disk settled: the files written before it are
// on disk, so no run pays for the writing-back of the one before (each
// archive write ends in an fsync).
double median(const std::function<void()> &f, int runs = kRuns,
              const std::function<void()> &between = {})
{
    std::vector<double> ms;
    for (int i = 0; i < runs; ++i) {
        if (between) between();
        ::sync();
        QElapsedTimer t;
        t.start();
        f();
        ms.push_back(double(t.nsecsElapsed()) / 1e6);
    }
    std::sort(ms.begin(), ms.end());
    return ms[ms.size() / 2];
}

const archive::RecordFormat &formatOf(File f)
{
    switch (f) {
    case File::Associazioni: return associations::format();
    case File::Volontari: return associations::volunteerFormat();
    case File::Automezzi: return vehicles::format();
    case File::Attrezzature: return equipment::format();
    case File::Attivita: return activities::activityFormat();
    default: return activities::resourceFormat();
    }
}

// One plain read of the files: every line decoded and split into its record.
void plainRead(const Context &ctx, std::initializer_list<File> files)
{
    for (File f : files) {
        int n = 0;
        archive::readRecords(ctx.path(f), formatOf(f), [&](const archive::Record &) {
            ++n;
            return true;
        });
        if (n == 0) qFatal("empty archive in the benchmark");
    }
}

// One plain read and write: every file copied line by line to a file beside it.
void plainCopy(const Context &ctx, std::initializer_list<File> files)
{
    for (File f : files) {
        const QString to = ctx.path(f) + QStringLiteral(".copia");
        if (!archive::copyLines(ctx.path(f), to).ok()) qFatal("cannot copy in the benchmark");
    }
}

QByteArray readAll(const QString &path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly)) qFatal("cannot read %s", qPrintable(path));
    return f.readAll();
}

void writeAll(const QString &path, const QByteArray &bytes)
{
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate) || f.write(bytes) != bytes.size())
        qFatal("cannot write %s", qPrintable(path));
}

// The archive without the lines whose first field is `number`.
QByteArray withoutActivity(const QByteArray &bytes, int number)
{
    const QByteArray key = QByteArray::number(number);
    QByteArray out;
    out.reserve(bytes.size());
    qsizetype from = 0;
    while (from < bytes.size()) {
        qsizetype end = bytes.indexOf('\n', from);
        end = end < 0 ? bytes.size() : end + 1;
        const QByteArray line = bytes.mid(from, end - from);
        const qsizetype comma = line.indexOf(',');
        if (line.left(comma < 0 ? 0 : comma).trimmed() != key) out += line;
        from = end;
    }
    return out;
}

struct Row {
    const char *action;
    double time;
    double floor;
};

void activate(Context &ctx, QWidget *w)
{
    ctx.lastActive = nullptr;
    QEvent e(QEvent::WindowActivate);
    QApplication::sendEvent(w, &e);
}

class PaintWatch : public QObject {
public:
    bool painted = false;
    bool eventFilter(QObject *, QEvent *e) override
    {
        if (e->type() == QEvent::Paint) painted = true;
        return false;
    }
};

// Lets the event loop run until `watch` saw a paint; a list that never
// paints is a frozen window.
void waitForPaint(PaintWatch &watch)
{
    QElapsedTimer limit;
    limit.start();
    while (!watch.painted) {
        QApplication::processEvents(QEventLoop::AllEvents, 5);
        if (limit.elapsed() > 10000) qFatal("a list window did not paint within 10 s");
    }
}

// The window filled by its activation work and its list painted, as the
// user sees it when coming to the window from another one.
double fillAndPaint(Context &ctx, QWidget *w, QAbstractScrollArea *list)
{
    PaintWatch watch;
    list->viewport()->installEventFilter(&watch);
    const double t = median([&] {
        watch.painted = false;
        activate(ctx, w);
        list->viewport()->update();
        waitForPaint(watch);
    });
    list->viewport()->removeEventFilter(&watch);
    return t;
}

// Opens a window from a menu entry of the main window, as the user does
// (the entry sets the window's mode code and shows it), and lets it take
// its first activation.
template <class W> W *fromMenu(Context &ctx, Formvelmo *main, const char *entry)
{
    QAction *a = main->action(QString::fromLatin1(entry));
    if (!a) qFatal("no menu entry %s", entry);
    a->trigger();
    W *w = ctx.windows->get<W>();
    QElapsedTimer limit;
    limit.start();
    while (ctx.lastActive != w && limit.elapsed() < 500)
        QApplication::processEvents(QEventLoop::AllEvents, 5);
    if (ctx.lastActive != w) activate(ctx, w); // platforms that activate nothing on their own
    return w;
}

// The offscreen platform tells about every raise() it cannot do; nothing
// else is kept quiet.
QtMessageHandler defaultHandler = nullptr;

void quietHandler(QtMsgType type, const QMessageLogContext &context, const QString &message)
{
    if (type == QtWarningMsg
        && (message.startsWith(QLatin1String("This plugin does not support"))
            || message.contains(QLatin1String("XDG_RUNTIME_DIR"))))
        return;
    defaultHandler(type, context, message);
}

} // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    defaultHandler = qInstallMessageHandler(quietHandler);
    QApplication app(argc, argv);
    QTemporaryDir dir;
    // The windows keep their places in a folder of this run, not the user's.
    QTemporaryDir config;
    QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, config.path());
    FakePlatform fake;
    Context ctx;
    ctx.folder = archive::WorkingFolder(dir.path());
    ctx.platform = fake.platform();

    QElapsedTimer generation;
    generation.start();
    ceiling::write(ctx.folder);
    std::printf("archivi generati in %.1f s: %d attività, %d righe di risorse, %d associazioni, "
                "%d automezzi, %d attrezzature, %d volontari; mediana di %d prove\n",
                double(generation.nsecsElapsed()) / 1e9, ceiling::kActivities, ceiling::kResources,
                ceiling::kAssociations, ceiling::kVehicles, ceiling::kEquipment,
                ceiling::kVolunteers, kRuns);
    std::fflush(stdout);

    std::vector<Row> rows;

    // Start-up to the first painted main window.
    {
        const double t = median([&] {
            Context c = ctx;
            auto windows = std::make_unique<Windows>(c);
            auto *main = windows->get<Formvelmo>();
            PaintWatch watch;
            main->installEventFilter(&watch);
            present(main);
            waitForPaint(watch);
            main->removeEventFilter(&watch);
        });
        rows.push_back({"avvio fino alla finestra principale disegnata", t,
                        median([&] { plainRead(ctx, {File::Attivita}); })});
    }

    Windows windows(ctx);
    auto *main = windows.get<Formvelmo>();
    present(main);
    activate(ctx, main); // the first activation also shows the emergency window
    rows.push_back({"attivazione della finestra principale", median([&] { activate(ctx, main); }),
                    median([&] { plainRead(ctx, {File::Attivita}); })});

    // The chronological list (general mode).
    {
        auto *list = fromMenu<Formattlist>(ctx, main, "mnattvgen");
        if (ctx.g.modoattlist != modes::ActivityList::G)
            qFatal("the chronological list is not in mode G");
        auto *lines = list->findChild<LineList *>(QStringLiteral("List1"));
        const double t = fillAndPaint(ctx, list, lines);
        if (lines->count() < ceiling::kActivities) qFatal("the chronological list is short");
        rows.push_back({"elenco cronologico delle attività", t, median([&] {
                            plainRead(ctx, {File::Attivita, File::Risorse});
                        })});
        list->hide();
    }

    // The three reports, each rebuilt by its activation and painted, beside
    // a plain read of the archives it reads.
    {
        auto *board = fromMenu<Formrapquadro>(ctx, main, "mnrapquadro");
        const double t = fillAndPaint(ctx, board,
                                      board->findChild<QChartView *>(QStringLiteral("graficovol")));
        rows.push_back({"quadro della situazione", t, median([&] {
                            plainRead(ctx, {File::Associazioni, File::Automezzi, File::Attrezzature,
                                            File::Attivita, File::Risorse});
                        })});
        board->hide();

        auto *engagement = fromMenu<Formrapimpiego>(ctx, main, "mnrapimpiego");
        auto *view = engagement->findChild<QListView *>(QStringLiteral("List1"));
        const double e = fillAndPaint(ctx, engagement, view);
        if (view->model()->rowCount() < ceiling::kResources)
            qFatal("the engagement report is short");
        rows.push_back({"impiego di tutte le associazioni", e, median([&] {
                            plainRead(ctx, {File::Associazioni, File::Attivita, File::Risorse});
                        })});
        engagement->hide();

        auto *attendance = fromMenu<Formrappresenze>(ctx, main, "mnrappresenze");
        auto *lines = attendance->findChild<LineList *>(QStringLiteral("List1"));
        const double a = fillAndPaint(ctx, attendance, lines);
        if (lines->count() < ceiling::kResources / 4) qFatal("the attendance report is short");
        rows.push_back({"presenze dei volontari", a, median([&] {
                            plainRead(ctx, {File::Attivita, File::Risorse});
                        })});
        attendance->hide();
    }

    // The three register lists, opened from the menu in their general modes.
    {
        auto *list = fromMenu<Formlist>(ctx, main, "mnassvel");
        if (ctx.g.modoasslist != modes::AssociationList::IA)
            qFatal("the association list is not in mode IA");
        const double t = fillAndPaint(ctx, list, list->list());
        // Heading and blank line, then the associations, a blank line and the total.
        if (list->list()->count() != ceiling::kAssociations + 4)
            qFatal("the association list shows %d lines", list->list()->count());
        const double floor = median([&] { plainRead(ctx, {File::Associazioni}); });
        rows.push_back({"elenco delle associazioni (IA)", t, floor});

        // A search by part of the name, typed in the window and confirmed.
        list->findChild<QLineEdit *>(QStringLiteral("cerca"))->setText(QStringLiteral("volontari 00"));
        auto *cmdcerca = list->findChild<QPushButton *>(QStringLiteral("cmdcerca"));
        const double search = median([&] { cmdcerca->click(); });
        if (list->list()->count() <= 4) qFatal("the association search found nothing");
        rows.push_back({"ricerca nell'elenco delle associazioni", search, floor});
        list->hide();
    }
    // The general lists of vehicles and equipment, each beside a plain read
    // of its archive.
    const auto generalList = [&](auto *list, modes::PairList mode, int records, File archive,
                                 const char *action) {
        if (mode != modes::PairList::G) qFatal("%s: not in mode G", action);
        const double t = fillAndPaint(ctx, list, list->list());
        if (list->list()->count() != records + 2)
            qFatal("%s: %d lines shown", action, list->list()->count());
        rows.push_back({action, t, median([&] { plainRead(ctx, {archive}); })});
        list->hide();
    };
    // Each list is opened before its mode is read: the order in which the
    // arguments of one call are evaluated is not fixed.
    auto *vehicleList = fromMenu<Formautolist>(ctx, main, "mnautvelg");
    generalList(vehicleList, ctx.g.modoautolist, ceiling::kVehicles, File::Automezzi,
                "elenco generale degli automezzi (G)");
    auto *equipmentList = fromMenu<Formattrlist>(ctx, main, "mnatrvelg");
    generalList(equipmentList, ctx.g.modoattrlist, ceiling::kEquipment, File::Attrezzature,
                "elenco generale delle attrezzature (G)");

    // Registering an activity of 20 resource lines: as a modification of
    // the activity, then as a new activity.
    const double copyFloor = median([&] { plainCopy(ctx, {File::Attivita, File::Risorse}); });
    {
        const QString prot = QString::number(ceiling::kMeasured);
        auto loaded = activities::loadActivity(ctx.folder, prot);
        if (!loaded || loaded->resources.size() != ceiling::kMeasuredLines)
            qFatal("the measured activity is not there");
        const archive::Record &r = loaded->record;
        activities::Registration reg;
        reg.mode = modes::Activity::M;
        reg.protsel = prot;
        reg.input = {prot,
                     r.at(activities::DataRi),
                     r.at(activities::OraRi),
                     r.at(activities::DataIn),
                     r.at(activities::OraIn),
                     QString(),
                     QString(),
                     r.at(activities::TipoAtt),
                     r.at(activities::Loc),
                     r.at(activities::Ric),
                     r.at(activities::Note)};
        reg.resources = loaded->resources;
        const auto noGiveBack = [](const archive::Record &) { return true; };

        // The first registration writes the lines as the window does; from
        // then on each one gives the same bytes again.
        activities::registerActivity(ctx.folder, reg, noGiveBack);
        const QString attivita = ctx.path(File::Attivita);
        const QString risorse = ctx.path(File::Risorse);
        const QString counter = ctx.path(File::NumeroProt);
        const QByteArray fullAtt = readAll(attivita);
        const QByteArray fullRis = readAll(risorse);
        const QByteArray fullCounter = readAll(counter);
        const double modify = median([&] {
            auto out = activities::registerActivity(ctx.folder, reg, noGiveBack);
            if (out.kind != activities::RegistrationOutcome::Modified) qFatal("modifying failed");
        });
        if (readAll(attivita) != fullAtt || readAll(risorse) != fullRis)
            qFatal("modifying the activity with its own fields changed the archives");
        rows.push_back({"modifica di un'attività di 20 risorse", modify, copyFloor});

        // The same activity registered anew into archives that lack it: the
        // counter, the ordered insert of the record and of its 20 lines among
        // the 299,980 others, and the snapshot of the registers.
        const QByteArray baseAtt = withoutActivity(fullAtt, ceiling::kMeasured);
        const QByteArray baseRis = withoutActivity(fullRis, ceiling::kMeasured);
        if (baseRis.count('\n') != ceiling::kResources - ceiling::kMeasuredLines)
            qFatal("the measured activity's lines were not taken out");
        reg.mode = modes::Activity::I;
        reg.protsel.clear();
        const auto registerAnew = [&] {
            auto out = activities::registerActivity(ctx.folder, reg, noGiveBack);
            if (out.kind != activities::RegistrationOutcome::Inserted)
                qFatal("inserting failed: %s", qPrintable(out.messages.join(QLatin1Char(' '))));
        };
        const auto restore = [&] {
            writeAll(attivita, baseAtt);
            writeAll(risorse, baseRis);
            writeAll(counter, fullCounter);
        };
        const double insert = median(registerAnew, kRuns, restore);
        if (readAll(attivita) != fullAtt || readAll(risorse) != fullRis)
            qFatal("the new activity was not registered where it belongs");
        if (readAll(counter).trimmed() != QByteArray::number(ceiling::kMeasured))
            qFatal("the protocol counter was not written");
        rows.push_back({"registrazione di una nuova attività di 20 risorse", insert, copyFloor});
        // The same without the change lock that lets several desks write:
        // what the lock costs a registration (its floor is the one without).
        archive::setChangeLocking(false);
        const double unlocked = median([&] { registerAnew(); }, kRuns, restore);
        archive::setChangeLocking(true);
        writeAll(counter, fullCounter);
        rows.push_back({"registrazione con il blocco, rispetto a senza", insert, unlocked});
    }

    // Engaging one piece of equipment (given back between runs).
    {
        // The item in the middle of the archive.
        const int item = ceiling::kEquipment / 2;
        const QString assoc = text::fit(QString::fromLatin1(ceiling::associationName(
                                            item / (ceiling::kEquipment / ceiling::kAssociations))),
                                        50);
        const QString descr =
            text::fit(QStringLiteral("ATTREZZATURA %1").arg(item, 5, 10, QLatin1Char('0')), 50);
        bool matched = false;
        const double t = median(
            [&] {
                const auto o = equipment::engage(ctx.folder, assoc, descr, 1, &matched);
                if (o.status != registers::Outcome::Done || !matched)
                    qFatal("engaging failed: %d %s", int(o.status), qPrintable(o.io.message()));
            },
            kRuns, [&] { equipment::giveBack(ctx.folder, assoc, descr, 1); });
        equipment::giveBack(ctx.folder, assoc, descr, 1);
        rows.push_back({"impegno di un'attrezzatura", t,
                        median([&] { plainCopy(ctx, {File::Attrezzature}); })});
    }

    rows.push_back({"istantanea dei tre archivi", median([&] { snapshot::takeRegisters(ctx); }),
                    median([&] {
                        plainCopy(ctx, {File::Associazioni, File::Attrezzature, File::Automezzi});
                    })});

    std::printf("\nmacchina: %s, %s, %d processori, Qt %s\n",
                qPrintable(QSysInfo::prettyProductName()),
                qPrintable(QSysInfo::currentCpuArchitecture()), QThread::idealThreadCount(),
                qVersion());
    std::printf("%-52s %10s %10s %7s\n", "azione", "tempo ms", "base ms", "volte");
    bool allWithin = true;
    for (const Row &r : rows) {
        const double ratio = r.floor > 0 ? r.time / r.floor : 0;
        allWithin = allWithin && ratio <= 3.0;
        // printf pads by bytes: the accented letters take two.
        const QByteArray action(r.action);
        const int pad = 52 + int(action.size() - QString::fromUtf8(action).size());
        std::printf("%-*s %10.1f %10.1f %7.2f\n", pad, r.action, r.time, r.floor, ratio);
    }
    std::printf("%s\n", allWithin ? "ogni azione entro 3 volte la sua base"
                                  : "ATTENZIONE: qualche azione oltre 3 volte la sua base");

    rusage usage{};
    getrusage(RUSAGE_SELF, &usage); // ru_maxrss in kB on Linux
    std::printf("memoria massima del processo: %.1f MB\n",
                static_cast<double>(usage.ru_maxrss) / 1024.0);

    if (argc > 1) {
        std::FILE *out = std::fopen(argv[1], "a");
        if (!out) qFatal("cannot write %s", argv[1]);
        for (const Row &r : rows)
            std::fprintf(out, "azione\t%d\t%.3f\t%.3f\t%s\n", ceiling::kResources, r.time, r.floor,
                         r.action);
        std::fprintf(out, "memoria\t%d\t%ld\n", ceiling::kResources, usage.ru_maxrss);
        if (std::fclose(out) != 0) qFatal("cannot write %s", argv[1]);
    }
    return 0;
}
