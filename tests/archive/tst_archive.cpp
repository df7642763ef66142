// The archive library on bytes alone. Read-only places and a full disk: tests/faults;
// properties that hold for any text: the fuzz targets, whose corpus every run replays.
#include "testkit.h"

#include "archive/encoding.h"
#include "archive/io.h"
#include "archive/journal.h"
#include "archive/record.h"
#include "archive/rewrite.h"
#include "archive/text.h"

#include <QBuffer>
#include <QTest>

using namespace archive;

namespace {
const RecordFormat kFmt{3, {0}}; // number, text, text

QList<QByteArray> readAllLines(const QByteArray &data)
{
    QBuffer buf;
    buf.setData(data);
    buf.open(QIODevice::ReadOnly);
    LineReader reader(&buf);
    QList<QByteArray> out;
    QByteArray line;
    while (reader.next(line)) out << line;
    return out;
}

RewriteOutcome appendTo(const TestFolder &o, Register r, const QByteArray &number)
{
    return rewrite(
        o.ctx.folder.set(r), kFmt, [](const Record &, RecordSink &) { return Step::Keep; },
        [&](RecordSink &sink) { sink.writeTyped({number, "NUOVA", ""}); });
}
} // namespace

class TestArchive : public QObject {
    Q_OBJECT
private slots:
    void lineEnds()
    {
        using L = QList<QByteArray>;
        const std::pair<QByteArray, L> cases[] = {{"a\r\nb\rc\nd", {"a", "b", "c", "d"}},
                                                  {"a\r\n\r\nb\r\n", {"a", "", "b"}},
                                                  {"", {}},
                                                  {"\r\n", {""}},
                                                  {"\n\r", {"", ""}}};
        for (const auto &[data, lines] : cases) QCOMPARE(readAllLines(data), lines);
        // A CR LF split between two reads of the buffer is one line end.
        for (int pad : {65535, 65536, 65534}) {
            const auto lines = readAllLines(QByteArray(pad, 'x') + "\r\nnext\r\rlast");
            QCOMPARE(lines.mid(1), (L{"next", "", "last"}));
            QCOMPARE(lines[0].size(), pad);
        }
    }

    void encoding()
    {
        QByteArray all;
        for (int b = 0; b < 256; ++b) all.append(char(b));
        QCOMPARE(cp1252::encode(cp1252::decode(all)), all);
        QCOMPARE(cp1252::decode("\x80\xe0\x92"), QString::fromUtf8("€à’"));
        bool ok = false;
        QCOMPARE(cp1252::encode(QString::fromUtf8("città €"), &ok), QByteArray("citt\xe0 \x80"));
        QVERIFY(ok);
        cp1252::encode(QString::fromUtf8("Ωmega"), &ok);
        QVERIFY(!ok);
        QCOMPARE(cp1252::firstUnencodable(QString::fromUtf8("abΩ")), 2);
        QVERIFY(cp1252::refusal(QString::fromUtf8("abΩ")).contains(QString::fromUtf8("Ω")));
        // A line in UTF-8 (prepared elsewhere) reads as UTF-8.
        bool utf8 = false;
        QCOMPARE(cp1252::decodeLine("ROSSI,N\xc3\xa0", &utf8), QString::fromUtf8("ROSSI,Nà"));
        QVERIFY(utf8);
        for (const char *line : {"CITT\xc0", "plain"}) {
            QCOMPARE(cp1252::decodeLine(line, &utf8), cp1252::decode(line));
            QVERIFY(!utf8);
        }
    }

