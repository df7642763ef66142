#include "testkit.h"

#include "archive/encoding.h"
#include "archive/io.h"
#include "archive/record.h"
#include "archive/rewrite.h"
#include "archive/text.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QTest>

#include <csignal>
#include <sys/resource.h>

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
} // namespace

class TestArchive : public QObject {
    Q_OBJECT
private slots:
    void lineEnds();
    void lineEndsAcrossBufferBoundary();
    void encodingRoundTrip();
    void utf8LinesAreRecognised();
    void numberForms();
    void textRules();
    void recordsParseAndDamage();
    void pathsInOrder();
    void lineCopyNormalisesAndKeeps();
    void lineCopyMissingSourceLeavesDestination();
    void rewriteKeepsDamagedLinesAndCopiesInNumberForm();
    void rewriteAbortLeavesArchive();
    void rewriteOfMissingArchive();
    void readOnlyArchiveIsRefused();
    void readOnlyFolderIsRefused();
    void fullDiskNamesTheFileAndKeepsTheArchive();
};

void TestArchive::lineEnds()
{
    QCOMPARE(readAllLines("a\r\nb\rc\nd"), (QList<QByteArray>{"a", "b", "c", "d"}));
    QCOMPARE(readAllLines("a\r\n\r\nb\r\n"), (QList<QByteArray>{"a", "", "b"}));
    QCOMPARE(readAllLines(""), QList<QByteArray>{});
    QCOMPARE(readAllLines("\r\n"), QList<QByteArray>{""});
    QCOMPARE(readAllLines("\n\r"), (QList<QByteArray>{"", ""}));
}

void TestArchive::lineEndsAcrossBufferBoundary()
{
    // A CR LF split between two reads of the buffer is one line end.
    for (int pad : {65535, 65536, 65534}) {
        QByteArray data(pad, 'x');
        data += "\r\nnext\r\rlast";
        const auto lines = readAllLines(data);
        QCOMPARE(lines.size(), 4);
        QCOMPARE(lines[0].size(), pad);
        QCOMPARE(lines[1], QByteArray("next"));
        QCOMPARE(lines[2], QByteArray(""));
        QCOMPARE(lines[3], QByteArray("last"));
    }
}

void TestArchive::encodingRoundTrip()
{
    QByteArray all;
    for (int b = 0; b < 256; ++b) all.append(char(b));
    QCOMPARE(cp1252::encode(cp1252::decode(all)), all);
    QCOMPARE(cp1252::decode("\x80\xe0\x92"), QString::fromUtf8("€à’"));
    bool ok = true;
    QVERIFY(cp1252::encode(QString::fromUtf8("città €"), &ok) == QByteArray("citt\xe0 \x80"));
    QVERIFY(ok);
    cp1252::encode(QString::fromUtf8("Ωmega"), &ok);
    QVERIFY(!ok);
    QCOMPARE(cp1252::firstUnencodable(QString::fromUtf8("abΩ")), 2);
    QVERIFY(cp1252::refusal(QString::fromUtf8("abΩ")).contains(QString::fromUtf8("Ω")));
    QVERIFY(cp1252::refusal("abc").isEmpty());
}

void TestArchive::utf8LinesAreRecognised()
{
    bool utf8 = false;
    QCOMPARE(cp1252::decodeLine("ROSSI,N\xc3\xa0", &utf8), QString::fromUtf8("ROSSI,Nà"));
    QVERIFY(utf8);
    QCOMPARE(cp1252::decodeLine("CITT\xc0", &utf8), QString::fromUtf8("CITTÀ"));
    QVERIFY(!utf8);
    QCOMPARE(cp1252::decodeLine("plain", &utf8), QString("plain"));
    QVERIFY(!utf8);
}

void TestArchive::numberForms()
{
    QCOMPARE(text::numberForm(0), QString(" 0 "));
    QCOMPARE(text::numberForm(57), QString(" 57 "));
    QCOMPARE(text::numberForm(-5), QString("-5 "));
    QCOMPARE(text::numberForm(-32768), QString("-32768 "));
    QCOMPARE(text::parseNumber(" 12 ").value(), qint16(12));
    QCOMPARE(text::parseNumber("12").value(), qint16(12));
    QCOMPARE(text::parseNumber("-5 ").value(), qint16(-5));
    QCOMPARE(text::parseNumber("32767").value(), qint16(32767));
    QCOMPARE(text::parseNumber("-32768").value(), qint16(-32768));
    for (const char *bad : {"", " ", "32768", "-32769", "1.5", "12a", "- 3", "99999999999999999999"})
        QVERIFY2(!text::parseNumber(bad), bad);
    QCOMPARE(text::parseRounded("41.5").value(), qint16(42));
    QCOMPARE(text::parseRounded("42.5").value(), qint16(42));
    QCOMPARE(text::parseRounded("-2,5").value(), qint16(-2));
    QCOMPARE(text::parseRounded("7").value(), qint16(7));
    QVERIFY(!text::parseRounded("32767.6"));
    QVERIFY(!text::parseRounded("abc"));
    QVERIFY(!text::parseRounded("1.2.3"));
}

