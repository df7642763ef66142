// Every everyday action on the largest office the format holds, each beside
// its floor: one plain read (or one plain read and write) of the files the
// action works on, measured in the same run. Prints one table.

#include "ceiling.h"

#include "activities/formattlist.h"
#include "activities/records.h"
#include "activities/registration.h"
#include "app/context.h"
#include "app/formvelmo.h"
#include "app/snapshot.h"
#include "app/windows.h"
#include "archive/io.h"
#include "archive/rewrite.h"
#include "archive/text.h"
#include "associations/records.h"
#include "equipment/records.h"
#include "platform/doubles.h"
#include "vehicles/records.h"

#include <QApplication>
#include <QElapsedTimer>
#include "app/linelist.h"
#include <QSysInfo>
#include <QTemporaryDir>
#include <QThread>
#include <algorithm>
#include <cstdio>
#include <functional>
#include <memory>
#include <vector>

namespace {

using archive::File;

double median(const std::function<void()> &f, int runs, const std::function<void()> &between = {})
{
    std::vector<double> ms;
    for (int i = 0; i < runs; ++i) {
        if (between) between();
        QElapsedTimer t;
        t.start();
        f();
        ms.push_back(t.nsecsElapsed() / 1e6);
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

} // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QTemporaryDir dir;
    FakePlatform fake;
    Context ctx;
    ctx.folder = archive::WorkingFolder(dir.path());
    ctx.platform = fake.platform();

    QElapsedTimer generation;
    generation.start();
    ceiling::write(ctx.folder);
    std::printf("archivi generati in %.1f s: %d attività, %d righe di risorse, %d associazioni, "
                "%d automezzi, %d attrezzature, %d volontari\n",
                generation.nsecsElapsed() / 1e9, ceiling::kActivities, ceiling::kResources,
                ceiling::kAssociations, ceiling::kVehicles, ceiling::kEquipment,
                ceiling::kVolunteers);

    std::vector<Row> rows;
    constexpr int kRuns = 5;

    // Start-up to the first painted main window.
    {
        const double t = median(
            [&] {
                Context c = ctx;
                auto windows = std::make_unique<Windows>(c);
                auto *main = windows->get<Formvelmo>();
                PaintWatch watch;
                main->installEventFilter(&watch);
                present(main);
                while (!watch.painted) QApplication::processEvents(QEventLoop::AllEvents, 5);
                main->removeEventFilter(&watch);
            },
            kRuns);
        rows.push_back({"avvio fino alla finestra principale disegnata", t,
                        median([&] { plainRead(ctx, {File::Attivita}); }, kRuns)});
    }

    Windows windows(ctx);
    auto *main = windows.get<Formvelmo>();
    activate(ctx, main); // the first activation also shows the emergency window
    rows.push_back({"attivazione della finestra principale",
                    median([&] { activate(ctx, main); }, kRuns),
                    median([&] { plainRead(ctx, {File::Attivita}); }, kRuns)});

    {
        auto *list = windows.get<Formattlist>();
        ctx.g.modoattlist = QStringLiteral("G");
        const double t = median([&] { activate(ctx, list); }, kRuns);
        if (list->findChild<LineList *>(QStringLiteral("List1"))->count() < ceiling::kActivities)
            qFatal("the chronological list is short");
        rows.push_back({"elenco cronologico delle attività", t,
                        median([&] { plainRead(ctx, {File::Attivita, File::Risorse}); }, kRuns)});
        list->hide();
    }

    // Registering (modify) an activity of 20 resource lines.
    {
        const QString prot = QString::number(ceiling::kMeasured);
        auto loaded = activities::loadActivity(ctx.folder, prot);
        if (!loaded || loaded->resources.size() != ceiling::kMeasuredLines)
            qFatal("the measured activity is not there");
        const archive::Record &r = loaded->record;
        activities::Registration reg;
        reg.mode = QStringLiteral("M");
        reg.protsel = prot;
        reg.input = {prot, r.at(activities::DataRi), r.at(activities::OraRi),
                     r.at(activities::DataIn), r.at(activities::OraIn), QString(), QString(),
                     r.at(activities::TipoAtt), r.at(activities::Loc), r.at(activities::Ric),
                     r.at(activities::Note)};
        reg.resources = loaded->resources;
        // The first registration writes the lines as the window does; from
        // then on each one gives the same bytes again.
        activities::registerActivity(ctx.folder, reg, [](const archive::Record &) {});
        const QByteArray before = [&] {
            QFile f(ctx.path(File::Risorse));
            f.open(QIODevice::ReadOnly);
            return f.readAll();
        }();
        const double t = median(
            [&] {
                auto out = activities::registerActivity(ctx.folder, reg, [](const archive::Record &) {});
                if (out.kind != activities::RegistrationOutcome::Modified) qFatal("registration failed");
            },
            kRuns);
        QFile f(ctx.path(File::Risorse));
        f.open(QIODevice::ReadOnly);
        if (f.readAll() != before) qFatal("registering the same activity changed risorse.csv");
        rows.push_back({"registrazione di un'attività di 20 risorse", t,
                        median([&] { plainCopy(ctx, {File::Attivita, File::Risorse}); }, kRuns)});
    }

    // Engaging one piece of equipment (given back between runs).
    {
        const QString assoc = text::fit(QString::fromLatin1(ceiling::associationName(1000)), 50);
        const QString descr = text::fit(QStringLiteral("ATTREZZATURA 10000"), 50);
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
                        median([&] { plainCopy(ctx, {File::Attrezzature}); }, kRuns)});
    }

    rows.push_back({"istantanea dei tre archivi",
                    median([&] { snapshot::takeRegisters(ctx); }, kRuns),
                    median([&] { plainCopy(ctx, {File::Associazioni, File::Attrezzature,
                                                 File::Automezzi}); },
                           kRuns)});

    std::printf("\nmacchina: %s, %d processori, Qt %s\n",
                qPrintable(QSysInfo::prettyProductName()), QThread::idealThreadCount(), qVersion());
    std::printf("%-48s %10s %10s %7s\n", "azione", "tempo ms", "base ms", "volte");
    bool allWithin = true;
    for (const Row &r : rows) {
        const double ratio = r.floor > 0 ? r.time / r.floor : 0;
        allWithin = allWithin && ratio <= 3.0;
        std::printf("%-48s %10.1f %10.1f %7.2f\n", r.action, r.time, r.floor, ratio);
    }
    std::printf("%s\n", allWithin ? "ogni azione entro 3 volte la sua base"
                                  : "ATTENZIONE: qualche azione oltre 3 volte la sua base");
    return 0;
}
