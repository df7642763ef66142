#include "reports/engagement.h"

#include "archive/text.h"
#include "reports/csv.h"

#include <QHash>
#include <algorithm>
#include <map>

namespace reports {

int Given::pieces() const
{
    int n = 0;
    for (const auto &e : equipment) n += e.second;
    return n;
}

namespace {

struct CodeOrder {
    bool operator()(const QString &a, const QString &b) const { return text::compareCode(a, b) < 0; }
};

void addLine(Given &g, const Resource &r)
{
    if (r.tipo == QLatin1String("VOL."))
        g.volunteers += r.quantity;
    else if (r.tipo == QLatin1String("VOL>"))
        g.named << r.description;
    else if (r.tipo == QLatin1String("AUTO"))
        g.vehicles << r.description;
    else if (r.tipo == QLatin1String("ATTR"))
        g.equipment.append({r.description, r.quantity});
}

void total(AssociationEngagement &a)
{
    std::sort(a.activities.begin(), a.activities.end(),
              [](const Given &x, const Given &y) { return x.activity.number < y.activity.number; });
    for (Given &g : a.activities) {
        // A named volunteer is one of the volunteers, counted or not.
        g.volunteers = std::max(g.volunteers, int(g.named.size()));
        if (!g.counted()) {
            ++a.cancelled;
            continue;
        }
        ++a.activityCount;
        a.volunteers += g.volunteers;
        a.volunteerDays += g.volunteerDays();
        a.vehicles += g.vehicles.size();
        a.pieces += g.pieces();
        if (g.activity.undated) ++a.undated;
    }
}

QString plural(int n, const char *one, const char *many)
{
    return QString::number(n) + QLatin1Char(' ') + QString::fromUtf8(n == 1 ? one : many);
}

} // namespace

Engagement buildEngagement(const archive::WorkingFolder &folder, const QString &emergency,
                           const QDate &today)
{
    Engagement e;
    e.emergency = emergency;
    e.today = today;
    const QVector<AssociationCount> names = readAssociations(folder, e.skipped);
    const Archives archives = readActivities(folder, today);
    for (const auto &f : archives.skipped.files) e.skipped.add(f.first, f.second);

    QHash<QString, int> indexOf; // association key -> index
    for (const AssociationCount &a : names) {
        const QString key = associationKey(a.name);
        if (indexOf.contains(key)) continue;
        indexOf.insert(key, e.associations.size());
        e.associations.append(AssociationEngagement{a.name, true, {}, 0, 0, 0, 0, 0, 0, 0});
    }
    // Names that only resource lines carry, placed after the archive's.
    std::map<QString, QString, CodeOrder> others;
    QVector<int> lineAssociation(archives.resources.size());
    for (int i = 0; i < archives.resources.size(); ++i) {
        const QString key = associationKey(archives.resources.at(i).association);
        const auto it = indexOf.constFind(key);
        if (it != indexOf.constEnd()) {
            lineAssociation[i] = *it;
        } else {
            lineAssociation[i] = -1;
            others.emplace(key, archives.resources.at(i).association);
        }
    }
    for (const auto &[key, name] : others) {
        indexOf.insert(key, e.associations.size());
        e.associations.append(AssociationEngagement{name, false, {}, 0, 0, 0, 0, 0, 0, 0});
    }

    QVector<QHash<qint16, int>> given(e.associations.size()); // activity -> row, per association
    for (int i = 0; i < archives.resources.size(); ++i) {
        const Resource &r = archives.resources.at(i);
        const int a = lineAssociation[i] >= 0 ? lineAssociation[i]
                                              : indexOf.value(associationKey(r.association));
        AssociationEngagement &assoc = e.associations[a];
        auto row = given[a].constFind(r.number);
        if (row == given[a].constEnd()) {
            row = given[a].insert(r.number, assoc.activities.size());
            Given g;
            g.activity = archives.activity(r.number);
            assoc.activities.append(g);
        }
        addLine(assoc.activities[*row], r);
    }
    for (AssociationEngagement &a : e.associations) total(a);
    return e;
}

namespace {

QString heading()
{
    return text::alignRight(QStringLiteral("Prot."), 6) + QLatin1Char(' ')
           + text::fit(QStringLiteral("Richiesta"), 10) + QLatin1Char(' ') + whenHeading()
           + QLatin1Char(' ') + text::fit(QStringLiteral("Stato"), 10) + QLatin1Char(' ')
           + QString::fromUtf8("Località - Tipo");
}

QString countsLine(const Given &g)
{
    const QString indent(7, QLatin1Char(' '));
    const QString vol = QStringLiteral("volontari ") + QString::number(g.volunteers);
    if (!g.counted()) return indent + vol + QString::fromUtf8(" (attività annullata, non contata)");
    if (g.activity.undated)
        return indent + vol + QStringLiteral(", giorni non contati (date mancanti o illeggibili)");
    return indent + vol + QStringLiteral(", giorni ") + QString::number(g.activity.days)
           + QStringLiteral(", volontari-giorno ") + QString::number(g.volunteerDays());
}

QStringList blockOf(const AssociationEngagement &a)
{
    QStringList out;
    const QString indent(7, QLatin1Char(' '));
    out << QStringLiteral("ASSOCIAZIONE: ") + a.name
               + (a.inArchive ? QString() : QStringLiteral("  (nome non presente in archivio)"));
    if (a.activities.isEmpty()) {
        out << indent + QString::fromUtf8("nessuna attività");
    } else {
        out << heading();
        for (const Given &g : a.activities) {
            const Activity &act = g.activity;
            out << text::alignRight(QString::number(act.number), 6) + QLatin1Char(' ')
                       + text::fit(act.datari, 10) + QLatin1Char(' ') + whenColumns(act)
                       + QLatin1Char(' ') + stateColumn(act) + QLatin1Char(' ') + whereText(act);
            out << countsLine(g);
            for (const QString &n : g.named) out << indent + QStringLiteral("volontario    ") + n;
            for (const QString &v : g.vehicles) out << indent + QStringLiteral("automezzo     ") + v;
            for (const auto &p : g.equipment)
                out << indent + QStringLiteral("attrezzatura  ") + p.first + QStringLiteral(", pezzi ")
                           + QString::number(p.second);
        }
    }
    out << QStringLiteral("TOTALI: ") + plural(a.activityCount, "attività", "attività") + QStringLiteral(", ")
               + plural(a.volunteers, "volontario", "volontari") + QStringLiteral(", ")
               + QString::number(a.volunteerDays) + QStringLiteral(" volontari-giorno, ")
               + plural(a.vehicles, "automezzo", "automezzi") + QStringLiteral(", ")
               + plural(a.pieces, "pezzo", "pezzi");
    QStringList apart;
    if (a.cancelled) apart << QStringLiteral("annullate, non contate: ") + QString::number(a.cancelled);
    if (a.undated)
        apart << QStringLiteral("con date mancanti o illeggibili, giorni non contati: ")
                     + QString::number(a.undated);
    if (!apart.isEmpty()) out << QStringLiteral("        ") + apart.join(QStringLiteral("; "));
    out << rule();
    return out;
}

} // namespace

QStringList engagementLines(const Engagement &e, int index)
{
    QStringList out;
    out << e.emergency + QStringLiteral(" - IMPIEGO PER ASSOCIAZIONE AL ")
               + e.today.toString(QStringLiteral("dd/MM/yyyy"));
    out << QString();
    for (int i = 0; i < e.associations.size(); ++i)
        if (index < 0 || index == i) out << blockOf(e.associations.at(i));
    if (e.skipped.total()) out << QString() << e.skipped.note();
    return out;
}

QByteArray engagementCsv(const Engagement &e, int index)
{
    QList<QStringList> rows;
    for (int i = 0; i < e.associations.size(); ++i) {
        if (index >= 0 && index != i) continue;
        const AssociationEngagement &a = e.associations.at(i);
        for (const Given &g : a.activities) {
            const Activity &act = g.activity;
            QStringList equipment;
            for (const auto &p : g.equipment)
                equipment << p.first + QStringLiteral(" (") + QString::number(p.second) + QLatin1Char(')');
            const bool days = g.counted() && !act.undated;
            rows << QStringList{a.name, QString::number(act.number), act.datari, act.datain, act.orain,
                                act.datafi, act.orafi, act.stateWord(), act.loc, act.tipo,
                                QString::number(g.volunteers), g.named.join(QStringLiteral("; ")),
                                g.vehicles.join(QStringLiteral("; ")), equipment.join(QStringLiteral("; ")),
                                QString::number(g.pieces()),
                                days ? QString::number(act.days) : QString(),
                                days ? QString::number(g.volunteerDays()) : QString()};
        }
    }
    if (e.skipped.total()) rows << QStringList{e.skipped.note()};
    return csv::document({QStringLiteral("Associazione"), QStringLiteral("Protocollo"),
                          QStringLiteral("Data richiesta"), QStringLiteral("Data inizio"),
                          QStringLiteral("Ora inizio"), QStringLiteral("Data fine"),
                          QStringLiteral("Ora fine"), QStringLiteral("Stato"),
                          QString::fromUtf8("Località"), QStringLiteral("Tipo"),
                          QStringLiteral("Volontari"), QStringLiteral("Nominativi"),
                          QStringLiteral("Automezzi"), QStringLiteral("Attrezzature"),
                          QStringLiteral("Pezzi"), QStringLiteral("Giorni"),
                          QStringLiteral("Volontari-giorno")},
                         rows);
}

} // namespace reports
