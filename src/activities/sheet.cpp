#include "activities/sheet.h"

namespace sheet {

QStringList lines(const Fields &f)
{
    QStringList out;
    out << QStringLiteral("    Foglio di accompagnamento per l'attività N.") + f.numprot;
    out << QString() << QString();
    out << QStringLiteral("    Data richiesta: ") + f.datari
               + QStringLiteral("      ora richiesta: ") + f.orari;
    out << QStringLiteral("    Data inizio   : ") + f.datain
               + QStringLiteral("      ora inizio   : ") + f.orain;
    out << QStringLiteral("    Data fine     : ") + f.datafi
               + QStringLiteral("      ora fine     : ") + f.orafi;
    out << QString();
    out << QStringLiteral("    Località      : ") + f.loc;
    out << QStringLiteral("    Richiedente   : ") + f.ric;
    out << QString();
    out << QStringLiteral("    Tipo attività : ") + f.tipoatt;
    out << QStringLiteral("    Note          : ") + f.note.left(50);
    if (f.note.size() > 50)
        out << QString(18, QLatin1Char(' ')) + QStringLiteral(": ") + f.note.mid(50, 50);
    out << QString() << QString();
    out << QStringLiteral("    Risorse utilizzate : ");
    out << QString();
    for (const QString &r : f.resources) out << QStringLiteral("   ") + r;
    return out;
}

printing::Printout printout(const Fields &f)
{
    printing::Printout p;
    p.points = 10;
    p.orientation = Orientation::Portrait;
    p.lines = lines(f);
    return p;
}

} // namespace sheet
