#include "pickoffice.h"
#include "registerdesk.h"
#include "resourcetext.h"

#include <QFile>

using archive::File;

namespace {

const QString kTendaLine = equipmentListLine("ALFA", "TENDA", "L", 3);
const QString kPompaLine = equipmentListLine("ALFA", "POMPA", "L", 5);
const QString kJeepLine = vehicleListLine("ALFA", "JEEP", "L");
const QString kAlfaLine = associationListLine("ALFA", 10);
const QString kAlfa50 = QString("ALFA").leftJustified(50);

QByteArray equipmentRecords(const QByteArray &pompa, const QByteArray &tenda)
{
    return crlf({"ALFA,POMPA," + pompa, "ALFA,TENDA," + tenda, "BETA,GENERATORE,L, 2 "});
}
QByteArray associationRecords(int alfa)
{
    return crlf({"ALFA,VIA ROMA 1,ROMA,RM,061234,,,CAMPO1, " + QByteArray::number(alfa) + " , 12 ",
                 "BETA,VIA PO 2,PISA,PI,050123,,,CAMPO2, 5 , 5 "});
}
const QByteArray kAllFree = equipmentRecords("L, 5 ", "L, 3 ");
const QByteArray kTendaTaken = equipmentRecords("L, 5 ", "A, 0 ");
const QByteArray kVehiclesFree = crlf({kJeep, kAmbulanza});
const QByteArray kJeepTakenLine = kJeep.chopped(1) + "A";
const QByteArray kAmbulanzaTakenLine = kAmbulanza.chopped(1) + "A";
const QByteArray kJeepTaken = crlf({kJeepTakenLine, kAmbulanza});

QString qta(PickOffice &o) { return child<QLineEdit>(o.ris(), "qta")->text(); }

// Activity 7, open, registered with TENDA, JEEP and 4 volunteers of ALFA.
void registeredSeven(PickOffice &o)
{
    o.write(File::Associazioni, associationRecords(6));
    o.write(File::Automezzi, kJeepTaken);
    o.write(File::Attrezzature, kTendaTaken);
    o.write(File::Attivita, crlf({" 7 ,05/03/2025,14.30,,,,,INCENDIO,ROMA,ROSSI,,A"}));
    o.write(File::Risorse, crlf({"7,ATTR,3,ALFA,TENDA,O", "7,AUTO,1,ALFA,JEEP,O", "7,VOL.,4,ALFA,,O"}));
}

QList<QByteArray> archives(const PickOffice &o)
{
    QList<QByteArray> out;
    for (File f : {File::Associazioni, File::Automezzi, File::Attrezzature, File::Attivita, File::Risorse,
                   File::Volontari, File::NumeroProt})
        out << o.read(f);
    return out;
}

// Leaves the activity window unregistered; `prot` is another listed activity.
// A new task, or the end, over work not registered asks first: Yes.
void leave(PickOffice &o, Formattivita *w, const QString &moment, const QString &prot)
{
    o.fake.prompts.answers << true;
    if (moment == "main list") return void(o.openFromMain(prot));
    if (moment == "activity list") return void(o.openFromList("mnattamod", prot));
    const bool own = moment == "cmdesci" || moment == "title bar";
    if (own && o.ctx.lastActive != w) o.activate(w);
    if (moment == "cmdesci") return press(w, "cmdesci");
    if (moment == "title bar") return void(w->close());
    o.activate(o.main);
    o.main->action(moment.toLatin1())->trigger();
}

} // namespace

class TestResourceFlow : public QObject {
    Q_OBJECT
private slots:
    // A new activity begun while a pick waits: the pick goes with the old activity.
    void aNewTaskClosesThePickWindow()
    {
        PickOffice o;
        o.openInsert();
        o.pick("cmdattr", ResourceKind::Equipment, kTendaLine);
        QVERIFY(o.ris()->isVisible());
        o.openInsert();
        QVERIFY(!o.ris()->isVisible());
        QCOMPARE(o.fake.prompts.texts(), QStringList());
    }

