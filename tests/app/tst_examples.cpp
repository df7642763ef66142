// The example office that `make run` starts with.
#include "activities/records.h"
#include "session/settings.h"
#include "archive/rewrite.h"
#include "archive/text.h"
#include "associations/records.h"
#include "equipment/records.h"
#include "testkit.h"
#include "vehicles/records.h"

#include <QtTest>

using archive::Record;
using namespace activities;

namespace {

QString example(const char *name) { return QStringLiteral(VELMORA_SOURCE_DIR "/data/example/") + name; }

// None when one is damaged.
QList<Record> records(const char *name, const archive::RecordFormat &format)
{
    QList<Record> out;
    bool damaged = false;
    archive::readRecords(example(name), format, [&](const Record &r) { return out << r, !(damaged = r.damaged); });
    return damaged ? QList<Record>() : out;
}

QString key50(const QString &s) { return text::fit(s, 50); }

bool ordered(const QList<Record> &rs, const std::function<QString(const Record &)> &key)
{
    for (int i = 1; i < rs.size(); ++i)
        if (text::compareCode(key(rs[i - 1]), key(rs[i])) > 0) return false;
    return !rs.isEmpty();
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
            QVERIFY2(bytes.endsWith("\r\n") && bytes.count("\r\n") == bytes.count('\n'), name);
        }
        const auto first = [](const Record &r) { return r.at(0); };
        const auto assocThenDescr = [](const Record &r) { return key50(r.at(0)) + key50(r.at(1)); };
        const auto number = [](const Record &r) { return text::alignRight(r.at(0), 6); };
        QVERIFY(ordered(records("associazioni.csv", associations::format()), first));
        QVERIFY(ordered(records("automezzi.csv", vehicles::format()), assocThenDescr));
        QVERIFY(ordered(records("attrezzature.csv", equipment::format()), assocThenDescr));
        QVERIFY(records("volontari.csv", associations::volunteerFormat()).size() >= 3);
        const QList<Record> acts = records("attivita.csv", activityFormat());
        QVERIFY(!acts.isEmpty());
        for (int i = 1; i < acts.size(); ++i) QVERIFY(acts[i - 1].number(NumProt) < acts[i].number(NumProt));
        QCOMPARE(settings::readCounter(example("numeroprot.dat")).value_or(-1), acts.last().number(NumProt));
        const QList<Record> res = records("risorse.csv", resourceFormat());
        QVERIFY(ordered(res, number));
        for (const Record &r : res)
            QVERIFY(std::any_of(acts.begin(), acts.end(), [&](const Record &a) { return a.at(0) == r.at(0); }));
    }

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
