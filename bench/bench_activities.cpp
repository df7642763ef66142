// Fill time of the chronological activity list on a large office: 2,000
// activities with 20,000 resource lines, against one plain read of the two
// archives.

#include "activities/formattlist.h"
#include "activities/lists.h"
#include "activities/records.h"
#include "app/context.h"
#include "app/windows.h"
#include "archive/rewrite.h"
#include "platform/doubles.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include "app/linelist.h"
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <vector>

namespace {

constexpr int kActivities = 2000;
constexpr int kResources = 20000;

void writeArchives(const archive::WorkingFolder &folder)
{
    QFile att(folder.path(archive::File::Attivita));
    QFile ris(folder.path(archive::File::Risorse));
    if (!att.open(QIODevice::WriteOnly) || !ris.open(QIODevice::WriteOnly)) qFatal("cannot write");
    const char *types[] = {"ATTR", "AUTO", "VOL.", "VOL>"};
    for (int a = 1; a <= kActivities; ++a) {
        att.write(QByteArray::number(a) + ",01/03/2025,10.00,01/03/2025,11.00,,,INCENDIO BOSCHIVO "
                  + QByteArray::number(a % 37) + ",LOCALITA " + QByteArray::number(a % 101)
                  + ",RICHIEDENTE " + QByteArray::number(a) + ","
                  + QByteArray(a % 3 == 0 ? 70 : 20, 'N') + "," + (a % 5 ? "A" : "C") + "\r\n");
        for (int r = 0; r < kResources / kActivities; ++r) {
            const QByteArray assoc =
                ("ASSOCIAZIONE " + QByteArray::number((a + r) % 40)).leftJustified(50, ' ');
            const QByteArray descr = ("MEZZO " + QByteArray::number(r)).leftJustified(50, ' ');
            ris.write(" " + QByteArray::number(a) + " ," + types[r % 4] + ","
                      + QByteArray::number(r).rightJustified(5, ' ') + " ," + assoc + "," + descr
                      + ",O\r\n");
        }
    }
}

// The median of five runs of `f`, each after `prepare` (not timed).
template <class F, class P = void (*)()> double best(F &&f, P &&prepare = [] {})
{
    std::vector<double> ms;
    for (int i = 0; i < 5; ++i) {
        prepare();
        QElapsedTimer t;
        t.start();
        f();
        ms.push_back(t.nsecsElapsed() / 1e6);
    }
    std::sort(ms.begin(), ms.end());
    return ms[ms.size() / 2];
}

} // namespace

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", qgetenv("QT_QPA_PLATFORM").isEmpty() ? "offscreen"
                                                                      : qgetenv("QT_QPA_PLATFORM"));
    QApplication app(argc, argv);
    QTemporaryDir dir;
    FakePlatform fake;
    Context ctx;
    ctx.folder = archive::WorkingFolder(dir.path());
    ctx.platform = fake.platform();
    ctx.g.nomeemergenza = QStringLiteral("BENCH");
    Windows windows(ctx);
    writeArchives(ctx.folder);

    const QString att = ctx.path(archive::File::Attivita);
    const QString ris = ctx.path(archive::File::Risorse);
    int lines = 0;
    const double plain = best([&] {
        int n = 0;
        archive::readRecords(att, activities::activityFormat(), [&](const archive::Record &) {
            ++n;
            return true;
        });
        archive::readRecords(ris, activities::resourceFormat(), [&](const archive::Record &) {
            ++n;
            return true;
        });
        if (n != kActivities + kResources) qFatal("unexpected record count");
    });
    const double build = best([&] { lines = activities::chronologicalList(att, ris, "BENCH").size(); });

    auto *list = windows.get<Formattlist>();
    ctx.g.modoattlist = QStringLiteral("G");
    auto *widget = list->findChild<LineList *>(QStringLiteral("List1"));
    const double fill = best([&] {
        ctx.lastActive = nullptr;
        QEvent e(QEvent::WindowActivate);
        QApplication::sendEvent(list, &e);
    });
    if (widget->count() != lines) qFatal("the window shows another list");

    // Registering an activity of 20 resource lines into the 20,000-line
    // risorse.csv, beside one plain line copy of that file. Each run starts
    // from the same archive (restored outside the timing).
    const QString base = dir.filePath(QStringLiteral("risorse.base"));
    if (!archive::copyLines(ris, base).ok()) qFatal("cannot copy");
    QStringList newLines;
    const QString kinds[] = {QStringLiteral("ATTR"), QStringLiteral("AUTO"), QStringLiteral("VOL."),
                             QStringLiteral("VOL>")};
    for (int r = 0; r < 20; ++r)
        newLines << kinds[r % 4] + QStringLiteral("  ") + QString::number(r + 1).rightJustified(5)
                        + QStringLiteral("   ")
                        + (QStringLiteral("ASSOCIAZIONE ") + QString::number(r % 7)).leftJustified(50)
                        + (QStringLiteral("MEZZO ") + QString::number(20 - r)).leftJustified(50);
    auto restore = [&] {
        if (!QFile::remove(ris) || !QFile::copy(base, ris)) qFatal("cannot restore");
    };
    auto timedFromBase = [&](auto &&work) { return best(work, restore); };
    const double copy = best([&] {
        if (!archive::copyLines(base, dir.filePath(QStringLiteral("risorse.copy"))).ok())
            qFatal("cannot copy");
    });
    const double newActivity = timedFromBase([&] {
        if (!activities::insertResourceLines(ctx.folder, QStringLiteral("2001"), 2001, newLines).done())
            qFatal("insert failed");
    });
    const double modified = timedFromBase([&] {
        if (!activities::insertResourceLines(ctx.folder, QStringLiteral("1000"), 1000, newLines, {},
                                             qint16(1000))
                 .done())
            qFatal("insert failed");
    });
    const double perLine = timedFromBase([&] {
        for (const QString &l : newLines)
            if (!activities::insertResourceLine(ctx.folder, QStringLiteral("1000"), 1000, l).done())
                qFatal("insert failed");
    });

    std::printf("archives: %d activities, %d resource lines; list of %d lines\n", kActivities,
                kResources, lines);
    std::printf("plain read of attivita.csv and risorse.csv: %8.1f ms\n", plain);
    std::printf("chronological list built (mode G):          %8.1f ms\n", build);
    std::printf("Formattlist filled in mode G (activation):  %8.1f ms\n", fill);
    std::printf("plain line copy of risorse.csv (%d lines):    %8.1f ms\n", kResources, copy);
    std::printf("20 resource lines of a new activity (one pass): %8.1f ms\n", newActivity);
    std::printf("20 lines replacing an activity's (one pass):    %8.1f ms\n", modified);
    std::printf("20 lines, one pass per line (for comparison):   %8.1f ms\n", perLine);
    return 0;
}
