// The equipment records below the window: the checks in their order, the
// number limits of the quantity and a change whose old key is gone. Order
// and number forms in the archive are checked through the window
// (tst_pairwindows); the quantities an activity takes and gives back,
// through the resource windows.
#include "testkit.h"

#include "equipment/records.h"

#include <QTest>

using archive::File;
using registers::Outcome;

class TestEquipmentRecords : public QObject {
    Q_OBJECT
private slots:
    void checksAndQuantityLimits();
    void modifyWithAVanishedKey();
};

void TestEquipmentRecords::checksAndQuantityLimits()
{
    // In this order: each case has the next field wrong too.
    QCOMPARE(equipment::check({" ", "x", "x", "x"}), QString("Manca Associazione."));
    QCOMPARE(equipment::check({"A", "", "x", "x"}), QString("Manca descrizione automezzo."));
    QCOMPARE(equipment::check({"A", "T", "", "x"}), QString("Manca stato."));
    QCOMPARE(equipment::check({"A", "T", "x", "x"}), QString("Stato non previsto."));
    QCOMPARE(equipment::check({"A", "T", "l", ""}), QString::fromUtf8("Manca quantità."));
    auto checked = [](const char *q) { return equipment::check({"ALFA", "T", "L", q}); };
    for (const char *q : {"x", "1.5", "2,0", "32768", "-32769"})
        QCOMPARE(checked(q), QString::fromUtf8("Quantità dell'attrezzatura errata."));
    for (const char *q : {"0", "-32768", "32767", "12"}) QCOMPARE(checked(q), QString());
}

void TestEquipmentRecords::modifyWithAVanishedKey()
{
    TestFolder office;
    const auto &folder = office.ctx.folder;
    office.write(File::Attrezzature, crlf({"ALFA,TENDA,L,3", "BETA,PALA,L,5"}));
    // The old key matches nothing: the values go in as a new record.
    QVERIFY(equipment::modify(folder, {"BETA", "BRANDA"}, {"ALFA", "ASCIA", "L", "1"}).done());
    QCOMPARE(office.read(File::Attrezzature), crlf({"ALFA,ASCIA,L,1", "ALFA,TENDA,L, 3 ", "BETA,PALA,L, 5 "}));
    QCOMPARE(equipment::Archive::remove(folder, {}).status, Outcome::NotFound);
}

QTEST_MAIN(TestEquipmentRecords)
#include "tst_equipment_records.moc"
