#include "testkit.h"

#include "activities/records.h"

#include <QTest>

using namespace activities;
using archive::File;

namespace {
const QByteArray kTyped7 = "7,05/03/2002,14.30,,,,,INCENDIO,ROMA,ROSSI,,A\r\n";
const QByteArray kCopied3 = " 3 ,a,,,,,,T,L,R,,A\r\n";
} // namespace

class TestRecords : public QObject {
    Q_OBJECT
private slots:
    void insertInOrderOrRefuseADuplicate_data()
    {
        QTest::addColumn<QByteArray>("before");
        QTest::addColumn<QByteArray>("after");
        const QByteArray three = crlf({"3,a,,,,,,T,L,R,,A"});
        QTest::newRow("middle") << three + "9,a,,,,,,T,L,R,,A\r\n"
                                << kCopied3 + kTyped7 + " 9 ,a,,,,,,T,L,R,,A\r\n";
        QTest::newRow("end") << three << kCopied3 + kTyped7;
        QTest::newRow("missing archive") << QByteArray() << kTyped7;
        // A duplicate leaves the bytes as they were, bare line ends included.
        const QByteArray taken = "3,a,,,,,,T,L,R,,A\n 7 ,a,,,,,,T,L,R,,A";
        QTest::newRow("duplicate") << taken << taken;
    }

    void insertInOrderOrRefuseADuplicate()
    {
        QFETCH(QByteArray, before);
        QFETCH(QByteArray, after);
        TestFolder o;
        if (!before.isNull()) o.write(File::Attivita, before);
        const QStringList fields{"7", "05/03/2002", "14.30", "", "", "", "", "INCENDIO", "ROMA", "ROSSI", "", "A"};
        QCOMPARE(insertActivity(o.ctx.folder, fields, 7).status,
                 before.contains(" 7 ") ? Outcome::Duplicate : Outcome::Done);
        QCOMPARE(o.read(File::Attivita), after);
    }

    // The plain removals the one-pass replacements are measured against.
    void removals()
    {
        TestFolder o;
        o.write(File::Attivita, crlf({"3,a,,,,,,T,L,R,,A", "5,a,,,,,,T,L,R,,C", "guasto"}));
        QVERIFY(removeActivity(o.ctx.folder, 3).done());
        QCOMPARE(o.read(File::Attivita), crlf({" 5 ,a,,,,,,T,L,R,,C", "guasto"}));
        o.write(File::Risorse, crlf({"5,AUTO,1,A,B,O", "6,AUTO,1,A,B,O", "5,ATTR,2,A,B,L"}));
        QVERIFY(removeResources(o.ctx.folder, 5).done());
        QCOMPARE(o.read(File::Risorse), crlf({" 6 ,AUTO,1,A,B,O"}));
    }

    void releaseMarksLinesAndGivesBack()
    {
        TestFolder o;
        o.write(File::Risorse, crlf({"7,ATTR,2,A,T,O", "7,AUTO,1,A,J,L", "8,AUTO,1,A,J,O", "7,VOL>,0,A,M,O"}));
        QStringList given;
        auto hook = [&](const archive::Record &r) {
            given << r.at(RTipo);
            return r.at(RTipo) != QLatin1String("VOL>");
        };
        // Only the engaged lines are given back; one that could not go back
        // stays engaged and is offered again at the next release.
        for (const QStringList &expected : {QStringList{"ATTR", "VOL>"}, QStringList{"VOL>"}}) {
            given.clear();
            QVERIFY(releaseResources(o.ctx.folder, 7, false, hook).done());
            QCOMPARE(given, expected);
            QCOMPARE(o.read(File::Risorse),
                     crlf({" 7 ,ATTR,2,A,T,L", " 7 ,AUTO,1,A,J,L", " 8 ,AUTO,1,A,J,O", " 7 ,VOL>,0,A,M,O"}));
        }
        given.clear();
        // Closed when loaded: lines marked, nothing given back.
        QVERIFY(releaseResources(o.ctx.folder, 8, true, hook).done());
        QVERIFY(given.isEmpty());
        QCOMPARE(o.read(File::Risorse),
                 crlf({" 7 ,ATTR,2,A,T,L", " 7 ,AUTO,1,A,J,L", " 8 ,AUTO,1,A,J,L", " 7 ,VOL>,0,A,M,O"}));
    }
};

QTEST_GUILESS_MAIN(TestRecords)
#include "tst_records.moc"
