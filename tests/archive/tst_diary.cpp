// The room's diary: its bytes, its chain, and the line every kind of change
// writes with itself.
#include "testkit.h"

#include "archive/diary.h"
#include "archive/encoding.h"
#include "archive/journal.h"

#include <QCryptographicHash>
#include <QTest>

using archive::File;

class TestDiary : public QObject {
    Q_OBJECT
private slots:
    void linesAreChainedAndAnAlterationIsFound_data()
    {
        QTest::addColumn<int>("alteredFrom");
        QTest::addColumn<int>("how"); // 1: a byte changed, 2: the line removed, 3: the line before repeated
        QTest::newRow("intatto") << 0 << 0;
        QTest::newRow("un byte cambiato") << 2 << 1;
        QTest::newRow("l'ultima riga cambiata") << 4 << 1;
        QTest::newRow("una riga tolta") << 2 << 2;
        QTest::newRow("una riga aggiunta") << 3 << 3;
    }
    void linesAreChainedAndAnAlterationIsFound()
    {
        QFETCH(int, alteredFrom);
        QFETCH(int, how);
        TestFolder o;
        o.fake.clock.time = QDateTime(QDate(2026, 12, 8), QTime(23, 4, 5));
        const archive::WorkingFolder &folder = o.ctx.folder;
        for (const char *text : {"Prima nota: città\tcon tab", "Seconda", "Terza", "Quarta"})
            QVERIFY(diary::addNote(folder, QString::fromUtf8(text)).ok());
        const QByteArray bytes = o.read(diary::kFileName);
        const QList<QByteArray> lines = bytes.split('\n');
        QCOMPARE(lines.size(), 5); // and the last ends with its line end
        // The first line, byte for byte.
        const QByteArray fields = "08/12/2026\t23.04.05\t" + cp1252::encode(archive::Desk::current().name())
                                  + "\tNOTA\t\tPrima nota: citt\xe0 con tab";
        const QByteArray hash = QCryptographicHash::hash(QByteArray(64, '0') + '\t' + fields,
                                                         QCryptographicHash::Sha256)
                                    .toHex();
        QCOMPARE(lines.first(), fields + '\t' + hash + '\r');
        const QList<diary::Entry> entries = diary::readAll(folder);
        QCOMPARE(entries.size(), 4);
        QCOMPARE(entries.at(3).row, 4);
        QCOMPARE(entries.at(0).text, QString::fromUtf8("Prima nota: città con tab"));
        QCOMPARE(entries.at(1).hash, QString::fromLatin1(lines.at(1).split('\t').last().trimmed()));

        QList<QByteArray> altered = lines.mid(0, 4);
        if (how == 1) altered[alteredFrom - 1][12] = 'X';
        if (how == 2) altered.removeAt(alteredFrom - 1);
        if (how == 3) altered.insert(alteredFrom - 1, altered.at(alteredFrom - 2));
        o.write(diary::kFileName, altered.join('\n') + '\n');
        const diary::Check c = diary::check(folder);
        QCOMPARE(c.alteredFrom, alteredFrom);
        QCOMPARE(c.message(), alteredFrom ? QStringLiteral("Il diario è stato alterato a partire dalla riga %1: le "
                                                           "righe da lì in poi non sono garantite.")
                                                .arg(alteredFrom)
                                          : QStringLiteral("Il diario è integro (4 righe)."));
        // A new line follows the stored hash of the last one.
        QVERIFY(diary::addNote(folder, QStringLiteral("Quinta")).ok());
        QCOMPARE(diary::check(folder).alteredFrom, alteredFrom);
    }

    void aNoteIsRefusedWhenEmptyOrNotWritable()
    {
        TestFolder o;
        QCOMPARE(diary::addNote(o.ctx.folder, QStringLiteral("  \t")).message(),
                 QStringLiteral("La nota è vuota: scrivere il testo da aggiungere al diario."));
        QCOMPARE(diary::addNote(o.ctx.folder, QString::fromUtf8("Nota ☃")).message(),
                 cp1252::refusal(QString::fromUtf8("Nota ☃")));
        QVERIFY(!QFile::exists(diary::path(o.ctx.folder)));
        // A change whose diary cannot be written changes nothing.
        o.write(File::NumeroProt, "7\r\n");
        o.write(diary::kFileName, "");
        setReadOnly(diary::path(o.ctx.folder));
        const archive::IoResult io = archive::replaceFile(o.path(File::NumeroProt), "8\r\n");
        setReadOnly(diary::path(o.ctx.folder), false);
        QCOMPARE(io.message(), QStringLiteral("Impossibile scrivere il file diario.txt (%1). Il file diario.txt "
                                              "resta com'era. Nessun altro archivio è stato modificato.")
                                   .arg(diary::path(o.ctx.folder)));
        QCOMPARE(o.read(File::NumeroProt), QByteArray("7\r\n"));
        QCOMPARE(o.read(diary::kFileName), QByteArray());
        // A change that tells no line of its own gets one naming what changed.
        QVERIFY(archive::replaceFile(o.path(File::NumeroProt), "8\r\n").ok());
        QCOMPARE(diary::readAll(o.ctx.folder).value(0).text, QStringLiteral("Modificato l'archivio numeroprot.dat."));
    }
};

QTEST_GUILESS_MAIN(TestDiary)
#include "tst_diary.moc"
