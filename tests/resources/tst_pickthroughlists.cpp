#include "pickoffice.h"

#include "../activities/resourcetext.h"

#include "associations/formlist.h"
#include "equipment/formattrlist.h"
#include "vehicles/formautolist.h"

using archive::File;

namespace {

// The row of the list whose line starts with `start`.
int rowStarting(LineList *l, const QString &start)
{
    for (int i = 0; i < l->count(); ++i)
        if (l->text(i).startsWith(start)) return i;
    return -1;
}

} // namespace

class TestPickThroughLists : public QObject {
    Q_OBJECT
private slots:
    void pickFromTheRealListsRegisterAndLeave();
    void aListComeBackToAfterAPickShowsWhatItTook();
};

void TestPickThroughLists::pickFromTheRealListsRegisterAndLeave()
{
    PickOffice o;
    o.ctx.g.nomeemergenza = "SISMA";
    Formattivita *w = o.openInsert();
    o.fillRequest();

    // "Attrezzature": the general equipment list, a click on TENDA.
    press(w, "cmdattr");
    auto *equipment = o.shown<Formattrlist>();
    QVERIFY(equipment->isVisible());
    QCOMPARE(equipment->windowTitle(), QString("Attrezzature - Elenco generale"));
    LineList *eqList = child<LineList>(equipment, "List1");
    // Heading and blank lines are not resources.
    clickLine(eqList, 0);
    clickLine(eqList, 1);
    QVERIFY(o.windows->existing<Formris>() == nullptr);
    const int tenda = rowStarting(eqList, QString("ALFA").leftJustified(50) + "TENDA");
    QVERIFY(tenda > 1);
    const QString tendaLine = eqList->text(tenda);
    QCOMPARE(tendaLine, equipmentListLine("ALFA", "TENDA", "L", 3));
    clickLine(eqList, tenda);
    QVERIFY(o.ris()->isVisible());
    QCOMPARE(child<QLineEdit>(o.ris(), "risorsa")->text(), tendaLine);
    QCOMPARE(child<QLineEdit>(o.ris(), "qta")->text(), QString("3"));
    typeText(o.ris(), "qta", "2");
    press(o.ris(), "cmdaggiungi");

    // "Automezzi": the general vehicle list, a click on JEEP.
    o.activate(w);
    press(w, "cmdauto");
    auto *vehicles = o.shown<Formautolist>();
    QCOMPARE(vehicles->windowTitle(), QString("Automezzi - Elenco generale"));
    LineList *veList = child<LineList>(vehicles, "List1");
    const int jeep = rowStarting(veList, QString("ALFA").leftJustified(50) + "JEEP");
    QVERIFY(jeep > 1);
    clickLine(veList, jeep);
    QCOMPARE(child<QLineEdit>(o.ris(), "qta")->text(), QString("1"));
    QVERIFY(!child<QPushButton>(o.ris(), "cmdnomi")->isVisible());
    press(o.ris(), "cmdaggiungi");

    // "Volontari": the association list, a click on ALFA, one name.
    o.activate(w);
    press(w, "cmdvol");
    auto *assoc = o.shown<Formlist>();
    LineList *asList = child<LineList>(assoc, "List1");
    QCOMPARE(asList->toolTip(),
             QString("Cliccare l'associazione per scegliere il numero di volontari."));
    const int alfa = rowStarting(asList, QString("ALFA").leftJustified(50));
    QVERIFY(alfa > 1);
    clickLine(asList, 0); // the heading: ignored
    QCOMPARE(o.ctx.g.tiporisorsa, QString("AU"));
    clickLine(asList, alfa);
    QCOMPARE(o.ctx.g.tiporisorsa, QString("AS"));
    QCOMPARE(child<QLineEdit>(o.ris(), "qta")->text(), QString("10"));
    QVERIFY(child<QPushButton>(o.ris(), "cmdnomi")->isVisible());
    typeText(o.ris(), "qta", "3");
    press(o.ris(), "cmdnomi");
    o.activate(o.sto());
    child<QListWidget>(o.sto(), "List1")->item(1)->setCheckState(Qt::Checked);
    press(o.sto(), "cmdinserimento");
    press(o.ris(), "cmdaggiungi");

    QCOMPARE(o.read(File::Attrezzature),
             crlf({"ALFA,POMPA,L, 5 ", "ALFA,TENDA,L, 1 ", "BETA,GENERATORE,L, 2 "}));
    QCOMPARE(o.read(File::Automezzi),
             crlf({"ALFA,JEEP,CAMPO1,01/03/2025,08.00,,,SOCCORSO,A", kAmbulanza}));
    QCOMPARE(o.read(File::Associazioni),
             crlf({"ALFA,VIA ROMA 1,ROMA,RM,061234,,,CAMPO1, 7 , 12 ",
                   "BETA,VIA PO 2,PISA,PI,050123,,,CAMPO2, 5 , 5 "}));

    // The lists show what was taken when they are activated again.
    o.activate(vehicles);
    QVERIFY(veList->text(jeep).endsWith("JEEP" + QString(46, ' ') + "A"));
    o.activate(equipment);
    QCOMPARE(eqList->text(tenda), equipmentListLine("ALFA", "TENDA", "L", 1));

    o.activate(w);
    QCOMPARE(o.ctx.g.modoatt, QString("I"));
    press(w, "cmdregistra");
    QCOMPARE(o.fake.prompts.messages(),
             QStringList({QString::fromUtf8("Attività inserita correttamente.")}));
    QCOMPARE(o.read(File::Risorse), crlf({copied("7", "ATTR", 2, "ALFA", "TENDA", "O"),
                                          copied("7", "AUTO", 1, "ALFA", "JEEP", "O"),
                                          stored("7", "VOL.", 3, "ALFA", "", "O"),
                                          copied("7", "VOL>", 0, "ALFA", " MARIO ROSSI", "O")}));
    // Registered: leaving keeps what the activity holds.
    press(w, "cmdesci");
    QCOMPARE(o.read(File::Automezzi),
             crlf({"ALFA,JEEP,CAMPO1,01/03/2025,08.00,,,SOCCORSO,A", kAmbulanza}));
    QCOMPARE(o.read(File::Attrezzature),
             crlf({"ALFA,POMPA,L, 5 ", "ALFA,TENDA,L, 1 ", "BETA,GENERATORE,L, 2 "}));
}