    void engageRegisterDeleteCloseThroughTheRealLists()
    {
        PickOffice o;
        Formattivita *w = o.openInsert();
        o.fillRequest();

        auto *equipmentList = o.pickInList<Formattrlist>("cmdattr", kTendaLine);
        QCOMPARE(child<QLineEdit>(o.ris(), "risorsa")->text(), kTendaLine);
        QVERIFY(!child<QPushButton>(o.ris(), "cmdnomi")->isVisible());
        // One piece proposed, selected: what is typed replaces it.
        QLineEdit *quantity = child<QLineEdit>(o.ris(), "qta");
        QCOMPARE(quantity->selectedText(), QString("1"));
        QCOMPARE(o.ris()->focusWidget(), quantity);
        QTest::keyClicks(quantity, "3");
        QCOMPARE(quantity->text(), QString("3"));
        // Once the resource window is gone, the list is activated again and refilled.
        QVERIFY(QTest::qWaitFor([&] { return o.ris()->isActiveWindow(); }, 1000));
        press(o.ris(), "cmdaggiungi");
        QVERIFY(!o.ris()->isVisible());
        QEvent activation(QEvent::WindowActivate);
        QApplication::sendEvent(equipmentList, &activation);
        LineList *eqList = child<LineList>(equipmentList, "List1");
        QVERIFY(items(eqList).contains(equipmentListLine("ALFA", "TENDA", "A", 0)));
        // A pick from that list, still open.
        o.activate(w);
        QVERIFY(clickLineStarting(eqList, kPompaLine));
        typeText(o.ris(), "qta", "2");
        press(o.ris(), "cmdaggiungi");

        // A vehicle: always one, whatever the quantity field says.
        o.pickInList<Formautolist>("cmdauto", kJeepLine);
        QCOMPARE(qta(o), QString("1"));
        typeText(o.ris(), "qta", "5");
        press(o.ris(), "cmdaggiungi");

        // Four volunteers of ALFA, one named (the empty item adds nothing).
        o.pickInList<Formlist>("cmdvol", kAlfaLine);
        QCOMPARE(qta(o), QString("1"));
        QVERIFY(child<QPushButton>(o.ris(), "cmdnomi")->isVisible());
        typeText(o.ris(), "qta", "4");
        press(o.ris(), "cmdnomi");
        Formsto *sto = o.sto();
        QVERIFY(sto->isVisible());
        o.activate(sto);
        QListWidget *names = child<QListWidget>(sto, "List1");
        names->item(0)->setCheckState(Qt::Checked);
        names->item(2)->setCheckState(Qt::Checked);
        press(sto, "cmdinserimento");
        QVERIFY(!sto->isVisible() && o.ris()->isVisible());
        press(o.ris(), "cmdaggiungi");

        const QString tenda = "ATTR      3   " + kTendaLine, pompa = "ATTR      2   " + kPompaLine;
        const QString autom = "AUTO      1   " + kJeepLine, vol = "VOL.      4   " + kAlfa50;
        const QString named = "VOL>      0   " + kAlfa50 + " LUCA BIANCHI";
        QCOMPARE(items(o.resourceList()), QStringList({tenda, pompa, autom, named, vol}));
        QVERIFY(o.fake.prompts.shown.isEmpty());

        o.activate(w);
        QCOMPARE(o.registerNow(), QStringList({kInserted}));
        QCOMPARE(o.read(File::Attivita), crlf({"7,05/03/2025,14.30,,,,,INCENDIO,ROMA,ROSSI,,A"}));
        const QStringList risorse{"7,ATTR,2,ALFA,POMPA,O", "7,ATTR,3,ALFA,TENDA,O", "7,AUTO,1,ALFA,JEEP,O",
                                  "7,VOL.,4,ALFA,,O", "7,VOL>,0,ALFA,LUCA BIANCHI,O"};
        QCOMPARE(resourceRecords(o.read(File::Risorse)), risorse);
        for (File f : {File::Associazioni, File::Automezzi, File::Attrezzature})
            QCOMPARE(o.read(archive::fileName(f).replace(".csv", ".sav")), o.read(f));

        // Deleting "VOL." gives the volunteers back at once, the named one stays; "No" keeps all.
        o.fake.prompts.clear();
        o.deleteRow(4);
        QCOMPARE(o.fake.prompts.questions(), QStringList({"Elimino la riga VOL. 4 ALFA?"}));
        QCOMPARE(o.read(File::Associazioni), associationRecords(10));
        QCOMPARE(items(o.resourceList()), QStringList({tenda, pompa, autom, named}));
        o.deleteRow(0, false);
        QCOMPARE(o.read(File::Attrezzature), equipmentRecords("L, 3 ", "A, 0 "));

        // Re-opened from the main window (which, once the user abandons it, undoes the deletion)
        // and closed: everything goes back.
        o.fake.prompts.answers << true;
        w = o.openFromMain("7");
        QCOMPARE(items(o.resourceList()),
                 QStringList({pompa.left(114), tenda.left(114), autom.left(114), vol.leftJustified(114),
                              // the reader drops the blank in front of the name
                              "VOL>      0   " + kAlfa50 + QString("LUCA BIANCHI").leftJustified(50)}));
        typeText(w, "datain", "05/03/2025");
        typeText(w, "orain", "15.00");
        typeText(w, "datafi", "05/03/2025");
        typeText(w, "orafi", "18.00");
        QCOMPARE(o.registerNow(), QStringList({kModified}));

        press(w, "cmdesci");
        // Lines added to the closed activity are released at once: they take and give back nothing.
        w = o.openFromList("mnattamod", "7");
        o.add("cmdauto", ResourceKind::Vehicle, kJeepLine);
        o.add("cmdattr", ResourceKind::Equipment, kTendaLine);
        QCOMPARE(w->session().lines().at(5).state, QString("L"));
        QCOMPARE(o.read(File::Attrezzature) + o.read(File::Automezzi), kAllFree + kVehiclesFree);
        o.activate(w);
        o.deleteRow(5);
        o.deleteRow(0);
        QCOMPARE(o.resourceList()->count(), 5);
        press(w, "cmdesci");
        QCOMPARE(o.read(File::Attrezzature) + o.read(File::Automezzi), kAllFree + kVehiclesFree);
        QCOMPARE(o.read(File::AutomezziSav), kVehiclesFree);
        QCOMPARE(o.read(File::Associazioni), associationRecords(10));
    }

