// The records of the three registers below their windows: the checks in
// their order and number limits, the date and time forms, and the edge cases
// of the changes the window tests (tst_formass, tst_pairwindows) do not reach.
// Every bad character, field by field: tst_badinput; the counts an activity
// takes and gives back: the resource tests.
#include "testkit.h"

#include "associations/records.h"
#include "equipment/records.h"
#include "vehicles/records.h"

#include <QTest>

using archive::File;
using vehicles::Which;

class TestRegisterRecords : public QObject {
    Q_OBJECT
private slots:
    void associationChecks()
    {
        // Blanks at the ends of the name are not kept by any reader.
        QCOMPARE(associations::cleaned({"  alfa ", "", "", "", "", "", "", "", "1"}).denominazione, QString("ALFA"));
        auto checked = [](const char *name, const char *num) {
            return associations::check(associations::cleaned(
                {QString::fromUtf8(name), "", "", "", "", "", "", "", QString::fromLatin1(num)}));
        };
        QCOMPARE(checked("   ", "1"), QString("Manca denominazione."));
        for (const char *n : {"", "12,5", "32768", "-32769", "1 2"})
            QVERIFY2(checked("A", n) == "Numero volontari dell'associazione errato.", n);
        for (const char *n : {"0", "32767", "-32768", " 7 "}) QVERIFY2(checked("A", n).isEmpty(), n);
        QCOMPARE(checked("CAFF\xC3\x88", "1"), QString()); // È is in Windows-1252
    }

    void associationChangesTouchOnlyWhatIsThere()
    {
        TestFolder office;
        const auto &folder = office.ctx.folder;
        office.write(File::Associazioni, crlf({"ALFA,,,,,,,,3,3", "BETA,,,,,,,,5,5", "GAMMA,,,,,,,,1,1"}));
        // Same name: the record is rewritten in its place; no other archive
        // is created, and a rename creates no volunteer archive either.
        QVERIFY(associations::modify(folder, "ALFA", {"ALFA", "VIA ROMA 1", "", "", "", "", "", "", "8", "8"}).done());
        for (File f : {File::Automezzi, File::Attrezzature, File::Volontari}) QVERIFY(!office.exists(f));
        QVERIFY(associations::modify(folder, "GAMMA", {"DELTA", "", "", "", "", "", "", "", "1", "1"}).done());
        QVERIFY(!office.exists(File::Volontari));
        QCOMPARE(office.read(File::Associazioni), crlf({"ALFA,VIA ROMA 1,,,,,,, 8 , 8 ", "BETA,,,,,,,, 5 , 5 ", "DELTA,,,,,,,,1,1"}));

        office.write(File::Volontari, crlf({"BETA,MARIO,ROSSI,,,,,,,", "ALFA,ANNA,NERI,,,,,,,"}));
        // Removing with the name field as loaded: the volunteers stay as they are.
        QVERIFY(associations::remove(folder, "BETA", "BETA").done());
        QCOMPARE(office.read(File::Associazioni), crlf({"ALFA,VIA ROMA 1,,,,,,, 8 , 8 ", "DELTA,,,,,,,, 1 , 1 "}));
        QCOMPARE(office.read(File::Volontari), crlf({"BETA,MARIO,ROSSI,,,,,,,", "ALFA,ANNA,NERI,,,,,,,"}));
        // Another text in the name field: the volunteers pass to it.
        QVERIFY(associations::remove(folder, "ALFA", "OMEGA").done());
        QCOMPARE(office.read(File::Associazioni), crlf({"DELTA,,,,,,,, 1 , 1 "}));
        QCOMPARE(office.read(File::Volontari), crlf({"BETA,MARIO,ROSSI,,,,,,,", "OMEGA,ANNA,NERI,,,,,,,"}));
    }

    // Dates and times compare as texts, by character code, not by calendar.
    void vehicleDatesAndTimes()
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
        const vehicles::Times times[] = {{"01/01/2026", "10.00", "01/01/2026", ""},
                                         {"01/01/2026", "10.00", "01/01/2026", "10.00"},
                                         {"01/01/2026", "10.00", "02/01/2026", "09.00"},
                                         {"01/01/2026", "10.00", "", "09.00"}};
        for (const auto &t : times) QVERIFY2(!vehicles::controllora(t, Which::Partenza), qPrintable(t.datapa + t.orapa));
        QVERIFY(vehicles::controllora({"01/01/2026", "10.00", "01/01/2026", "09.00"}, Which::Partenza));
        QVERIFY(vehicles::controllora({"01/01/2026", "10.00", "02/01/2026", "9.00"}, Which::Partenza));
    }

    void vehicleChecksInOrder()
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

    void equipmentChecksAndAVanishedKey()
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

QTEST_MAIN(TestRegisterRecords)
#include "tst_register_records.moc"
