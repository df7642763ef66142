// The room's diary: its bytes, its chain, and the line every kind of change
// writes with itself.
#include "testkit.h"

#include "archive/diary.h"
#include "archive/encoding.h"
#include "archive/journal.h"
#include "activities/registration.h"
#include "associations/records.h"
#include "equipment/records.h"
#include "resources/operations.h"
#include "resources/unregistered.h"
#include "session/maintenance.h"
#include "session/settings.h"
#include "vehicles/records.h"

#include <QCryptographicHash>
#include <QTest>
#include <functional>

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

    // Each change, made through the core as every window makes it, adds
    // exactly its own line.
    void everyChangeAddsItsLine()
    {
        TestFolder o;
        const archive::WorkingFolder &f = o.ctx.folder;
        o.write(File::Emergenza, "PROVA\r\n");
        QTemporaryDir copy;
        QFile empty(copy.filePath("vuoto.bak"));
        QVERIFY(empty.open(QIODevice::WriteOnly));
        empty.close();
        const auto giveBack = [&](const archive::Record &r) {
            return resources::ok(resources::giveBackRecord(f, activities::resourceOf(r), r.at(activities::RNumProt)));
        };
        const auto activity = [&](modes::Activity mode, const char *n, const char *loc, bool closed, int lines) {
            activities::Registration reg;
            reg.mode = mode;
            reg.protsel = n;
            const char *end = closed ? "01/03/2025" : "";
            reg.input = {n, "01/03/2025", "09.00", end, closed ? "10.00" : "", end, closed ? "18.00" : "", "SOCCORSO", loc, "SALA", {}};
            for (int i = 0; i < lines; ++i)
                reg.resources << activities::ResourceEntry{resources::equipmentLine(QString("ALFA").leftJustified(50) + QString("TENDA").leftJustified(50) + "L  5", 2)};
            const activities::RegistrationOutcome out = activities::registerActivity(f, reg, giveBack);
            return out.kind > activities::RegistrationOutcome::Refused && out.kind < activities::RegistrationOutcome::Failed;
        };
        archive::Desk stopped;
        stopped.host = "ALTRO-PC";
        stopped.user = "rossi";
        stopped.pid = 4343;
        stopped.token = "t";
        const struct {
            const char *kind, *numprot, *text;
            std::function<bool()> change;
        } changes[] = {
            {"REGISTRO", "", "Inserita l'associazione ALFA.", [&] { return associations::insert(f, associations::recordFields({"ALFA", {}, {}, {}, {}, {}, {}, {}, "10"})).done(); }},
            {"REGISTRO", "", "Inserito l'automezzo JEEP dell'associazione ALFA.", [&] { return vehicles::insert(f, {"ALFA", "JEEP", {}, {}, {}, {}, {}, {}, "L"}).done(); }},
            {"REGISTRO", "", "Inserita l'attrezzatura TENDA dell'associazione ALFA.", [&] { return equipment::insert(f, {"ALFA", "TENDA", "L", "5"}).done(); }},
            {"ATTIVITA", "1", "Attività n. 1 inserita (SOCCORSO, ROMA) con 2 risorse.", [&] { return activity(modes::Activity::I, "1", "Roma", false, 2); }},
            {"ATTIVITA", "1", "Attività n. 1 modificata (SOCCORSO, MILANO) con 1 risorsa.", [&] { return activity(modes::Activity::M, "1", "Milano", false, 1); }},
            {"ATTIVITA", "1", "Attività n. 1 chiusa (SOCCORSO, MILANO) con 1 risorsa.", [&] { return activity(modes::Activity::M, "1", "Milano", true, 1); }},
            {"ATTIVITA", "2", "Attività n. 2 inserita chiusa (SOCCORSO, PISA) con 0 risorse.", [&] { return activity(modes::Activity::I, "2", "Pisa", true, 0); }},
            {"ATTIVITA", "3", "Attività n. 3 inserita (SOCCORSO, LUCCA) con 0 risorse.", [&] { return activity(modes::Activity::I, "3", "Lucca", false, 0); }},
            {"ATTIVITA", "3", "Attività n. 3 annullata (SOCCORSO, LUCCA) con 0 risorse.", [&] { return activity(modes::Activity::A, "3", "Lucca", false, 0); }},
            {"REGISTRO", "", "Rinominata l'attrezzatura TENDA dell'associazione ALFA > TENDONE dell'associazione ALFA.", [&] { return equipment::modify(f, {"ALFA", "TENDA"}, {"ALFA", "TENDONE", "L", "5"}).done(); }},
            {"REGISTRO", "", "Rinominata l'associazione ALFA > BETA.", [&] { return associations::modify(f, "ALFA", associations::recordFields({"BETA", {}, {}, {}, {}, {}, {}, {}, "10"})).done(); }},
            {"REGISTRO", "", "Eliminato l'automezzo JEEP dell'associazione BETA.", [&] { return vehicles::remove(f, {"BETA", "JEEP"}).done(); }},
            {"REGISTRO", "", "Eliminata l'associazione BETA, con 0 automezzi e 1 attrezzature.", [&] { return associations::remove(f, "BETA", "BETA").done(); }},
            {"ARCHIVI", "", "Numero protocollo cambiato: 3 > 40.", [&] { return settings::changeCounter(f, 40).ok(); }},
            {"ARCHIVI", "", "Nome dell'emergenza cambiato: PROVA > ALLUVIONE.", [&] { return settings::changeEmergency(f, "ALLUVIONE").ok(); }},
            {"ARCHIVI", "", "Archivi ripristinati dalla copia in %1.", [&] {
                 o.fake.prompts.answers << true << false << false << false << false << false;
                 o.fake.prompts.files << copy.filePath("vuoto.bak");
                 maintenance::restore(o.ctx);
                 return o.read(File::Associazioni).isEmpty();
             }},
            {"ARCHIVI", "", "Archivi azzerati: inizia una nuova emergenza.", [&] {
                 o.fake.prompts.answers << true << false << false << false << false << true << false << false;
                 maintenance::reset(o.ctx);
                 return o.read(File::NumeroProt) == " 0 \r\n";
             }},
            {"ATTIVITA", "", "Rimesse com'erano le risorse impegnate o restituite nella finestra Attività della postazione ALTRO-PC (utente rossi), che si era fermata, e mai registrate: attrezzatura TENDONE dell'associazione ALFA.", [&] {
                 o.write(File::Attrezzature, "ALFA,TENDONE,A, 3 \r\n");
                 o.write("sospese-ALTRO-PC-4343.dat", stopped.line() + "\r\nP," + resources::equipmentLine(QString("ALFA").leftJustified(50) + QString("TENDONE").leftJustified(50) + "L  5", 2).toLatin1() + "\r\n");
                 age(o.path("sospese-ALTRO-PC-4343.dat"), 601);
                 resources::undoLeftUnregistered(f);
                 return o.read(File::Attrezzature) == "ALFA,TENDONE,L, 5 \r\n";
             }},
        };
        int rows = 0;
        for (const auto &c : changes) {
            QVERIFY2(c.change(), c.text);
            const QList<diary::Entry> entries = diary::readAll(f);
            QCOMPARE(entries.size(), ++rows);
            const diary::Entry &e = entries.last();
            QCOMPARE(QStringList({e.date, e.time, e.desk, e.kind, e.numprot, e.text}),
                     QStringList({"03/03/2025", "09.05.00", archive::Desk::current().name(), c.kind, c.numprot,
                                  QString::fromUtf8(c.text).replace("%1", QDir::toNativeSeparators(copy.path()))}));
        }
        QCOMPARE(diary::check(f).alteredFrom, 0);
    }

    // "Salva Archivi" copies the diary with the archives; a restore brings a
    // copy's diary in only where it is the longer, and neither a restore nor
    // a reset ever shortens it.
    void saveCopiesTheDiaryAndNothingShortensIt()
    {
        TestFolder o;
        const archive::WorkingFolder &f = o.ctx.folder;
        QTemporaryDir copy;
        for (const char *text : {"Uno", "Due"}) QVERIFY(diary::addNote(f, text).ok());
        const auto maintain = [&](void (*sequence)(Context &), int answer) {
            o.fake.prompts.answers.clear();
            for (int i = 0; i < 8; ++i) o.fake.prompts.answers << (i == 0 || i == answer);
            o.fake.prompts.files << copy.filePath("associazioni.bak");
            sequence(o.ctx);
        };
        o.write(File::Associazioni, "ALFA,,,,,,,, 1 , 1 \r\n");
        maintain(maintenance::save, 0);
        const QByteArray saved = o.read(diary::kFileName);
        QCOMPARE(QFile(copy.filePath("diario.txt")).size(), saved.size());
        const auto restoredOver = [&](const QByteArray &here, const QByteArray &there) {
            if (here.isEmpty()) QFile::remove(diary::path(f));
            else o.write(diary::kFileName, here);
            QFile c(copy.filePath("diario.txt"));
            return c.open(QIODevice::WriteOnly) && c.write(there) == there.size();
        };
        QVERIFY(diary::addNote(f, "Tre").ok());
        const QByteArray longer = o.read(diary::kFileName);
        const struct {
            QByteArray here, there, kept;
        } cases[] = {{longer, saved, longer}, {{}, saved, saved}, {saved, longer, longer}, {saved + "alterata\r\n", longer, saved + "alterata\r\n"}};
        for (const auto &c : cases) {
            QVERIFY(restoredOver(c.here, c.there));
            maintain(maintenance::restore, 0);
            const QByteArray now = o.read(diary::kFileName);
            QVERIFY(now.startsWith(c.kept));
            QCOMPARE(now.count('\n'), c.kept.count('\n') + 1);
        }
        const QByteArray before = o.read(diary::kFileName);
        maintain(maintenance::reset, 1);
        QVERIFY(o.read(diary::kFileName).startsWith(before));
        QCOMPARE(diary::readAll(f).last().kind, diary::kArchives);
    }
};

QTEST_GUILESS_MAIN(TestDiary)
#include "tst_diary.moc"
