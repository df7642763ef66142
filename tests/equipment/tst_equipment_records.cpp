// The equipment records below the window: the checks in their order, the
// quantity limits and a change whose old key is gone.
#include "testkit.h"

#include "equipment/records.h"

#include <QTest>

using archive::File;

class TestEquipmentRecords : public QObject {
    Q_OBJECT
private slots:
    void checksAndAVanishedKey()
    {
        // In this order: each case has the next field wrong too.
        QCOMPARE(equipment::check({" ", "x", "x", "x"}), QString("Manca Associazione."));
        QCOMPARE(equipment::check({"A", "", "x", "x"}), QString("Manca descrizione automezzo."));
        QCOMPARE(equipment::check({"A", "T", "", "x"}), QString("Manca stato."));
        QCOMPARE(equipment::check({"A", "T", "x", "x"}), QString("Stato non previsto."));
        QCOMPARE(equipment::check({"A", "T", "l", ""}), QString::fromUtf8("Manca quantità."));
        auto checked = [](const char *q) { return equipment::check({"ALFA", "T", "L", q}); };
        for (const char *q : {"2,0", "32768", "-32769"})
            QVERIFY2(checked(q) == QString::fromUtf8("Quantità dell'attrezzatura errata."), q);
        for (const char *q : {"0", "-32768", "32767"}) QVERIFY2(checked(q).isEmpty(), q);

        // A change whose old key matches nothing puts the values in as a new record.
        TestFolder office;
        office.write(File::Attrezzature, crlf({"ALFA,TENDA,L,3", "BETA,PALA,L,5"}));
        QVERIFY(equipment::modify(office.ctx.folder, {"BETA", "BRANDA"}, {"ALFA", "ASCIA", "L", "1"}).done());
        QCOMPARE(office.read(File::Attrezzature), crlf({"ALFA,ASCIA,L,1", "ALFA,TENDA,L, 3 ", "BETA,PALA,L, 5 "}));
    }
};

QTEST_MAIN(TestEquipmentRecords)
#include "tst_equipment_records.moc"
