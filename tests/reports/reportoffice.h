#pragma once

#include "office.h"

#include <QDate>

// A small office for the reports, on 10/12/2026: activities open, started,
// closed, cancelled, with unreadable dates and one that only resource lines
// name; counted and named volunteers; association GAMMA renamed GAMMA NUOVA
// after activity 2 was registered; one unreadable line in three archives.
// Numbers in both written forms.
inline void writeReportArchives(const TestOffice &o)
{
    using archive::File;
    o.write(File::Associazioni, crlf({"ALFA,VIA A,,,,,,, 8 , 10 ", "BETA,,,,,,,,molti,3",
                                      "GAMMA NUOVA,,,,,,,,5,5", "ZETA,,,,,,,,0,0"}));
    o.write(File::Automezzi, crlf({"ALFA,FURGONE,CAMPO 1,01/12/2026,08.00,,,,L",
                                   "ALFA,JEEP FI123,CAMPO 1,01/12/2026,08.00,,,,A",
                                   "GAMMA NUOVA,AMBULANZA,,,,,,,B", "GAMMA NUOVA,CAMION,,,,,,,"}));
    o.write(File::Attrezzature, crlf({"ALFA,BRANDA,L, 20 ", "ALFA,TENDA,A,0", "GAMMA NUOVA,BRANDA,L,10"}));
    o.write(File::Attivita, crlf({
                                " 1 ,01/12/2026,08.00,01/12/2026,09.00,03/12/2026,18.00,INCENDIO,ROMA,ROSSI,,C",
                                "2,02/12/2026,10.00,02/12/2026,11.00,,,ALLUVIONE,PISA,BIANCHI,,A",
                                "3,03/12/2026,10.00,,,,,FRANA,LUCCA,NERI,,A",
                                "4,04/12/2026,10.00,04/12/2026,12.00,,,SISMA,SIENA,VERDI,,S",
                                "5,05/12/2026,10.00,5/12/2026,12.00,06/12/2026,13.00,NEVE,AREZZO,GIALLI,,C",
                                "sei,06/12/2026,10.00,,,,,,,,,A",
                            }));
    o.write(File::Risorse, crlf({
                               " 1 ,ATTR,    5 ,ALFA,BRANDA,L",
                               " 1 ,VOL.,    2 ,ALFA,,L",
                               " 1 ,VOL>,    0 ,ALFA, ROSSI MARIO,L",
                               "2,ATTR,x,ALFA,TENDA,O",
                               "2,AUTO,1,ALFA,JEEP FI123,O",
                               "2,VOL.,3,GAMMA,,O",
                               "2,VOL.,1,GAMMA NUOVA,,O",
                               "2,VOL>,0,ALFA,ROSSI MARIO,O",
                               "2,VOL>,0,GAMMA,VERDI ANNA,O",
                               "2,VOL>,0,GAMMA NUOVA,VERDI ANNA,O",
                               "3,ATTR,2,ALFA,BRANDA,O",
                               "4,VOL.,4,ALFA,,L",
                               "4,VOL>,0,ALFA,ROSSI MARIO,L",
                               "5,VOL.,1,ALFA,,L",
                               "5,VOL>,0,ALFA,ROSSI MARIO,L",
                               "9,VOL>,0,ALFA,BIANCHI LUCA,L",
                           }));
}

inline const QDate kReportDay(2026, 12, 10);