    void quantitiesAndPicksThatGoNowhere()
    {
        PickOffice o;
        Formattivita *w = o.openInsert();
        const QByteArray before = o.read(File::Attrezzature) + o.read(File::Associazioni);
        // One check of the typed quantity for every kind; its rules are tst_resource_operations'.
        o.pick("cmdvol", ResourceKind::Association, kAlfaLine);
        typeText(o.ris(), "qta", "40000");
        press(o.ris(), "cmdaggiungi");
        QCOMPARE(o.fake.prompts.messages(),
                 QStringList({QString::fromUtf8("Quantità errata: inserire un numero intero da 0 a 32767.")}));
        QVERIFY(o.ris()->isVisible());
        press(o.ris(), "cmdannulla");
        QVERIFY(!o.ris()->isVisible());
        QCOMPARE(o.read(File::Attrezzature) + o.read(File::Associazioni), before);

        // A decimal is rounded; a negative quantity, more than is available, or a record
        // renamed or deleted meanwhile is refused, and nothing is taken or listed.
        o.fake.prompts.clear();
        o.add("cmdattr", ResourceKind::Equipment, kPompaLine, "2.6");
        QVERIFY(o.fake.prompts.shown.isEmpty());
        o.add("cmdattr", ResourceKind::Equipment, kTendaLine, "-2");
        o.add("cmdattr", ResourceKind::Equipment, kTendaLine, "4");
        o.add("cmdvol", ResourceKind::Association, kAlfaLine, "11");
        o.add("cmdattr", ResourceKind::Equipment, equipmentListLine("GAMMA", "TENDA", "L", 4), "1");
        QCOMPARE(o.fake.prompts.messages().mid(0, 3),
                 QStringList({QString::fromUtf8("Quantità errata: inserire un numero intero da 0 a 32767."),
                              QString::fromUtf8("Dell'attrezzatura TENDA dell'associazione ALFA sono disponibili 3 "
                                                "pezzi: non se ne possono impegnare 4."),
                              QString::fromUtf8("L'associazione ALFA ha 10 volontari disponibili: non se ne "
                                                "possono impegnare 11.")}));
        QVERIFY(o.fake.prompts.messages().value(3).contains(QString::fromUtf8("non si trova più")));
        press(o.ris(), "cmdannulla");
        o.add("cmdattr", ResourceKind::Equipment, kTendaLine, "3");
        QCOMPARE(items(o.resourceList()), QStringList({"ATTR      3   " + kPompaLine, "ATTR      3   " + kTendaLine}));
        QCOMPARE(o.read(File::Attrezzature), equipmentRecords("L, 2 ", "A, 0 "));
        QVERIFY(o.read(File::Associazioni).startsWith("ALFA,VIA ROMA 1,ROMA,RM,061234,,,CAMPO1,10,12\r\n"));

        o.activate(w);
        o.deleteRow(1);
        QCOMPARE(o.read(File::Attrezzature), equipmentRecords("L, 2 ", "L, 3 "));

        o.add("cmdauto", ResourceKind::Vehicle, kJeepLine);
        o.activate(w);
        o.fake.prompts.clear();
        o.ctx.g.risorsecambiate = false;
        QListWidget *l = o.resourceList();
        const QPoint at = l->visualItemRect(l->item(0)).center();
        // A right press on no line asks nothing; the other buttons only select.
        l->clearSelection();
        QTest::mousePress(l->viewport(), Qt::RightButton, {}, l->visualItemRect(l->item(l->count() - 1)).bottomLeft() + QPoint(4, 20));
        QTest::mouseClick(l->viewport(), Qt::MiddleButton, {}, at);
        QTest::mouseClick(l->viewport(), Qt::LeftButton, {}, at);
        QVERIFY(o.fake.prompts.questions().isEmpty());
        // A line of a type no register knows stays.
        w->session().append("XXXX      1   " + kJeepLine);
        o.deleteRow(2);
        QCOMPARE(o.fake.prompts.questions().size(), 1);
        QCOMPARE(l->count(), 3);
        QVERIFY(!o.ctx.g.risorsecambiate);
        QCOMPARE(o.read(File::Automezzi), kJeepTaken);

        // Two buttons in a row keep the mode to return to.
        press(w, "cmdattr");
        press(w, "cmdvol");
        QCOMPARE(o.ctx.g.modoatt, modes::Activity::RA);
        QCOMPARE(o.ctx.g.modoattprec, modes::Activity::I);
        o.main->offerPicked(ResourceKind::Association, kAlfaLine);
        QCOMPARE(w->session().pick().line, kAlfaLine);

        // None available, none proposed.
        o.pick("cmdattr", ResourceKind::Equipment, equipmentListLine("ALFA", "TENDA", "A", 0));
        QCOMPARE(qta(o), QString("0"));

        // The activity window left meanwhile: "Aggiungi" takes nothing.
        o.activate(w);
        press(w, "cmdesci");
        const QByteArray assocNow = o.read(File::Associazioni);
        o.fake.prompts.clear();
        press(o.ris(), "cmdaggiungi");
        QCOMPARE(o.fake.prompts.messages().size(), 1);
        QVERIFY(!o.ris()->isVisible());
        QCOMPARE(o.read(File::Associazioni), assocNow);
    }

