// The passes that save time on large archives: a keyed rewrite that copies
// the lines it has no business with as they stand, and the replacement of an
// activity and of its resource lines in one pass each. Both must give
// exactly the bytes of the plain rewrites they stand for.

#include "testkit.h"

#include "resourcetext.h"

#include "activities/records.h"
#include "archive/rewrite.h"
#include "registers/registers.h"
#include "equipment/records.h"

#include <QTest>

using namespace activities;
using archive::File;
using archive::Record;
using archive::RecordSink;
using archive::Register;
using archive::Step;

namespace {

// Lines of every shape: copy form, typed form, blanks around items, a UTF-8
// line, accented Windows-1252, damaged lines, an empty line, too few items.
QByteArray mixedResources()
{
    return crlf({
        stored(" 3 ", "ATTR", 2, "ROSSI", "TENDA", "O"),
        copied("3", "AUTO", 1, "ROSSI", "JEEP", "O"),
        " 4 ,ATTR,1,CITT\xc3\x80 ALTA,TENDA,O",
        " 4 ,ATTR,1,CITT\xc0 BASSA,TENDA,O",
        "garbage line, not a record",
        copied("5", "ATTR", 1, "BIANCHI", "POMPA", "O"),
        "5,ATTR,1,BIANCHI,TENDA,O",
        "",
        copied("5", "VOL.", 3, "VERDI", "", "O"),
        " 5 ,VOL>,0,VERDI",
        "  6  ,ATTR,1, SPAZI ,INTORNO ,L",
        copied("6", "AUTO", 1, "NERI", "FURGONE", "L"),
        "99999,ATTR,1,FUORI,RANGE,O",
        copied("7", "ATTR", 1, "AAA", "BBB", "O"),
        " 012 ,ATTR,1,ZERI,DAVANTI,O",
        "-0 ,ATTR,1,MENO,ZERO,O",
        copied("-5", "ATTR", 1, "NEG", "ATIVO", "O"),
    });
}

QByteArray mixedActivities()
{
    return crlf({" -5 ,01/01/2025,10.00,,,,,A,B,C,,A", " 3 ,01/01/2025,10.00,,,,,A,B,C,,A",
                 "4,01/01/2025,10.00,,,,,TYPED,B,C,,A", "rotta", " 5 ,01/01/2025,10.00,,,,,A,B,C,,C",
                 " 6 , 01/01/2025 ,10.00,,,,,A,B,C,,A", " 8 ,01/01/2025,10.00,,,,,A,B,C,,A"});
}

QStringList activity(const QString &n)
{
    return {n, "02/02/2025", "11.00", "", "", "", "", "NUOVA", "LUOGO", "CHI", "", "A"};
}

// Activity 7 between 6 and 8, with lines of every type, typed and number
// forms, an empty line and damaged lines inside and around the group.
QByteArray groupOfSeven()
{
    return crlf({
        stored(" 6 ", "ATTR", 2, "ROSSI", "TENDA", "O"),
        "garbage line, not a record",
        stored("7", "ATTR", 1, "BIANCHI", "POMPA", "O"),
        stored(" 7 ", "ATTR", 4, "ROSSI", "TENDA", "O"),
        "",
        "x7,AUTO,    1 ,ROTTO,ROTTO,O",
        stored(" 7 ", "AUTO", 1, "VERDI", "JEEP", "L"),
        stored(" 7 ", "VOL.", 3, "VERDI", "", "O"),
        stored(" 7 ", "VOL>", 0, "VERDI", " MARIO ROSSI", "O"),
        "99999,ATTR,    1 ,FUORI,RANGE,O",
        stored(" 8 ", "ATTR", 1, "AAA", "BBB", "O"),
    });
}

// New lines equal in key to stored ones and to each other; the last one
// without a state of its own.
const QStringList kNewLines{
    listLine("ATTR", 3, "ROSSI", "TENDA"), listLine("ATTR", 3, "ROSSI", "TENDA"),
    listLine("VOL>", 0, "VERDI", " ANNA BIANCHI"), listLine("AUTO", 1, "ALFA", "FURGONE"),
    listLine("ATTR", 1, "BIANCHI", "POMPA") + "   oltre la colonna 114", listLine("VOL.", 2, "ZETA", ""),
    listLine("ATTR", 9, "", "")};
const QStringList kNewStates{"O", "L", "O", "L", "O", "L"};

} // namespace

