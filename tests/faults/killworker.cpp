// Helper of the fault tests.
//   killworker <folder>: runs the steps of killops on from the step file, forever.
//   killworker <folder> limit <bytes> <operation>: one operation on a disk that
//     fills up ("-": no limit); prints the messages the user would get. The
//     tests also run it under strace to make its syncs fail.
#include "killops.h"

#include "activities/registration.h"
#include "session/context.h"
#include "session/maintenance.h"
#include "session/settings.h"
#include "session/snapshot.h"
#include "archive/diary.h"
#include "archive/io.h"
#include "associations/records.h"
#include "doubles.h"
#include "app/qtplatform.h"

#include <QApplication>
#include <QDir>

#include <cstdio>
#ifndef Q_OS_WIN
#include <csignal>
#include <sys/resource.h>
#endif

namespace {

int loop(const archive::WorkingFolder &folder)
{
    diary::useClock(killops::diaryTime);
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

int limited(const archive::WorkingFolder &folder, const char *bytes, const QString &operation,
            int argc, char **argv)
{
#ifdef Q_OS_WIN
    if (QByteArray(bytes) != "-") return 4; // no limit on the size of a file there
#else
    std::signal(SIGXFSZ, SIG_IGN); // a write beyond the limit fails with EFBIG
    if (QByteArray(bytes) != "-") {
        rlimit lim{rlim_t(std::atol(bytes)), rlim_t(std::atol(bytes))};
        if (setrlimit(RLIMIT_FSIZE, &lim) != 0) return 4;
    }
#endif
    using archive::File;
    FakePlatform fake;
    Context ctx{folder, fake.platform(), {}, nullptr, nullptr, false, {}};
    QString message;
    if (operation == QLatin1String("inserimento")) {
        associations::Input in{QStringLiteral("ZETA"), QString(), QString(), QString(),
                               QString(), QString(), QString(), QString(), QStringLiteral("1")};
        message = associations::insert(folder, associations::recordFields(in)).io.message();
    } else if (operation == QLatin1String("istantanea")) {
        message = snapshot::copiainsav(folder, archive::Register::Associazioni).message();
    } else if (operation == QLatin1String("ripristino")) {
        message = snapshot::copiadasav(folder, archive::Register::Associazioni).message();
    } else if (operation.startsWith(QLatin1String("salvataggio")) || operation == QLatin1String("ripristino da copia")) {
        // The first archive only: the other questions get No.
        fake.prompts.answers << true;
        fake.prompts.files << QDir(folder.dir()).filePath(operation.endsWith(QLatin1String("nuovo")) ? "nuova.bak" : "copia.bak");
        if (operation.startsWith(QLatin1String("salvataggio"))) maintenance::save(ctx);
        else maintenance::restore(ctx);
    } else if (operation == QLatin1String("annullamento")) {
        activities::Registration reg;
        reg.mode = modes::Activity::A;
        reg.protsel = QStringLiteral("1");
        reg.input = {"1", "01/03/2025", "09.00", {}, {}, {}, {}, "SOCCORSO", "LUOGO", "SALA", {}};
        message = activities::registerActivity(folder, reg, killops::giveBackTo(folder)).messages.join('\n');
    } else if (operation == QLatin1String("contatore")) {
        message = settings::writeCounter(folder.path(File::NumeroProt), 12345).message();
    } else if (operation == QLatin1String("emergenza")) {
        message = settings::writeEmergency(folder.path(File::Emergenza), QStringLiteral("ALLUVIONE DEL PIAVE")).message();
    } else if (operation == QLatin1String("stampa")) {
        QApplication app(argc, argv);
        QtLinePrinter printer(fake.prompts, folder);
        printer.setPdfOutput(QDir(folder.dir()).filePath(QStringLiteral("stampa.pdf")));
        printer.begin(QStringLiteral("courier new"), 10, Orientation::Portrait);
        for (int i = 0; i < 60; ++i) printer.line(QStringLiteral("RIGA %1 DELLA STAMPA").arg(i));
        printer.end();
    } else {
        return 5;
    }
    QStringList shown = fake.prompts.messages();
    if (!message.isEmpty()) shown << message;
    std::printf("%s", shown.join(QLatin1Char('\n')).toUtf8().constData());
    return 0;
}

} // namespace

int main(int argc, char **argv)
{
    if (argc < 2) return 64;
    // The test's own desk, whose file of unregistered changes it reads.
    archive::Desk desk = archive::Desk::current();
    if (const int pid = qEnvironmentVariableIntValue("KILLWORKER_DESK_PID")) desk.pid = pid;
    const archive::WorkingFolder folder(QString::fromLocal8Bit(argv[1]), desk);
    if (argc == 5 && QByteArray(argv[2]) == "limit")
        return limited(folder, argv[3], QString::fromLocal8Bit(argv[4]), argc, argv);
    return loop(folder);
}
