// Fill time of the three register lists on a large office: 20,000
// associations, vehicles and items of equipment, the lines alone and the
// windows' lists filled from them.

#include "app/context.h"
#include "app/windows.h"
#include "associations/formlist.h"
#include "associations/listlines.h"
#include "equipment/formattrlist.h"
#include "equipment/listlines.h"
#include "platform/doubles.h"
#include "vehicles/formautolist.h"
#include "vehicles/listlines.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include "app/linelist.h"
#include <QTemporaryDir>
#include <algorithm>
#include <type_traits>
#include <cstdio>
#include <vector>

namespace {

constexpr int kRecords = 20000;

void writeArchives(const archive::WorkingFolder &folder)
{
    QFile ass(folder.path(archive::File::Associazioni));
    QFile aut(folder.path(archive::File::Automezzi));
    QFile att(folder.path(archive::File::Attrezzature));
    if (!ass.open(QIODevice::WriteOnly) || !aut.open(QIODevice::WriteOnly)
        || !att.open(QIODevice::WriteOnly))
        qFatal("cannot write");
    for (int i = 0; i < kRecords; ++i) {
        const QByteArray n = QByteArray::number(i).rightJustified(6, '0');
        ass.write("ASSOCIAZIONE DI VOLONTARIATO " + n + ",VIA ROMA 1,ROMA,RM,06 1234,,,CAMPO "
                  + QByteArray::number(i % 9) + ", " + QByteArray::number(i % 300) + " , 300 \r\n");
        aut.write("ASSOCIAZIONE " + QByteArray::number(i / 10) + ",AMBULANZA " + n
                  + ",CAMPO 1,01/03/2025,10.00,,,SANITARIA,L\r\n");
        att.write("ASSOCIAZIONE " + QByteArray::number(i / 10) + ",TENDA " + n + ",L, "
                  + QByteArray::number(i % 500) + " \r\n");
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

template <class W> double fillWindow(Context &ctx, W *w)
{
    w->show();
    return best([&] {
        ctx.lastActive = nullptr;
        QEvent e(QEvent::WindowActivate);
        QApplication::sendEvent(w, &e);
        if (w->list()->count() != kRecords + 2 + (std::is_same_v<W, Formlist> ? 2 : 0))
            qFatal("wrong count");
    });
}

} // namespace

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QTemporaryDir dir;
    FakePlatform fake;
    Context ctx;
    ctx.folder = archive::WorkingFolder(dir.path());
    ctx.platform = fake.platform();
    Windows windows(ctx);
    writeArchives(ctx.folder);
    ctx.g.nomeemergenza = "SISMA";
    ctx.g.modoasslist = "IA";
    ctx.g.modoautolist = "G";
    ctx.g.modoattrlist = "G";

    const QString ass = ctx.path(archive::File::Associazioni);
    const QString aut = ctx.path(archive::File::Automezzi);
    const QString att = ctx.path(archive::File::Attrezzature);
    std::printf("%d records per archive, median of 5 runs\n", kRecords);
    std::printf("association lines       %8.1f ms\n",
                best([&] { associations::listLines(ass, "SISMA", std::nullopt, true); }));
    std::printf("association search      %8.1f ms\n",
                best([&] { associations::listLines(ass, "SISMA", QString("0001"), true); }));
    std::printf("vehicle lines           %8.1f ms\n",
                best([&] { vehicles::listLines(aut, "SISMA", registers::PairFilter::All); }));
    std::printf("equipment lines         %8.1f ms\n",
                best([&] { equipment::listLines(att, "SISMA", registers::PairFilter::All); }));
    std::printf("Formlist filled         %8.1f ms\n", fillWindow(ctx, windows.get<Formlist>()));
    std::printf("Formautolist filled     %8.1f ms\n", fillWindow(ctx, windows.get<Formautolist>()));
    std::printf("Formattrlist filled     %8.1f ms\n", fillWindow(ctx, windows.get<Formattrlist>()));
    return 0;
}