    void namesWindowAddsTickedVolunteersOnly()
    {
        PickOffice o;
        o.openInsert();
        // An association name longer than the list shows.
        const QString longName = QString("ASSOCIAZIONE VOLONTARI DEL SOCCORSO ALPINO E SPELEOLOGICO");
        o.write(File::Volontari, crlf({"ALFA,MARIO,ROSSI,X,Y,,,,,", longName.toLatin1() + ",PIA,NERI",
                                       "ALFAB,NON,QUESTO", "ALFA,LUCA,BIANCHI"}));
        o.pick("cmdvol", ResourceKind::Association, kAlfaLine);
        Formsto *sto = o.sto();
        QListWidget *names = child<QListWidget>(sto, "List1");
        auto openNames = [&] {
            press(o.ris(), "cmdnomi");
            o.activate(sto);
        };
        openNames();
        QCOMPARE(items(names), QStringList({"", "MARIO ROSSI", "LUCA BIANCHI"}));
        // Both names, in list order.
        names->item(2)->setCheckState(Qt::Checked);
        names->item(1)->setCheckState(Qt::Checked);
        press(sto, "cmdinserimento");
        const QString luca = "VOL>      0   " + kAlfa50 + " LUCA BIANCHI";
        QCOMPARE(items(o.resourceList()), QStringList({"VOL>      0   " + kAlfa50 + " MARIO ROSSI", luca}));
        openNames();
        names->item(1)->setCheckState(Qt::Checked);
        press(sto, "cmdesci");
        QVERIFY(!sto->isVisible());
        QCOMPARE(o.resourceList()->count(), 2);

        // A name (UTF-8, from elsewhere) that Windows-1252 cannot hold is told and left out.
        o.write(File::Volontari, "ALFA,\xc5\x81UKASZ,NOWAK\r\nALFA,LUCA,BIANCHI\r\n");
        openNames();
        QCOMPARE(items(names), QStringList({"", QString::fromUtf8("\xc5\x81UKASZ NOWAK"), "LUCA BIANCHI"}));
        names->item(1)->setCheckState(Qt::Checked);
        names->item(2)->setCheckState(Qt::Checked);
        o.fake.prompts.clear();
        press(sto, "cmdinserimento");
        QCOMPARE(o.fake.prompts.messages().size(), 1);
        QCOMPARE(items(o.resourceList()).mid(2), QStringList({luca}));

        // The association of the long name, cut to 50 by the list.
        o.write(File::Volontari, crlf({longName.toLatin1() + ",PIA,NERI"}));
        o.pick("cmdvol", ResourceKind::Association, associationListLine(longName, 3));
        QCOMPARE(qta(o), QString("1"));
        openNames();
        QCOMPARE(items(names), QStringList({"", "PIA NERI"}));
    }


