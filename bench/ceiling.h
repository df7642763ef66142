#pragma once

// The largest office the archive format holds in practice: 32,767
// activities with 300,000 resource lines, 2,000 associations, 20,000
// vehicles, 20,000 items of equipment and 20,000 volunteers, every archive
// in its own order, Windows-1252 with CR LF.

#include "archive/paths.h"

#include <QByteArray>
#include <QFile>
#include <cstdio>
#include <cstdlib>

namespace ceiling {

// VELMORA_BENCH_DIVISOR=N divides every size by N (from 1 to 50), for a
// quick run that only shows that every action still runs.
inline int divisor()
{
    const char *d = std::getenv("VELMORA_BENCH_DIVISOR");
    const int n = d ? std::atoi(d) : 1;
    return n < 1 ? 1 : n > 50 ? 50 : n;
}

inline const int kActivities = 32767 / divisor();
inline const int kResources = 300000 / divisor();
inline const int kAssociations = 2000 / divisor();
inline const int kVehicles = 20000 / divisor();
inline const int kEquipment = 20000 / divisor();
inline const int kVolunteers = 20000 / divisor();

// The activity whose registration is measured, with its 20 resource lines.
inline const int kMeasured = 16000 / divisor();
constexpr int kMeasuredLines = 20;

inline QByteArray associationName(int i)
{
    return "ASSOCIAZIONE VOLONTARI " + QByteArray::number(i).rightJustified(4, '0');
}

inline QByteArray num(int v) { return " " + QByteArray::number(v) + " "; }

class Writer {
public:
    explicit Writer(const QString &path) : m_file(path)
    {
        if (!m_file.open(QIODevice::WriteOnly)) {
            std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
            std::exit(1);
        }
        m_buffer.reserve(1 << 20);
    }
    ~Writer()
    {
        flush();
        m_file.close();
    }
    void line(const QByteArray &l)
    {
        m_buffer += l;
        m_buffer += "\r\n";
        if (m_buffer.size() > (1 << 20)) flush();
    }

private:
    void flush()
    {
        m_file.write(m_buffer);
        m_buffer.clear();
    }
    QFile m_file;
    QByteArray m_buffer;
};

// Resource lines of activity `a` (protocol 1 .. kActivities): the measured
// activity has kMeasuredLines, the others share the rest.
inline int resourcesOf(int a)
{
    if (a == kMeasured) return kMeasuredLines;
    const int others = kResources - kMeasuredLines;
    const int base = others / (kActivities - 1);
    const int extra = others % (kActivities - 1);
    const int index = a < kMeasured ? a - 1 : a - 2;
    return base + (index < extra ? 1 : 0);
}

inline void write(const archive::WorkingFolder &folder)
{
    using archive::File;
    {
        Writer w(folder.path(File::Associazioni));
        for (int i = 0; i < kAssociations; ++i)
            w.line(associationName(i) + ",VIA DEL SOCCORSO " + QByteArray::number(i % 300)
                   + ",COMUNE " + QByteArray::number(i % 97) + ",FI,055 "
                   + QByteArray::number(100000 + i) + ",,,CAMPO " + QByteArray::number(i % 9) + ","
                   + num(20 + i % 50) + "," + num(20 + i % 50));
    }
    {
        Writer w(folder.path(File::Automezzi));
        for (int i = 0; i < kVehicles; ++i)
            w.line(associationName(i / (kVehicles / kAssociations)) + ",AUTOMEZZO "
                   + QByteArray::number(i).rightJustified(5, '0') + " TARGA FI"
                   + QByteArray::number(i) + ",CAMPO 1,01/12/2026,08.00,,,TRASPORTO,"
                   + (i % 7 ? "L" : "A"));
    }
    {
        Writer w(folder.path(File::Attrezzature));
        for (int i = 0; i < kEquipment; ++i)
            w.line(associationName(i / (kEquipment / kAssociations)) + ",ATTREZZATURA "
                   + QByteArray::number(i).rightJustified(5, '0') + ",L," + num(1000));
    }
    {
        Writer w(folder.path(File::Volontari));
        for (int i = 0; i < kVolunteers; ++i)
            w.line(associationName(i / (kVolunteers / kAssociations)) + ",COGNOME"
                   + QByteArray::number(i) + ",NOME" + QByteArray::number(i % 211) + ",,,,,,,");
    }
    {
        Writer att(folder.path(File::Attivita));
        Writer ris(folder.path(File::Risorse));
        const char *types[] = {"ATTR", "AUTO", "VOL.", "VOL>"};
        for (int a = 1; a <= kActivities; ++a) {
            const bool open = a % 10 == 0;
            att.line(num(a) + ",01/12/2026,10.00,"
                     + (a % 20 == 0 ? QByteArray(",") : "01/12/2026,11.00") + ","
                     + (open ? QByteArray(",") : "02/12/2026,18.00") + ",INTERVENTO "
                     + QByteArray::number(a % 37) + ",LOCALITA " + QByteArray::number(a % 101)
                     + ",RICHIEDENTE " + QByteArray::number(a % 13) + ",NOTE "
                     + QByteArray::number(a) + "," + (open ? "A" : "C"));
            const int n = resourcesOf(a);
            for (int r = 0; r < n; ++r) {
                // In the order the activity window writes them: by type, then
                // association, then description.
                const int assoc = (a * 7) % (kAssociations - kMeasuredLines) + r;
                ris.line(num(a) + "," + types[r * 4 / n] + "," + QByteArray::number(1 + r % 5) + ","
                         + associationName(assoc) + ",RISORSA "
                         + QByteArray::number(r).rightJustified(2, '0') + "," + (open ? "O" : "L"));
            }
        }
    }
    {
        Writer w(folder.path(File::Emergenza));
        w.line("EMERGENZA DI PROVA AL LIMITE DEL FORMATO");
    }
    {
        Writer w(folder.path(File::NumeroProt));
        w.line(num(kActivities));
    }
}

} // namespace ceiling