void TestPickThroughLists::aListComeBackToAfterAPickShowsWhatItTook()
{
    PickOffice o;
    Formattivita *w = o.openInsert();
    o.fillRequest();
    press(w, "cmdattr");
    auto *equipment = o.shown<Formattrlist>();
    LineList *eqList = child<LineList>(equipment, "List1");
    const int tenda = rowStarting(eqList, QString("ALFA").leftJustified(50) + "TENDA");
    const int pompa = rowStarting(eqList, QString("ALFA").leftJustified(50) + "POMPA");
    clickLine(eqList, tenda);
    // The window system activates the resource window, then, once it is
    // gone, the list again: the list is filled anew.
    QVERIFY(QTest::qWaitFor([&] { return o.ris()->isActiveWindow(); }, 1000));
    typeText(o.ris(), "qta", "2");
    press(o.ris(), "cmdaggiungi");
    QEvent activation(QEvent::WindowActivate);
    QApplication::sendEvent(equipment, &activation);
    QCOMPARE(eqList->text(tenda), equipmentListLine("ALFA", "TENDA", "L", 1));

    // Back in the activity window, then a second pick from the list still
    // open: coming back once more keeps everything the window holds.
    o.activate(w);
    QCOMPARE(o.ctx.g.modoatt, QString("I"));
    clickLine(eqList, pompa);
    QCOMPARE(o.ctx.g.modoatt, QString("RT"));
    press(o.ris(), "cmdaggiungi");
    o.activate(w);
    QCOMPARE(o.ctx.g.modoatt, QString("I"));
    QCOMPARE(child<QLineEdit>(w, "tipoatt")->text(), QString("incendio"));
    QCOMPARE(o.resourceList()->count(), 2);
    QCOMPARE(o.read(File::Attrezzature),
             crlf({"ALFA,POMPA,A, 0 ", "ALFA,TENDA,L, 1 ", "BETA,GENERATORE,L, 2 "}));
}

QTEST_MAIN(TestPickThroughLists)
#include "tst_pickthroughlists.moc"
