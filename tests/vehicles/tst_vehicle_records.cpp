// The vehicle records below the window: the checks in their order. The
// date and time forms: tst_dates; through the window: tst_pairwindows;
// every bad character: tst_badinput.
#include "testkit.h"

#include "vehicles/records.h"

#include <QTest>

class TestVehicleRecords : public QObject {
    Q_OBJECT
private slots:
    void checksInOrder()
    {
        using vehicles::Input;
        const Input good{"gruppo alfa", "ambulanza", "campo", "05/12/2026", "14.30", "", "", "", "libero"};
        auto with = [&](auto change) {
            Input in = good;
            change(in);
            return vehicles::check(in, QDateTime(QDate(2025, 3, 3), QTime(9, 5))).message;
        };
        // Each case has the next field wrong too.
        QCOMPARE(with([](Input &i) { i.associazione = "  "; i.dataar = ""; }),
                 QString("Manca denominazione Associazione."));
        QCOMPARE(with([](Input &i) { i.dataar = "32/01/2026"; i.oraar = "x"; }), QString("Data arrivo errata: scrivere GG/MM/AAAA, per esempio 03/03/2025."));
        QCOMPARE(with([](Input &i) { i.oraar = "24.00"; i.datapa = "x"; }), QString("Ora arrivo errata: scrivere hh.mm, da 00.00 a 23.59, per esempio 09.05."));
        QCOMPARE(with([](Input &i) { i.datapa = "4/12/26"; i.orapa = "x"; }), QString("La partenza (04/12/2026) precede l'arrivo (05/12/2026)."));
        QCOMPARE(with([](Input &i) { i.datapa = "05/12/2026"; i.orapa = "14:00"; i.stato = ""; }),
                 QString("La partenza (05/12/2026 14.00) precede l'arrivo (05/12/2026 14.30)."));
        // Departure: none, a time alone, or a later day with an earlier hour is right.
        for (const auto &departure : {std::pair{"", ""}, {"", "9.00"}, {"06/12/2026", "09.00"}})
            QCOMPARE(with([&](Input &i) { i.datapa = departure.first, i.orapa = departure.second; }), QString());
        QCOMPARE(with([](Input &i) { i.stato = ""; }), QString("Manca stato."));
        QCOMPARE(with([](Input &i) { i.stato = " L"; }), QString("Stato non previsto."));
        // A comma in a date cannot split the record.
        Input comma = good;
        comma.dataar = "05/12/2026,X";
        QCOMPARE(vehicles::recordFields(comma).at(vehicles::DataArrivo), QString("05/12/2026 X"));
    }
};

QTEST_MAIN(TestVehicleRecords)
#include "tst_vehicle_records.moc"