void TestArchive::textRules()
{
    QCOMPARE(text::capitals(QString::fromUtf8("città ß")), QString::fromUtf8("CITTÀ ß"));
    QCOMPARE(text::clean(QString::fromUtf8("Gruppo, \"Alfa\" Nord")),
             QString("GRUPPO   ALFA  NORD"));
    QCOMPARE(text::clean("a,\"b\"", false), QString("A \"B\""));
    QCOMPARE(text::clean("riga\r\nnuova"), QString("RIGA  NUOVA"));
    QCOMPARE(text::fit("abc", 5), QString("abc  "));
    QCOMPARE(text::fit("abcdef", 3), QString("abc"));
    QCOMPARE(text::alignRight("12", 6), QString("    12"));
    // By character code: capitals before small letters, the euro sign (0x80)
    // after Z but before the accented capitals (0xC0...).
    QVERIFY(text::compareCode("B", "a") < 0);
    QVERIFY(text::compareCode(QString::fromUtf8("Z"), QString::fromUtf8("€")) < 0);
    QVERIFY(text::compareCode(QString::fromUtf8("€"), QString::fromUtf8("À")) < 0);
    QVERIFY(text::compareCode("AB", "ABC") < 0);
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
    QVERIFY(parseRecord("x,a,b", kFmt).damaged);
    QVERIFY(parseRecord("40000,a,b", kFmt).damaged);
    QVERIFY(parseRecord("1,a,b,c", kFmt).damaged); // more items than the record has
    QVERIFY(parseRecord("", kFmt).damaged);
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
    QCOMPARE(p.first(), QString("/tmp/ufficio/associazioni.csv"));
    QCOMPARE(p[3], QString("/tmp/ufficio/emergenza.dat"));
    QCOMPARE(p[4], QString("/tmp/ufficio/numeroprot.dat"));
    QCOMPARE(p[16], QString("/tmp/ufficio/risorse.sav"));
    QCOMPARE(p.last(), QString("/tmp/ufficio/volontari.csv"));
    const ArchiveSet s = f.set(Register::Attrezzature);
    QCOMPARE(s.archive, QString("/tmp/ufficio/attrezzature.csv"));
    QCOMPARE(s.work, QString("/tmp/ufficio/attrezzature.wrk"));
    QCOMPARE(s.snapshot, QString("/tmp/ufficio/attrezzature.sav"));
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
}

void TestArchive::lineCopyMissingSourceLeavesDestination()
{
    TestOffice o;
    o.write("b.txt", "keep\r\n");
    const IoResult r = copyLines(o.path("nothing.txt"), o.path("b.txt"));
    QCOMPARE(r.status, IoResult::SourceMissing);
    QCOMPARE(o.read("b.txt"), QByteArray("keep\r\n"));
}

void TestArchive::rewriteKeepsDamagedLinesAndCopiesInNumberForm()
{
    TestOffice o;
    o.write(File::Attivita, "3,A,B\r\nguasto,x\r\n\r\n9,C,D\n5,E,F");
    const auto out = rewrite(o.path(File::Attivita), o.path(File::AttivitaWrk), kFmt,
                             [](const Record &r, RecordSink &sink) {
                                 if (r.number(0) == 9) {
                                     sink.writeTyped({"7", "NEW", ""});
                                     return Step::Keep;
                                 }
                                 return r.number(0) == 5 ? Step::Drop : Step::Keep;
                             });
    QVERIFY(out.done());
    const QByteArray expected = " 3 ,A,B\r\nguasto,x\r\n\r\n7,NEW,\r\n 9 ,C,D\r\n";
    QCOMPARE(o.read(File::Attivita), expected);
    QCOMPARE(o.read(File::AttivitaWrk), expected); // the work file stays, holding the same
}

void TestArchive::rewriteAbortLeavesArchive()
{
    TestOffice o;
    const QByteArray before = "1,A,B\n2,C,D";
    o.write(File::Attivita, before);
    const auto out = rewrite(o.path(File::Attivita), o.path(File::AttivitaWrk), kFmt,
                             [](const Record &r, RecordSink &) {
                                 return r.number(0) == 2 ? Step::Abort : Step::Keep;
                             });
    QCOMPARE(out.status, RewriteOutcome::Aborted);
    QCOMPARE(o.read(File::Attivita), before);
}

