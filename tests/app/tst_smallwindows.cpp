#include "testkit.h"

#include "app/emergenzaform.h"
#include "app/formprot.h"
#include "app/formvelmo.h"
#include "app/settings.h"
#include "app/snapshot.h"

#include <QAction>
#include <QLineEdit>
#include "app/linelist.h"
#include "widgets.h"
#include <QPushButton>
#include <QTest>

using archive::File;
using archive::Register;

class TestSmallWindows : public QObject {
    Q_OBJECT
private slots:
    void protocolCounter();
    void protocolRefusesBadInput();
    void emergencyName();
    void snapshotsAndRollback();
    void listClickTakesSnapshotAndProtocol();
    void menuHasEveryEntryAndHelp();
    void missingFilesDoNotHurt();
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
    for (auto [typed, bytes] : {std::pair{"0", " 0 \r\n"}, {"-5", "-5 \r\n"}, {"41.5", " 42 \r\n"},
                                {"41", " 41 \r\n"}}) {
        field->setText(typed);
        QTest::mouseClick(w->findChild<QPushButton *>("cmdmodifica"), Qt::LeftButton);
        QCOMPARE(o.read(File::NumeroProt), QByteArray(bytes));
    }
    QCOMPARE(o.fake.prompts.messages().count("Numero protocollo modificato."), 4);
    QCOMPARE(o.ctx.g.ultimoprot, qint16(41));
    QVERIFY(w->isVisible());
    QTest::mouseClick(w->findChild<QPushButton *>("cmdesci"), Qt::LeftButton);
    QVERIFY(!w->isVisible());
}

void TestSmallWindows::protocolRefusesBadInput()
{
    TestOffice o;
    o.write(File::NumeroProt, " 7 \r\n");
    auto *w = o.windows->get<Formprot>();
    o.activate(w);
    for (const char *bad : {"abc", "40000", "-32769", "", "1e3x"}) {
        o.fake.prompts.clear();
        w->findChild<QLineEdit *>("numprot")->setText(bad);
        QTest::mouseClick(w->findChild<QPushButton *>("cmdmodifica"), Qt::LeftButton);
        QCOMPARE(o.fake.prompts.messages().size(), 1);
        QVERIFY(o.fake.prompts.messages()[0].startsWith("Numero protocollo errato"));
        QCOMPARE(o.read(File::NumeroProt), QByteArray(" 7 \r\n"));
        QCOMPARE(o.ctx.g.ultimoprot, qint16(7));
    }
    // Missing or damaged counter files show 0 and never end the program.
    o.write(File::NumeroProt, "guasto");
    o.activate(w);
    QCOMPARE(w->findChild<QLineEdit *>("numprot")->text(), QString("0"));
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
    QTest::mouseClick(w->findChild<QPushButton *>("cmdok"), Qt::LeftButton);
    QCOMPARE(o.read(File::Emergenza), QByteArray("\r\n"));
    QVERIFY(!w->isVisible());
    // Later activations of the main window do not show it again.
    o.activate(main);
    QVERIFY(!w->isVisible());
    // A character the archives cannot hold is refused; the file stays.
    o.activate(w);
    field->setText(QString::fromUtf8("TERREMOTO Ω"));
    QTest::mouseClick(w->findChild<QPushButton *>("cmdok"), Qt::LeftButton);
    QCOMPARE(o.read(File::Emergenza), QByteArray("\r\n"));
    QCOMPARE(o.fake.prompts.messages().size(), 1);
    field->setText("SISMA, 2026");
    QTest::mouseClick(w->findChild<QPushButton *>("cmdok"), Qt::LeftButton);
    QCOMPARE(o.read(File::Emergenza), QByteArray("SISMA, 2026\r\n"));
    QCOMPARE(settings::readEmergency(o.path(File::Emergenza)), QString("SISMA, 2026"));
}

void TestSmallWindows::snapshotsAndRollback()
{
    TestOffice o;
    o.write(File::Associazioni, "A,1\nB,2");
    QVERIFY(snapshot::copiainsav(o.ctx.folder, Register::Associazioni).ok());
    QCOMPARE(o.read(File::AssociazioniSav), QByteArray("A,1\r\nB,2\r\n"));
    o.write(File::Associazioni, "changed\r\n");
    QVERIFY(snapshot::copiadasav(o.ctx.folder, Register::Associazioni).ok());
    QCOMPARE(o.read(File::Associazioni), QByteArray("A,1\r\nB,2\r\n"));
    // A missing snapshot leaves the archive as it is.
    o.write(File::Automezzi, "keep\r\n");
    QCOMPARE(snapshot::copiadasav(o.ctx.folder, Register::Automezzi).status,
             archive::IoResult::SourceMissing);
    QCOMPARE(o.read(File::Automezzi), QByteArray("keep\r\n"));
    QVERIFY(snapshot::restore(o.ctx, {Register::Automezzi}));
    QVERIFY(o.fake.prompts.shown.isEmpty());
    QCOMPARE(o.fake.busy.depth, 0);
}

