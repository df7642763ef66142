// The main window (its lists, menu and clicks), the protocol counter window,
// the emergency name window, and the snapshots the main window takes.
#include "office.h"

#include "app/emergenzaform.h"
#include "app/formprot.h"
#include "app/formvelmo.h"
#include "ui/linelist.h"
#include "session/settings.h"
#include "session/snapshot.h"
#include "desks.h"

#include <QAction>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

using archive::File;
using archive::Register;

const auto click = clickButton;

class TestSmallWindows : public QObject {
    Q_OBJECT
private slots:
    void protocolCounter();
    void emergencyName();
    void mainListsSplitOpenActivitiesAndAClickTakesSnapshots();
    void menuHelpAndQuit();
};

void TestSmallWindows::protocolCounter()
{
    TestOffice o;
    o.write(File::NumeroProt, " 57 \r\n");
    auto *w = o.windows->get<Formprot>();
    o.activate(w);
    auto *field = w->findChild<QLineEdit *>("numprot");
    QCOMPARE(field->text(), QString("57"));
    QCOMPARE(o.ctx.g.ultimoprot, qint16(57));
    for (auto [typed, bytes] : {std::pair{"0", " 0 \r\n"}, {"-5", "-5 \r\n"}, {"41.5", " 42 \r\n"}, {"41", " 41 \r\n"}}) {
        field->setText(typed);
        click(w, "cmdmodifica");
        QCOMPARE(o.read(File::NumeroProt), QByteArray(bytes));
    }
    QCOMPARE(o.fake.prompts.messages(), QStringList(4, "Numero protocollo modificato."));
    for (const char *bad : {"abc", "40000", "-32769", "", "1e3x"}) {
        o.fake.prompts.clear();
        field->setText(bad);
        click(w, "cmdmodifica");
        QCOMPARE(o.fake.prompts.messages().size(), 1);
        QVERIFY(o.fake.prompts.messages()[0].startsWith("Numero protocollo errato"));
        QCOMPARE(o.read(File::NumeroProt), QByteArray(" 41 \r\n"));
        QCOMPARE(o.ctx.g.ultimoprot, qint16(41));
    }
    QVERIFY(w->isVisible());
    click(w, "cmdesci");
    QVERIFY(!w->isVisible());
    // A damaged counter file shows 0 and never ends the program.
    o.write(File::NumeroProt, "guasto");
    o.activate(w);
    QCOMPARE(field->text(), QString("0"));
}

void TestSmallWindows::emergencyName()
{
    TestOffice o;
    o.write(File::Emergenza, "ALLUVIONE, \"NORD\"\r\nseconda riga\r\n");
    auto *main = o.windows->get<Formvelmo>();
    QCOMPARE(o.ctx.g.nomeemergenza, QString("ALLUVIONE, \"NORD\""));
    o.activate(main);
    auto *w = o.windows->get<emergenzaform>();
    QVERIFY(w->isVisible()); // shown at the first activation
    auto *field = w->findChild<QLineEdit *>("emergenzat");
    QCOMPARE(field->text(), o.ctx.g.nomeemergenza);
    field->setText("");
    click(w, "cmdok");
    QCOMPARE(o.read(File::Emergenza), QByteArray("\r\n"));
    QVERIFY(!w->isVisible());
    // Later activations of the main window do not show it again.
    o.activate(main);
    QVERIFY(!w->isVisible());
    // A character the archives cannot hold is refused; the file stays.
    o.activate(w);
    field->setText(QString::fromUtf8("TERREMOTO Ω"));
    click(w, "cmdok");
    QCOMPARE(o.read(File::Emergenza), QByteArray("\r\n"));
    QCOMPARE(o.fake.prompts.messages().size(), 1);
    field->setText("SISMA, 2026");
    click(w, "cmdok");
    QCOMPARE(o.read(File::Emergenza), QByteArray("SISMA, 2026\r\n"));
    QCOMPARE(settings::readEmergency(o.path(File::Emergenza)), QString("SISMA, 2026"));
    // A line break pasted into the name is stored as a blank; a byte-order
    // mark in front of the file is no part of the name.
    o.activate(w);
    field->setText("PIENA\r\nDEL PO");
    click(w, "cmdok");
    QCOMPARE(o.read(File::Emergenza), QByteArray("PIENA  DEL PO\r\n"));
    QCOMPARE(o.ctx.g.nomeemergenza, QString("PIENA  DEL PO"));
    o.write(File::Emergenza, "\xEF\xBB\xBFSISMA\r\n");
    QCOMPARE(settings::readEmergency(o.path(File::Emergenza)), QString("SISMA"));
}