class TestOnePass : public QObject {
    Q_OBJECT
private slots:
    void keyedRewriteGivesThePlainRewriteBytes()
    {
        // Dropping, changing and inserting around several keys, through both
        // rewrites; the keyed one only sees what its filter names.
        for (qint16 n : std::initializer_list<qint16>{-5, 3, 5, 6, 9}) {
            TestFolder plain, keyed;
            for (TestFolder *f : {&plain, &keyed}) f->write(File::Risorse, mixedResources());
            bool inserted = false;
            int seen = 0;
            const auto each = [&](const Record &r, RecordSink &sink) {
                ++seen;
                const qint16 k = r.number(RNumProt);
                if (k == n) {
                    Record changed = r;
                    changed.fields[RStato] = QStringLiteral("L");
                    sink.copy(changed);
                    return Step::Drop;
                }
                if (k > n && !inserted) {
                    sink.writeTyped({QString::number(n), "NEW.", "1", "X", "Y", "O"});
                    inserted = true;
                }
                return Step::Keep;
            };
            QVERIFY(archive::rewrite(plain.ctx.folder.set(Register::Risorse), resourceFormat(), each).done());
            seen = 0;
            inserted = false;
            const auto named = [&](qint16 k) { return k == n || (!inserted && k > n); };
            QVERIFY(archive::rewriteKeyed(keyed.ctx.folder.set(Register::Risorse), resourceFormat(), named, each).done());
            QCOMPARE(keyed.read(File::Risorse), plain.read(File::Risorse));
            QCOMPARE(keyed.read(File::RisorseWrk), plain.read(File::RisorseWrk));
            QVERIFY(seen < 15); // the lines already in copy form and far from n were not read
        }
    }

    void copyFormIsRecognisedExactly()
    {
        qint16 key = 0;
        QVERIFY(archive::inCopyForm(" 12 ,ATTR,1,A,B,O", resourceFormat(), &key));
        QCOMPARE(key, qint16(12));
        QVERIFY(archive::inCopyForm("-32768 ,ATTR,1,A,,O", resourceFormat(), &key));
        QCOMPARE(key, qint16(-32768));
        QVERIFY(archive::inCopyForm(" 0 ,ATTR,1,A,B C,O", resourceFormat()));
        for (const char *line : {"12,ATTR,1,A,B,O", " 12,ATTR,1,A,B,O", " 012 ,ATTR,1,A,B,O",
                                 "-0 ,ATTR,1,A,B,O", " 32768 ,ATTR,1,A,B,O", " 1 ,ATTR,1,A ,B,O",
                                 " 1 ,ATTR,1,\tA,B,O", " 1 ,ATTR,1,A,B", " 1 ,ATTR,1,A,B,O,X",
                                 " 1 ,ATTR,1,\xc0,B,O", "", " + ,ATTR,1,A,B,O", " 1  ,ATTR,1,A,B,O"})
            QVERIFY2(!archive::inCopyForm(line, resourceFormat()), line);
    }

