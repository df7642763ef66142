// The vehicle records below the window: the date and time checks in every
// form, the checks in their order, and the cleaning of the fields. The
// archive bytes are checked through the window (tst_pairwindows); the state
// an activity sets, through the resource windows.
#include "testkit.h"

#include "vehicles/records.h"

#include <QTest>

using vehicles::Which;

class TestVehicleRecords : public QObject {
    Q_OBJECT
private slots:
    void datesAndTimesCompareAsTexts();
    void checksAndCleaning();
};

void TestVehicleRecords::datesAndTimesCompareAsTexts()
{
    auto date = [](const char *d) { return vehicles::controllodata({d, "", "", ""}, Which::Arrivo); };
    for (const char *d : {"", "32/01/2026", "01/13/2026", "01/01/0999", "1/01/2026", "01-01-2026",
                          "01/01", "01/1/2026"})
        QVERIFY2(date(d), d);
    for (const char *d : {"00/00/2026", "31/12/9999", "05/12/2026", "01/01/1000", "01/01/2026xyz",
                          "0a/01/2026"})
        QVERIFY2(!date(d), d);
    auto time = [](const char *t) { return vehicles::controllora({"", t, "", ""}, Which::Arrivo); };
    for (const char *t : {"", "9.30", "24.00", "23.60", "12:30", "12"}) QVERIFY2(time(t), t);
    for (const char *t : {"23.59", "00.00", "09.30", "12.3"}) QVERIFY2(!time(t), t);

    // Departure: none is right; before the arrival (year, month, day, each
    // as text) or in a wrong form is wrong.
    const struct {
        const char *ar, *pa;
        bool wrong;
    } dates[] = {{"30/01/2026", "", false},          {"30/01/2026", "01/02/2026", false},
                 {"30/01/2026", "30/01/2026", false}, {"30/01/2026", "29/01/2026", true},
                 {"30/01/2026", "31/12/2025", true},  {"31/12/2025", "01/01/2026", false},
                 {"30/01/2026", "32/02/2026", true},  {"30/01/2026", "1/02/2026", true}};
    for (const auto &c : dates)
        QVERIFY2(vehicles::controllodata({c.ar, "", c.pa, ""}, Which::Partenza) == c.wrong, c.pa);
    // The departure time: none is right; before the arrival time on the
    // arrival day, or in a wrong form on any day, is wrong.
    const vehicles::Times times[] = {{"01/01/2026", "10.00", "01/01/2026", ""},
                                     {"01/01/2026", "10.00", "01/01/2026", "10.00"},
                                     {"01/01/2026", "10.00", "02/01/2026", "09.00"},
                                     {"01/01/2026", "10.00", "", "09.00"}};
    for (const auto &t : times) QVERIFY(!vehicles::controllora(t, Which::Partenza));
    QVERIFY(vehicles::controllora({"01/01/2026", "10.00", "01/01/2026", "09.00"}, Which::Partenza));
    QVERIFY(vehicles::controllora({"01/01/2026", "10.00", "02/01/2026", "9.00"}, Which::Partenza));
}

void TestVehicleRecords::checksAndCleaning()
{
    using vehicles::Input;
    const Input good{"gruppo alfa", "ambulanza, 1", "campo \"2\"", "05/12/2026", "14.30",
                     "", "", "sanitaria\nnotte", "libero"};
    QCOMPARE(vehicles::recordFields(good),
             QStringList({"GRUPPO ALFA", "AMBULANZA  1", "CAMPO  2 ", "05/12/2026", "14.30", "", "",
                          "SANITARIA NOTTE", "L"}));
    auto with = [&](auto change) {
        Input in = good;
        change(in);
        return vehicles::check(in);
    };
    // The checks in this order: each case has the next field wrong too.
    QCOMPARE(with([](Input &i) { i.associazione = "  "; i.dataar = ""; }),
             QString("Manca denominazione Associazione."));
    QCOMPARE(with([](Input &i) { i.dataar = "32/01/2026"; i.oraar = "x"; }), QString("Data arrivo errata."));
    QCOMPARE(with([](Input &i) { i.oraar = "24.00"; i.datapa = "x"; }), QString("Ora arrivo errata."));
    QCOMPARE(with([](Input &i) { i.datapa = "04/12/2026"; i.orapa = "x"; }), QString("Data partenza errata."));
    QCOMPARE(with([](Input &i) { i.datapa = "05/12/2026"; i.orapa = "14.00"; i.stato = ""; }),
             QString("Ora partenza errata."));
    QCOMPARE(with([](Input &i) { i.stato = ""; }), QString("Manca stato."));
    QCOMPARE(with([](Input &i) { i.stato = " L"; }), QString("Stato non previsto."));
    QCOMPARE(with([](Input &i) { i.stato = "r = Riposo"; }), QString());
    // A comma after the tenth character of a date cannot split the record.
    Input comma = good;
    comma.dataar = "05/12/2026,X";
    QCOMPARE(vehicles::check(comma), QString());
    QCOMPARE(vehicles::recordFields(comma).at(vehicles::DataArrivo), QString("05/12/2026 X"));
}

QTEST_MAIN(TestVehicleRecords)
#include "tst_vehicle_records.moc"
