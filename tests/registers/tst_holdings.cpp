// What activities hold of the registers goes back to the record it came
// from: a new association name follows into the resource lines and into
// what the activity window holds unregistered; a held record is neither
// deleted nor renamed, and a held vehicle keeps its state.
#include "testkit.h"

#include "associations/records.h"
#include "equipment/records.h"
#include "resources/operations.h"
#include "vehicles/records.h"

#include <QTest>

using archive::File;

namespace {

const QByteArray kRisorse = "3,AUTO,    1 ,ALFA,JEEP,O\r\n 3 ,ATTR, 2 ,ALFA,TENDA,O\r\n"
                            " 4 ,VOL., 1 ,ALFA,,L\r\n 4 ,AUTO, 1 ,BETA,FURGONE,O\r\n";
const QString kHeldBy3 = QString::fromUtf8(" è impegnato nell'attività numero 3: ");

struct Office : TestFolder {
    Office()
    {
        write(File::Associazioni, crlf({"ALFA,,,,,,,, 5 , 5 ", "BETA,,,,,,,, 2 , 2 "}));
        write(File::Automezzi, crlf({"ALFA,JEEP,,,,,,,A", "BETA,FURGONE,,,,,,,A", "BETA,PICKUP,,,,,,,L"}));
        write(File::Attrezzature, crlf({"ALFA,TENDA,L, 3 ", "BETA,TENDA,L, 1 "}));
        write(File::Risorse, kRisorse);
    }
    const archive::WorkingFolder &f() const { return ctx.folder; }
    // Every file but the work files (which a refused rewrite leaves half written).
    QMap<QString, QByteArray> archives() const
    {
        auto all = files();
        all.removeIf([](auto it) { return it.key().endsWith(".wrk"); });
        return all;
    }
};

QString told(const archive::Outcome &o) { return archive::messageOf(o); }

} // namespace

class TestHoldings : public QObject {
    Q_OBJECT
private slots:
    void aNewNameFollowsWhatIsHeld()
    {
        Office o;
        const QString taken = "P,ATTR      1   " + QString("ALFA").leftJustified(50) + QString("TENDA").leftJustified(50);
        o.write(o.deskName(), taken.toLatin1() + "\r\nR,AUTO      1   BETA\r\n");
        QVERIFY(associations::modify(o.f(), "ALFA", {"ALFA NUOVA", "", "", "", "", "", "", "", "5", "5"}).done());
        QCOMPARE(o.read(File::Risorse), " 3 ,AUTO,1,ALFA NUOVA,JEEP,O\r\n 3 ,ATTR,2,ALFA NUOVA,TENDA,O\r\n"
                                        " 4 ,VOL.,1,ALFA NUOVA,,L\r\n 4 ,AUTO,1,BETA,FURGONE,O\r\n");
        QCOMPARE(o.read(o.deskName()), QString(taken).replace(16, 10, "ALFA NUOVA").toLatin1()
                                           + "\r\nR,AUTO      1   BETA\r\n");
        // Under a name (of no association) whose equipment has the same descriptions: two
        // records of one key would share what is given back. Nothing is written.
        o.write(File::Attrezzature, o.read(File::Attrezzature) + "GAMMA,TENDA,L, 1 \r\n");
        const auto before = o.archives();
        QCOMPARE(told(associations::modify(o.f(), "ALFA NUOVA", {"GAMMA", "", "", "", "", "", "", "", "5", "5"})),
                 QString::fromUtf8("Sotto il nome GAMMA ci sono già automezzi o attrezzature con la stessa descrizione "
                                   "di quelli dell'associazione ALFA NUOVA (TENDA): nessun archivio è stato modificato."));
        QCOMPARE(o.archives(), before);
    }