    void textKeyedRewriteGivesThePlainRewriteBytes()
    {
        // An equipment archive: names that start alike, a name longer than 50
        // columns, blanks around items, accented letters, a damaged line.
        const QByteArray long60 = QByteArray(45, 'L') + "FINE OLTRE 50";
        const QByteArray equipment = crlf({"ROSSI,TENDA,L, 3 ", "ROSSI BIS,TENDA,L, 4 ", " ROSSI ,TENDA,L, 5 ",
                                           "ROSSIANO,TENDA,L, 6 ", long60 + ",POMPA,L, 7 ", "CITT\xc0,POMPA,L, 8 ",
                                           "ROSSI,POMPA,L,nove", "VERDI,TENDA,L,10", ",VUOTA,L, 11 "});
        for (const QString &key : {QString("ROSSI"), QString("ROSSI BIS"), "ROSSI" + QString(45, ' '),
                                   QString::fromLatin1(long60.left(50)), QString::fromLatin1("CITT\xc0"),
                                   QString("VERDI"), QString(), QString::fromUtf8("\xc5\x81ODZ"), QString("NESSUNO")}) {
            TestFolder plain, filtered;
            for (TestFolder *f : {&plain, &filtered}) f->write(File::Attrezzature, equipment);
            auto each = [key](const Record &r, RecordSink &sink) {
                if (!registers::sameColumn(r.at(0), key)) return Step::Keep;
                Record changed = r;
                changed.values[3] = static_cast<qint16>(r.number(3) - 1);
                sink.copy(changed);
                return Step::Drop;
            };
            QVERIFY(archive::rewrite(plain.ctx.folder.set(Register::Attrezzature), equipment::format(), each).done());
            QVERIFY(archive::rewriteFiltered(filtered.ctx.folder.set(Register::Attrezzature), equipment::format(),
                                             archive::startingWith(key), each)
                        .done());
            QCOMPARE(filtered.read(File::Attrezzature), plain.read(File::Attrezzature));
        }
    }

    void replacingAnActivityEqualsRemoveThenInsert()
    {
        // Same number, a new number further on, one further back, one at the end.
        for (const auto &[from, to] : QList<std::pair<qint16, qint16>>{{5, 5}, {5, 7}, {6, 2}, {3, 20}, {-5, -6}}) {
            TestFolder seq, one;
            for (TestFolder *f : {&seq, &one}) f->write(File::Attivita, mixedActivities());
            QVERIFY(removeActivity(seq.ctx.folder, from).done());
            QVERIFY(insertActivity(seq.ctx.folder, activity(QString::number(to)), to).done());
            QVERIFY(replaceActivity(one.ctx.folder, activity(QString::number(to)), to, from).done());
            QCOMPARE(one.read(File::Attivita), seq.read(File::Attivita));
        }
        // Onto a number that another activity holds: nothing changes.
        TestFolder taken;
        taken.write(File::Attivita, mixedActivities());
        QCOMPARE(replaceActivity(taken.ctx.folder, activity("8"), 8, 5).status, Outcome::Duplicate);
        QCOMPARE(taken.read(File::Attivita), mixedActivities());
    }

    void keyedReadsFindWhatAFullReadFinds()
    {
        TestFolder o;
        o.write(File::Attivita, mixedActivities());
        o.write(File::Risorse, mixedResources());
        for (qint16 n : std::initializer_list<qint16>{-5, 3, 4, 5, 6, 7, 9}) {
            QStringList full;
            std::optional<QByteArray> first;
            archive::readRecords(o.path(File::Risorse), resourceFormat(), [&](const Record &r) {
                if (r.number(RNumProt) == n) full << resourceListLine(r);
                return true;
            });
            archive::readRecords(o.path(File::Attivita), activityFormat(), [&](const Record &r) {
                if (r.number(NumProt) != n) return true;
                first = r.raw;
                return false;
            });
            QCOMPARE(resourceLinesOf(o.path(File::Risorse), n), full);
            const auto found = findActivity(o.path(File::Attivita), n);
            QCOMPARE(found.has_value(), first.has_value());
            if (found) QCOMPARE(found->raw, *first);
        }
    }

