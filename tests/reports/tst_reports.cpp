// The three reports built from small archives: their lines, their CSV
// bytes and the day counts they rest on.
#include "reportoffice.h"

#include "reports/attendance.h"
#include "reports/board.h"
#include "reports/csv.h"
#include "reports/engagement.h"
#include "reports/limits.h"

#include <QTest>

using namespace reports;
using archive::File;

class TestReports : public QObject {
    Q_OBJECT
private slots:
    void days_data()
    {
        QTest::addColumn<QString>("datain");
        QTest::addColumn<QString>("datafi");
        QTest::addColumn<QString>("stato");
        QTest::addColumn<int>("days"); // -1: its days cannot be told
        QTest::addColumn<QString>("orain");
        QTest::newRow("closed, three days") << "01/12/2026"
                                            << "03/12/2026"
                                            << "C" << 3 << "09.00";
        QTest::newRow("closed the same day") << "29/02/2024"
                                             << "29/02/2024"
                                             << "C" << 1 << "09.00";
        QTest::newRow("open: to today") << "02/12/2026"
                                        << ""
                                        << "A" << 9 << "09.00";
        QTest::newRow("open, end already typed") << "02/12/2026"
                                                 << "04/12/2026"
                                                 << "A" << 3 << "09.00";
        QTest::newRow("requested, not started") << ""
                                                << ""
                                                << "A" << 0 << "";
        QTest::newRow("started, no start date") << ""
                                                << ""
                                                << "A" << -1 << "09.00";
        QTest::newRow("open, end typed ahead: to today") << "01/12/2026"
                                                         << "28/12/2026"
                                                         << "A" << 10 << "";
        QTest::newRow("cancelled") << "04/12/2026"
                                   << ""
                                   << "S" << 0 << "09.00";
        QTest::newRow("closed without start") << ""
                                              << "03/12/2026"
                                              << "C" << -1 << "09.00";
        QTest::newRow("closed without end") << "01/12/2026"
                                            << ""
                                            << "C" << -1 << "09.00";
        QTest::newRow("day of one digit") << "1/12/2026"
                                          << "03/12/2026"
                                          << "C" << -1 << "09.00";
        QTest::newRow("no such day") << "31/11/2026"
                                     << "03/12/2026"
                                     << "C" << -1 << "09.00";
        QTest::newRow("other separator") << "01-12-2026"
                                         << "03/12/2026"
                                         << "C" << -1 << "09.00";
        QTest::newRow("end before start") << "05/12/2026"
                                          << "03/12/2026"
                                          << "C" << -1 << "09.00";
        QTest::newRow("open, starting after today") << "11/12/2026"
                                                    << ""
                                                    << "A" << -1 << "09.00";
    }

    void days()
    {
        QFETCH(QString, datain);
        QFETCH(QString, datafi);
        QFETCH(QString, stato);
        QFETCH(int, days);
        QFETCH(QString, orain);
        const QStringList fields{"7", "01/12/2026", "08.00", datain, orain, datafi, "18.00",
                                 "T", "L", "R", "", stato};
        const Activity a = activityOf(7, fields, kReportDay);
        QCOMPARE(a.undated, days < 0);
        QCOMPARE(a.days, std::max(days, 0));
        // A date that cannot be read is shown empty.
        QCOMPARE(a.datain, readDate(datain) ? datain : QString());
        QCOMPARE(a.datafi, readDate(datafi) ? datafi : QString());
    }

    void csvField_data()
    {
        QTest::addColumn<QString>("value");
        QTest::addColumn<QString>("field");
        QTest::newRow("plain") << "ROSSI MARIO"
                               << "ROSSI MARIO";
        QTest::newRow("accented") << "Località"
                                  << "Località";
        QTest::newRow("comma") << "Chiuse, 2"
                               << "\"Chiuse, 2\"";
        QTest::newRow("quote") << "DETTO \"IL ROSSO\""
                               << "\"DETTO \"\"IL ROSSO\"\"\"";
        QTest::newRow("line break") << "A\nB"
                                    << "\"A\nB\"";
        QTest::newRow("blank at an end") << " NOME"
                                         << "\" NOME\"";
        QTest::newRow("empty") << ""
                               << "";
        QTest::newRow("a formula") << "=SOMMA(A1)"
                                   << "'=SOMMA(A1)";
        QTest::newRow("a formula by @") << "@SUM(A1)"
                                        << "'@SUM(A1)";
        QTest::newRow("a text after a minus") << "-ROSSI"
                                              << "'-ROSSI";
        QTest::newRow("a formula with a comma") << "+A1,B1"
                                                << "\"'+A1,B1\"";
        QTest::newRow("a negative number") << "-3"
                                           << "-3";
    }