    // "Annullamento Attività" with a new activity shown: the resource controls do nothing,
    // and "Annulla" cancels the activity the window shows.
    void cancellationModeIgnoresTheResourceControls()
    {
        PickOffice o;
        o.write(File::Attivita, crlf({"3,01/03/2025,09.00,,,,,FRANA,PISA,NERI,,A"}));
        Formattivita *w = o.openInsert();
        o.fillRequest();
        o.add("cmdauto", ResourceKind::Vehicle, kJeepLine);
        o.activate(w);
        QCOMPARE(o.registerNow(), QStringList({kInserted}));
        // A line that cannot go back (told once the cancellation is over).
        o.write(File::Risorse, o.read(File::Risorse) + "7,ATTR,molte,ALFA,TENDA,O\r\n7,VOL.,tanti,ALFA,,O\r\n");
        o.fromMenu<Formattlist>("mnattaann");
        o.activate(w);
        QCOMPARE(child<QLineEdit>(w, "numprot")->text(), QString("7"));

        o.ctx.g.modoattprec = modes::Activity::RU;
        o.ctx.g.modoattrlist = o.ctx.g.modoautolist = modes::PairList::Unset;
        o.ctx.g.modoasslist = modes::AssociationList::Unset;
        for (const char *b : {"cmdattr", "cmdauto", "cmdvol"}) press(w, b);
        QCOMPARE(o.ctx.g.modoatt, modes::Activity::A);
        QCOMPARE(o.ctx.g.modoattprec, modes::Activity::RU);
        QVERIFY(o.ctx.g.modoattrlist == modes::PairList::Unset && o.ctx.g.modoautolist == modes::PairList::Unset
                && o.ctx.g.modoasslist == modes::AssociationList::Unset);
        // A line picked anyway has nowhere to go.
        o.fake.prompts.clear();
        o.main->offerPicked(ResourceKind::Vehicle, kJeepLine);
        QCOMPARE(o.ctx.g.modoatt, modes::Activity::A);
        QVERIFY(!o.ris()->isVisible());
        QCOMPARE(o.fake.prompts.messages().size(), 1);
        o.fake.prompts.clear();
        o.deleteRow(0);
        o.fake.prompts.answers.clear();
        QVERIFY(o.fake.prompts.questions().isEmpty());
        QCOMPARE(o.resourceList()->count(), 3);
        QCOMPARE(o.read(File::Automezzi), kJeepTaken);

        // The refusal itself, and the line left engaged, are tst_resource_operations'.
        const QStringList told = o.registerNow({true});
        QCOMPARE(told.mid(1), QStringList({QString::fromUtf8("Attività annullata correttamente.")}));
        // One message for every line that could not go back.
        QCOMPARE(told.first().count("resta impegnata."), 2);
        QVERIFY(told.first().contains(QString::fromUtf8("\"ATTR molte ALFA TENDA\" dell'attività 7 resta impegnata.")));
        QCOMPARE(o.read(File::Attivita), crlf({" 3 ,01/03/2025,09.00,,,,,FRANA,PISA,NERI,,A",
                                               " 7 ,05/03/2025,14.30,,,,,INCENDIO,ROMA,ROSSI,,S"}));
        QCOMPARE(o.read(File::Automezzi), kVehiclesFree);
    }

