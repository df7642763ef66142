#include "reports/archives.h"

#include "activities/records.h"
#include "archive/io.h"
#include "archive/record.h"
#include "archive/text.h"
#include "associations/records.h"

#include <QFile>
#include <QFileInfo>

namespace reports {

namespace {

int digit(QChar c)
{
    return c >= QLatin1Char('0') && c <= QLatin1Char('9') ? c.unicode() - '0' : -1;
}

int digits(const QString &s, int from, int count)
{
    int v = 0;
    for (int i = from; i < from + count; ++i) {
        const int d = digit(s[i]);
        if (d < 0) return -1;
        v = v * 10 + d;
    }
    return v;
}

} // namespace

std::optional<QDate> readDate(const QString &text)
{
    if (text.size() != 10 || text[2] != QLatin1Char('/') || text[5] != QLatin1Char('/')) return {};
    const int d = digits(text, 0, 2), m = digits(text, 3, 2), y = digits(text, 6, 4);
    if (d < 0 || m < 0 || y < 0) return {};
    const QDate date(y, m, d);
    if (!date.isValid()) return {};
    return date;
}

QString dateColumn(const QString &text) { return readDate(text) ? text : QString(); }

Columns &Columns::fit(const QString &t, int width)
{
    if (t.size() >= width) {
        m_s += QStringView(t).left(width);
    } else {
        m_s += t;
        m_s.resize(m_s.size() + width - t.size(), QLatin1Char(' '));
    }
    return *this;
}

Columns &Columns::right(const QString &t, int width)
{
    if (t.size() < width) m_s.resize(m_s.size() + width - t.size(), QLatin1Char(' '));
    m_s += t;
    return *this;
}

Columns &Columns::when(const Activity &a)
{
    return fit(a.datain, 10).blank().fit(a.orain, 5).blank().fit(a.datafi, 10).blank().fit(a.orafi, 5);
}

Columns &Columns::where(const Activity &a)
{
    if (!a.inArchive) return text(QStringLiteral("(attività non presente in archivio)"));
    return text(a.loc).text(QLatin1String(" - ")).text(a.tipo);
}

QString whenHeading()
{
    return text::fit(QStringLiteral("Inizio"), 16) + QLatin1Char(' ')
           + text::fit(QStringLiteral("Fine"), 16);
}

QString reportHeading(const QString &emergency, const QString &title, const QDate &today)
{
    return (emergency.isEmpty() ? QString() : emergency + QStringLiteral(" - ")) + title
           + QStringLiteral(" AL ") + today.toString(QStringLiteral("dd/MM/yyyy"));
}

QString rule() { return QString(80, QLatin1Char('_')); }

Activity activityOf(qint16 number, const QStringList &f, const QDate &today)
{
    using namespace activities;
    Activity a;
    a.number = number;
    a.datari = dateColumn(f.at(DataRi));
    a.orari = f.at(OraRi);
    a.datain = dateColumn(f.at(DataIn));
    a.orain = f.at(OraIn);
    a.datafi = dateColumn(f.at(DataFi));
    a.orafi = f.at(OraFi);
    a.tipo = f.at(TipoAtt);
    a.loc = f.at(Loc);
    a.stato = f.at(Stato);
    const QString word = activities::stateWord(a.stato);
    a.word = word.isEmpty() ? a.stato : text::capitals(word);
    a.cancelled = a.stato == QLatin1String("S");
    if (a.cancelled) return a;
    const bool open = a.stato == QLatin1String("A");
    const QString &startText = f.at(DataIn);
    const QString &endText = f.at(DataFi);
    // Requested and not started yet: no day of service so far. One with a
    // start time and no start date has started on a day nobody can tell: it
    // is counted apart.
    if (open && startText.isEmpty() && endText.isEmpty() && f.at(OraIn).isEmpty()) return a;
    const auto start = readDate(startText);
    std::optional<QDate> end;
    if (!endText.isEmpty()) end = readDate(endText);
    // An open activity has served up to today at most: an end date typed
    // ahead is a forecast, one already past is the end the operator gave.
    if (open && (endText.isEmpty() || (end && *end > today))) end = today;
    if (!start || !end || *end < *start) {
        a.undated = true;
        return a;
    }
    a.first = *start;
    a.last = *end;
    a.days = int(start->daysTo(*end)) + 1;
    return a;
}

void Skipped::add(const QString &fileName, int count)
{
    if (count > 0) files.append({fileName, count});
}

int Skipped::total() const
{
    int n = 0;
    for (const auto &f : files) n += f.second;
    return n;
}

QString Skipped::note() const
{
    if (files.isEmpty()) return {};
    QStringList parts;
    for (const auto &f : files) parts << f.first + QLatin1Char(' ') + QString::number(f.second);
    return QStringLiteral("Righe illeggibili non considerate: ") + parts.join(QStringLiteral(", "))
           + QLatin1Char('.');
}

QString nameKey(const QString &name) { return text::fit(name, 50); }

void readEach(const QString &path, const archive::RecordFormat &format, Skipped &skipped,
              const std::function<bool(const archive::Record &)> &each)
{
    QFile in(path);
    if (!in.open(QIODevice::ReadOnly)) return;
    archive::LineReader reader(&in);
    QByteArray line;
    int bad = 0;
    while (reader.next(line)) {
        if (line.isEmpty()) continue;
        const archive::Record r = archive::parseRecord(line, format);
        if (r.damaged || !each(r)) ++bad;
    }
    skipped.add(QFileInfo(path).fileName(), bad);
}

int Archives::indexOf(qint16 n)
{
    const auto it = byNumber.constFind(n);
    if (it != byNumber.constEnd()) return *it;
    Activity missing;
    missing.number = n;
    missing.inArchive = false;
    missing.undated = true;
    byNumber.insert(n, int(activities.size()));
    activities << missing;
    return int(activities.size() - 1);
}

Archives readActivities(const archive::WorkingFolder &folder, const QDate &today, unsigned kinds)
{
    using namespace activities;
    Archives out;
    readEach(folder.path(archive::File::Attivita), activityFormat(), out.skipped,
             [&](const archive::Record &r) {
                 const qint16 n = r.number(NumProt);
                 if (!out.byNumber.contains(n)) out.byNumber.insert(n, int(out.activities.size()));
                 out.activities << activityOf(n, r.fields, today);
                 return true;
             });
    const QString risorse = folder.path(archive::File::Risorse);
    // About 60 bytes a line; all of them when every kind is kept.
    if (kinds == kAllKinds) out.resources.reserve(QFileInfo(risorse).size() / 60);
    readEach(risorse, resourceFormat(), out.skipped, [&](const archive::Record &r) {
        const auto q = text::parseNumber(r.at(RNumero));
        if (!q) return false; // a quantity that is no number: not a resource line
        Resource res;
        const QString &tipo = r.at(RTipo);
        res.kind = tipo == QLatin1String("ATTR")   ? Resource::Equipment
                   : tipo == QLatin1String("AUTO") ? Resource::Vehicle
                   : tipo == QLatin1String("VOL.") ? Resource::Volunteers
                   : tipo == QLatin1String("VOL>") ? Resource::Named
                                                   : Resource::Other;
        if (res.kind == Resource::Other) return false; // no resource type: a damaged line
        if (!(kinds & kindBit(res.kind))) return true;
        res.number = r.number(RNumProt);
        res.quantity = *q;
        res.association = r.at(RAssociazione);
        res.description = r.at(RDescrizione);
        res.engaged = r.at(RStato) == QLatin1String("O");
        out.resources << res;
        return true;
    });
    return out;
}

QVector<AssociationCount> readAssociations(const archive::WorkingFolder &folder, Skipped &skipped)
{
    QVector<AssociationCount> out;
    readEach(folder.path(archive::File::Associazioni), associations::format(), skipped,
             [&](const archive::Record &r) {
                 out << AssociationCount{r.at(associations::Denominazione),
                                         r.number(associations::Volontari)};
                 return true;
             });
    return out;
}

} // namespace reports