void TestArchive::rewriteOfMissingArchive()
{
    TestOffice o;
    const auto out = rewrite(o.path(File::Attivita), o.path(File::AttivitaWrk), kFmt,
                             [](const Record &, RecordSink &) { return Step::Keep; },
                             [](RecordSink &sink) { sink.writeTyped({"1", "X", "Y"}); });
    QVERIFY(out.done());
    QCOMPARE(o.read(File::Attivita), QByteArray("1,X,Y\r\n"));
    int seen = 0;
    QVERIFY(readRecords(o.path("assente.csv"), kFmt, [&](const Record &) { return ++seen, true; }));
    QCOMPARE(seen, 0);
}

void TestArchive::readOnlyArchiveIsRefused()
{
    TestOffice o;
    o.write(File::Attivita, "1,A,B\r\n");
    QFile::setPermissions(o.path(File::Attivita), QFile::ReadOwner | QFile::ReadGroup);
    const auto out = rewrite(o.path(File::Attivita), o.path(File::AttivitaWrk), kFmt,
                             [](const Record &, RecordSink &) { return Step::Keep; });
    QCOMPARE(out.status, RewriteOutcome::Failed);
    QCOMPARE(out.io.path, o.path(File::Attivita));
    QVERIFY(out.io.message().contains("attivita.csv"));
    QCOMPARE(o.read(File::Attivita), QByteArray("1,A,B\r\n"));
    QCOMPARE(copyLines(o.path(File::Attivita), o.path(File::Attivita)).status, IoResult::WriteFailed);
    QVERIFY(!replaceFile(o.path(File::Attivita), "x").ok());
    // An unencodable typed record fails the whole rewrite and changes nothing.
    o.write(File::Risorse, "1,A,B\r\n");
    const auto bad = rewrite(o.path(File::Risorse), o.path(File::RisorseWrk), kFmt,
                             [](const Record &, RecordSink &s) {
                                 s.writeTyped({"2", QString::fromUtf8("Ω"), ""});
                                 return Step::Keep;
                             });
    QCOMPARE(bad.status, RewriteOutcome::Failed);
    QCOMPARE(o.read(File::Risorse), QByteArray("1,A,B\r\n"));
}

void TestArchive::readOnlyFolderIsRefused()
{
    // Even a user who may write anywhere (root) creates nothing in a
    // folder marked read-only.
    TestOffice o;
    o.write(File::Attivita, "1,A,B\r\n");
    const auto all = QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner;
    QFile::setPermissions(o.dir(), QFile::ReadOwner | QFile::ExeOwner);
    const auto out = rewrite(o.path(File::Attivita), o.path(File::AttivitaWrk), kFmt,
                             [](const Record &, RecordSink &) { return Step::Keep; });
    const IoResult copied = copyLines(o.path(File::Attivita), o.path(File::AttivitaSav));
    const IoResult replaced = replaceFile(o.path(File::NumeroProt), "1\r\n");
    QFile::setPermissions(o.dir(), all);
    QCOMPARE(out.status, RewriteOutcome::Failed);
    QCOMPARE(out.io.path, o.path(File::Attivita));
    QCOMPARE(copied.status, IoResult::WriteFailed);
    QCOMPARE(copied.path, o.path(File::AttivitaSav));
    QCOMPARE(replaced.path, o.path(File::NumeroProt));
    QCOMPARE(QDir(o.dir()).entryList(QDir::Files), QStringList{"attivita.csv"});
    QCOMPARE(o.read(File::Attivita), QByteArray("1,A,B\r\n"));
}

void TestArchive::fullDiskNamesTheFileAndKeepsTheArchive()
{
    // Files may not grow beyond 16 KiB for a moment: writes beyond fail
    // (EFBIG) as on a full disk. The rewrite names the work file, where the
    // first write failed, and leaves the archive whole.
    TestOffice o;
    QByteArray big;
    for (int i = 0; big.size() < 40000; ++i) big += QByteArray::number(i) + ",TESTO,ALTRO\r\n";
    o.write(File::Attivita, big);
    rlimit saved{};
    QCOMPARE(getrlimit(RLIMIT_FSIZE, &saved), 0);
    const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    rlimit small = saved;
    small.rlim_cur = 16 << 10;
    QCOMPARE(setrlimit(RLIMIT_FSIZE, &small), 0);
    const auto out = rewrite(o.path(File::Attivita), o.path(File::AttivitaWrk), kFmt,
                             [](const Record &, RecordSink &) { return Step::Keep; });
    const IoResult copied = copyLines(o.path(File::Attivita), o.path(File::AttivitaSav));
    setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, oldHandler);
    QCOMPARE(out.status, RewriteOutcome::Failed);
    QCOMPARE(out.io.path, o.path(File::AttivitaWrk));
    QVERIFY(out.io.message().contains("attivita.wrk"));
    QCOMPARE(copied.path, o.path(File::AttivitaSav));
    QCOMPARE(o.read(File::Attivita), big);
    QVERIFY(!o.exists(File::AttivitaSav));
}

QTEST_GUILESS_MAIN(TestArchive)
#include "tst_archive.moc"
