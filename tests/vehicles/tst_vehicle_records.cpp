#include "testkit.h"

#include "archive/text.h"
#include "vehicles/records.h"

#include <QTest>

using archive::File;
using registers::Outcome;
using vehicles::Times;
using vehicles::Which;

class TestVehicleRecords : public QObject {
    Q_OBJECT
private slots:
    void dateCheckComparesTexts();
    void timeCheck();
    void checksInOrderAndCleaning();
    void insertKeepsKeyOrder();
    void modifyReplacesInPlaceAndRefusesTakenKeys();
    void removeAndStateChange();
};

void TestVehicleRecords::dateCheckComparesTexts()
{
    auto arrival = [](const char *d) { return vehicles::controllodata({d, "", "", ""}, Which::Arrivo); };
    for (const char *d : {"", "32/01/2026", "01/13/2026", "01/01/0999", "1/01/2026", "01-01-2026",
                          "01/01", "01/1/2026"})
        QVERIFY2(arrival(d), d);
    for (const char *d : {"00/00/2026", "31/12/9999", "05/12/2026", "01/01/1000", "01/01/2026xyz",
                          "0a/01/2026"})
        QVERIFY2(!arrival(d), d);

    auto departure = [](const char *a, const char *d) {
        return vehicles::controllodata({a, "", d, ""}, Which::Partenza);
    };
    QVERIFY(!departure("30/01/2026", ""));
    QVERIFY(!departure("30/01/2026", "01/02/2026"));
    QVERIFY(!departure("30/01/2026", "30/01/2026"));
    QVERIFY(departure("30/01/2026", "29/01/2026"));
    QVERIFY(departure("30/01/2026", "31/12/2025"));
    QVERIFY(!departure("31/12/2025", "01/01/2026"));
    QVERIFY(departure("30/01/2026", "32/02/2026"));
    QVERIFY(departure("30/01/2026", "1/02/2026"));
}

void TestVehicleRecords::timeCheck()
{
    auto arrival = [](const char *t) { return vehicles::controllora({"", t, "", ""}, Which::Arrivo); };
    for (const char *t : {"", "9.30", "24.00", "23.60", "12:30", "12"}) QVERIFY2(arrival(t), t);
    for (const char *t : {"23.59", "00.00", "09.30", "12.3"}) QVERIFY2(!arrival(t), t);

    auto departure = [](const Times &t) { return vehicles::controllora(t, Which::Partenza); };
    QVERIFY(!departure({"01/01/2026", "10.00", "01/01/2026", ""}));
    QVERIFY(departure({"01/01/2026", "10.00", "01/01/2026", "09.00"}));
    QVERIFY(!departure({"01/01/2026", "10.00", "01/01/2026", "10.00"}));
    QVERIFY(!departure({"01/01/2026", "10.00", "02/01/2026", "09.00"}));
    QVERIFY(!departure({"01/01/2026", "10.00", "", "09.00"}));
    QVERIFY(departure({"01/01/2026", "10.00", "02/01/2026", "9.00"}));
}

void TestVehicleRecords::checksInOrderAndCleaning()
{
    using vehicles::Input;
    const Input good{"gruppo alfa", "ambulanza, 1", "campo \"2\"", "05/12/2026", "14.30",
                     "", "", "sanitaria\nnotte", "libero"};
    QCOMPARE(vehicles::recordFields(good),
             QStringList({"GRUPPO ALFA", "AMBULANZA  1", "CAMPO  2 ", "05/12/2026", "14.30", "", "",
                          "SANITARIA NOTTE", "L"}));
    QCOMPARE(vehicles::check(good), QString());

    auto with = [&](auto change) {
        Input in = good;
        change(in);
        return vehicles::check(in);
    };
    QCOMPARE(with([](Input &i) { i.associazione = "  "; i.dataar = ""; }),
             QString("Manca denominazione Associazione."));
    QCOMPARE(with([](Input &i) { i.dataar = "1/12/2026"; i.oraar = ""; }),
             QString("Data arrivo errata."));
    QCOMPARE(with([](Input &i) { i.oraar = "9.30"; }), QString("Ora arrivo errata."));
    QCOMPARE(with([](Input &i) { i.datapa = "04/12/2026"; i.orapa = "x"; }),
             QString("Data partenza errata."));
    QCOMPARE(with([](Input &i) { i.datapa = "05/12/2026"; i.orapa = "14.00"; }),
             QString("Ora partenza errata."));
    QCOMPARE(with([](Input &i) { i.stato = ""; }), QString("Manca stato."));
    QCOMPARE(with([](Input &i) { i.stato = "x"; }), QString("Stato non previsto."));
    QCOMPARE(with([](Input &i) { i.stato = " L"; }), QString("Stato non previsto."));
    QCOMPARE(with([](Input &i) { i.stato = "r = Riposo"; }), QString());
    QVERIFY(with([](Input &i) { i.note = QString::fromUtf8("\u4e2d"); }).contains("non può"));
    // A comma after the tenth character of a date cannot split the record.
    Input comma = good;
    comma.dataar = "05/12/2026,X";
    QCOMPARE(vehicles::check(comma), QString());
    QCOMPARE(vehicles::recordFields(comma).at(vehicles::DataArrivo), QString("05/12/2026 X"));
}

