#include "activities/lists.h"

#include "activities/records.h"
#include "archive/recordstream.h"
#include "archive/rewrite.h"
#include "archive/text.h"

#include <QHash>
#include <QSet>

using archive::Record;

namespace activities {

QString protocolColumn(qint16 n) { return text::alignRight(QString::number(n), 6); }

QString protocolOf(const QString &listLine)
{
    QString p = listLine.left(6);
    int i = 0;
    while (i < p.size() && p[i] == QLatin1Char(' ')) ++i;
    return p.mid(i);
}

QString shortLine(const Record &a)
{
    const QChar sp(QLatin1Char(' '));
    return protocolColumn(a.number(NumProt)) + sp + a.at(DataRi) + sp + a.at(OraRi) + sp + a.at(Loc)
           + sp + a.at(TipoAtt);
}

QString shortHeadings()
{
    return text::atColumns({{0, text::alignRight(QStringLiteral("Prot."), 6)},
                            {7, QStringLiteral("Data ric.")},
                            {18, QStringLiteral("Ora")},
                            {24, QStringLiteral("Località e tipo di attività")}});
}

QStringList activityBlock(const Record &a)
{
    QStringList out;
    out << protocolColumn(a.number(NumProt)) + QStringLiteral("  Data ric.    ") + a.at(DataRi)
               + QStringLiteral("  ora ric.  ") + a.at(OraRi) + QStringLiteral("  STATO:")
               + text::capitals(stateWord(a.at(Stato)));
    out << QStringLiteral("        Data iniz.   ") + a.at(DataIn) + QStringLiteral("  ora iniz. ")
               + a.at(OraIn);
    out << QStringLiteral("        Data fine    ") + a.at(DataFi) + QStringLiteral("  ora fine  ")
               + a.at(OraFi);
    out << QStringLiteral("        Richiedente: ") + a.at(Ric);
    out << QStringLiteral("        Località   : ") + a.at(Loc);
    out << QStringLiteral("        Attività   : ") + a.at(TipoAtt);
    const QString &note = a.at(Note);
    if (note.size() <= 50) {
        out << QStringLiteral("        Note       : ") + note;
    } else {
        out << QStringLiteral("        Note       : ") + note.left(50);
        out << QString(21, QLatin1Char(' ')) + note.mid(50, 50);
    }
    return out;
}

QString chronologicalResourceLine(const Record &r)
{
    // Association and description stand in 50 padded columns wherever they
    // are shown; this list shows the first 40 of each.
    return QStringLiteral("        Risorse    : ") + r.at(RTipo) + QLatin1Char(' ') + r.at(RNumero)
           + QLatin1Char(' ') + text::fit(r.at(RAssociazione), 40) + QLatin1Char(' ')
           + text::fit(r.at(RDescrizione), 40);
}

QString chronologicalHeadings()
{
    return text::atColumns({{0, text::alignRight(QStringLiteral("Prot."), 6)},
                            {8, QStringLiteral("Richiesta, inizio, fine, stato, luogo e risorse "
                                               "di ogni attività")}});
}

QString chronologicalHeading(const QString &emergencyName)
{
    return QString(15, QLatin1Char(' ')) + emergencyName
           + QStringLiteral(" ELENCO DELLE ATTIVITA' IN ORDINE CRONOLOGICO");
}

QString blockRule() { return QString(81, QLatin1Char('_')); }

namespace {

// Walks risorse.csv once beside attivita.csv. The resources of an activity
// are the first run of consecutive lines carrying its number; runs passed on
// the way to another number are kept, so an archive out of order still gives
// every activity its own first run.
class ResourceWalk {
public:
    explicit ResourceWalk(const QString &path) : m_stream(path, resourceFormat()) {}

    QStringList linesOf(qint16 n)
    {
        const auto known = m_runs.constFind(n);
        if (known != m_runs.constEnd()) return *known;
        while (!m_end) {
            if (!advance()) break;
            if (m_closed && m_closedNumber == n) return m_runs.value(n);
        }
        return {};
    }

private:
    // Reads until one run ends; false at the end of the file with no run
    // ended on the way.
    bool advance()
    {
        m_closed = false;
        Record r;
        while (m_stream.next(r)) {
            const qint16 rn = r.number(RNumProt);
            if (m_inRun && rn == m_runNumber) {
                m_run << chronologicalResourceLine(r);
                continue;
            }
            const bool ended = m_inRun && closeRun();
            m_inRun = true;
            m_runNumber = rn;
            m_run = QStringList{chronologicalResourceLine(r)};
            if (ended) return true;
        }
        m_end = true;
        return m_inRun && closeRun();
    }

    // Keeps the run unless an earlier run of the same number came first.
    bool closeRun()
    {
        m_inRun = false;
        if (m_runs.contains(m_runNumber)) return false;
        m_runs.insert(m_runNumber, m_run);
        m_closed = true;
        m_closedNumber = m_runNumber;
        return true;
    }

    archive::RecordStream m_stream;
    QHash<qint16, QStringList> m_runs; // first run of every number passed
    QStringList m_run;
    qint16 m_runNumber = 0;
    bool m_inRun = false;
    bool m_end = false;
    bool m_closed = false;
    qint16 m_closedNumber = 0;
};

} // namespace

QStringList chronologicalList(const QString &attivitaPath, const QString &risorsePath,
                              const QString &emergencyName)
{
    QStringList out;
    out << chronologicalHeading(emergencyName) << QString();
    ResourceWalk resources(risorsePath);
    archive::RecordStream activities(attivitaPath, activityFormat());
    Record a;
    while (activities.next(a)) {
        out << activityBlock(a);
        out << resources.linesOf(a.number(NumProt));
        out << blockRule();
    }
    return out;
}

QStringList shortList(const QString &attivitaPath, ShortFilter filter)
{
    QStringList out;
    archive::readRecords(attivitaPath, activityFormat(), [&](const Record &a) {
        const QString &s = a.at(Stato);
        if ((filter == ShortFilter::Closed && s != QLatin1String("C"))
            || (filter == ShortFilter::Cancelled && s != QLatin1String("S")))
            return true;
        out << shortLine(a);
        return true;
    });
    return out;
}

QStringList searchByType(const QString &attivitaPath, const QString &typed)
{
    const QString wanted = text::capitals(typed);
    QStringList out;
    archive::readRecords(attivitaPath, activityFormat(), [&](const Record &a) {
        // An empty text is found in every type that is not empty itself.
        const QString &type = a.at(TipoAtt);
        if (!type.isEmpty() && type.contains(wanted)) out << shortLine(a);
        return true;
    });
    return out;
}

} // namespace activities