    void numberForms()
    {
        for (auto [n, form] : {std::pair{0, " 0 "}, {57, " 57 "}, {-5, "-5 "}, {-32768, "-32768 "}})
            QCOMPARE(text::numberForm(qint16(n)), QString(form));
        for (auto [typed, n] : {std::pair{" 12 ", 12}, {"12", 12}, {"-5 ", -5}, {"32767", 32767}, {"-32768", -32768}})
            QCOMPARE(text::parseNumber(typed).value(), qint16(n));
        for (const char *bad : {"", " ", "32768", "-32769", "1.5", "12a", "- 3", "99999999999999999999"})
            QVERIFY2(!text::parseNumber(bad), bad);
        // Rounded to the even neighbour at one half, as the counter field does.
        for (auto [typed, n] : {std::pair{"41.5", 42}, {"42.5", 42}, {"-2,5", -2}, {"7", 7}})
            QCOMPARE(text::parseRounded(typed).value(), qint16(n));
        for (const char *bad : {"32767.6", "abc", "1.2.3", "", "40000", "-32769", "1e3x"})
            QVERIFY2(!text::parseRounded(bad), bad);
    }

    void textRules()
    {
        QCOMPARE(text::capitals(QString::fromUtf8("città ß")), QString::fromUtf8("CITTÀ ß"));
        QCOMPARE(text::clean(QString::fromUtf8("Gruppo, \"Alfa\" Nord")), QString("GRUPPO   ALFA  NORD"));
        QCOMPARE(text::clean("a,\"b\"", false), QString("A \"B\""));
        QCOMPARE(text::clean("riga\r\nnuova"), QString("RIGA  NUOVA"));
        QCOMPARE(text::alignRight("12", 6), QString("    12"));
        // Each text at its column; with no blank left before it, one blank after the text before.
        QCOMPARE(text::atColumns({{2, "AB"}, {6, "C"}, {7, "LUNGO"}, {8, "D"}}), QString("  AB  C LUNGO D"));
        // By character code: the euro sign (0x80) after Z, before the accented capitals.
        for (auto [a, b] : {std::pair{"B", "a"}, {"Z", "€"}, {"€", "À"}, {"AB", "ABC"}})
            QVERIFY2(text::compareCode(QString::fromUtf8(a), QString::fromUtf8(b)) < 0, a);
    }

    void recordsParseAndDamage()
    {
        const Record r = parseRecord(" 12 , ROSSI ,", kFmt);
        QVERIFY(!r.damaged);
        QCOMPARE(r.number(0), qint16(12));
        QCOMPARE(r.fields.mid(1), QStringList({"ROSSI", ""}));
        QCOMPARE(parseRecord("12", kFmt).fields, QStringList({"12", "", ""})); // missing items read as empty
        // Not a number, out of range, one item too many, nothing at all.
        for (const char *bad : {"x,a,b", "40000,a,b", "1,a,b,c", ""}) QVERIFY2(parseRecord(bad, kFmt).damaged, bad);
        bool ok = false;
        QCOMPARE(typedForm({"7", QString::fromUtf8("CITTÀ"), ""}, &ok), QByteArray("7,CITT\xc0,"));
        QVERIFY(ok);
    }

    void pathsInOrder()
    {
        WorkingFolder f("/tmp/ufficio");
        const QStringList p = f.paths();
        QCOMPARE(p.size(), 18);
        for (auto [i, name] : {std::pair{0, "associazioni.csv"}, {3, "emergenza.dat"}, {4, "numeroprot.dat"}, {16, "risorse.sav"}, {17, "volontari.csv"}})
            QCOMPARE(p[i], "/tmp/ufficio/" + QString(name));
        const ArchiveSet s = f.set(Register::Attrezzature);
        QCOMPARE(QStringList({s.archive, s.work, s.snapshot}),
                 QStringList({"/tmp/ufficio/attrezzature.csv", "/tmp/ufficio/attrezzature.wrk",
                              "/tmp/ufficio/attrezzature.sav"}));
    }

    void lineCopyNormalisesAndKeeps()
    {
        TestFolder o;
        o.write("a.txt", "uno,\"due\"\n\ntre\rquattro");
        QVERIFY(copyLines(o.path("a.txt"), o.path("b.txt")).ok());
        QCOMPARE(o.read("b.txt"), QByteArray("uno,\"due\"\r\n\r\ntre\r\nquattro\r\n"));
        o.write("e.txt", "");
        QVERIFY(copyLines(o.path("e.txt"), o.path("b.txt")).ok());
        QCOMPARE(o.read("b.txt"), QByteArray(""));
        // A missing source never empties the destination.
        o.write("b.txt", "keep\r\n");
        QCOMPARE(copyLines(o.path("nothing.txt"), o.path("b.txt")).status, IoResult::SourceMissing);
        QCOMPARE(o.read("b.txt"), QByteArray("keep\r\n"));
    }