    // Undoing what the activity window did unregistered touches only its own records: a
    // correction registered meanwhile in a register window stays, and a new activity gives back
    // all it took (the new rollback point). Whatever the moment, the undo is made once; a new
    // task or the end asks first when there is something to undo or typed.
    void undoKeepsWhatOtherWindowsRegistered_data()
    {
        QTest::addColumn<QString>("correction");
        QTest::addColumn<QString>("moment");
        QTest::addColumn<bool>("pending");
        for (const char *correction : {"association", "vehicle", "equipment"})
            for (const char *moment : {"cmdesci", "title bar", "main list", "activity list", "mnattains",
                                       "mnattaann", "mnfine"})
                for (bool pending : {false, true})
                    QTest::addRow("%s %s%s", correction, moment, pending ? " unregistered" : "")
                        << QString(correction) << QString(moment) << pending;
        QTest::addRow("renamed meanwhile") << QString("rename") << QString("cmdesci") << true;
        for (const char *moment : {"cmdesci", "title bar", "main list", "activity list", "mnfine"})
            QTest::addRow("new activity %s", moment) << QString("new") << QString(moment) << true;
    }
    void undoKeepsWhatOtherWindowsRegistered()
    {
        QFETCH(QString, correction);
        QFETCH(QString, moment);
        QFETCH(bool, pending);
        PickOffice o;
        const bool fresh = correction == "new";
        if (fresh) o.write(File::Attivita, crlf({"3,01/03/2025,09.00,,,,,FRANA,PISA,NERI,,A"}));
        else registeredSeven(o);
        const QList<QByteArray> before = archives(o);
        Formattivita *w = fresh ? o.openInsert() : o.openFromMain("7");
        if (fresh) {
            o.fillRequest();
            o.add("cmdauto", ResourceKind::Vehicle, kJeepLine);
            o.add("cmdattr", ResourceKind::Equipment, kPompaLine, "2");
            o.add("cmdvol", ResourceKind::Association, kAlfaLine, "3");
            o.activate(w);
            o.deleteRow(0);
        } else {
            // A line deleted and the deletion registered: nothing is left to undo.
            o.deleteRow(0);
            QCOMPARE(o.registerNow(), QStringList({kModified}));
            QCOMPARE(o.read(o.deskName()), QByteArray());
        }

        // Pending: the jeep's line deleted, the ambulance taken; kept in sospese.dat meanwhile.
        if (pending && !fresh) {
            o.deleteRow(0);
            o.add("cmdauto", ResourceKind::Vehicle, vehicleListLine("BETA", "AMBULANZA", "L"));
            QCOMPARE(o.read(o.deskName()), "R," + ("AUTO      1   " + kJeepLine).left(114).toLatin1()
                                               + "\r\nP,AUTO      1   "
                                               + vehicleListLine("BETA", "AMBULANZA", "L").toLatin1() + "\r\n");
        }

        o.fake.prompts.clear();
        if (correction == "association" || correction == "rename") {
            auto *a = o.fromMenu<Formass>("mnassamod");
            QVERIFY(chooseEntry(child<QComboBox>(a, "cmbassdenom"), "ALFA"));
            if (correction == "rename") typeInto(child<QComboBox>(a, "cmbassdenom"), "alfa due");
            else typeText(a, "assnumvol", "20");
            press(a, "cmdassregistra");
            QCOMPARE(o.fake.prompts.messages(), QStringList({"Associazione modificata."}));
        } else if (correction == "vehicle") {
            auto *v = o.fromMenu<Formauto>("mnautains");
            typeAll(v, {{"cmbass", "BETA"}, {"cmbdes", "FURGONE"}, {"dataar", "05/03/2025"}, {"oraar", "15.00"}, {"cmbstato", "L"}});
            press(v, "cmdregistra");
            QCOMPARE(o.fake.prompts.messages(), QStringList({"Automezzo registrato correttamente."}));
        } else if (correction == "equipment") {
            auto *e = o.fromMenu<Formattr>("mnatrains");
            typeAll(e, {{"cmbass", "BETA"}, {"cmbdes", "BARELLA"}, {"qta", "4"}, {"cmbstato", "L"}});
            press(e, "cmdregistra");
            QCOMPARE(o.fake.prompts.messages(), QStringList({"Attrezzatura registrata correttamente."}));
        }

        // The renamed jeep is taken again under its new name.
        QList<QByteArray> expected = archives(o);
        if (fresh) expected = QList<QByteArray>{associationRecords(10), kVehiclesFree, kAllFree} + before.mid(3);
        if (pending && !fresh) expected[1].replace(kJeep, kJeepTakenLine).replace(kAmbulanzaTakenLine, kAmbulanza).replace("SOCCORSO,L", "SOCCORSO,A");
        o.fake.prompts.clear();
        leave(o, w, moment, fresh ? "3" : "7");
        const bool asks = (pending || fresh) && moment != "cmdesci" && moment != "title bar";
        QCOMPARE(o.fake.prompts.questions().size(), asks ? 1 : 0);
        o.fake.prompts.answers.clear();
        QCOMPARE(archives(o), expected);
        QCOMPARE(o.read(o.deskName()), QByteArray());
        QVERIFY(!o.ctx.g.risorsecambiate);
        if (fresh) QCOMPARE(o.read(File::AutomezziSav), kVehiclesFree);
        if (fresh && moment == "activity list") QCOMPARE(o.resourceList()->count(), 0);
        QCOMPARE(o.fake.prompts.messages(), QStringList());
        press(o.openInsert(), "cmdesci");
        QCOMPARE(archives(o), expected);
    }

