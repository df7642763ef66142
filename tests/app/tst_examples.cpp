// The example office that `make run` starts with: every archive reads whole,
// in its order, and the counts and states agree with the open activities.

#include "activities/records.h"
#include "app/settings.h"
#include "archive/encoding.h"
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

using archive::File;
using archive::Record;

namespace {

QString example(const char *name)
{
    return QDir(QStringLiteral(VELMORA_SOURCE_DIR "/data/example")).filePath(QLatin1String(name));
}

QList<Record> records(const char *name, const archive::RecordFormat &format)
{
    QList<Record> out;
    archive::readRecords(example(name), format, [&](const Record &r) {
        out << r;
        return true;
    });
    return out;
}

QString key50(const QString &s) { return text::fit(s, 50); }

} // namespace

class TestExamples : public QObject {
    Q_OBJECT
private slots:
    void everyLineReadsWholeWithCrLf()
    {
        const char *files[] = {"associazioni.csv", "automezzi.csv", "attrezzature.csv",
                               "volontari.csv",    "attivita.csv",  "risorse.csv",
                               "emergenza.dat",    "numeroprot.dat"};
        for (const char *name : files) {
            QFile f(example(name));
            QVERIFY2(f.open(QIODevice::ReadOnly), name);
            const QByteArray bytes = f.readAll();
            QVERIFY2(!bytes.isEmpty() && bytes.endsWith("\r\n"), name);
            QCOMPARE(bytes.count("\r\n"), bytes.count('\n'));
        }
        const struct {
            const char *name;
            const archive::RecordFormat &format;
        } archives[] = {{"associazioni.csv", associations::format()},
                        {"automezzi.csv", vehicles::format()},
                        {"attrezzature.csv", equipment::format()},
                        {"volontari.csv", associations::volunteerFormat()},
                        {"attivita.csv", activities::activityFormat()},
                        {"risorse.csv", activities::resourceFormat()}};
        for (const auto &a : archives) {
            const QList<Record> rs = records(a.name, a.format);
            QVERIFY2(rs.size() >= 3 || QByteArray(a.name) == "risorse.csv", a.name);
            for (const Record &r : rs) QVERIFY2(!r.damaged, qPrintable(QString::fromLatin1(r.raw)));
        }
    }

    void archivesStandInTheirOrder()
    {
        auto ordered = [](const QList<Record> &rs, auto key) {
            for (int i = 1; i < rs.size(); ++i)
                if (text::compareCode(key(rs[i - 1]), key(rs[i])) > 0) return false;
            return true;
        };
        QVERIFY(ordered(records("associazioni.csv", associations::format()),
                        [](const Record &r) { return r.at(0); }));
        const auto assocThenDescr = [](const Record &r) { return key50(r.at(0)) + key50(r.at(1)); };
        QVERIFY(ordered(records("automezzi.csv", vehicles::format()), assocThenDescr));
        QVERIFY(ordered(records("attrezzature.csv", equipment::format()), assocThenDescr));

        const QList<Record> acts = records("attivita.csv", activities::activityFormat());
        for (int i = 1; i < acts.size(); ++i)
            QVERIFY(acts[i - 1].number(activities::NumProt) < acts[i].number(activities::NumProt));
        // The counter stands at the highest number given out.
        QCOMPARE(settings::readCounter(example("numeroprot.dat")).value_or(-1), acts.last().number(activities::NumProt));

        QList<qint16> numbers;
        for (const Record &a : acts) numbers << a.number(activities::NumProt);
        const QList<Record> res = records("risorse.csv", activities::resourceFormat());
        for (int i = 0; i < res.size(); ++i) {
            QVERIFY(numbers.contains(res[i].number(activities::RNumProt)));
            if (i > 0)
                QVERIFY(res[i - 1].number(activities::RNumProt) <= res[i].number(activities::RNumProt));
        }
    }

    // What the open activities hold is what the registers miss: a vehicle
    // engaged is "A", an association's volunteers are down by the engaged ones.
    void registersAgreeWithOpenActivities()
    {
        QMap<qint16, QString> state;
        for (const Record &a : records("attivita.csv", activities::activityFormat()))
            state[a.number(activities::NumProt)] = a.at(activities::Stato);

        QMap<QString, int> volunteersOut;
        QStringList vehiclesOut;
        for (const Record &r : records("risorse.csv", activities::resourceFormat())) {
            const bool engaged = r.at(activities::RStato) == QLatin1String("O");
            QCOMPARE(engaged, state.value(r.number(activities::RNumProt)) == QLatin1String("A"));
            if (!engaged) continue;
            if (r.at(activities::RTipo) == QLatin1String("VOL."))
                volunteersOut[key50(r.at(activities::RAssociazione))] +=
                    r.at(activities::RNumero).trimmed().toInt();
            if (r.at(activities::RTipo) == QLatin1String("AUTO"))
                vehiclesOut << key50(r.at(activities::RAssociazione)) + key50(r.at(activities::RDescrizione));
        }
        for (const Record &a : records("associazioni.csv", associations::format()))
            QCOMPARE(int(a.number(8)), a.number(9) - volunteersOut.value(key50(a.at(0))));
        for (const Record &v : records("automezzi.csv", vehicles::format())) {
            const bool out = vehiclesOut.contains(key50(v.at(0)) + key50(v.at(1)));
            QCOMPARE(v.at(8) == QLatin1String("A"), out);
        }
    }
};

QTEST_GUILESS_MAIN(TestExamples)
#include "tst_examples.moc"
