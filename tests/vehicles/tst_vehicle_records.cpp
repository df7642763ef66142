// The vehicle records below the window: the date and time forms and the
// checks in their order. Every bad character: tst_badinput.
#include "testkit.h"

#include "vehicles/records.h"

#include <QTest>

using vehicles::Which;

class TestVehicleRecords : public QObject {
    Q_OBJECT
private slots:
    // Dates and times compare as texts, by character code, not by calendar.
    void datesAndTimes()
    {
        auto date = [](const char *d) { return vehicles::controllodata({d, "", "", ""}, Which::Arrivo); };
        for (const char *d : {"", "32/01/2026", "01/13/2026", "01/01/0999", "1/01/2026", "01-01-2026", "01/01",
                              "01/1/2026"})
            QVERIFY2(date(d), d);
        for (const char *d : {"00/00/2026", "31/12/9999", "05/12/2026", "01/01/1000", "01/01/2026xyz", "0a/01/2026"})
            QVERIFY2(!date(d), d);
        auto time = [](const char *t) { return vehicles::controllora({"", t, "", ""}, Which::Arrivo); };
        for (const char *t : {"", "9.30", "24.00", "23.60", "12:30", "12"}) QVERIFY2(time(t), t);
        for (const char *t : {"23.59", "00.00", "09.30", "12.3"}) QVERIFY2(!time(t), t);

        // Departure: none is right; before the arrival (year, month, day,
        // each as text) or in a wrong form is wrong.
        auto departure = [](const char *ar, const char *pa) { return vehicles::controllodata({ar, "", pa, ""}, Which::Partenza); };
        for (const char *pa : {"", "01/02/2026", "30/01/2026"}) QVERIFY2(!departure("30/01/2026", pa), pa);
        for (const char *pa : {"29/01/2026", "31/12/2025", "32/02/2026", "1/02/2026"}) QVERIFY2(departure("30/01/2026", pa), pa);
        QVERIFY(!departure("31/12/2025", "01/01/2026"));
        // The departure time: none is right; before the arrival time on the
        // arrival day, or in a wrong form on any day, is wrong.
        auto leaving = [](const char *pa, const char *t) { return vehicles::controllora({"01/01/2026", "10.00", pa, t}, Which::Partenza); };
        for (const char *t : {"", "10.00"}) QVERIFY2(!leaving("01/01/2026", t), t);
        for (const char *pa : {"02/01/2026", ""}) QVERIFY2(!leaving(pa, "09.00"), pa);
        QVERIFY(leaving("01/01/2026", "09.00"));
        QVERIFY(leaving("02/01/2026", "9.00"));
    }

    void checksInOrder()
    {
        using vehicles::Input;
        const Input good{"gruppo alfa", "ambulanza", "campo", "05/12/2026", "14.30", "", "", "", "libero"};
        auto with = [&](auto change) {
            Input in = good;
            change(in);
            return vehicles::check(in);
        };
        // Each case has the next field wrong too.
        QCOMPARE(with([](Input &i) { i.associazione = "  "; i.dataar = ""; }),
                 QString("Manca denominazione Associazione."));
        QCOMPARE(with([](Input &i) { i.dataar = "32/01/2026"; i.oraar = "x"; }), QString("Data arrivo errata."));
        QCOMPARE(with([](Input &i) { i.oraar = "24.00"; i.datapa = "x"; }), QString("Ora arrivo errata."));
        QCOMPARE(with([](Input &i) { i.datapa = "04/12/2026"; i.orapa = "x"; }), QString("Data partenza errata."));
        QCOMPARE(with([](Input &i) { i.datapa = "05/12/2026"; i.orapa = "14.00"; i.stato = ""; }),
                 QString("Ora partenza errata."));
        QCOMPARE(with([](Input &i) { i.stato = ""; }), QString("Manca stato."));
        QCOMPARE(with([](Input &i) { i.stato = " L"; }), QString("Stato non previsto."));
        // A comma after the tenth character of a date cannot split the record.
        QCOMPARE(with([](Input &i) { i.dataar = "05/12/2026,X"; }), QString());
        Input comma = good;
        comma.dataar = "05/12/2026,X";
        QCOMPARE(vehicles::recordFields(comma).at(vehicles::DataArrivo), QString("05/12/2026 X"));
    }
};

QTEST_MAIN(TestVehicleRecords)
#include "tst_vehicle_records.moc"