    void csvField()
    {
        QFETCH(QString, value);
        QFETCH(QString, field);
        QCOMPARE(csv::field(value), field);
    }

    void lines_data()
    {
        TestOffice o;
        writeReportArchives(o);
        const Engagement e = buildEngagement(o.ctx.folder, "PIENA", kReportDay);
        const QVector<QStringList> blocks =
            attendanceBlocks(buildAttendance(o.ctx.folder, "PIENA", kReportDay));
        QTest::addColumn<QStringList>("got");
        QTest::addColumn<QStringList>("expected");

        const QString head = "PIENA - IMPIEGO PER ASSOCIAZIONE AL 10/12/2026";
        const QString columns = " Prot. Richiesta  Inizio           Fine             Stato      Località - Tipo";
        const QString note = "Righe illeggibili non considerate: associazioni.csv 1, attivita.csv 1, risorse.csv 1.";
        const QString rule(80, '_');
        QTest::newRow("engagement of ALFA") << engagementLines(e, 0) << QStringList{head, "", "ASSOCIAZIONE: ALFA", columns, "     1 01/12/2026 01/12/2026 09.00 03/12/2026 18.00 CHIUSA     ROMA - INCENDIO", "       volontari 2, giorni 3, volontari-giorno 6", "       attrezzatura  BRANDA, pezzi 5", "       volontario    ROSSI MARIO", "     2 02/12/2026 02/12/2026 11.00                  APERTA     PISA - ALLUVIONE", "       volontari 1, giorni 9, volontari-giorno 9", "       automezzo     JEEP FI123", "       volontario    ROSSI MARIO", "     3 03/12/2026                                   APERTA     LUCCA - FRANA", "       volontari 0, giorni 0, volontari-giorno 0", "       attrezzatura  BRANDA, pezzi 2", "     4 04/12/2026 04/12/2026 12.00                  ANNULLATA  SIENA - SISMA", "       volontari 4 (attività annullata, non contata)", "       volontario    ROSSI MARIO", "     5 05/12/2026            12.00 06/12/2026 13.00 CHIUSA     AREZZO - NEVE", "       volontari 1, giorni non contati (date mancanti o illeggibili)", "       volontario    ROSSI MARIO", "     9                                                         (attività non presente in archivio)", "       volontari 1, giorni non contati (date mancanti o illeggibili)", "       volontario    BIANCHI LUCA", "TOTALI: 5 attività, 5 volontari, 15 volontari-giorno, 1 automezzo, 7 pezzi", "        annullate, non contate: 1; con date mancanti o illeggibili, giorni non contati: 2", rule, "", note};
        // The old name of a renamed association stays on the lines registered
        // before the change, after the names of the archive.
        QTest::newRow("engagement under the old name") << engagementLines(e, 3) << QStringList{head, "", "ASSOCIAZIONE: GAMMA  (nome non presente in archivio)", columns, "     2 02/12/2026 02/12/2026 11.00                  APERTA     PISA - ALLUVIONE", "       volontari 3, giorni 9, volontari-giorno 27", "       volontario    VERDI ANNA", "TOTALI: 1 attività, 3 volontari, 27 volontari-giorno, 0 automezzi, 0 pezzi", rule, "", note};
        QTest::newRow("engagement of an association with none") << engagementLines(e, 2).mid(2, 4)
                                                                << QStringList{"ASSOCIAZIONE: ZETA", "       nessuna attività",
                                                                               "TOTALI: 0 attività, 0 volontari, 0 volontari-giorno, 0 automezzi, 0 pezzi", rule};
        // Overlapping days counted once: 1-3 and 2-10 December are 10 days.
        QTest::newRow("attendance of a volunteer") << blocks.value(1) << QStringList{"PIENA - PRESENZE DEI VOLONTARI AL 10/12/2026", "", "Volontario  : ROSSI MARIO", "Associazione: ALFA", "", " Prot. Inizio           Fine             Giorni Stato      Località - Tipo", "     1 01/12/2026 09.00 03/12/2026 18.00      3 CHIUSA     ROMA - INCENDIO", "     2 02/12/2026 11.00                       9 APERTA     PISA - ALLUVIONE", "     4 04/12/2026 12.00                       - ANNULLATA  SIENA - SISMA", "     5            12.00 06/12/2026 13.00      - CHIUSA     AREZZO - NEVE", "", "Giorni di servizio: 10", "Attività annullate, non contate: 1; con date mancanti o illeggibili, non contate: 1", "", "", "Data ______________     Firma del responsabile ______________________________"};
        QStringList names;
        for (const QStringList &b : blocks) names << b.value(2) + " / " + b.value(3);
        QTest::newRow("attendance: one block per volunteer and association, then the note") << names
                                                                                            << QStringList{"Volontario  : BIANCHI LUCA / Associazione: ALFA",
                                                                                                           "Volontario  : ROSSI MARIO / Associazione: ALFA",
                                                                                                           "Volontario  : VERDI ANNA / Associazione: GAMMA",
                                                                                                           "Volontario  : VERDI ANNA / Associazione: GAMMA NUOVA",
                                                                                                           " / "};
        // Missing archives read as empty; no emergency name, no dash.
        TestOffice empty;
        QTest::newRow("engagement of an empty folder")
            << engagementLines(buildEngagement(empty.ctx.folder, "", kReportDay))
            << QStringList{"IMPIEGO PER ASSOCIAZIONE AL 10/12/2026", ""};
        QTest::newRow("attendance note") << blocks.value(4)
                                         << QStringList{"Righe illeggibili non considerate: attivita.csv 1, risorse.csv 1."};
    }