    void rewriteKeepsDamagedLinesAbortsAndCreates()
    {
        TestFolder o;
        auto rewriteActivities = [&](const EachRecord &each, const AtEnd &atEnd = {}) {
            return rewrite(o.path(File::Attivita), o.path(File::AttivitaWrk), kFmt, each, atEnd);
        };
        QVERIFY(rewriteActivities([](const Record &, RecordSink &) { return Step::Keep; },
                                  [](RecordSink &sink) { sink.writeTyped({"1", "X", "Y"}); })
                    .done());
        QCOMPARE(o.read(File::Attivita), QByteArray("1,X,Y\r\n"));

        // Unreadable lines stay verbatim, readable ones go out in number form.
        o.write(File::Attivita, "3,A,B\r\nguasto,x\r\n\r\n9,C,D\n5,E,F");
        QVERIFY(rewriteActivities([](const Record &r, RecordSink &sink) {
                    if (r.number(0) == 9) sink.writeTyped({"7", "NEW", ""});
                    return r.number(0) == 5 ? Step::Drop : Step::Keep;
                }).done());
        const QByteArray expected = " 3 ,A,B\r\nguasto,x\r\n\r\n7,NEW,\r\n 9 ,C,D\r\n";
        QCOMPARE(o.read(File::Attivita), expected);
        QCOMPARE(o.read(File::AttivitaWrk), expected); // the work file stays, holding the same

        const auto aborted = rewriteActivities([](const Record &r, RecordSink &) {
            return r.number(0) == 9 ? Step::Abort : Step::Keep;
        });
        QCOMPARE(aborted.status, RewriteOutcome::Aborted);
        const auto bad = rewriteActivities([](const Record &, RecordSink &s) {
            s.writeTyped({"2", QString::fromUtf8("Ω"), ""});
            return Step::Keep;
        });
        QCOMPARE(bad.status, RewriteOutcome::Failed);
        QCOMPARE(o.read(File::Attivita), expected);
    }

    void transactionReplacesEverythingOrNothing()
    {
        TestFolder o;
        o.write(File::Attivita, "1,A,\r\n");
        o.write(File::Risorse, "1,R,\r\n");
        const auto before = o.files();
        {
            // Two rewrites of one archive compose; reads inside see the change.
            Transaction tx(o.ctx.folder);
            tx.snapshotAtCommit(o.path(File::Attivita), o.path(File::AttivitaSav));
            QVERIFY(appendTo(o, Register::Attivita, "2").done());
            QVERIFY(appendTo(o, Register::Attivita, "3").done());
            QVERIFY(appendTo(o, Register::Risorse, "2").done());
            int seen = 0;
            readRecords(o.path(File::Attivita), kFmt, [&](const Record &) { return ++seen, true; });
            QCOMPARE(seen, 3);
            QCOMPARE(o.read(File::Attivita), before["attivita.csv"]);
            QVERIFY(!o.exists(File::AttivitaSav));
            QVERIFY(tx.commit().ok());
        }
        const QByteArray attivita = " 1 ,A,\r\n 2 ,NUOVA,\r\n3,NUOVA,\r\n";
        QCOMPARE(o.files(), (QMap<QString, QByteArray>{{"attivita.csv", attivita},
                                                       {"attivita.sav", attivita},
                                                       {"attivita.wrk", attivita},
                                                       {"risorse.csv", " 1 ,R,\r\n2,NUOVA,\r\n"},
                                                       {"risorse.wrk", " 1 ,R,\r\n2,NUOVA,\r\n"}}));
        // A later rewrite leaves the snapshot as it was taken.
        QVERIFY(appendTo(o, Register::Attivita, "4").done());
        QCOMPARE(o.read(File::AttivitaSav), attivita);
        QFile::remove(o.path(File::AttivitaSav));

        // A later archive that cannot be written, or no commit: nothing replaced.
        const auto prepared = o.files();
        const QString readOnly = o.path(File::Risorse);
        for (bool commit : {true, false}) {
            Transaction tx(o.ctx.folder);
            QVERIFY(appendTo(o, Register::Attivita, "4").done());
            setReadOnly(readOnly);
            const RewriteOutcome failed = appendTo(o, Register::Risorse, "4");
            setReadOnly(readOnly, false);
            if (!commit) continue;
            const QString message = QStringLiteral("Impossibile scrivere il file risorse.csv (%1). Il file "
                                                   "risorse.csv resta com'era. Nessun altro archivio è stato modificato.")
                                        .arg(readOnly);
            QCOMPARE(failed.io.message(), message);
            QVERIFY(tx.failed());
            QCOMPARE(tx.commit().message(), message);
        }
        QCOMPARE(o.files(), prepared);
    }