void TestSmallWindows::mainListsSplitOpenActivitiesAndAClickTakesSnapshots()
{
    TestOffice o;
    o.write(File::Attivita, crlf({"12,05/03/2002,14.30,,,,,INCENDIO,ROMA,ROSSI,,A",
                                  " 13 ,05/03/2002,15.00,05/03/2002,15.10,,,ALLUVIONE,PISA,BIANCHI,,A",
                                  "14,05/03/2002,15.00,,,,,FRANA,LUCCA,NERI,,C",
                                  "-32768,01/01/2000,00.00,,,,,PROVA,X,Y,,A"}));
    o.write(File::Associazioni, "ASS,1\n");
    o.write(File::Attrezzature, "ATT\r\n");
    o.write(File::Automezzi, "AUT");
    auto *main = o.windows->get<Formvelmo>();
    o.activate(main);
    auto *list1 = main->findChild<LineList *>("List1");
    auto *list2 = main->findChild<LineList *>("List2");
    QCOMPARE(lineTexts(list1), QStringList({"    12 05/03/2002 14.30 ROMA INCENDIO", "-32768 01/01/2000 00.00 X PROVA"}));
    QCOMPARE(lineTexts(list2), QStringList({"    13 05/03/2002 15.00 PISA ALLUVIONE"}));
    QCOMPARE(main->findChild<QLineEdit *>("richieste")->text(), QString("2"));
    QCOMPARE(main->findChild<QLineEdit *>("iniziate")->text(), QString("1"));

    // A click picks the activity for modification, with the registers'
    // rollback point taken first.
    clickLine(list1, 1);
    QCOMPARE(o.ctx.g.protsel, QString("-32768"));
    QCOMPARE(o.ctx.g.modoatt, modes::Activity::M);
    QCOMPARE(o.read(File::AssociazioniSav), QByteArray("ASS,1\r\n"));
    QCOMPARE(o.read(File::AttrezzatureSav), QByteArray("ATT\r\n"));
    QCOMPARE(o.read(File::AutomezziSav), QByteArray("AUT\r\n"));
    o.activate(main);
    clickLine(list2, 0);
    QCOMPARE(o.ctx.g.protsel, QString("13"));

    // Rolling back puts the snapshot in place; a missing snapshot leaves
    // the archive as it is, silently.
    o.write(File::Associazioni, "changed\r\n");
    QVERIFY(snapshot::copiadasav(o.ctx.folder, Register::Associazioni).ok());
    QCOMPARE(o.read(File::Associazioni), QByteArray("ASS,1\r\n"));
    QFile::remove(o.path(File::AutomezziSav));
    QCOMPARE(snapshot::copiadasav(o.ctx.folder, Register::Automezzi).status,
             archive::IoResult::SourceMissing);
    QCOMPARE(o.read(File::Automezzi), QByteArray("AUT"));
}

void TestSmallWindows::menuHelpAndQuit()
{
    TestOffice o;
    auto *main = o.windows->get<Formvelmo>();
    // What the entries that open a window set: tst_menu; here the others.
    main->action("mnhelp")->trigger();
    QCOMPARE(o.fake.help.calls, QStringList{"velmora.hlp"});
    int quits = 0;
    main->setQuitHandler([&] { ++quits; });
    main->action("mnfine")->trigger();
    QCOMPARE(quits, 1);
    main->close();
    QCOMPARE(quits, 2);
}

QTEST_MAIN(TestSmallWindows)
#include "tst_smallwindows.moc"