void TestVehicleRecords::insertKeepsKeyOrder()
{
    TestOffice office;
    const auto &folder = office.ctx.folder;
    auto rec = [](const char *a, const char *d) {
        return QStringList{a, d, "CAMPO 2", "05/12/2026", "14.30", "", "", "SANITARIA", "A"};
    };
    QVERIFY(vehicles::insert(folder, rec("GRUPPO ALFA", "AMBULANZA 1")).done());
    QCOMPARE(office.read(File::Automezzi),
             crlf({"GRUPPO ALFA,AMBULANZA 1,CAMPO 2,05/12/2026,14.30,,,SANITARIA,A"}));
    QVERIFY(vehicles::insert(folder, rec("ALBA", "JEEP")).done());
    QVERIFY(vehicles::insert(folder, rec("GRUPPO ALFA", "AMBULANZA 0")).done());
    QVERIFY(vehicles::insert(folder, rec("GRUPPO ALFA", "FURGONE")).done());
    QVERIFY(vehicles::insert(folder, rec("ZETA", "AUTO")).done());
    QCOMPARE(vehicles::descriptionsOf(office.path(File::Automezzi), "GRUPPO ALFA"),
             QStringList({"AMBULANZA 0", "AMBULANZA 1", "FURGONE"}));
    QCOMPARE(vehicles::readAll(office.path(File::Automezzi)).first().associazione, QString("ALBA"));
    QCOMPARE(vehicles::readAll(office.path(File::Automezzi)).last().associazione, QString("ZETA"));

    const QByteArray before = office.read(File::Automezzi);
    QCOMPARE(vehicles::insert(folder, rec("GRUPPO ALFA", "FURGONE")).status, Outcome::Duplicate);
    QCOMPARE(office.read(File::Automezzi), before);
}

void TestVehicleRecords::modifyReplacesInPlaceAndRefusesTakenKeys()
{
    TestOffice office;
    const auto &folder = office.ctx.folder;
    office.write(File::Automezzi, crlf({"ALFA,AMB 1,,,,,,,L", "ALFA,AMB 2,,,,,,,L",
                                        "BETA,JEEP,C,01/01/2026,10.00,,,,A"}));
    const QStringList changed{"ALFA", "ZZZ", "C", "01/01/2026", "10.00", "", "", "", "B"};
    QVERIFY(vehicles::modify(folder, {"ALFA", "AMB 1"}, changed).done());
    QCOMPARE(office.read(File::Automezzi), crlf({"ALFA,ZZZ,C,01/01/2026,10.00,,,,B",
                                                 "ALFA,AMB 2,,,,,,,L",
                                                 "BETA,JEEP,C,01/01/2026,10.00,,,,A"}));
    const QByteArray before = office.read(File::Automezzi);
    QCOMPARE(vehicles::modify(folder, {"ALFA", "AMB 1"}, changed).status, Outcome::NotFound);
    QStringList taken = changed;
    taken[vehicles::Descrizione] = "AMB 2";
    QCOMPARE(vehicles::modify(folder, {"ALFA", "ZZZ"}, taken).status, Outcome::Duplicate);
    QCOMPARE(office.read(File::Automezzi), before);
    QVERIFY(vehicles::find(office.path(File::Automezzi), {"BETA", "JEEP"}));
    QVERIFY(!vehicles::find(office.path(File::Automezzi), {"BETA", "AMB 2"}));
}

void TestVehicleRecords::removeAndStateChange()
{
    TestOffice office;
    const auto &folder = office.ctx.folder;
    office.write(File::Automezzi, crlf({"ALFA,AMB 1,,,,,,,L", "BETA,JEEP,,,,,,,L"}));
    QCOMPARE(vehicles::remove(folder, {"ALFA", "AMB 9"}).status, Outcome::NotFound);
    QCOMPARE(vehicles::remove(folder, {}).status, Outcome::NotFound);
    QVERIFY(vehicles::remove(folder, {"ALFA", "AMB 1"}).done());
    QCOMPARE(office.read(File::Automezzi), crlf({"BETA,JEEP,,,,,,,L"}));

    bool matched = false;
    QVERIFY(vehicles::setState(folder, text::fit("BETA", 50), text::fit("JEEP", 50), "A", &matched)
                .done());
    QVERIFY(matched);
    QCOMPARE(office.read(File::Automezzi), crlf({"BETA,JEEP,,,,,,,A"}));
    QVERIFY(vehicles::setState(folder, "BETA", "AUTO", "L", &matched).done());
    QVERIFY(!matched);
    QCOMPARE(office.read(File::Automezzi), crlf({"BETA,JEEP,,,,,,,A"}));

    QVERIFY(vehicles::renameAssociation(folder, "BETA", "GAMMA").done());
    QCOMPARE(office.read(File::Automezzi), crlf({"GAMMA,JEEP,,,,,,,A"}));
    QVERIFY(vehicles::removeOfAssociation(folder, "GAMMA").done());
    QCOMPARE(office.read(File::Automezzi), QByteArray());
}

QTEST_MAIN(TestVehicleRecords)
#include "tst_vehicle_records.moc"
