// The change lock of a folder where several desks write: who waits, who takes
// a lock over, and a lock removed by hand that lets no two changes interleave.
#include "testkit.h"

#include "archive/changelock.h"
#include "archive/io.h"
#include "archive/journal.h"

#include <QtTest>

using archive::File;

namespace {

const QString kLock = QStringLiteral("velmora.lck");

archive::Desk desk(const QString &host, qint64 process)
{
    archive::Desk d;
    d.host = host;
    d.user = QStringLiteral("rossi");
    d.pid = d.process = process;
    d.token = "0123456789abcdef";
    return d;
}

QString busy(const QString &who)
{
    return QString::fromUtf8("La cartella di lavoro è occupata %1: nulla è stato scritto. Riprovare tra qualche istante.").arg(who);
}

} // namespace

class TestChangeLock : public QObject {
    Q_OBJECT
private slots:
    void init() { archive::ChangeLock::setPatience(300); }

    void onlyTheLockOfADeskThatStoppedIsTakenOver_data()
    {
        QTest::addColumn<QByteArray>("lock");
        QTest::addColumn<int>("age");
        QTest::addColumn<QString>("told"); // empty: taken over
        const QString host = archive::Desk::current().host;
        const auto held = [](const archive::Desk &d) { return "velmora blocco modifiche\r\n" + d.line() + "\r\n"; };
        const archive::Desk running = archive::Desk::another(QStringLiteral("b"));
        QTest::newRow("postazione in corso qui") << held(running) << 120
                                                 << busy(QString::fromUtf8("dalla postazione %1, che sta registrando una modifica").arg(running.name()));
        QTest::newRow("processo finito qui") << held(desk(host, endedProcess())) << 0 << QString();
        QTest::newRow("altro computer, da poco") << held(desk("ALTRO-PC", 4242)) << 5
                                                 << busy(QString::fromUtf8("dalla postazione ALTRO-PC (utente rossi), che sta registrando una modifica"));
        QTest::newRow("altro computer, da due minuti") << held(desk("ALTRO-PC", 4242)) << 120 << QString();
        const QString unreadable = busy(QString::fromUtf8("da un'altra postazione (il file velmora.lck non si legge)"));
        QTest::newRow("illeggibile, appena scritto") << QByteArray("\xff\x00garbled", 9) << 0 << unreadable;
        QTest::newRow("illeggibile, da un minuto") << QByteArray("\xff\x00garbled", 9) << 60 << QString();
        QTest::newRow("vuoto, da un minuto") << QByteArray() << 60 << QString();
    }
    void onlyTheLockOfADeskThatStoppedIsTakenOver()
    {
        QFETCH(QByteArray, lock);
        QFETCH(int, age);
        QFETCH(QString, told);
        TestFolder o;
        o.write(File::Emergenza, "PRIMA\r\n");
        o.write(kLock, lock);
        ::age(o.path(kLock), age);
        const archive::IoResult io = archive::replaceFile(o.path(File::Emergenza), "DOPO\r\n");
        QCOMPARE(io.message(), told);
        QCOMPARE(o.read(File::Emergenza), QByteArray(told.isEmpty() ? "DOPO\r\n" : "PRIMA\r\n"));
        // A lock taken over is given back; one still held stays as it was.
        QCOMPARE(o.read(kLock), told.isEmpty() ? QByteArray("<missing>") : lock);
        QCOMPARE(o.files().size(), told.isEmpty() ? 1 : 2);
    }