    void aHeldRecordStaysAsItIs()
    {
        Office o;
        const auto before = o.archives();
        const QString jeep = QString::fromUtf8("L'automezzo JEEP dell'associazione ALFA") + kHeldBy3;
        const QString tenda = QString::fromUtf8("L'attrezzatura TENDA dell'associazione ALFA è impegnata "
                                                "nell'attività numero 3: ");
        const QStringList jeepAgain{"ALFA", "JEEP", "", "", "", "", "", "", "A"};
        const std::pair<archive::Outcome, QString> refused[] = {
            {associations::remove(o.f(), "ALFA", "ALFA"),
             QString::fromUtf8("L'associazione ALFA ha volontari, automezzi o attrezzature impegnati nell'attività "
                               "numero 3: non può essere eliminata finché non tornano disponibili.")},
            {vehicles::remove(o.f(), {"ALFA", "JEEP"}), jeep + QString::fromUtf8("non può essere eliminato finché non torna libero.")},
            {vehicles::modify(o.f(), {"ALFA", "JEEP"}, {"ALFA", "JEEP 2", "", "", "", "", "", "", "A"}),
             jeep + QString::fromUtf8("associazione e descrizione non possono cambiare finché non torna libero.")},
            {vehicles::modify(o.f(), {"ALFA", "JEEP"}, {"ALFA", "JEEP", "", "", "", "", "", "", "L"}),
             jeep + QString::fromUtf8("il suo stato resta A = Attivo finché non torna libero.")},
            {equipment::remove(o.f(), {"ALFA", "TENDA"}), tenda + QString::fromUtf8("non può essere eliminata finché non torna disponibile.")},
            {equipment::modify(o.f(), {"ALFA", "TENDA"}, {"ALFA", "TELO", "L", "3"}),
             tenda + QString::fromUtf8("associazione e descrizione non possono cambiare finché non torna disponibile.")},
            // Only a free vehicle is engaged, never beyond what is available.
            {resources::engage(o.f(), ResourceKind::Vehicle, "BETA" + QString(46, ' ') + "FURGONE", 1),
             QString::fromUtf8("L'automezzo FURGONE dell'associazione BETA non è libero (stato A = Attivo, impegnato "
                               "nell'attività numero 4): non può essere aggiunto.")},
            {resources::engage(o.f(), ResourceKind::Equipment, "BETA" + QString(46, ' ') + "TENDA", 2),
             QString::fromUtf8("Dell'attrezzatura TENDA dell'associazione BETA sono disponibili 1 pezzi: non se ne "
                               "possono impegnare 2.")},
        };
        for (const auto &[outcome, message] : refused) {
            QCOMPARE(told(outcome), message);
            QCOMPARE(o.archives(), before);
        }
        // Taken, not yet registered, in another desk's activity window: the
        // record stays until that desk registers or leaves it.
        const archive::Desk other = archive::Desk::another("b");
        const QString file = QFileInfo(archive::WorkingFolder(o.dir(), other).deskFile()).fileName();
        o.write(file, (other.line() + "\r\nP,ATTR      1   " + QString("BETA").leftJustified(50) + "TENDA\r\n").toLatin1());
        const auto withFile = o.archives();
        const QString there = " nella finestra Attività della postazione " + other.name() + " (non ancora registrata): ";
        QCOMPARE(told(equipment::remove(o.f(), {"BETA", "TENDA"})),
                 QString::fromUtf8("L'attrezzatura TENDA dell'associazione BETA è impegnata") + there
                     + QString::fromUtf8("non può essere eliminata finché non torna disponibile."));
        QCOMPARE(told(associations::remove(o.f(), "BETA", "BETA")),
                 QString::fromUtf8("L'associazione BETA ha volontari, automezzi o attrezzature impegnati nell'attività numero 4 e")
                     + there + QString::fromUtf8("non può essere eliminata finché non tornano disponibili."));
        QCOMPARE(o.archives(), withFile);
        QVERIFY(QFile::remove(o.path(file)));
        // What is held otherwise changes as usual: the other fields, another vehicle.
        QVERIFY(vehicles::modify(o.f(), {"ALFA", "JEEP"}, jeepAgain).done());
        QVERIFY(vehicles::remove(o.f(), {"BETA", "PICKUP"}).done());
        QVERIFY(equipment::remove(o.f(), {"BETA", "TENDA"}).done());
    }
};

QTEST_MAIN(TestHoldings)
#include "tst_holdings.moc"
