#include "reports/attendance.h"

#include "archive/text.h"
#include "reports/csv.h"

#include <QHash>
#include <QPair>
#include <algorithm>
#include <limits>

namespace reports {

namespace {

// Calendar days covered by the activities counted; overlapping spans once.
int coveredDays(const QVector<int> &list, const QVector<Activity> &activities)
{
    QVector<QPair<qint64, qint64>> spans;
    for (int i : list) {
        const Activity &a = activities.at(i);
        if (!a.cancelled && a.days > 0) spans.append({a.first.toJulianDay(), a.last.toJulianDay()});
    }
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
    Archives archives = readActivities(folder, today, kindBit(Resource::Named));
    out.skipped = archives.skipped;
    // A volunteer is a name within an association (its name on 50 columns).
    // Places are ints, as in Archives.
    QHash<QString, int> keyOf;      // association as stored -> key number
    QHash<QString, int> keyNumbers; // association key -> key number
    QHash<QPair<int, QString>, int> volunteerOf;
    for (const Resource &r : archives.resources) {
        if (r.kind != Resource::Named) continue;
        auto k = keyOf.constFind(r.association);
        if (k == keyOf.constEnd()) {
            const QString key = nameKey(r.association);
            auto n = keyNumbers.constFind(key);
            if (n == keyNumbers.constEnd()) n = keyNumbers.insert(key, int(keyNumbers.size()));
            k = keyOf.insert(r.association, *n);
        }
        const QPair<int, QString> who{*k, r.description};
        auto v = volunteerOf.constFind(who);
        if (v == volunteerOf.constEnd()) {
            v = volunteerOf.insert(who, int(out.volunteers.size()));
            VolunteerAttendance va;
            va.name = r.description;
            va.association = r.association;
            out.volunteers << va;
        }
        out.volunteers[*v].activities << archives.indexOf(r.number);
    }
    out.activities = std::move(archives.activities);
    for (VolunteerAttendance &v : out.volunteers) {
        auto &list = v.activities;
        const auto byProtocol = [&](int x, int y) {
            return out.activities.at(x).number < out.activities.at(y).number;
        };
        std::sort(list.begin(), list.end(), byProtocol);
        list.erase(std::unique(list.begin(), list.end()), list.end());
        for (int i : list) {
            const Activity &a = out.activities.at(i);
            if (a.cancelled) ++v.cancelled;
            else if (a.undated) ++v.undated;
        }
        v.days = coveredDays(list, out.activities);
    }
    std::sort(out.volunteers.begin(), out.volunteers.end(),
              [](const VolunteerAttendance &x, const VolunteerAttendance &y) {
                  const int c = text::compareCode(x.association, y.association);
                  return c != 0 ? c < 0 : text::compareCode(x.name, y.name) < 0;
              });
    return out;
}

QVector<QStringList> attendanceBlocks(const Attendance &a)
{
    QVector<QStringList> out;
    out.reserve(a.volunteers.size() + 1);
    const QString heading = reportHeading(a.emergency, QStringLiteral("PRESENZE DEI VOLONTARI"),
                                          a.today);
    const QString columns = Columns()
                                .right(QStringLiteral("Prot."), 6)
                                .blank()
                                .text(whenHeading())
                                .blank()
                                .right(QStringLiteral("Giorni"), 6)
                                .blank()
                                .fit(QStringLiteral("Stato"), 10)
                                .blank()
                                .text(QStringLiteral("Località - Tipo"))
                                .take();
    const QString signature = QStringLiteral(
        "Data ______________     Firma del responsabile ______________________________");
    const QString none = QStringLiteral("-");
    for (const VolunteerAttendance &v : a.volunteers) {
        QStringList b;
        b.reserve(v.activities.size() + 14);
        b << heading << QString();
        b << QStringLiteral("Volontario  : ") + v.name;
        b << QStringLiteral("Associazione: ") + v.association;
        b << QString() << columns;
        for (int i : v.activities) {
            const Activity &act = a.activities.at(i);
            const bool counted = !act.cancelled && !act.undated;
            b << Columns(64 + act.loc.size() + act.tipo.size())
                     .number(act.number, 6)
                     .blank()
                     .when(act)
                     .blank()
                     .right(counted ? QString::number(act.days) : none, 6)
                     .blank()
                     .fit(act.word, 10)
                     .blank()
                     .where(act)
                     .take();
        }
        b << QString();
        b << QStringLiteral("Giorni di servizio: ") + QString::number(v.days);
        QStringList apart;
        if (v.cancelled)
            apart << QStringLiteral("annullate, non contate: ") + QString::number(v.cancelled);
        if (v.undated)
            apart << QStringLiteral("con date mancanti o illeggibili, non contate: ")
                         + QString::number(v.undated);
        if (!apart.isEmpty()) b << QStringLiteral("Attività ") + apart.join(QStringLiteral("; "));
        b << QString() << QString() << signature;
        out << b;
    }
    if (a.skipped.total()) out << QStringList{a.skipped.note()};
    return out;
}

QByteArray attendanceCsv(const Attendance &a)
{
    QList<QStringList> rows;
    for (const VolunteerAttendance &v : a.volunteers) {
        for (int i : v.activities) {
            const Activity &act = a.activities.at(i);
            rows << QStringList{v.name,
                                v.association,
                                QString::number(act.number),
                                act.datain,
                                act.orain,
                                act.datafi,
                                act.orafi,
                                act.word,
                                act.loc,
                                act.tipo,
                                act.cancelled || act.undated ? QString() : QString::number(act.days)};
        }
    }
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