void TestSmallWindows::listClickTakesSnapshotAndProtocol()
{
    TestOffice o;
    o.write(File::Attivita, crlf({"7,05/03/2002,14.30,,,,,INCENDIO,ROMA,ROSSI,,A",
                                  "-32768,05/03/2002,14.30,x,09.00,,,FRANA,PISA,NERI,,A"}));
    o.write(File::Associazioni, "ASS,1\r\n");
    o.write(File::Attrezzature, "ATT\r\n");
    o.write(File::Automezzi, "AUT\r\n");
    auto *main = o.windows->get<Formvelmo>();
    o.activate(main);
    auto *list1 = main->findChild<LineList *>("List1");
    auto *list2 = main->findChild<LineList *>("List2");
    clickLine(list1, 0);
    QCOMPARE(o.ctx.g.protsel, QString("7"));
    QCOMPARE(o.ctx.g.modoatt, QString("M"));
    QCOMPARE(o.read(File::AssociazioniSav), QByteArray("ASS,1\r\n"));
    QCOMPARE(o.read(File::AttrezzatureSav), QByteArray("ATT\r\n"));
    QCOMPARE(o.read(File::AutomezziSav), QByteArray("AUT\r\n"));
    o.activate(main);
    clickLine(list2, 0);
    QCOMPARE(o.ctx.g.protsel, QString("-32768"));
}

void TestSmallWindows::menuHasEveryEntryAndHelp()
{
    TestOffice o;
    auto *main = o.windows->get<Formvelmo>();
    QCOMPARE(main->windowTitle(), QString::fromUtf8("Gestione Attività di Protezione Civile"));
    const QStringList names = {
        "mnassvel", "mnassains", "mnassamod", "mnassaann", "mnautvelg", "mnautvass", "mnautvric",
        "mnautains", "mnautamod", "mnautaann", "mnatrvelg", "mnatrvass", "mnatrvric", "mnatrains",
        "mnatramod", "mnatraann", "mnattvgen", "mnattvchi", "mnattvann", "mnattains", "mnattamod",
        "mnattaann", "mnemergenza", "mnsalvaarc", "mnriparc", "mnripazze", "mnrippro", "mnfine",
        "mnhelp"};
    for (const QString &n : names) QVERIFY2(main->action(n), qPrintable(n));
    QCOMPARE(main->action("mnrippro")->text(), QString("Modifica numero protocollo"));
    QVERIFY(main->action("mnassvel")->shortcut().isEmpty());
    main->action("mnhelp")->trigger();
    QCOMPARE(o.fake.help.calls, QStringList{"velmora.hlp"});
    int quits = 0;
    main->setQuitHandler([&] { ++quits; });
    main->action("mnfine")->trigger();
    QCOMPARE(quits, 1);
    main->close();
    QCOMPARE(quits, 2);
    main->action("mnrippro")->trigger();
    QVERIFY(o.windows->existing<Formprot>()->isVisible());
}

void TestSmallWindows::missingFilesDoNotHurt()
{
    TestOffice o; // an empty working folder
    auto *main = o.windows->get<Formvelmo>();
    o.activate(main);
    QCOMPARE(main->findChild<LineList *>("List1")->count(), 0);
    QCOMPARE(main->findChild<QLineEdit *>("richieste")->text(), QString());
    QCOMPARE(main->findChild<QLineEdit *>("iniziate")->text(), QString());
    QCOMPARE(o.ctx.g.nomeemergenza, QString());
    // A binary, damaged archive lists what it can.
    o.write(File::Attivita, QByteArray("\x00\x01\xff,,\r\n", 7) + "3,a,b,,,,,T,L,R,,A\r\n");
    main->caricaliste();
    QCOMPARE(main->findChild<LineList *>("List1")->count(), 1);
}

QTEST_MAIN(TestSmallWindows)
#include "tst_smallwindows.moc"
