#include "reports/engagement.h"

#include "archive/text.h"
#include "reports/csv.h"

#include <QHash>
#include <algorithm>
#include <map>

namespace reports {

namespace {

struct CodeOrder {
    bool operator()(const QString &a, const QString &b) const
    {
        return text::compareCode(a, b) < 0;
    }
};

// Where a resource line goes: its association, its activity, its place in
// the file.
struct Place {
    int owner;
    int number;
    int index;
    bool operator<(const Place &o) const
    {
        if (owner != o.owner) return owner < o.owner;
        if (number != o.number) return number < o.number;
        return index < o.index;
    }
};

} // namespace

qint64 Engagement::volunteerDays(const Given &g) const
{
    const Activity &a = activityOf(g);
    return a.cancelled ? 0 : g.volunteers * a.days;
}

Engagement buildEngagement(const archive::WorkingFolder &folder, const QString &emergency,
                           const QDate &today)
{
    Engagement e;
    e.emergency = emergency;
    e.today = today;
    const QVector<AssociationCount> names = readAssociations(folder, e.skipped);
    Archives archives = readActivities(folder, today);
    for (const auto &f : archives.skipped.files) e.skipped.add(f.first, f.second);

    // Places are ints, as in Archives.
    QHash<QString, int> byKey; // association key -> index
    for (const AssociationCount &a : names) {
        const QString key = nameKey(a.name);
        if (byKey.contains(key)) continue;
        byKey.insert(key, int(e.associations.size()));
        AssociationEngagement part;
        part.name = a.name;
        e.associations << part;
    }

    // The same few names come on every line: each stored text is looked up
    // once. Names the archive lacks go after its own, by character code.
    const QVector<Resource> &lines = archives.resources;
    QHash<QString, int> byText;
    std::map<QString, QString, CodeOrder> others;
    auto ownerOf = [&](const QString &name) {
        const auto known = byText.constFind(name);
        if (known != byText.constEnd()) return *known;
        const QString key = nameKey(name);
        const int owner = byKey.value(key, -1);
        if (owner < 0) others.emplace(key, name);
        byText.insert(name, owner);
        return owner;
    };
    QVector<Place> places(lines.size());
    for (int i = 0; i < lines.size(); ++i)
        places[i] = {ownerOf(lines[i].association), lines[i].number, i};
    for (const auto &[key, name] : others) {
        byKey.insert(key, int(e.associations.size()));
        AssociationEngagement part;
        part.name = name;
        part.inArchive = false;
        e.associations << part;
    }
    if (!others.empty())
        for (Place &p : places)
            if (p.owner < 0) p.owner = byKey.value(nameKey(lines[p.index].association));
    std::sort(places.begin(), places.end());

    e.order.reserve(places.size());
    for (const Place &p : places) e.order << p.index;

    int i = 0;
    for (int owner = 0; owner < e.associations.size(); ++owner) {
        AssociationEngagement &a = e.associations[owner];
        a.from = int(e.given.size());
        while (i < places.size() && places[i].owner == owner) {
            Given g;
            const int number = places[i].number;
            g.activity = archives.indexOf(qint16(number));
            g.from = i;
            qint64 counted = 0, named = 0;
            for (; i < places.size() && places[i].owner == owner && places[i].number == number; ++i) {
                const Resource &r = lines[places[i].index];
                switch (r.kind) {
                case Resource::Volunteers: counted += r.quantity; break;
                case Resource::Named:
                    ++named;
                    ++g.shown;
                    break;
                case Resource::Vehicle:
                    ++g.vehicles;
                    ++g.shown;
                    break;
                case Resource::Equipment:
                    g.pieces += r.quantity;
                    ++g.shown;
                    break;
                case Resource::Other: break;
                }
            }
            g.to = i;
            g.volunteers = std::max(counted, named);
            e.given << g;
            const Activity &act = archives.activities.at(g.activity);
            if (act.cancelled) {
                ++a.cancelled;
                continue;
            }
            ++a.activityCount;
            a.volunteers += g.volunteers;
            a.volunteerDays += g.volunteers * act.days;
            a.vehicles += g.vehicles;
            a.pieces += g.pieces;
            if (act.undated) ++a.undated;
        }
        a.to = int(e.given.size());
    }
    e.activities = std::move(archives.activities);
    e.resources = std::move(archives.resources);
    return e;
}

namespace {

const QString kIndent(7, QLatin1Char(' '));

QString heading()
{
    return Columns()
        .right(QStringLiteral("Prot."), 6)
        .blank()
        .fit(QStringLiteral("Richiesta"), 10)
        .blank()
        .text(whenHeading())
        .blank()
        .fit(QStringLiteral("Stato"), 10)
        .blank()
        .text(QStringLiteral("Località - Tipo"))
        .take();
}

QString countsLine(const Engagement &e, const Given &g)
{
    const Activity &a = e.activityOf(g);
    Columns c(72);
    c.text(kIndent).text(QLatin1String("volontari ")).text(QString::number(g.volunteers));
    if (a.cancelled) return c.text(QStringLiteral(" (attività annullata, non contata)")).take();
    if (a.undated)
        return c.text(QLatin1String(", giorni non contati (date mancanti o illeggibili)")).take();
    return c.text(QLatin1String(", giorni "))
        .text(QString::number(a.days))
        .text(QLatin1String(", volontari-giorno "))
        .text(QString::number(e.volunteerDays(g)))
        .take();
}

QString plural(qint64 n, const char *one, const char *many)
{
    return QString::number(n) + QLatin1Char(' ') + QString::fromUtf8(n == 1 ? one : many);
}

QString resourceLine(const Resource &r)
{
    const qsizetype size = kIndent.size() + 14 + r.description.size();
    if (r.kind == Resource::Equipment)
        return Columns(size + 14)
            .text(kIndent)
            .text(QLatin1String("attrezzatura  "))
            .text(r.description)
            .text(QLatin1String(", pezzi "))
            .text(QString::number(r.quantity))
            .take();
    if (r.kind == Resource::Vehicle)
        return Columns(size).text(kIndent).text(QLatin1String("automezzo     ")).text(r.description).take();
    return Columns(size).text(kIndent).text(QLatin1String("volontario    ")).text(r.description).take();
}

bool shownLine(const Resource &r)
{
    return r.kind == Resource::Equipment || r.kind == Resource::Vehicle || r.kind == Resource::Named;
}

QString totalsLine(const AssociationEngagement &a)
{
    return QStringLiteral("TOTALI: ") + plural(a.activityCount, "attività", "attività")
           + QStringLiteral(", ") + plural(a.volunteers, "volontario", "volontari")
           + QStringLiteral(", ") + QString::number(a.volunteerDays)
           + QStringLiteral(" volontari-giorno, ") + plural(a.vehicles, "automezzo", "automezzi")
           + QStringLiteral(", ") + plural(a.pieces, "pezzo", "pezzi");
}

QString apartLine(const AssociationEngagement &a)
{
    QStringList apart;
    if (a.cancelled)
        apart << QStringLiteral("annullate, non contate: ") + QString::number(a.cancelled);
    if (a.undated)
        apart << QStringLiteral("con date mancanti o illeggibili, giorni non contati: ")
                     + QString::number(a.undated);
    return apart.isEmpty() ? QString()
                           : QStringLiteral("        ") + apart.join(QStringLiteral("; "));
}

// Rows of an association's block: name, the activities (or "nessuna
// attività"), totals, what was counted apart, the rule.
int blockRows(const Engagement &e, const AssociationEngagement &a)
{
    int rows = 3 + (a.cancelled || a.undated ? 1 : 0);
    if (a.from == a.to) return rows + 1;
    rows += 1;
    for (int g = a.from; g < a.to; ++g) rows += 2 + e.given[g].shown;
    return rows;
}

} // namespace

EngagementLines::EngagementLines(const Engagement &e, int index) : m_e(&e)
{
    m_rows.fill(-1, e.given.size());
    int row = 2; // the heading and an empty line
    for (int i = 0; i < e.associations.size(); ++i) {
        if (index >= 0 && index != i) continue;
        const AssociationEngagement &a = e.associations[i];
        m_shown << i;
        m_first << row;
        int r = row + 2;
        for (int g = a.from; g < a.to; ++g) {
            m_rows[g] = r;
            r += 2 + e.given[g].shown;
        }
        row += blockRows(e, a);
    }
    if (e.skipped.total()) row += 2;
    m_count = row;
}

QString EngagementLines::line(int row) const
{
    const Engagement &e = *m_e;
    if (row == 0)
        return reportHeading(e.emergency, QStringLiteral("IMPIEGO PER ASSOCIAZIONE"), e.today);
    if (row == 1 || row < 0 || row >= m_count) return {};
    if (e.skipped.total() && row >= m_count - 2)
        return row == m_count - 1 ? e.skipped.note() : QString();

    const int block = int(std::upper_bound(m_first.begin(), m_first.end(), row) - m_first.begin())
                      - 1;
    const AssociationEngagement &a = e.associations[m_shown[block]];
    const int at = row - m_first[block];
    if (at == 0)
        return QStringLiteral("ASSOCIAZIONE: ") + a.name
               + (a.inArchive ? QString() : QStringLiteral("  (nome non presente in archivio)"));
    int end = 1;
    if (a.from == a.to) {
        if (at == 1) return kIndent + QStringLiteral("nessuna attività");
        end = 2;
    } else {
        if (at == 1) return heading();
        const int last = a.to - 1;
        end = m_rows[last] - m_first[block] + 2 + e.given[last].shown;
        if (at < end) {
            // The activity whose rows hold this one.
            const auto first = m_rows.begin() + a.from;
            const int g = int(std::upper_bound(first, m_rows.begin() + a.to, row) - m_rows.begin())
                          - 1;
            const Given &given = e.given[g];
            const int k = row - m_rows[g];
            const Activity &act = e.activityOf(given);
            if (k == 0)
                return Columns(64 + act.loc.size() + act.tipo.size())
                    .number(act.number, 6)
                    .blank()
                    .fit(act.datari, 10)
                    .blank()
                    .when(act)
                    .blank()
                    .fit(act.word, 10)
                    .blank()
                    .where(act)
                    .take();
            if (k == 1) return countsLine(e, given);
            for (int i = given.from, n = 2; i < given.to; ++i) {
                const Resource &r = e.line(i);
                if (!shownLine(r)) continue;
                if (n++ == k) return resourceLine(r);
            }
            return {};
        }
    }
    const int tail = at - end;
    if (tail == 0) return totalsLine(a);
    const QString apart = apartLine(a);
    if (!apart.isEmpty() && tail == 1) return apart;
    return rule();
}

QStringList EngagementLines::all() const
{
    QStringList out;
    out.reserve(m_count);
    for (int i = 0; i < m_count; ++i) out << line(i);
    return out;
}

QStringList engagementLines(const Engagement &e, int index)
{
    return EngagementLines(e, index).all();
}

QByteArray engagementCsv(const Engagement &e, int index)
{
    QList<QStringList> rows;
    for (int i = 0; i < e.associations.size(); ++i) {
        if (index >= 0 && index != i) continue;
        const AssociationEngagement &a = e.associations.at(i);
        for (int gi = a.from; gi < a.to; ++gi) {
            const Given &g = e.given[gi];
            const Activity &act = e.activityOf(g);
            QStringList named, vehicles, equipment;
            for (int ri = g.from; ri < g.to; ++ri) {
                const Resource &r = e.line(ri);
                if (r.kind == Resource::Named) named << r.description;
                if (r.kind == Resource::Vehicle) vehicles << r.description;
                if (r.kind == Resource::Equipment)
                    equipment << r.description + QStringLiteral(" (") + QString::number(r.quantity)
                                     + QLatin1Char(')');
            }
            const bool days = !act.cancelled && !act.undated;
            rows << QStringList{a.name,
                                QString::number(act.number),
                                act.datari,
                                act.datain,
                                act.orain,
                                act.datafi,
                                act.orafi,
                                act.word,
                                act.loc,
                                act.tipo,
                                QString::number(g.volunteers),
                                named.join(QStringLiteral("; ")),
                                vehicles.join(QStringLiteral("; ")),
                                equipment.join(QStringLiteral("; ")),
                                QString::number(g.pieces),
                                days ? QString::number(act.days) : QString(),
                                days ? QString::number(e.volunteerDays(g)) : QString()};
        }
    }
    if (e.skipped.total()) rows << QStringList{e.skipped.note()};
    return csv::document({QStringLiteral("Associazione"), QStringLiteral("Protocollo"),
                          QStringLiteral("Data richiesta"), QStringLiteral("Data inizio"),
                          QStringLiteral("Ora inizio"), QStringLiteral("Data fine"),
                          QStringLiteral("Ora fine"), QStringLiteral("Stato"),
                          QStringLiteral("Località"), QStringLiteral("Tipo"),
                          QStringLiteral("Volontari"), QStringLiteral("Nominativi"),
                          QStringLiteral("Automezzi"), QStringLiteral("Attrezzature"),
                          QStringLiteral("Pezzi"), QStringLiteral("Giorni"),
                          QStringLiteral("Volontari-giorno")},
                         rows);
}

} // namespace reports
