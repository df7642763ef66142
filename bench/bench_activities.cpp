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

template <class F> double best(F &&f, int runs = 5)
{
    std::vector<double> ms;
    for (int i = 0; i < runs; ++i) {
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

    std::printf("archives: %d activities, %d resource lines; list of %d lines\n", kActivities,
                kResources, lines);
    std::printf("plain read of attivita.csv and risorse.csv: %8.1f ms\n", plain);
    std::printf("chronological list built (mode G):          %8.1f ms\n", build);
    std::printf("Formattlist filled in mode G (activation):  %8.1f ms\n", fill);
    return 0;
}
