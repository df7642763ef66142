#include "reports/board.h"

#include "archive/text.h"
#include "equipment/records.h"
#include "reports/csv.h"
#include "vehicles/records.h"

#include <QSet>
#include <algorithm>
#include <map>

namespace reports {

namespace {

QString vehicleStateLabel(const QString &letter)
{
    if (letter == QLatin1String("L")) return QStringLiteral("Liberi (L)");
    if (letter == QLatin1String("A")) return QStringLiteral("Impegnati (A)");
    if (letter == QLatin1String("B")) return QStringLiteral("Bloccati (B)");
    if (letter == QLatin1String("R")) return QStringLiteral("A riposo (R)");
    if (letter.isEmpty()) return QStringLiteral("Senza stato");
    return QStringLiteral("Stato ") + letter;
}

// Texts ordered by character code.
struct CodeOrder {
    bool operator()(const QString &a, const QString &b) const
    {
        return text::compareCode(a, b) < 0;
    }
};

} // namespace

Board buildBoard(const archive::WorkingFolder &folder, const QString &emergency, const QDate &today)
{
    Board b;
    b.emergency = emergency;
    b.today = today;

    const QVector<AssociationCount> associations = readAssociations(folder, b.skipped);
    const Archives archives =
        readActivities(folder, today, kindBit(Resource::Volunteers) | kindBit(Resource::Equipment));

    // Engaged volunteers and pieces: the resource lines still engaged.
    QHash<QString, qint64> volunteersOf;           // by association key
    QHash<QString, qint64> piecesOf;               // by description, as resource lines hold it
    std::map<QString, QString, CodeOrder> unknown; // key -> name, for names not in the archive
    for (const Resource &r : archives.resources) {
        if (!r.engaged) continue;
        if (r.kind == Resource::Volunteers) {
            volunteersOf[nameKey(r.association)] += r.quantity;
        } else if (r.kind == Resource::Equipment) {
            piecesOf[nameKey(r.description)] += r.quantity;
        }
    }
    QSet<QString> known;
    for (const AssociationCount &a : associations) {
        const QString key = nameKey(a.name);
        b.associations << Bar{a.name, known.contains(key) ? 0 : volunteersOf.value(key), a.available};
        known.insert(key);
    }
    for (auto it = volunteersOf.constBegin(); it != volunteersOf.constEnd(); ++it)
        if (!known.contains(it.key()) && it.value() != 0)
            unknown.emplace(it.key(), it.key().trimmed());
    for (const auto &[key, name] : unknown) b.associations << Bar{name, volunteersOf.value(key), 0};

    // Vehicles per state.
    std::map<QString, qint64, CodeOrder> states;
    states[QStringLiteral("L")] = 0;
    states[QStringLiteral("A")] = 0;
    readEach(folder.path(archive::File::Automezzi), vehicles::format(), b.skipped,
             [&](const archive::Record &r) {
                 ++states[r.at(vehicles::Stato)];
                 return true;
             });
    auto take = [&](const QString &letter) {
        const auto it = states.find(letter);
        if (it == states.end()) return qint64(0);
        const qint64 n = it->second;
        states.erase(it);
        return n;
    };
    b.vehicles << Count{vehicleStateLabel(QStringLiteral("L")), take(QStringLiteral("L"))};
    b.vehicles << Count{vehicleStateLabel(QStringLiteral("A")), take(QStringLiteral("A"))};
    const qint64 stateless = take(QString());
    for (const auto &[letter, n] : states) b.vehicles << Count{vehicleStateLabel(letter), n};
    if (stateless) b.vehicles << Count{vehicleStateLabel(QString()), stateless};

    // Equipment per description.
    // A resource line holds the description cut to 50 columns: the pieces
    // engaged meet the equipment by that, the bar shows the whole name.
    std::map<QString, QPair<QString, qint64>, CodeOrder> availableOf;
    readEach(folder.path(archive::File::Attrezzature), equipment::format(), b.skipped,
             [&](const archive::Record &r) {
                 const QString &description = r.at(equipment::Descrizione);
                 auto it = availableOf.try_emplace(nameKey(description), description, 0).first;
                 it->second.second += r.number(equipment::Quantita);
                 return true;
             });
    for (auto it = piecesOf.constBegin(); it != piecesOf.constEnd(); ++it)
        availableOf.try_emplace(it.key(), it.key().trimmed(), 0);
    for (const auto &[key, shown] : availableOf)
        b.equipment << Bar{shown.first, piecesOf.value(key), shown.second};
    std::stable_sort(b.equipment.begin(), b.equipment.end(),
                     [](const Bar &x, const Bar &y) { return x.engaged > y.engaged; });

    // Activities by where they stand.
    int requested = 0, started = 0, closed = 0, cancelled = 0, other = 0;
    for (const Activity &a : archives.activities) {
        if (a.stato == QLatin1String("A")) ++(a.orain.isEmpty() ? requested : started);
        else if (a.stato == QLatin1String("C")) ++closed;
        else if (a.cancelled) ++cancelled;
        else ++other;
    }
    b.activities << Count{QStringLiteral("Richieste, non iniziate"), requested}
                 << Count{QStringLiteral("Iniziate, non chiuse"), started}
                 << Count{QStringLiteral("Chiuse"), closed}
                 << Count{QStringLiteral("Annullate"), cancelled};
    if (other) b.activities << Count{QStringLiteral("Altro stato"), other};

    for (const auto &f : archives.skipped.files) b.skipped.add(f.first, f.second);
    return b;
}

QVector<Bar> leading(const QVector<Bar> &bars, int n)
{
    QVector<int> order(bars.size());
    for (int i = 0; i < order.size(); ++i) order[i] = i;
    std::stable_sort(order.begin(), order.end(),
                     [&](int x, int y) { return bars.at(x).engaged > bars.at(y).engaged; });
    QVector<Bar> out;
    Bar rest;
    for (int i = 0; i < order.size(); ++i) {
        const Bar &bar = bars.at(order.at(i));
        if (i < n) {
            out << bar;
        } else {
            rest.engaged += bar.engaged;
            rest.available += bar.available;
        }
    }
    if (bars.size() > n) {
        rest.label = QStringLiteral("Altre %1").arg(bars.size() - n);
        out << rest;
    }
    return out;
}

QString boardHeading(const Board &b)
{
    return reportHeading(b.emergency, QStringLiteral("QUADRO DELLA SITUAZIONE"), b.today);
}

QByteArray boardCsv(const Board &b)
{
    QList<QStringList> rows;
    const QString n = QStringLiteral("numero");
    for (const Bar &a : b.associations) {
        rows << QStringList{QStringLiteral("Volontari"), a.label, QStringLiteral("impegnati"),
                            QString::number(a.engaged)};
        rows << QStringList{QStringLiteral("Volontari"), a.label, QStringLiteral("disponibili"),
                            QString::number(a.available)};
    }
    for (const Count &c : b.vehicles)
        rows << QStringList{QStringLiteral("Automezzi"), c.label, n, QString::number(c.value)};
    for (const Bar &e : b.equipment) {
        rows << QStringList{QStringLiteral("Attrezzature"), e.label,
                            QStringLiteral("pezzi impegnati"), QString::number(e.engaged)};
        rows << QStringList{QStringLiteral("Attrezzature"), e.label,
                            QStringLiteral("pezzi disponibili"), QString::number(e.available)};
    }
    for (const Count &c : b.activities)
        rows << QStringList{QString::fromUtf8("Attività"), c.label, n, QString::number(c.value)};
    for (const auto &f : b.skipped.files)
        rows << QStringList{QStringLiteral("Nota"),
                            QStringLiteral("Righe illeggibili non considerate"), f.first,
                            QString::number(f.second)};
    return csv::document({QStringLiteral("Sezione"), QStringLiteral("Voce"),
                          QStringLiteral("Misura"), QStringLiteral("Valore")},
                         rows);
}

} // namespace reports