    // Removed or replaced by hand while a desk holds it, the lock goes to a
    // second desk: the first writes nothing of its change and leaves the
    // second desk's lock alone.
    void aLockTakenFromUnderADeskLetsNothingInterleave_data()
    {
        QTest::addColumn<bool>("removed");
        QTest::newRow("tolto") << true;
        QTest::newRow("sostituito") << false;
    }
    void aLockTakenFromUnderADeskLetsNothingInterleave()
    {
        QFETCH(bool, removed);
        TestFolder o;
        o.write(File::Emergenza, "PRIMA\r\n");
        o.write(File::NumeroProt, " 7 \r\n");
        const QByteArray other = "velmora blocco modifiche\r\n" + desk("ALTRO-PC", 4242).line() + "\r\n";
        archive::IoResult io;
        {
            archive::Transaction tx(o.ctx.folder);
            QVERIFY(archive::replaceFile(o.path(File::Emergenza), "PRIMA POSTAZIONE\r\n").ok());
            QVERIFY(archive::replaceFile(o.path(File::NumeroProt), " 8 \r\n").ok());
            QVERIFY(QFile::remove(o.path(kLock)));
            if (!removed) o.write(kLock, "rifatto a mano\r\n");
            // The second desk takes the lock and writes its change.
            QVERIFY(QFile::remove(o.path(kLock)) || removed);
            o.write(kLock, other);
            // What the second desk stages is not the first desk's to
            // overwrite, though the first goes on writing its change.
            const QString theirs = archive::stagedPath(o.path(File::Emergenza), desk("ALTRO-PC", 4242));
            o.write(QFileInfo(theirs).fileName(), "SECONDA POSTAZIONE\r\n");
            QVERIFY(archive::replaceFile(o.path(File::Emergenza), "ANCORA LA PRIMA\r\n").ok());
            QCOMPARE(o.read(QFileInfo(theirs).fileName()), QByteArray("SECONDA POSTAZIONE\r\n"));
            QVERIFY(QFile::remove(o.path(File::Emergenza)) && QFile::rename(theirs, o.path(File::Emergenza)));
            io = tx.commit();
        }
        QVERIFY2(io.message().startsWith(QString::fromUtf8("Un'altra postazione ha preso la cartella di lavoro")), qPrintable(io.message()));
        QCOMPARE(o.read(File::Emergenza), QByteArray("SECONDA POSTAZIONE\r\n"));
        QCOMPARE(o.read(File::NumeroProt), QByteArray(" 7 \r\n"));
        QCOMPARE(o.read(kLock), other);
        QCOMPARE(o.read("velmora.jnl"), QByteArray("<missing>"));
    }

    // A journal whose desk stopped is finished by the next change of any
    // desk, not only at a start; one a desk of another computer has just
    // written is waited for.
    void aJournalLeftIsFinishedByTheNextChange_data()
    {
        QTest::addColumn<QString>("host");
        QTest::addColumn<bool>("finished");
        QTest::newRow("postazione finita") << archive::Desk::current().host << true;
        QTest::newRow("altro computer, in corso") << "ALTRO-PC" << false;
    }
    void aJournalLeftIsFinishedByTheNextChange()
    {
        QFETCH(QString, host);
        QFETCH(bool, finished);
        TestFolder o;
        o.write(File::Emergenza, "PRIMA\r\n");
        o.write("emergenza.dat.new", "NUOVA\r\n");
        const QByteArray journal = "velmora giornale 1\r\n" + desk(host, finished ? endedProcess() : 4242).line()
                                   + "\r\nemergenza.dat.new emergenza.dat 7\r\nfine 1\r\n";
        o.write("velmora.jnl", journal);
        const archive::IoResult io = archive::replaceFile(o.path(File::NumeroProt), " 3 \r\n");
        QCOMPARE(io.ok(), finished);
        QCOMPARE(o.read(File::Emergenza), QByteArray(finished ? "NUOVA\r\n" : "PRIMA\r\n"));
        QCOMPARE(o.read("velmora.jnl"), finished ? QByteArray("<missing>") : journal);
        if (!finished) QCOMPARE(io.message(), busy(QString::fromUtf8("dalla postazione ALTRO-PC (utente rossi), che sta registrando una modifica")));
    }
};

QTEST_GUILESS_MAIN(TestChangeLock)
#include "tst_changelock.moc"
