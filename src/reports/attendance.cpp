#include "reports/attendance.h"

#include "archive/text.h"
#include "reports/csv.h"

#include <QHash>
#include <algorithm>
#include <limits>

namespace reports {

namespace {

// Calendar days covered by the activities counted; overlapping spans once.
int coveredDays(const QVector<Activity> &activities)
{
    QVector<QPair<qint64, qint64>> spans;
    for (const Activity &a : activities)
        if (!a.cancelled && a.days > 0) spans.append({a.first.toJulianDay(), a.last.toJulianDay()});
    std::sort(spans.begin(), spans.end());
    qint64 days = 0, end = std::numeric_limits<qint64>::min();
    for (const auto &s : spans) {
        const qint64 from = std::max(s.first, end + 1);
        if (s.second >= from) days += s.second - from + 1;
        end = std::max(end, s.second);
    }
    return int(days);
}

} // namespace

Attendance buildAttendance(const archive::WorkingFolder &folder, const QString &emergency,
                           const QDate &today)
{
    Attendance out;
    out.emergency = emergency;
    out.today = today;
    const Archives archives = readActivities(folder, today);
    out.skipped = archives.skipped;

    QHash<QString, int> indexOf; // association key + name -> volunteer
    QVector<QHash<qint16, bool>> seen;
    for (const Resource &r : archives.resources) {
        if (r.tipo != QLatin1String("VOL>")) continue;
        const QString key = associationKey(r.association) + r.description;
        auto it = indexOf.constFind(key);
        if (it == indexOf.constEnd()) {
            it = indexOf.insert(key, out.volunteers.size());
            out.volunteers.append(VolunteerAttendance{r.description, r.association, {}, 0, 0, 0});
            seen.append(QHash<qint16, bool>());
        }
        if (seen[*it].contains(r.number)) continue;
        seen[*it].insert(r.number, true);
        out.volunteers[*it].activities.append(archives.activity(r.number));
    }
    for (VolunteerAttendance &v : out.volunteers) {
        std::sort(v.activities.begin(), v.activities.end(),
                  [](const Activity &x, const Activity &y) { return x.number < y.number; });
        for (const Activity &a : v.activities) {
            if (a.cancelled)
                ++v.cancelled;
            else if (a.undated)
                ++v.undated;
        }
        v.days = coveredDays(v.activities);
    }
    std::sort(out.volunteers.begin(), out.volunteers.end(),
              [](const VolunteerAttendance &x, const VolunteerAttendance &y) {
                  const int c = text::compareCode(x.association, y.association);
                  return c != 0 ? c < 0 : text::compareCode(x.name, y.name) < 0;
              });
    return out;
}

namespace {

QString daysColumn(const Activity &a)
{
    return text::alignRight(a.cancelled || a.undated ? QStringLiteral("-") : QString::number(a.days), 6);
}

} // namespace

QVector<QStringList> attendanceBlocks(const Attendance &a)
{
    QVector<QStringList> out;
    const QString heading = a.emergency + QStringLiteral(" - PRESENZE DEI VOLONTARI AL ")
                            + a.today.toString(QStringLiteral("dd/MM/yyyy"));
    for (const VolunteerAttendance &v : a.volunteers) {
        QStringList b;
        b << heading << QString();
        b << QStringLiteral("Volontario  : ") + v.name;
        b << QStringLiteral("Associazione: ") + v.association;
        b << QString();
        b << text::alignRight(QStringLiteral("Prot."), 6) + QLatin1Char(' ') + whenHeading()
                 + QLatin1Char(' ') + text::alignRight(QStringLiteral("Giorni"), 6) + QLatin1Char(' ')
                 + text::fit(QStringLiteral("Stato"), 10) + QLatin1Char(' ')
                 + QStringLiteral("Località - Tipo");
        for (const Activity &act : v.activities)
            b << text::alignRight(QString::number(act.number), 6) + QLatin1Char(' ') + whenColumns(act)
                     + QLatin1Char(' ') + daysColumn(act) + QLatin1Char(' ') + stateColumn(act)
                     + QLatin1Char(' ') + whereText(act);
        b << QString();
        b << QStringLiteral("Giorni di servizio: ") + QString::number(v.days);
        QStringList apart;
        if (v.cancelled) apart << QStringLiteral("annullate, non contate: ") + QString::number(v.cancelled);
        if (v.undated)
            apart << QStringLiteral("con date mancanti o illeggibili, non contate: ")
                         + QString::number(v.undated);
        if (!apart.isEmpty()) b << QStringLiteral("Attività ") + apart.join(QStringLiteral("; "));
        b << QString() << QString();
        b << QStringLiteral("Data ______________     Firma del responsabile ______________________________");
        out << b;
    }
    if (a.skipped.total()) out << QStringList{a.skipped.note()};
    return out;
}

QByteArray attendanceCsv(const Attendance &a)
{
    QList<QStringList> rows;
    for (const VolunteerAttendance &v : a.volunteers)
        for (const Activity &act : v.activities)
            rows << QStringList{v.name, v.association, QString::number(act.number), act.datain,
                                act.orain, act.datafi, act.orafi, act.stateWord(), act.loc, act.tipo,
                                act.cancelled || act.undated ? QString() : QString::number(act.days)};
    if (a.skipped.total()) rows << QStringList{a.skipped.note()};
    return csv::document({QStringLiteral("Volontario"), QStringLiteral("Associazione"),
                          QStringLiteral("Protocollo"), QStringLiteral("Data inizio"),
                          QStringLiteral("Ora inizio"), QStringLiteral("Data fine"),
                          QStringLiteral("Ora fine"), QStringLiteral("Stato"),
                          QStringLiteral("Località"), QStringLiteral("Tipo"),
                          QStringLiteral("Giorni")},
                         rows);
}

} // namespace reports
