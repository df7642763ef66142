// The equipment records below the window: the number limits of the
// quantity, a change whose old key is gone, and the quantity an activity
// takes and gives back, matched by the columns of a list line. Order, number
// forms and refusals are checked through the window (tst_formattr).
#include "testkit.h"

#include "archive/text.h"
#include "equipment/records.h"

#include <QTest>

using archive::File;
using registers::Outcome;

class TestEquipmentRecords : public QObject {
    Q_OBJECT
private slots:
    void quantityLimits();
    void modifyAndQuantityChanges();
};

void TestEquipmentRecords::quantityLimits()
{
    auto checked = [](const char *q) { return equipment::check({"ALFA", "T", "L", q}); };
    for (const char *q : {"x", "1.5", "2,0", "32768", "-32769"})
        QCOMPARE(checked(q), QString::fromUtf8("Quantità dell'attrezzatura errata."));
    for (const char *q : {"0", "-32768", "32767", "12"}) QCOMPARE(checked(q), QString());
}

void TestEquipmentRecords::modifyAndQuantityChanges()
{
    TestOffice office;
    const auto &folder = office.ctx.folder;
    office.write(File::Attrezzature, crlf({"ALFA,TENDA,L,3", "BETA,PALA,L,5"}));
    // The old key matches nothing: the values go in as a new record.
    QVERIFY(equipment::modify(folder, {"BETA", "BRANDA"}, {"ALFA", "ASCIA", "L", "1"}).done());
    QCOMPARE(office.read(File::Attrezzature), crlf({"ALFA,ASCIA,L,1", "ALFA,TENDA,L, 3 ", "BETA,PALA,L, 5 "}));
    QCOMPARE(equipment::remove(folder, {}).status, Outcome::NotFound);

    // Taking every piece engages the item; giving back frees it.
    const QString alfa = text::fit("ALFA", 50), tenda = text::fit("TENDA", 50);
    bool matched = false;
    QVERIFY(equipment::engage(folder, alfa, tenda, 3, &matched).done());
    QVERIFY(matched);
    QVERIFY(equipment::engage(folder, "BETA", "PALA", 2).done());
    QCOMPARE(office.read(File::Attrezzature), crlf({"ALFA,ASCIA,L, 1 ", "ALFA,TENDA,A, 0 ", "BETA,PALA,L, 3 "}));
    QVERIFY(equipment::giveBack(folder, alfa, tenda, 3).done());
    QCOMPARE(office.read(File::Attrezzature), crlf({"ALFA,ASCIA,L, 1 ", "ALFA,TENDA,L, 3 ", "BETA,PALA,L, 3 "}));
    const QByteArray before = office.read(File::Attrezzature);
    QCOMPARE(equipment::giveBack(folder, "BETA", "PALA", 32767).status, Outcome::OutOfRange);
    QVERIFY(equipment::engage(folder, "GAMMA", "PALA", 1, &matched).done());
    QVERIFY(!matched);
    QCOMPARE(office.read(File::Attrezzature), before);
}

QTEST_MAIN(TestEquipmentRecords)
#include "tst_equipment_records.moc"
