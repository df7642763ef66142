#include "testkit.h"

#include "activities/records.h"
#include "archive/rewrite.h"

#include <QTest>

using namespace activities;
using archive::File;

namespace {
QStringList record(const char *n, const char *tipo = "INCENDIO", const char *orafi = "")
{
    ActivityInput in;
    in.numprot = n;
    in.datari = "05/03/2002";
    in.orari = "14.30";
    in.orafi = orafi;
    in.tipoatt = tipo;
    in.loc = "roma";
    in.ric = "rossi";
    return activityFields(in);
}

QString line(const char *tipo, int qty, const QString &ass, const QString &desc)
{
    return QString(tipo) + "  " + QString::number(qty).rightJustified(5) + "   "
           + ass.leftJustified(50) + desc.leftJustified(50);
}
} // namespace

class TestRecords : public QObject {
    Q_OBJECT
private slots:
    void insertActivityInOrder();
    void duplicateLeavesArchive();
    void textsAreCleanedAndStateDerived();
    void removeAndCancel();
    void resourceLineIsCutByColumns();
    void resourceLinesOrderAndOnePassEqualsMany();
    void releaseMarksLinesAndGivesBack();
};

void TestRecords::insertActivityInOrder()
{
    TestOffice o;
    o.write(File::Attivita, crlf({"3,a,,,,,,T,L,R,,A", "5,a,,,,,,T,L,R,,A", "9,a,,,,,,T,L,R,,A"}));
    QVERIFY(insertActivity(o.ctx.folder, record("7"), 7).done());
    QCOMPARE(o.read(File::Attivita),
             crlf({" 3 ,a,,,,,,T,L,R,,A", " 5 ,a,,,,,,T,L,R,,A",
                   "7,05/03/2002,14.30,,,,,INCENDIO,ROMA,ROSSI,,A", " 9 ,a,,,,,,T,L,R,,A"}));
    TestOffice last;
    last.write(File::Attivita, crlf({"3,a,,,,,,T,L,R,,A"}));
    QVERIFY(insertActivity(last.ctx.folder, record("7"), 7).done());
    QVERIFY(last.read(File::Attivita).endsWith("\r\n7,05/03/2002,14.30,,,,,INCENDIO,ROMA,ROSSI,,A\r\n"));
    TestOffice empty;
    QVERIFY(insertActivity(empty.ctx.folder, record("7"), 7).done());
    QCOMPARE(empty.read(File::Attivita), crlf({"7,05/03/2002,14.30,,,,,INCENDIO,ROMA,ROSSI,,A"}));
    QCOMPARE(findActivity(empty.path(File::Attivita), 7)->at(Loc), QString("ROMA"));
    QVERIFY(!findActivity(empty.path(File::Attivita), 8));
}

void TestRecords::duplicateLeavesArchive()
{
    TestOffice o;
    const QByteArray before = "3,a,,,,,,T,L,R,,A\n 5 ,a,,,,,,T,L,R,,A";
    o.write(File::Attivita, before);
    QCOMPARE(insertActivity(o.ctx.folder, record("5"), 5).status, Result::Duplicate);
    QCOMPARE(o.read(File::Attivita), before);
}

void TestRecords::textsAreCleanedAndStateDerived()
{
    ActivityInput in;
    in.numprot = "4";
    in.datari = "1,2";
    in.orafi = "10.00";
    in.tipoatt = "incendio, \"bosco\"";
    in.note = "riga\nnuova";
    const QStringList f = activityFields(in);
    QCOMPARE(f[DataRi], QString("1 2"));
    QCOMPARE(f[TipoAtt], QString("INCENDIO   BOSCO "));
    QCOMPARE(f[Note], QString("RIGA NUOVA"));
    QCOMPARE(f[Stato], QString("C"));
    QCOMPARE(stateWord("S"), QString("Annullata"));
}

void TestRecords::removeAndCancel()
{
    TestOffice o;
    o.write(File::Attivita, crlf({"3,a,,,,,,T,L,R,,A", "5,a,,,,,,T,L,R,,C", "guasto"}));
    QVERIFY(cancelActivity(o.ctx.folder, 5).done());
    QCOMPARE(o.read(File::Attivita), crlf({" 3 ,a,,,,,,T,L,R,,A", " 5 ,a,,,,,,T,L,R,,S", "guasto"}));
    QVERIFY(removeActivity(o.ctx.folder, 3).done());
    QCOMPARE(o.read(File::Attivita), crlf({" 5 ,a,,,,,,T,L,R,,S", "guasto"}));
    o.write(File::Risorse, crlf({"5,AUTO,1,A,B,O", "6,AUTO,1,A,B,O", "5,ATTR,2,A,B,L"}));
    QVERIFY(removeResources(o.ctx.folder, 5).done());
    QCOMPARE(o.read(File::Risorse), crlf({" 6 ,AUTO,1,A,B,O"}));
}

