// The main window, the protocol counter window and the emergency name window.
#include "desks.h"

#include "session/settings.h"

using archive::File;

class TestSmallWindows : public QObject {
    Q_OBJECT
private slots:
    void protocolCounter()
    {
        TestOffice o;
        o.write(File::NumeroProt, " 57 \r\n");
        auto *w = o.windows->get<Formprot>();
        o.activate(w);
        auto *field = w->findChild<QLineEdit *>("numprot");
        QCOMPARE(field->text(), QString("57"));
        field->setText("41.5");
        clickButton(w, "cmdmodifica");
        field->setText("40000");
        clickButton(w, "cmdmodifica");
        QCOMPARE(o.read(File::NumeroProt), QByteArray(" 42 \r\n"));
        QCOMPARE(o.ctx.g.ultimoprot, qint16(42));
        QCOMPARE(o.fake.prompts.messages(),
                 QStringList({"Numero protocollo modificato.",
                              "Numero protocollo errato: inserire un numero intero da -32768 a 32767."}));
        clickButton(w, "cmdesci");
        QVERIFY(!w->isVisible());
        o.write(File::NumeroProt, "guasto");
        o.activate(w);
        QCOMPARE(field->text(), QString("0"));
    }

    void emergencyName()
    {
        TestOffice o;
        o.write(File::Emergenza, "ALLUVIONE, \"NORD\"\r\nseconda riga\r\n");
        auto *main = o.windows->get<Formvelmo>();
        o.activate(main);
        auto *w = o.windows->get<emergenzaform>();
        QVERIFY(w->isVisible());
        auto *field = w->findChild<QLineEdit *>("emergenzat");
        QCOMPARE(field->text(), QString("ALLUVIONE, \"NORD\""));
        field->setText("");
        clickButton(w, "cmdok");
        QCOMPARE(o.read(File::Emergenza), QByteArray("\r\n"));
        QVERIFY(!w->isVisible());
        o.activate(main);
        QVERIFY(!w->isVisible());
        o.activate(w);
        field->setText(QString::fromUtf8("TERREMOTO Ω"));
        clickButton(w, "cmdok");
        QCOMPARE(o.read(File::Emergenza), QByteArray("\r\n"));
        QCOMPARE(o.fake.prompts.messages().size(), 1);
        // Stored as typed, but a line break becomes blanks; a byte-order mark is no part of it.
        field->setText("Piena, \"PO\"\r\nNORD");
        clickButton(w, "cmdok");
        QCOMPARE(o.read(File::Emergenza), QByteArray("Piena, \"PO\"  NORD\r\n"));
        QCOMPARE(o.ctx.g.nomeemergenza, QString("Piena, \"PO\"  NORD"));
        o.write(File::Emergenza, "\xEF\xBB\xBFSISMA\r\n");
        QCOMPARE(settings::readEmergency(o.path(File::Emergenza)), QString("SISMA"));
    }

    void mainListsSplitOpenActivitiesAndAClickTakesSnapshots()
    {
        TestOffice o;
        o.write(File::Attivita, crlf({"12,05/03/2002,14.30,,,,,INCENDIO,ROMA,ROSSI,,A",
                                      " 13 ,05/03/2002,15.00,05/03/2002,15.10,,,ALLUVIONE,PISA,BIANCHI,,A",
                                      "14,05/03/2002,15.00,,,,,FRANA,LUCCA,NERI,,C",
                                      "-32768,01/01/2000,00.00,,,,,PROVA,X,Y,,A"}));
        o.write(File::Associazioni, "ASS,1\n");
        auto *main = o.windows->get<Formvelmo>();
        o.activate(main);
        auto *list1 = main->findChild<LineList *>("List1");
        auto *list2 = main->findChild<LineList *>("List2");
        QCOMPARE(lineTexts(list1), QStringList({"    12 05/03/2002 14.30 ROMA INCENDIO", "-32768 01/01/2000 00.00 X PROVA"}));
        QCOMPARE(lineTexts(list2), QStringList({"    13 05/03/2002 15.00 PISA ALLUVIONE"}));
        QCOMPARE(main->findChild<QLineEdit *>("richieste")->text(), QString("2"));
        QCOMPARE(main->findChild<QLineEdit *>("iniziate")->text(), QString("1"));

        // A click picks the activity, the registers' rollback point taken first.
        clickLine(list1, 1);
        QCOMPARE(o.ctx.g.protsel, QString("-32768"));
        QCOMPARE(o.ctx.g.modoatt, modes::Activity::M);
        QCOMPARE(o.read(File::AssociazioniSav), QByteArray("ASS,1\r\n"));
        o.activate(main);
        clickLine(list2, 0);
        QCOMPARE(o.ctx.g.protsel, QString("13"));
    }

    void menuHelpAndQuit()
    {
        TestOffice o;
        auto *main = o.windows->get<Formvelmo>();
        main->action("mnhelp")->trigger();
        QCOMPARE(o.fake.help.calls, QStringList{"velmora.hlp"});
        int quits = 0;
        main->setQuitHandler([&] { ++quits; });
        main->action("mnfine")->trigger();
        QCOMPARE(quits, 1);
        main->close();
        QCOMPARE(quits, 2);
    }
};

QTEST_MAIN(TestSmallWindows)
#include "tst_smallwindows.moc"
