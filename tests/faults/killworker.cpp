// Helper of the fault tests, never installed.
//
//   killworker <folder>          runs the steps of killops from the number in
//                                the step file on, forever, writing the number
//                                of completed steps after each one; prints
//                                "pronto" once it is about to start.
//   killworker <folder> limit <bytes> <operation>
//                                runs one operation with every file limited to
//                                <bytes> (a disk that fills up) and prints the
//                                message the user would get.
#include "killops.h"

#include "activities/records.h"
#include "app/snapshot.h"
#include "archive/io.h"
#include "associations/records.h"

#include <csignal>
#include <cstdio>
#include <sys/resource.h>

namespace {

int loop(const archive::WorkingFolder &folder)
{
    const QString stepPath = killops::stepFile(folder);
    int step = archive::readFirstLine(stepPath).trimmed().toInt();
    std::printf("pronto\n");
    std::fflush(stdout);
    for (;; ++step) {
        if (!killops::run(folder, step)) {
            std::fprintf(stderr, "passo %d (%s) fallito\n", step, killops::kindName(killops::kindOf(step)));
            return 2;
        }
        if (!archive::replaceFile(stepPath, QByteArray::number(step + 1) + "\r\n").ok()) return 3;
    }
}

int limited(const archive::WorkingFolder &folder, long bytes, const QString &operation)
{
    std::signal(SIGXFSZ, SIG_IGN); // a write beyond the limit fails with EFBIG
    rlimit lim{rlim_t(bytes), rlim_t(bytes)};
    if (setrlimit(RLIMIT_FSIZE, &lim) != 0) return 4;
    QString message;
    if (operation == QLatin1String("inserimento")) {
        associations::Input in{QStringLiteral("ZETA"), QString(), QString(), QString(),
                               QString(), QString(), QString(), QString(), QStringLiteral("1")};
        message = associations::insert(folder, associations::recordFields(in)).io.message();
    } else if (operation == QLatin1String("istantanea")) {
        message = snapshot::copiainsav(folder, archive::Register::Associazioni).message();
    } else if (operation == QLatin1String("ripristino")) {
        message = snapshot::copiadasav(folder, archive::Register::Associazioni).message();
    } else if (operation == QLatin1String("contatore")) {
        message = archive::replaceFile(folder.path(archive::File::NumeroProt),
                                       QByteArray(int(bytes) * 2, '7') + "\r\n")
                      .message();
    } else {
        return 5;
    }
    std::printf("%s", message.toUtf8().constData());
    return message.isEmpty() ? 0 : 1;
}

} // namespace

int main(int argc, char **argv)
{
    if (argc < 2) return 64;
    const archive::WorkingFolder folder(QString::fromLocal8Bit(argv[1]));
    if (argc == 5 && QByteArray(argv[2]) == "limit")
        return limited(folder, std::atol(argv[3]), QString::fromLocal8Bit(argv[4]));
    return loop(folder);
}
