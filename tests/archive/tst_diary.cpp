// The room's diary: its bytes, its chain, and the line every kind of change
// writes with itself.
#include "testkit.h"

#include "archive/diary.h"
#include "archive/encoding.h"
#include "archive/journal.h"
#include "activities/activitysession.h"
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
        const QList<QByteArray> lines = o.read(diary::kFileName).split('\n');
        QCOMPARE(lines.size(), 5); // and the last ends with its line end
        const QByteArray fields = "08/12/2026\t23.04.05\t" + cp1252::encode(archive::Desk::current().name()) + "\tNOTA\t\tPrima nota: citt\xe0 con tab";
        const QByteArray hash = QCryptographicHash::hash(QByteArray(64, '0') + '\t' + fields, QCryptographicHash::Sha256).toHex();
        QCOMPARE(lines.first(), fields + '\t' + hash + '\r');
        QCOMPARE(diary::readAll(folder).value(0).text, QString::fromUtf8("Prima nota: città con tab"));

        QList<QByteArray> altered = lines.mid(0, 4);
        if (how == 1) altered[alteredFrom - 1][12] = 'X';
        if (how == 2) altered.removeAt(alteredFrom - 1);
        if (how == 3) altered.insert(alteredFrom - 1, altered.at(alteredFrom - 2));
        o.write(diary::kFileName, altered.join('\n') + '\n');
        QCOMPARE(diary::check(folder).message(), alteredFrom ? QString::fromUtf8("Il diario è stato alterato a partire dalla riga %1: le righe da lì in poi non sono garantite.").arg(alteredFrom)
                                                             : QString::fromUtf8("Il diario è integro (4 righe)."));
        // A new line follows the stored hash of the last one.
        QVERIFY(diary::addNote(folder, QStringLiteral("Quinta")).ok());
        QCOMPARE(diary::check(folder).alteredFrom, alteredFrom);
        // Notes that cannot be written are refused.
        QCOMPARE(diary::addNote(folder, "  \t").message(), QString::fromUtf8("La nota è vuota: scrivere il testo da aggiungere al diario."));
        QCOMPARE(diary::addNote(folder, QString::fromUtf8("Nota ☃")).message(), cp1252::refusal(QString::fromUtf8("Nota ☃")));
    }

    // Each change, made through the core as every window makes it, adds
    // exactly its own line.
    void everyChangeAddsItsLine()
    {
        TestFolder o;
        const archive::WorkingFolder &f = o.ctx.folder;
        o.write(File::Emergenza, "PROVA\r\n");
        const QString tenda = QString("ALFA").leftJustified(50) + QString("TENDA").leftJustified(50) + "L  5";
        const auto giveBack = [&](const archive::Record &r) {
            return resources::ok(resources::giveBackRecord(f, activities::resourceOf(r), r.at(activities::RNumProt)));
        };
        const auto activity = [&](modes::Activity mode, const char *n, const char *loc, bool closed, int lines) {
            const char *end = closed ? "01/03/2025" : "";
            activities::Registration reg;
            reg.mode = mode, reg.protsel = n, reg.input = {n, "01/03/2025", "09.00", end, closed ? "10.00" : "", end, closed ? "18.00" : "", "SOCCORSO", loc, "SALA", {}};
            for (int i = 0; i < lines; ++i)
                reg.resources << activities::ResourceEntry{resources::equipmentLine(tenda, 2)};
            return activities::registerActivity(f, reg, giveBack).messages.value(0).endsWith("correttamente.");
        };
        activities::ActivitySession session(o.ctx);
        session.setShown(true);
        const auto take = [&] {
            session.activate(), session.startPicking(ResourceKind::Equipment), session.offer(ResourceKind::Equipment, tenda);
            return session.activate(), session.add("2").done();
        };
        const archive::Desk stopped{"ALTRO-PC", "rossi", 4343, "t", 0, {}};
        const struct {
            const char *kind, *numprot, *text;
            std::function<bool()> change;
        } changes[] = {
            {"REGISTRO", "", "Inserita l'associazione ALFA.", [&] { return associations::insert(f, associations::recordFields({"ALFA", {}, {}, {}, {}, {}, {}, {}, "10"})).done(); }},
            {"REGISTRO", "", "Modificata l'associazione ALFA.", [&] { return associations::modify(f, "ALFA", associations::recordFields({"ALFA", "VIA", {}, {}, {}, {}, {}, {}, "10"})).done(); }},
            {"REGISTRO", "", "Inserito l'automezzo JEEP dell'associazione ALFA.", [&] { return vehicles::insert(f, {"ALFA", "JEEP", {}, {}, {}, {}, {}, {}, "L"}).done(); }},
            {"REGISTRO", "", "Inserita l'attrezzatura TENDA dell'associazione ALFA.", [&] { return equipment::insert(f, {"ALFA", "TENDA", "L", "5"}).done(); }},
            {"ATTIVITA", "1", "Attività n. 1 inserita (SOCCORSO, ROMA) con 2 risorse.", [&] { return activity(modes::Activity::I, "1", "Roma", false, 2); }},
            {"ATTIVITA", "1", "Attività n. 1 modificata (SOCCORSO, MILANO) con 1 risorsa.", [&] { return activity(modes::Activity::M, "1", "Milano", false, 1); }},
            {"ATTIVITA", "1", "Impegnata per l'attività n. 1, non ancora registrata: attrezzatura TENDA dell'associazione ALFA (2).", [&] { return session.choose("1", modes::Activity::M).done() && take(); }},
            {"ATTIVITA", "1", "Restituita dall'attività n. 1, non ancora registrata: attrezzatura TENDA dell'associazione ALFA (2).", [&] { return session.deleteLine(1).done(); }},
            {"ATTIVITA", "1", "Impegnata per l'attività n. 1, non ancora registrata: attrezzatura TENDA dell'associazione ALFA (2).", take},
            {"ATTIVITA", "", "Rimesse com'erano le risorse impegnate o restituite nella finestra Attività e mai registrate: attrezzatura TENDA dell'associazione ALFA.", [&] { return session.discard().done(); }},
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
                     QStringList({"03/03/2025", "09.05.00", archive::Desk::current().name(), c.kind, c.numprot, QString::fromUtf8(c.text)}));
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
        QCOMPARE(o.read(copy.filePath("diario.txt")), saved);
        QVERIFY(diary::addNote(f, "Tre").ok());
        const QByteArray longer = o.read(diary::kFileName);
        const struct {
            QByteArray here, there, kept;
        } cases[] = {{longer, saved, longer}, {{}, saved, saved}, {saved, longer, longer}, {saved + "alterata\r\n", longer, saved + "alterata\r\n"}};
        for (const auto &c : cases) {
            c.here.isEmpty() ? (void)QFile::remove(diary::path(f)) : o.write(diary::kFileName, c.here);
            o.write(copy.filePath("diario.txt"), c.there);
            maintain(maintenance::restore, 0);
            const QByteArray now = o.read(diary::kFileName);
            QVERIFY(now.startsWith(c.kept));
            QCOMPARE(now.count('\n'), c.kept.count('\n') + 1);
            QCOMPARE(diary::readAll(f).last().text, "Archivio associazioni.csv ripristinato dalla copia " + QDir::toNativeSeparators(copy.filePath("associazioni.bak")) + ".");
        }
        const QByteArray before = o.read(diary::kFileName);
        maintain(maintenance::reset, 1);
        QVERIFY(o.read(diary::kFileName).startsWith(before));
        QCOMPARE(diary::readAll(f).last().text, "Archivio associazioni.csv azzerato: inizia una nuova emergenza.");
    }
};

QTEST_GUILESS_MAIN(TestDiary)
#include "tst_diary.moc"