void TestRecords::resourceLineIsCutByColumns()
{
    TestOffice o;
    QVERIFY(insertResourceLine(o.ctx.folder, "7", 7, line("ATTR", 3, "ROSSI", "TENDA")).done());
    const QByteArray expected = "7,ATTR,    3 ," + QString("ROSSI").leftJustified(50).toLatin1() + ","
                                + QString("TENDA").leftJustified(50).toLatin1() + ",O\r\n";
    QCOMPARE(o.read(File::Risorse), expected);
    const QStringList back = resourceLinesOf(o.path(File::Risorse), 7);
    QCOMPARE(back, QStringList{line("ATTR", 3, "ROSSI", "TENDA")});
    // A named volunteer: quantity 0, description starting with a blank.
    QStringList vol = resourceFields("7", line("VOL>", 0, "ROSSI", " MARIO"));
    QCOMPARE(vol[RNumero], QString("    0 "));
    QVERIFY(vol[RDescrizione].startsWith(" MARIO"));
}

void TestRecords::resourceLinesOrderAndOnePassEqualsMany()
{
    const QByteArray start = crlf({
        "6,ATTR,1,ZETA,X,O",
        "7,ATTR,1,CARLI,TENDA,O",
        "guasto,,",
        "7,AUTO,1,ROSSI,JEEP,O",
        "",
        "7,VOL.,4,ROSSI,,O",
        "8,AUTO,1,BIANCHI,FIAT,L",
    });
    const QStringList lines = {
        line("ATTR", 2, "ROSSI", "TENDA"),   line("ATTR", 1, "BIANCHI", "BRANDA"),
        line("AUTO", 1, "ROSSI", "JEEP"),    line("VOL>", 0, "ROSSI", " MARIO"),
        line("ATTR", 1, "BIANCHI", "BRANDA"), line("VOL.", 3, "ALFA", ""),
    };
    TestOffice many;
    many.write(File::Risorse, start);
    for (const QString &l : lines) QVERIFY(insertResourceLine(many.ctx.folder, "7", 7, l).done());
    TestOffice one;
    one.write(File::Risorse, start);
    QVERIFY(insertResourceLines(one.ctx.folder, "7", 7, lines).done());
    QCOMPARE(one.read(File::Risorse), many.read(File::Risorse));

    // BIANCHI before ROSSI, after activity 6, before the AUTO lines of 7.
    const QStringList got = QString::fromLatin1(many.read(File::Risorse)).split("\r\n");
    QVERIFY(got[0].startsWith(" 6 ,ATTR"));
    QVERIFY(got[1].startsWith(" 7 ,ATTR,1,BIANCHI"));
    QVERIFY(got[2].startsWith(" 7 ,ATTR,1,BIANCHI"));
    QVERIFY(got[3].startsWith(" 7 ,ATTR,1,CARLI"));
    // A damaged line keeps its place; the new line goes before the next
    // readable record with a greater key.
    QCOMPARE(got[4], QString("guasto,,"));
    QVERIFY(got[5].startsWith(" 7 ,ATTR,2,ROSSI"));

    // Into an empty archive, and at the very end.
    for (const QByteArray &s : {QByteArray(), crlf({"1,AUTO,1,A,B,O", "zzz"})}) {
        TestOffice a, b;
        a.write(File::Risorse, s);
        b.write(File::Risorse, s);
        for (const QString &l : lines) QVERIFY(insertResourceLine(a.ctx.folder, "7", 7, l).done());
        QVERIFY(insertResourceLines(b.ctx.folder, "7", 7, lines).done());
        QCOMPARE(b.read(File::Risorse), a.read(File::Risorse));
    }
}

void TestRecords::releaseMarksLinesAndGivesBack()
{
    TestOffice o;
    o.write(File::Risorse, crlf({"7,ATTR,2,A,T,O", "7,AUTO,1,A,J,L", "8,AUTO,1,A,J,O", "7,VOL>,0,A,M,O"}));
    QStringList given;
    auto hook = [&](const archive::Record &r) { given << r.at(RTipo); };
    QVERIFY(releaseResources(o.ctx.folder, 7, false, hook).done());
    QCOMPARE(given, (QStringList{"ATTR", "VOL>"}));
    QCOMPARE(o.read(File::Risorse),
             crlf({" 7 ,ATTR,2,A,T,L", " 7 ,AUTO,1,A,J,L", " 8 ,AUTO,1,A,J,O", " 7 ,VOL>,0,A,M,L"}));
    // All released already: the content stays, nothing given back.
    given.clear();
    const QByteArray before = o.read(File::Risorse);
    QVERIFY(releaseResources(o.ctx.folder, 7, false, hook).done());
    QCOMPARE(o.read(File::Risorse), before);
    QVERIFY(given.isEmpty());
    // Closed when loaded: lines marked, nothing given back.
    QVERIFY(releaseResources(o.ctx.folder, 8, true, hook).done());
    QVERIFY(given.isEmpty());
    QVERIFY(o.read(File::Risorse).contains(" 8 ,AUTO,1,A,J,L"));
}

QTEST_GUILESS_MAIN(TestRecords)
#include "tst_records.moc"