    void resourceLinesInOnePass_data()
    {
        QTest::addColumn<QByteArray>("start");
        QTest::addColumn<int>("replacing"); // none when below -32768
        QTest::addColumn<int>("n");
        QTest::addColumn<QStringList>("lines");
        const int none = -40000;
        QTest::newRow("into the group of 7") << groupOfSeven() << none << 7 << kNewLines;
        QTest::newRow("into a missing archive") << QByteArray() << none << 7 << kNewLines;
        QTest::newRow("after every line") << crlf({stored("3", "ATTR", 1, "A", "B", "O")}) << none << 7 << kNewLines;
        QTest::newRow("before every line") << crlf({stored("9", "ATTR", 1, "A", "B", "O"), "rotta"}) << none << 7
                                           << kNewLines;
        for (const auto &[from, to] : QList<std::pair<int, int>>{{5, 5}, {5, 6}, {6, 4}, {3, 30}, {5, -9}})
            for (const QStringList &lines : {kNewLines.mid(3, 3), QStringList()})
                QTest::addRow("%d replaced by %d, %d lines", from, to, int(lines.size()))
                    << mixedResources() << from << to << lines;
    }

    // One pass gives the bytes of a removal (when replacing) followed by one
    // pass per line.
    void resourceLinesInOnePass()
    {
        QFETCH(QByteArray, start);
        QFETCH(int, replacing);
        QFETCH(int, n);
        QFETCH(QStringList, lines);
        TestFolder seq, one;
        for (TestFolder *f : {&seq, &one}) f->write(File::Risorse, start);
        std::optional<qint16> old;
        if (replacing >= -32768) old = qint16(replacing);
        if (old) QVERIFY(removeResources(seq.ctx.folder, *old).done());
        for (int i = 0; i < lines.size(); ++i)
            QVERIFY(insertResourceLine(seq.ctx.folder, QString::number(n), qint16(n), lines[i], kNewStates.value(i, "O"))
                        .done());
        QVERIFY(insertResourceLines(one.ctx.folder, QString::number(n), qint16(n), lines, kNewStates, old).done());
        QCOMPARE(one.read(File::Risorse), seq.read(File::Risorse));
    }

    // The order itself: by type, association and description, a new line
    // before an equal key, damaged lines where they stood, the last line
    // written in typed form and every other one copied.
    void resourceLinesInTheirPlace()
    {
        TestFolder office;
        office.write(File::Risorse, groupOfSeven());
        QVERIFY(insertResourceLines(office.ctx.folder, "7", 7, kNewLines, kNewStates).done());
        QCOMPARE(office.read(File::Risorse), crlf({
                                                 copied("6", "ATTR", 2, "ROSSI", "TENDA", "O"),
                                                 "garbage line, not a record",
                                                 stored("7", "ATTR", 9, "", "", "O"),
                                                 copied("7", "ATTR", 1, "BIANCHI", "POMPA", "O"),
                                                 copied("7", "ATTR", 1, "BIANCHI", "POMPA", "O"),
                                                 copied("7", "ATTR", 3, "ROSSI", "TENDA", "L"),
                                                 copied("7", "ATTR", 3, "ROSSI", "TENDA", "O"),
                                                 copied("7", "ATTR", 4, "ROSSI", "TENDA", "O"),
                                                 "",
                                                 "x7,AUTO,    1 ,ROTTO,ROTTO,O",
                                                 copied("7", "AUTO", 1, "ALFA", "FURGONE", "L"),
                                                 copied("7", "AUTO", 1, "VERDI", "JEEP", "L"),
                                                 copied("7", "VOL.", 3, "VERDI", "", "O"),
                                                 copied("7", "VOL.", 2, "ZETA", "", "L"),
                                                 copied("7", "VOL>", 0, "VERDI", " ANNA BIANCHI", "O"),
                                                 copied("7", "VOL>", 0, "VERDI", " MARIO ROSSI", "O"),
                                                 "99999,ATTR,    1 ,FUORI,RANGE,O",
                                                 copied("8", "ATTR", 1, "AAA", "BBB", "O"),
                                             }));
    }
};

QTEST_GUILESS_MAIN(TestOnePass)
#include "tst_onepass.moc"