    void lines()
    {
        QFETCH(QStringList, got);
        QFETCH(QStringList, expected);
        QCOMPARE(got, expected);
    }

    void csvBytes_data()
    {
        TestOffice o;
        writeReportArchives(o);
        const QList<archive::File> files{archive::File::Associazioni, archive::File::Automezzi,
                                         archive::File::Attrezzature, archive::File::Attivita,
                                         archive::File::Risorse};
        QList<QByteArray> before;
        for (archive::File f : files) before << o.read(f);

        QTest::addColumn<QByteArray>("got");
        QTest::addColumn<QByteArray>("expected");
        const QByteArray bom = "\xEF\xBB\xBF";
        QTest::newRow("board") << boardCsv(buildBoard(o.ctx.folder, "PIENA", kReportDay)) << bom + crlf({"Sezione,Voce,Misura,Valore", "Volontari,ALFA,impegnati,0", "Volontari,ALFA,disponibili,8", "Volontari,GAMMA NUOVA,impegnati,1", "Volontari,GAMMA NUOVA,disponibili,5", "Volontari,ZETA,impegnati,0", "Volontari,ZETA,disponibili,0", "Volontari,GAMMA,impegnati,3", "Volontari,GAMMA,disponibili,0", "Automezzi,Liberi (L),numero,1", "Automezzi,Impegnati (A),numero,1", "Automezzi,Bloccati (B),numero,1", "Automezzi,Senza stato,numero,1", "Attrezzature,BRANDA,pezzi impegnati,2", "Attrezzature,BRANDA,pezzi disponibili,30", "Attrezzature,TENDA,pezzi impegnati,0", "Attrezzature,TENDA,pezzi disponibili,0", "Attività,\"Richieste, non iniziate\",numero,1", "Attività,\"Iniziate, non chiuse\",numero,1", "Attività,Chiuse,numero,2", "Attività,Annullate,numero,1", "Nota,Righe illeggibili non considerate,associazioni.csv,1", "Nota,Righe illeggibili non considerate,attivita.csv,1", "Nota,Righe illeggibili non considerate,risorse.csv,1"});
        const QByteArray engagementHeader = "Associazione,Protocollo,Data richiesta,Data inizio,Ora inizio,"
                                            "Data fine,Ora fine,Stato,Località,Tipo,Volontari,Nominativi,"
                                            "Automezzi,Attrezzature,Pezzi,Giorni,Volontari-giorno";
        const QByteArray note = "\"Righe illeggibili non considerate: associazioni.csv 1, attivita.csv 1, "
                                "risorse.csv 1.\"";
        const Engagement e = buildEngagement(o.ctx.folder, "PIENA", kReportDay);
        QTest::newRow("engagement of ALFA") << engagementCsv(e, 0) << bom + crlf({engagementHeader, "ALFA,1,01/12/2026,01/12/2026,09.00,03/12/2026,18.00,CHIUSA,ROMA,INCENDIO,2,ROSSI MARIO,,BRANDA (5),5,3,6", "ALFA,2,02/12/2026,02/12/2026,11.00,,,APERTA,PISA,ALLUVIONE,1,ROSSI MARIO,JEEP FI123,,0,9,9", "ALFA,3,03/12/2026,,,,,APERTA,LUCCA,FRANA,0,,,BRANDA (2),2,0,0", "ALFA,4,04/12/2026,04/12/2026,12.00,,,ANNULLATA,SIENA,SISMA,4,ROSSI MARIO,,,0,,", "ALFA,5,05/12/2026,,12.00,06/12/2026,13.00,CHIUSA,AREZZO,NEVE,1,ROSSI MARIO,,,0,,", "ALFA,9,,,,,,,,,1,BIANCHI LUCA,,,0,,", note});
        QTest::newRow("engagement of all, rows") << engagementCsv(e).split('\n').mid(7, 2).join('\n')
                                                 << QByteArray("GAMMA NUOVA,2,02/12/2026,02/12/2026,11.00,,,APERTA,PISA,ALLUVIONE,1,VERDI ANNA,,,0,9,9\r\n"
                                                               "GAMMA,2,02/12/2026,02/12/2026,11.00,,,APERTA,PISA,ALLUVIONE,3,VERDI ANNA,,,0,9,27\r");
        QTest::newRow("attendance") << attendanceCsv(buildAttendance(o.ctx.folder, "PIENA", kReportDay))
                                    << bom + crlf({"Volontario,Associazione,Protocollo,Data inizio,Ora inizio,Data fine,Ora fine,Stato,Località,Tipo,Giorni,Giorni oltre i limiti di legge", "BIANCHI LUCA,ALFA,9,,,,,,,,,", "ROSSI MARIO,ALFA,1,01/12/2026,09.00,03/12/2026,18.00,CHIUSA,ROMA,INCENDIO,3,", "ROSSI MARIO,ALFA,2,02/12/2026,11.00,,,APERTA,PISA,ALLUVIONE,9,", "ROSSI MARIO,ALFA,4,04/12/2026,12.00,,,ANNULLATA,SIENA,SISMA,,", "ROSSI MARIO,ALFA,5,,12.00,06/12/2026,13.00,CHIUSA,AREZZO,NEVE,,", "VERDI ANNA,GAMMA,2,02/12/2026,11.00,,,APERTA,PISA,ALLUVIONE,9,", "VERDI ANNA,GAMMA NUOVA,2,02/12/2026,11.00,,,APERTA,PISA,ALLUVIONE,9,", "\"Righe illeggibili non considerate: attivita.csv 1, risorse.csv 1.\""});
        TestOffice empty;
        QTest::newRow("attendance of an empty folder") << attendanceCsv(buildAttendance(empty.ctx.folder, "", kReportDay))
                                                       << bom + crlf({"Volontario,Associazione,Protocollo,Data inizio,Ora inizio,Data fine,Ora fine,"
                                                                      "Stato,Località,Tipo,Giorni,Giorni oltre i limiti di legge"});

        // Reading for the reports leaves every archive as it was.
        for (int i = 0; i < files.size(); ++i) QCOMPARE(o.read(files[i]), before[i]);
    }

