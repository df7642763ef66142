#include "testkit.h"

#include "archive/text.h"
#include "equipment/records.h"

#include <QTest>

using archive::File;
using registers::Outcome;

class TestEquipmentRecords : public QObject {
    Q_OBJECT
private slots:
    void checksInOrder();
    void insertModifyRemoveKeepOrderAndForms();
    void quantityChangesForResources();
};

void TestEquipmentRecords::checksInOrder()
{
    using equipment::Input;
    auto checked = [](const char *a, const char *d, const char *s, const char *q) {
        return equipment::check({a, d, s, q});
    };
    QCOMPARE(checked("", "", "", ""), QString("Manca Associazione."));
    QCOMPARE(checked("ALFA", " ", "", ""), QString("Manca descrizione automezzo."));
    QCOMPARE(checked("ALFA", "tenda", "", ""), QString("Manca stato."));
    QCOMPARE(checked("ALFA", "tenda", "x = no", ""), QString("Stato non previsto."));
    QCOMPARE(checked("ALFA", "tenda", "libero", ""), QString::fromUtf8("Manca quantità."));
    const QString bad = QString::fromUtf8("Quantità dell'attrezzatura errata.");
    for (const char *q : {"x", "1.5", "2,0", "32768", "-32769"}) QCOMPARE(checked("ALFA", "T", "L", q), bad);
    for (const char *q : {"0", "-32768", "32767", "12"}) QCOMPARE(checked("ALFA", "T", "L", q), QString());
    QCOMPARE(equipment::recordFields({"alfa, nord", "tenda \"grande\"", "libero", "3"}),
             QStringList({"ALFA  NORD", "TENDA  GRANDE", "L", "3"}));
}

void TestEquipmentRecords::insertModifyRemoveKeepOrderAndForms()
{
    TestOffice office;
    const auto &folder = office.ctx.folder;
    QVERIFY(equipment::insert(folder, {"BETA", "TENDA", "L", "4"}).done());
    QCOMPARE(office.read(File::Attrezzature), crlf({"BETA,TENDA,L,4"}));
    QVERIFY(equipment::insert(folder, {"ALFA", "PALA", "A", "-2"}).done());
    QVERIFY(equipment::insert(folder, {"BETA", "BRANDA", "B", "10"}).done());
    QVERIFY(equipment::insert(folder, {"ZETA", "GRUPPO", "R", "1"}).done());
    QCOMPARE(office.read(File::Attrezzature),
             crlf({"ALFA,PALA,A,-2 ", "BETA,BRANDA,B, 10 ", "BETA,TENDA,L, 4 ", "ZETA,GRUPPO,R,1"}));
    QCOMPARE(equipment::descriptionsOf(office.path(File::Attrezzature), "BETA"),
             QStringList({"BRANDA", "TENDA"}));

    const QByteArray before = office.read(File::Attrezzature);
    QCOMPARE(equipment::insert(folder, {"BETA", "TENDA", "A", "1"}).status, Outcome::Duplicate);
    QCOMPARE(equipment::modify(folder, {"BETA", "BRANDA"}, {"BETA", "TENDA", "A", "1"}).status,
             Outcome::Duplicate);
    QCOMPARE(office.read(File::Attrezzature), before);

    // Keeping the key: same place, new state and quantity.
    QVERIFY(equipment::modify(folder, {"BETA", "BRANDA"}, {"BETA", "BRANDA", "L", "7"}).done());
    QCOMPARE(office.read(File::Attrezzature),
             crlf({"ALFA,PALA,A,-2 ", "BETA,BRANDA,L,7", "BETA,TENDA,L, 4 ", "ZETA,GRUPPO,R, 1 "}));
    // A new key moves the record to its place.
    QVERIFY(equipment::modify(folder, {"BETA", "BRANDA"}, {"BETA", "VANGA", "L", "7"}).done());
    QCOMPARE(office.read(File::Attrezzature),
             crlf({"ALFA,PALA,A,-2 ", "BETA,TENDA,L, 4 ", "BETA,VANGA,L,7", "ZETA,GRUPPO,R, 1 "}));
    // The old key matches nothing now: the values go in as a new record.
    QVERIFY(equipment::modify(folder, {"BETA", "BRANDA"}, {"BETA", "ASCIA", "L", "1"}).done());
    QVERIFY(office.read(File::Attrezzature).contains("\r\nBETA,ASCIA,L,1\r\nBETA,TENDA,L, 4 \r\n"));

    const QByteArray now = office.read(File::Attrezzature);
    QCOMPARE(equipment::remove(folder, {"BETA", "BRANDA"}).status, Outcome::NotFound);
    QCOMPARE(equipment::remove(folder, {}).status, Outcome::NotFound);
    QCOMPARE(office.read(File::Attrezzature), now);
    QVERIFY(equipment::remove(folder, {"BETA", "ASCIA"}).done());
    QCOMPARE(office.read(File::Attrezzature),
             crlf({"ALFA,PALA,A,-2 ", "BETA,TENDA,L, 4 ", "BETA,VANGA,L, 7 ", "ZETA,GRUPPO,R, 1 "}));

    // Damaged lines stay where they are.
    office.write(File::Attrezzature, crlf({"ALFA,PALA,A,x", "BETA,TENDA,L,4"}));
    QVERIFY(equipment::insert(folder, {"ALFA", "ZAPPA", "L", "1"}).done());
    QCOMPARE(office.read(File::Attrezzature), crlf({"ALFA,PALA,A,x", "ALFA,ZAPPA,L,1", "BETA,TENDA,L, 4 "}));
    QCOMPARE(equipment::readAll(office.path(File::Attrezzature)).size(), 2);
}

void TestEquipmentRecords::quantityChangesForResources()
{
    TestOffice office;
    const auto &folder = office.ctx.folder;
    office.write(File::Attrezzature, crlf({"ALFA,TENDA,L,3", "BETA,PALA,L,5"}));
    const QString alfa = text::fit("ALFA", 50), tenda = text::fit("TENDA", 50);
    bool matched = false;
    QVERIFY(equipment::engage(folder, alfa, tenda, 3, &matched).done());
    QVERIFY(matched);
    QCOMPARE(office.read(File::Attrezzature), crlf({"ALFA,TENDA,A, 0 ", "BETA,PALA,L, 5 "}));
    QVERIFY(equipment::giveBack(folder, alfa, tenda, 3).done());
    QCOMPARE(office.read(File::Attrezzature), crlf({"ALFA,TENDA,L, 3 ", "BETA,PALA,L, 5 "}));
    QVERIFY(equipment::engage(folder, "BETA", "PALA", 2).done());
    QCOMPARE(office.read(File::Attrezzature), crlf({"ALFA,TENDA,L, 3 ", "BETA,PALA,L, 3 "}));
    const QByteArray before = office.read(File::Attrezzature);
    QCOMPARE(equipment::giveBack(folder, "BETA", "PALA", 32767).status, Outcome::OutOfRange);
    QCOMPARE(office.read(File::Attrezzature), before);
    QVERIFY(equipment::engage(folder, "GAMMA", "PALA", 1, &matched).done());
    QVERIFY(!matched);

    QVERIFY(equipment::renameAssociation(folder, "BETA", "OMEGA").done());
    QCOMPARE(office.read(File::Attrezzature), crlf({"ALFA,TENDA,L, 3 ", "OMEGA,PALA,L, 3 "}));
}

QTEST_MAIN(TestEquipmentRecords)
#include "tst_equipment_records.moc"
