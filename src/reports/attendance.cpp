#include "reports/attendance.h"

#include "archive/text.h"
#include "reports/csv.h"

#include <QHash>
#include <QPair>
#include <algorithm>

namespace reports {

namespace {

bool counted(const Activity &a) { return !a.cancelled && a.days > 0; }

// Calendar days covered by the activities counted; overlapping spans once.
Days coveredDays(const QVector<int> &list, const QVector<Activity> &activities)
{
    Days spans;
    for (int i : list) {
        const Activity &a = activities.at(i);
        if (counted(a)) spans << DaySpan{a.first, a.last};
    }
    return joined(std::move(spans));
}

// `text` broken at blanks into lines of `width` columns at most (a word
// longer than that stands alone).
QStringList wrapped(const QString &text, int width = 80)
{
    QStringList out;
    QString line;
    for (const QString &word : text.split(QLatin1Char(' '), Qt::SkipEmptyParts)) {
        if (!line.isEmpty() && line.size() + 1 + word.size() > width) {
            out << line;
            line.clear();
        }
        if (!line.isEmpty()) line += QLatin1Char(' ');
        line += word;
    }
    if (!line.isEmpty()) out << line;
    return out;
}

// `head` and `items` after it, separated by commas, broken between items
// into lines of `width` columns at most; the lines after the first start
// with two blanks.
QStringList listed(const QString &head, const QStringList &items, int width = 92)
{
    QStringList out{head};
    for (int i = 0; i < items.size(); ++i) {
        if (i > 0 && out.last().size() + 2 + items.at(i).size() > width) {
            out.last() += QLatin1Char(',');
            out << QStringLiteral("  ") + items.at(i);
        } else {
            out.last() += (i > 0 ? QStringLiteral(", ") : QString()) + items.at(i);
        }
    }
    return out;
}

// The days of `v` past the limits that fall within activity `a`.
Days beyondIn(const VolunteerAttendance &v, const Activity &a)
{
    return counted(a) ? within(v.beyond, DaySpan{a.first, a.last}) : Days();
}

} // namespace

Attendance buildAttendance(const archive::WorkingFolder &folder, const QString &emergency,
                           const QDate &today, const Limits &limits)
{
    Attendance out;
    out.emergency = emergency;
    out.today = today;
    out.limits = limits;
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
        v.served = coveredDays(list, out.activities);
        v.days = dayCount(v.served);
        v.beyond = daysBeyond(v.served, limits);
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
        if (!v.beyond.isEmpty())
            b << listed(QStringLiteral("OLTRE I LIMITI DI LEGGE (%1): ").arg(limitsText(a.limits)),
                        daysText(v.beyond).split(QStringLiteral(", ")));
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
                                act.cancelled || act.undated ? QString() : QString::number(act.days),
                                daysText(beyondIn(v, act))};
        }
    }
    if (a.skipped.total()) rows << QStringList{a.skipped.note()};
    return csv::document({QStringLiteral("Volontario"), QStringLiteral("Associazione"),
                          QStringLiteral("Protocollo"), QStringLiteral("Data inizio"),
                          QStringLiteral("Ora inizio"), QStringLiteral("Data fine"),
                          QStringLiteral("Ora fine"), QStringLiteral("Stato"),
                          QStringLiteral("Località"), QStringLiteral("Tipo"),
                          QStringLiteral("Giorni"), QStringLiteral("Giorni oltre i limiti di legge")},
                         rows);
}

QVector<QStringList> certificates(const Attendance &a, int volunteer)
{
    QVector<QStringList> out;
    if (volunteer < 0 || volunteer >= a.volunteers.size()) return out;
    const VolunteerAttendance &v = a.volunteers.at(volunteer);
    const QString format = QStringLiteral("dd/MM/yyyy");
    const auto at = [](const QString &date, const QString &time) {
        return time.isEmpty() ? date : date + QStringLiteral(" ore ") + time;
    };
    const QString title = QStringLiteral("ATTESTATO DI PARTECIPAZIONE");
    const QString purpose = QStringLiteral(
        "Il presente attestato è rilasciato su richiesta dell'interessato ai fini dei benefici "
        "previsti per i volontari di protezione civile dall'art. 39 del D.Lgs. 2 gennaio 2018, "
        "n. 1 (mantenimento del posto di lavoro e rimborso al datore di lavoro).");
    const QString indent(40, QLatin1Char(' '));
    for (int i : v.activities) {
        const Activity &act = a.activities.at(i);
        if (!counted(act)) continue;
        QStringList p;
        p << QString((80 - title.size()) / 2, QLatin1Char(' ')) + title << QString() << QString();
        if (!a.emergency.isEmpty()) p << QStringLiteral("Emergenza         : ") + a.emergency;
        p << QStringLiteral("Volontario        : ") + v.name;
        p << QStringLiteral("Associazione      : ") + v.association << QString();
        p << wrapped(QStringLiteral("Si attesta che il volontario ha partecipato all'attività "
                                    "di protezione civile qui descritta."))
          << QString();
        p << QStringLiteral("Protocollo n.     : ") + QString::number(act.number);
        p << QStringLiteral("Tipo              : ") + act.tipo;
        p << QStringLiteral("Località          : ") + act.loc;
        const QString from = QStringLiteral("dal ") + at(act.datain, act.orain);
        p << QStringLiteral("Periodo           : ")
                 + (act.stato == QLatin1String("A")
                        ? from + QStringLiteral(", ancora in corso al ") + a.today.toString(format)
                        : from + QStringLiteral(" al ") + at(act.datafi, act.orafi));
        p << QStringLiteral("Giorni di servizio: ") + QString::number(act.days);
        const Days beyond = beyondIn(v, act);
        if (!beyond.isEmpty()) {
            const bool one = dayCount(beyond) == 1;
            p << QString()
              << wrapped((one ? QStringLiteral("Attenzione: il giorno %1 eccede i limiti di legge "
                                               "(%2) e non è attestato ai fini dei benefici.")
                              : QStringLiteral("Attenzione: i giorni %1 eccedono i limiti di legge "
                                               "(%2) e non sono attestati ai fini dei benefici."))
                             .arg(daysText(beyond), limitsText(a.limits)))
              << QString()
              << QStringLiteral("Giorni di servizio attestati ai fini dei benefici: ")
                     + QString::number(act.days - dayCount(beyond));
        }
        p << QString() << wrapped(purpose) << QString() << QString() << QString();
        p << QStringLiteral("Data ____________") << QString() << QString();
        p << indent + QStringLiteral("Il responsabile della sala operativa") << QString()
          << QString() << indent + QString(36, QLatin1Char('_'));
        out << p;
    }
    return out;
}

} // namespace reports