    void startFinishesACompleteJournalAndDiscardsAnIncompleteOne_data()
    {
        QTest::addColumn<QByteArray>("journal"); // "-" for none
        QTest::addColumn<bool>("firstDone");     // attivita.csv already replaced
        QTest::addColumn<int>("status");
        const QByteArray head = "velmora giornale 1\r\n";
        const QByteArray pairs = "attivita.wrk.new attivita.wrk 7\r\nattivita.csv.new attivita.csv 7\r\n"
                                 "risorse.csv.PC-1.new risorse.csv 8\r\n"; // staged by a desk, by its name
        const QByteArray whole = head + pairs + "fine 3\r\n";
        QTest::newRow("complete") << whole << false << int(Recovery::Finished);
        QTest::newRow("complete, stopped after one rename") << whole << true << int(Recovery::Finished);
        QTest::newRow("without its closing line") << head + pairs << false << int(Recovery::Discarded);
        QTest::newRow("cut in a line") << whole.left(whole.size() - 4) << false << int(Recovery::Discarded);
        QTest::newRow("counting another number") << head + pairs + "fine 2\r\n"
                                                 << false << int(Recovery::Discarded);
        QTest::newRow("a staged file of another size")
            << head + QByteArray(pairs).replace(" 8\r\n", " 9\r\n") + "fine 3\r\n"
            << false << int(Recovery::Discarded);
        QTest::newRow("naming another file")
            << head + "attivita.csv.new numeroprot.dat 7\r\nfine 1\r\n"
            << false << int(Recovery::Discarded);
        QTest::newRow("none, staged files left") << QByteArray("-") << false << int(Recovery::Nothing);
    }

    void startFinishesACompleteJournalAndDiscardsAnIncompleteOne()
    {
        QFETCH(QByteArray, journal);
        QFETCH(bool, firstDone);
        QFETCH(int, status);
        TestFolder o;
        const QByteArray oldA = "1,OLD\r\n", oldR = "1,OLDR\r\n", newA = "2,NEW\r\n", newR = "2,NEWR\r\n";
        o.write(File::Attivita, firstDone ? newA : oldA);
        o.write(File::AttivitaWrk, oldA);
        o.write(File::Risorse, oldR);
        if (!firstDone) o.write("attivita.csv.new", newA);
        o.write("attivita.wrk.new", newA);
        o.write("risorse.csv.PC-1.new", newR);
        for (const char *left : {"risorse.csv.new.Ab12Cd", "sospese.dat.new", "velmora.jnl.Xy34Zw",
                                 "sospese-PC-1.dat.PC-1.new.Q1w2E3", "volontari.wrk.PC-2.new"})
            o.write(left, "half"); // files of a change killed while written
        if (journal != "-") o.write("velmora.jnl", journal);
        QCOMPARE(int(recover(o.ctx.folder).status), status);
        const bool finished = status == Recovery::Finished;
        QCOMPARE(o.files(), (QMap<QString, QByteArray>{{"attivita.csv", finished ? newA : oldA},
                                                       {"attivita.wrk", finished ? newA : oldA},
                                                       {"risorse.csv", finished ? newR : oldR}}));
    }
};

QTEST_GUILESS_MAIN(TestArchive)
#include "tst_archive.moc"
