#include "testkit.h"

#include "activities/records.h"
#include "archive/rewrite.h"

#include <QTest>

using namespace activities;
using archive::File;

namespace {
QStringList record(const char *n)
{
    ActivityInput in;
    in.numprot = n;
    in.datari = "05/03/2002";
    in.orari = "14.30";
    in.tipoatt = "INCENDIO";
    in.loc = "roma";
    in.ric = "rossi";
    return activityFields(in);
}

const QByteArray kTyped7 = "7,05/03/2002,14.30,,,,,INCENDIO,ROMA,ROSSI,,A";
} // namespace

class TestRecords : public QObject {
    Q_OBJECT
private slots:
    void insertInOrderOrRefuseADuplicate();
    void removeAndCancel();
    void releaseMarksLinesAndGivesBack();
};

void TestRecords::insertInOrderOrRefuseADuplicate()
{
    // In the middle, at the end, into a missing archive.
    const QList<QPair<QByteArray, QByteArray>> cases{
        {crlf({"3,a,,,,,,T,L,R,,A", "9,a,,,,,,T,L,R,,A"}),
         crlf({" 3 ,a,,,,,,T,L,R,,A", kTyped7, " 9 ,a,,,,,,T,L,R,,A"})},
        {crlf({"3,a,,,,,,T,L,R,,A"}), crlf({" 3 ,a,,,,,,T,L,R,,A", kTyped7})},
        {QByteArray(), crlf({kTyped7})}};
    for (const auto &c : cases) {
        TestFolder o;
        if (!c.first.isNull()) o.write(File::Attivita, c.first);
        QVERIFY(insertActivity(o.ctx.folder, record("7"), 7).done());
        QCOMPARE(o.read(File::Attivita), c.second);
        QCOMPARE(findActivity(o.path(File::Attivita), 7)->at(Loc), QString("ROMA"));
        QVERIFY(!findActivity(o.path(File::Attivita), 8));
    }
    // A duplicate leaves the bytes as they were, bare line ends included.
    TestFolder o;
    const QByteArray before = "3,a,,,,,,T,L,R,,A\n 5 ,a,,,,,,T,L,R,,A";
    o.write(File::Attivita, before);
    QCOMPARE(insertActivity(o.ctx.folder, record("5"), 5).status, Outcome::Duplicate);
    QCOMPARE(o.read(File::Attivita), before);
}

void TestRecords::removeAndCancel()
{
    TestFolder o;
    o.write(File::Attivita, crlf({"3,a,,,,,,T,L,R,,A", "5,a,,,,,,T,L,R,,C", "guasto"}));
    QVERIFY(cancelActivity(o.ctx.folder, 5).done());
    QCOMPARE(o.read(File::Attivita), crlf({" 3 ,a,,,,,,T,L,R,,A", " 5 ,a,,,,,,T,L,R,,S", "guasto"}));
    QVERIFY(removeActivity(o.ctx.folder, 3).done());
    QCOMPARE(o.read(File::Attivita), crlf({" 5 ,a,,,,,,T,L,R,,S", "guasto"}));
    o.write(File::Risorse, crlf({"5,AUTO,1,A,B,O", "6,AUTO,1,A,B,O", "5,ATTR,2,A,B,L"}));
    QVERIFY(removeResources(o.ctx.folder, 5).done());
    QCOMPARE(o.read(File::Risorse), crlf({" 6 ,AUTO,1,A,B,O"}));
}

void TestRecords::releaseMarksLinesAndGivesBack()
{
    TestFolder o;
    o.write(File::Risorse, crlf({"7,ATTR,2,A,T,O", "7,AUTO,1,A,J,L", "8,AUTO,1,A,J,O", "7,VOL>,0,A,M,O"}));
    const QByteArray released =
        crlf({" 7 ,ATTR,2,A,T,L", " 7 ,AUTO,1,A,J,L", " 8 ,AUTO,1,A,J,O", " 7 ,VOL>,0,A,M,O"});
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
        QCOMPARE(o.read(File::Risorse), released);
    }
    given.clear();
    // Closed when loaded: lines marked, nothing given back.
    QVERIFY(releaseResources(o.ctx.folder, 8, true, hook).done());
    QVERIFY(given.isEmpty());
    QVERIFY(o.read(File::Risorse).contains(" 8 ,AUTO,1,A,J,L"));
}

QTEST_GUILESS_MAIN(TestRecords)
#include "tst_records.moc"