    // An undo that fails now (a register read-only) is neither lost nor taken for registered.
    void anUndoThatFailsStaysToBeUndone()
    {
        PickOffice o;
        registeredSeven(o);
        o.openFromMain("7");
        o.deleteRow(0); // the tent given back, not registered
        const QByteArray held = o.read(o.deskName());
        QFile::setPermissions(o.path(File::Attrezzature), QFile::ReadOwner);
        o.fake.prompts.clear();
        o.fake.prompts.answers << true; // the deletion abandoned
        Formattivita *w = o.openInsert();
        QCOMPARE(o.fake.prompts.questions().size(), 1);
        QCOMPARE(o.fake.prompts.messages().size(), 1);
        QCOMPARE(o.read(File::Attrezzature), kAllFree);
        QCOMPARE(o.read(o.deskName()), held);
        // Registering another activity meanwhile keeps the undo pending.
        o.fillRequest();
        typeText(w, "numprot", "8");
        o.add("cmdvol", ResourceKind::Association, associationListLine("BETA", 5), "1");
        o.activate(w);
        QCOMPARE(o.registerNow(), QStringList({kInserted}));
        QCOMPARE(o.read(o.deskName()), held);
        QFile::setPermissions(o.path(File::Attrezzature), QFile::ReadOwner | QFile::WriteOwner);
        press(w, "cmdesci");
        QCOMPARE(o.read(File::Attrezzature), kTendaTaken);
        QCOMPARE(o.read(o.deskName()), QByteArray());
    }
};

QTEST_MAIN(TestResourceFlow)
#include "tst_resourceflow.moc"
