// The example office that `make run` starts with: every archive reads whole,
// in its order, and the counts and states agree with the open activities.

#include "activities/records.h"
#include "session/settings.h"
#include "archive/rewrite.h"
#include "archive/text.h"
#include "associations/records.h"
#include "equipment/records.h"
#include "testkit.h"
#include "vehicles/records.h"

#include <QDir>
#include <QFile>
#include <QMap>
#include <QtTest>

using archive::Record;
using namespace activities;

namespace {

QString example(const char *name)
{
    return QDir(QStringLiteral(VELMORA_SOURCE_DIR "/data/example")).filePath(QLatin1String(name));
}

QList<Record> records(const char *name, const archive::RecordFormat &format)
{
    QList<Record> out;
    archive::readRecords(example(name), format, [&](const Record &r) { return out << r, true; });
    return out;
}

QString key50(const QString &s) { return text::fit(s, 50); }

template <class Key> bool ordered(const QList<Record> &rs, Key key)
{
    for (int i = 1; i < rs.size(); ++i)
        if (text::compareCode(key(rs[i - 1]), key(rs[i])) > 0) return false;
    return true;
}

} // namespace

class TestExamples : public QObject {
    Q_OBJECT
private slots:
    void everyLineReadsWholeWithCrLfInItsOrder()
    {
        for (const char *name : {"emergenza.dat", "numeroprot.dat", "associazioni.csv", "automezzi.csv",
                                 "attrezzature.csv", "volontari.csv", "attivita.csv", "risorse.csv"}) {
            QFile f(example(name));
            QVERIFY2(f.open(QIODevice::ReadOnly), name);
            const QByteArray bytes = f.readAll();
            QVERIFY2(!bytes.isEmpty() && bytes.endsWith("\r\n"), name);
            QCOMPARE(bytes.count("\r\n"), bytes.count('\n'));
        }
        const struct {
            const char *name;
            const archive::RecordFormat &format;
        } archives[] = {{"associazioni.csv", associations::format()}, {"automezzi.csv", vehicles::format()},
                        {"attrezzature.csv", equipment::format()}, {"volontari.csv", associations::volunteerFormat()},
                        {"attivita.csv", activityFormat()},        {"risorse.csv", resourceFormat()}};
        for (const auto &a : archives) {
            const QList<Record> rs = records(a.name, a.format);
            QVERIFY2(rs.size() >= 3 || QByteArray(a.name) == "risorse.csv", a.name);
            for (const Record &r : rs) QVERIFY2(!r.damaged, qPrintable(QString::fromLatin1(r.raw)));
        }

        QVERIFY(ordered(records("associazioni.csv", associations::format()), [](const Record &r) { return r.at(0); }));
        const auto assocThenDescr = [](const Record &r) { return key50(r.at(0)) + key50(r.at(1)); };
        QVERIFY(ordered(records("automezzi.csv", vehicles::format()), assocThenDescr));
        QVERIFY(ordered(records("attrezzature.csv", equipment::format()), assocThenDescr));
        const QList<Record> acts = records("attivita.csv", activityFormat());
        QList<qint16> numbers;
        for (const Record &a : acts) {
            QVERIFY(numbers.isEmpty() || numbers.last() < a.number(NumProt));
            numbers << a.number(NumProt);
        }
        // The counter stands at the highest number given out.
        QCOMPARE(settings::readCounter(example("numeroprot.dat")).value_or(-1), numbers.last());
        qint16 last = -32768;
        for (const Record &r : records("risorse.csv", resourceFormat())) {
            QVERIFY(numbers.contains(r.number(RNumProt)));
            QVERIFY(last <= r.number(RNumProt));
            last = r.number(RNumProt);
        }
    }

    // What the open activities hold is what the registers miss: a vehicle
    // engaged is "A", an association's volunteers are down by the engaged ones.
    void registersAgreeWithOpenActivities()
    {
        QMap<qint16, QString> state;
        for (const Record &a : records("attivita.csv", activityFormat())) state[a.number(NumProt)] = a.at(Stato);
        QMap<QString, int> volunteersOut;
        QStringList vehiclesOut;
        for (const Record &r : records("risorse.csv", resourceFormat())) {
            const bool engaged = r.at(RStato) == QLatin1String("O");
            QCOMPARE(engaged, state.value(r.number(RNumProt)) == QLatin1String("A"));
            if (engaged && r.at(RTipo) == QLatin1String("VOL."))
                volunteersOut[key50(r.at(RAssociazione))] += r.at(RNumero).trimmed().toInt();
            if (engaged && r.at(RTipo) == QLatin1String("AUTO"))
                vehiclesOut << key50(r.at(RAssociazione)) + key50(r.at(RDescrizione));
        }
        for (const Record &a : records("associazioni.csv", associations::format()))
            QCOMPARE(int(a.number(8)), a.number(9) - volunteersOut.value(key50(a.at(0))));
        for (const Record &v : records("automezzi.csv", vehicles::format()))
            QCOMPARE(v.at(8) == QLatin1String("A"), vehiclesOut.contains(key50(v.at(0)) + key50(v.at(1))));
    }
};

QTEST_GUILESS_MAIN(TestExamples)
#include "tst_examples.moc"