    void csvBytes()
    {
        QFETCH(QByteArray, got);
        QFETCH(QByteArray, expected);
        QCOMPARE(got, expected);
    }

    // A description longer than a resource line holds, a line of no
    // resource type, volunteer-days past what 32 bits hold.
    void countsAtTheirLimits()
    {
        TestOffice o;
        const QByteArray pump = "MOTOPOMPA CARRELLATA CON TUBI DI MANDATA E ASPIRAZIONE INCLUSI";
        o.write(File::Associazioni, crlf({"ALFA,,,,,,,,0,32000"}));
        o.write(File::Attrezzature, crlf({"ALFA," + pump + ",L,20"}));
        o.write(File::Attivita, crlf({"1,01/12/1026,08.00,01/12/1026,09.00,,,TIPO,LUOGO,CHI,,A"}));
        o.write(File::Risorse, crlf({"1,ATTR,5,ALFA," + pump.left(50) + ",O", "1,VOL.,32000,ALFA,,O",
                                     "1,XXXX,1,BETA,,O"}));
        const Board b = buildBoard(o.ctx.folder, "E", kReportDay);
        QCOMPARE(b.equipment, (QVector<Bar>{{QString::fromLatin1(pump), 5, 20}}));
        const Engagement e = buildEngagement(o.ctx.folder, "E", kReportDay);
        QCOMPARE(e.associations.size(), 1);
        QCOMPARE(e.associations[0].volunteerDays, 32000 * (QDate(1026, 12, 1).daysTo(kReportDay) + 1));
        QCOMPARE(e.skipped.note(), QString("Righe illeggibili non considerate: risorse.csv 1."));
    }

