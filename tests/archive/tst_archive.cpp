#include "testkit.h"

#include "archive/encoding.h"
#include "archive/io.h"
#include "archive/record.h"
#include "archive/rewrite.h"
#include "archive/text.h"

#include <QBuffer>
#include <QTest>

using namespace archive;

// The archive library on bytes alone. Read-only files and folders and a full
// disk are driven through the windows and the library in tests/faults.
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
} // namespace

class TestArchive : public QObject {
    Q_OBJECT
private slots:
    void lineEnds();
    void encoding();
    void numberForms();
    void textRules();
    void recordsParseAndDamage();
    void pathsInOrder();
    void lineCopyNormalisesAndKeeps();
    void rewriteKeepsDamagedLinesAbortsAndCreates();
};

void TestArchive::lineEnds()
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

void TestArchive::encoding()
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
    QVERIFY(cp1252::refusal("abc").isEmpty());
    // A line in UTF-8 with multi-byte sequences (prepared elsewhere) reads as UTF-8.
    bool utf8 = false;
    QCOMPARE(cp1252::decodeLine("ROSSI,N\xc3\xa0", &utf8), QString::fromUtf8("ROSSI,Nà"));
    QVERIFY(utf8);
    for (const char *line : {"CITT\xc0", "plain"}) {
        QCOMPARE(cp1252::decodeLine(line, &utf8), cp1252::decode(line));
        QVERIFY(!utf8);
    }
}

void TestArchive::numberForms()
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
    for (const char *bad : {"32767.6", "abc", "1.2.3"}) QVERIFY2(!text::parseRounded(bad), bad);
}

void TestArchive::textRules()
{
    QCOMPARE(text::capitals(QString::fromUtf8("città ß")), QString::fromUtf8("CITTÀ ß"));
    QCOMPARE(text::clean(QString::fromUtf8("Gruppo, \"Alfa\" Nord")), QString("GRUPPO   ALFA  NORD"));
    QCOMPARE(text::clean("a,\"b\"", false), QString("A \"B\""));
    QCOMPARE(text::clean("riga\r\nnuova"), QString("RIGA  NUOVA"));
    QCOMPARE(text::fit("abc", 5), QString("abc  "));
    QCOMPARE(text::fit("abcdef", 3), QString("abc"));
    QCOMPARE(text::alignRight("12", 6), QString("    12"));
    // By character code: capitals before small letters, the euro sign (0x80)
    // after Z but before the accented capitals (0xC0...).
    for (auto [a, b] : {std::pair{"B", "a"}, {"Z", "€"}, {"€", "À"}, {"AB", "ABC"}})
        QVERIFY2(text::compareCode(QString::fromUtf8(a), QString::fromUtf8(b)) < 0, a);
    QCOMPARE(text::compareCode("ABC", "ABC"), 0);
}

void TestArchive::recordsParseAndDamage()
{
    Record r = parseRecord(" 12 , ROSSI ,", kFmt);
    QVERIFY(!r.damaged);
    QCOMPARE(r.number(0), qint16(12));
    QCOMPARE(r.at(1), QString("ROSSI"));
    QCOMPARE(r.at(2), QString(""));
    r = parseRecord("12", kFmt); // missing items read as empty
    QVERIFY(!r.damaged);
    QCOMPARE(r.at(2), QString(""));
    // Not a number, out of range, one item too many, nothing at all.
    for (const char *bad : {"x,a,b", "40000,a,b", "1,a,b,c", ""}) QVERIFY2(parseRecord(bad, kFmt).damaged, bad);
    QCOMPARE(copyForm(parseRecord("12,ROSSI,X", kFmt), kFmt), QByteArray(" 12 ,ROSSI,X"));
    QCOMPARE(copyForm(parseRecord("-3,A,", kFmt), kFmt), QByteArray("-3 ,A,"));
    QCOMPARE(copyForm(parseRecord("x,A,", kFmt), kFmt), QByteArray("x,A,"));
    bool ok = false;
    QCOMPARE(typedForm({"7", QString::fromUtf8("CITTÀ"), ""}, &ok), QByteArray("7,CITT\xc0,"));
    QVERIFY(ok);
}

void TestArchive::pathsInOrder()
{
    WorkingFolder f("/tmp/ufficio");
    const QStringList p = f.paths();
    QCOMPARE(p.size(), 18);
    for (auto [i, name] : {std::pair{0, "associazioni.csv"}, {3, "emergenza.dat"}, {4, "numeroprot.dat"},
                           {16, "risorse.sav"}, {17, "volontari.csv"}})
        QCOMPARE(p[i], "/tmp/ufficio/" + QString(name));
    const ArchiveSet s = f.set(Register::Attrezzature);
    QCOMPARE(QStringList({s.archive, s.work, s.snapshot}),
             QStringList({"/tmp/ufficio/attrezzature.csv", "/tmp/ufficio/attrezzature.wrk",
                          "/tmp/ufficio/attrezzature.sav"}));
}

void TestArchive::lineCopyNormalisesAndKeeps()
{
    TestOffice o;
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

void TestArchive::rewriteKeepsDamagedLinesAbortsAndCreates()
{
    TestOffice o;
    auto rewriteActivities = [&](const EachRecord &each, const AtEnd &atEnd = {}) {
        return rewrite(o.path(File::Attivita), o.path(File::AttivitaWrk), kFmt, each, atEnd);
    };
    // A missing archive reads as empty; what comes at the end creates it.
    int seen = 0;
    QVERIFY(readRecords(o.path("assente.csv"), kFmt, [&](const Record &) { return ++seen, true; }));
    QCOMPARE(seen, 0);
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

    // An abort, or a typed record Windows-1252 cannot hold, changes nothing.
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

QTEST_GUILESS_MAIN(TestArchive)
#include "tst_archive.moc"