    // Volunteers past what 32 bits hold: the totals line shows them whole.
    void totalsPastThirtyTwoBits()
    {
        TestOffice o;
        o.write(File::Associazioni, crlf({"ALFA,,,,,,,,0,0"}));
        o.write(File::Attivita, crlf({"1,01/12/2026,08.00,01/12/2026,09.00,01/12/2026,18.00,TIPO,LUOGO,CHI,,C"}));
        o.write(File::Risorse, QByteArray("1,VOL.,32767,ALFA,,L\r\n").repeated(65540));
        const QStringList lines = engagementLines(buildEngagement(o.ctx.folder, "E", kReportDay), 0);
        QCOMPARE(lines.filter("TOTALI: "), QStringList{"TOTALI: 1 attività, 2147549180 volontari, 2147549180 "
                                                       "volontari-giorno, 0 automezzi, 0 pezzi"});
    }

    // Days of service as spans "first day+days"; the days beyond the limits.
    void legalLimits_data()
    {
        QTest::addColumn<QStringList>("served");
        QTest::addColumn<bool>("national");
        QTest::addColumn<QString>("beyond");
        QTest::newRow("29 consecutive") << QStringList{"01/03/2026+29"} << false << "";
        QTest::newRow("30 consecutive") << QStringList{"01/03/2026+30"} << false << "";
        QTest::newRow("31 consecutive") << QStringList{"01/03/2026+31"} << false << "31/03/2026";
        QTest::newRow("31 in activities that touch and overlap") << QStringList{"16/03/2026+16", "01/03/2026+15", "05/03/2026+3"} << false << "31/03/2026";
        QTest::newRow("89 in a year") << QStringList{"01/01/2026+30", "01/02/2026+30", "01/04/2026+29"} << false << "";
        QTest::newRow("90 in a year") << QStringList{"01/01/2026+30", "01/02/2026+30", "01/04/2026+30"} << false << "";
        QTest::newRow("91 in a year") << QStringList{"01/01/2026+30", "01/02/2026+30", "01/04/2026+30", "01/06/2026+1"} << false << "01/06/2026";
        QTest::newRow("both limits, joined") << QStringList{"01/01/2026+30", "01/02/2026+30", "01/04/2026+35", "01/06/2026+5"} << false
                                             << "dal 01/05/2026 al 05/05/2026, dal 01/06/2026 al 05/06/2026";
        // 12 days in 2026 and 25 in 2027: one run of 37, no year past 90.
        QTest::newRow("a run across the year's end") << QStringList{"20/12/2026+37"} << false << "dal 19/01/2027 al 25/01/2027";
        QTest::newRow("the yearly count starts again") << QStringList{"01/09/2026+30", "02/10/2026+30", "02/11/2026+30", "10/12/2026+10", "05/01/2027+20"} << false
                                                       << "dal 10/12/2026 al 19/12/2026";
        QTest::newRow("national: 60 consecutive") << QStringList{"01/03/2026+60"} << true << "";
        QTest::newRow("national: 61 consecutive") << QStringList{"01/03/2026+61"} << true << "30/04/2026";
        QTest::newRow("national: 180 in a year") << QStringList{"01/01/2026+60", "03/03/2026+60", "03/05/2026+60"} << true << "";
        QTest::newRow("national: 181 in a year") << QStringList{"01/01/2026+60", "03/03/2026+60", "03/05/2026+60", "03/07/2026+1"} << true << "03/07/2026";
    }

    void legalLimits()
    {
        QFETCH(QStringList, served);
        QFETCH(bool, national);
        QFETCH(QString, beyond);
        Days days;
        for (const QString &s : served) {
            const QDate first = QDate::fromString(s.section('+', 0, 0), "dd/MM/yyyy");
            days << DaySpan{first, first.addDays(s.section('+', 1).toInt() - 1)};
        }
        QCOMPARE(daysText(daysBeyond(joined(days), reports::legalLimits(national))), beyond);
    }

    void leadingBars()
    {
        const QVector<Bar> bars{{"A", 1, 9}, {"B", 5, 0}, {"C", 1, 2}, {"D", 0, 7}, {"E", 3, 1}};
        QCOMPARE(leading(bars, 3), (QVector<Bar>{{"B", 5, 0}, {"E", 3, 1}, {"A", 1, 9}, {"Altre 2", 1, 9}}));
        QCOMPARE(leading(bars, 5), (QVector<Bar>{{"B", 5, 0}, {"E", 3, 1}, {"A", 1, 9}, {"C", 1, 2}, {"D", 0, 7}}));
    }
};

QTEST_GUILESS_MAIN(TestReports)
#include "tst_reports.moc"
