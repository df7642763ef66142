#include "testkit.h"
#include "widgets.h"

#include "app/formvelmo.h"
#include "vehicles/formauto.h"

#include <QAction>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

using archive::File;

class TestFormauto : public QObject {
    Q_OBJECT
private slots:
    void menuEntriesAndControls();
    void insertThroughTheWindow();
    void refusalsLeaveTheArchive();
    void modifyAndDeleteActOnTheChosenVehicle();
    void cercaNarrowsAndDropsRepeatedNames();
};

namespace {

struct Desk {
    TestOffice office;
    Formvelmo *main = office.windows->get<Formvelmo>();
    Formauto *w = nullptr;

    void open(const char *entry)
    {
        main->action(QString::fromLatin1(entry))->trigger();
        w = office.windows->get<Formauto>();
        office.activate(w);
    }
    QComboBox *list(const char *n) const { return w->findChild<QComboBox *>(QString::fromLatin1(n)); }
    QLineEdit *f(const char *n) const { return w->findChild<QLineEdit *>(QString::fromLatin1(n)); }
    QPushButton *b(const char *n) const { return w->findChild<QPushButton *>(QString::fromLatin1(n)); }
    void click(const char *n) const { QTest::mouseClick(b(n), Qt::LeftButton); }
    FakePrompts &prompts() { return office.fake.prompts; }
    bool neverBusyAtPrompt() const
    {
        return !office.fake.prompts.busyAtPrompt.contains(true) && office.fake.busy.depth == 0;
    }
};

const QByteArray kAssociations = crlf({"ALFA,,,,,,,,1,1", "BETA,,,,,,,,1,1", "BETA,,,,,,,,2,2",
                                       "CROCE,,,,,,,,1,1"});

} // namespace

void TestFormauto::menuEntriesAndControls()
{
    Desk d;
    const struct {
        const char *entry, *mode, *title, *caption;
    } rows[] = {
        {"mnautains", "I", "Automezzi - Inserimento", "Registra"},
        {"mnautamod", "M", "Automezzi - Modifica", "Modifica"},
        {"mnautaann", "A", "Automezzi - Elimina", "Elimina"},
    };
    for (const auto &r : rows) {
        d.open(r.entry);
        QCOMPARE(d.office.ctx.g.modoauto, QString(r.mode));
        QCOMPARE(d.w->windowTitle(), QString(r.title));
        QCOMPARE(d.b("cmdregistra")->text(), QString(r.caption));
        QVERIFY(d.w->isVisible());
    }
    const QString pick = "Scegliere l'associazione o digitare alcuni caratteri di ricerca e "
                         "cliccare 'CERCA', quindi scegliere l'associazione.";
    QCOMPARE(d.list("cmbass")->toolTip(), pick);
    QCOMPARE(d.list("cmbdes")->toolTip(), pick);
    QCOMPARE(d.f("campo")->toolTip(), QString("Digitare il campo di stazionamento del volontario."));
    QCOMPARE(d.f("note")->toolTip(), d.f("campo")->toolTip());
    QCOMPARE(d.f("orapa")->toolTip(),
             QString("Ora di partenza dal campo in formato oo.mm o premere il pulsante di Help per "
                     "l'ora corrente."));
    for (const char *h : {"cmddataar", "cmdoraar", "cmddatapa", "cmdorapa", "cmdcognome"})
        QCOMPARE(d.b(h)->text(), QString("H"));
    QCOMPARE(d.b("cmdcercaass")->text(), QString("Cerca"));
    QCOMPARE(d.b("cmdesci")->text(), QString("Esci"));
    // Each H button at the left end of its row.
    QCOMPARE(d.b("cmddataar")->y(), d.f("dataar")->y());
    QVERIFY(d.b("cmddataar")->x() < d.f("dataar")->x());
    QCOMPARE(d.b("cmdcognome")->y(), d.list("cmbdes")->y());
    QStringList labels;
    for (auto *l : d.w->findChildren<QLabel *>()) labels << l->text();
    for (const char *t : {"Denominazione ass.", "Descrizione", "Campo", "Data arrivo",
                          "Ora di arrivo", "Data partenza", "Ora partenza", "Specializzazione",
                          "Stato (A/B/L/R)"})
        QVERIFY2(labels.contains(QString(t)), t);
    QCOMPARE(entries(d.list("cmbstato")),
             QStringList({"A = Attivo", "B = Bloccato", "L = Libero", "R = Riposo"}));

    // The date and time buttons read the clock (03/03/2025 09.05).
    d.click("cmddataar");
    QCOMPARE(d.f("dataar")->text(), QString("03/03/2025"));
    QCOMPARE(d.f("oraar")->text(), QString("09.05"));
    d.office.fake.clock.time = QDateTime(QDate(2026, 12, 5), QTime(23, 7));
    d.click("cmdorapa");
    QCOMPARE(d.f("orapa")->text(), QString("23.07"));
    QCOMPARE(d.f("datapa")->text(), QString());
    d.click("cmddatapa");
    QCOMPARE(d.f("datapa")->text(), QString("05/12/2026"));
    d.click("cmdoraar");
    QCOMPARE(d.f("oraar")->text(), QString("23.07"));
    d.click("cmdcognome"); // no action
    d.click("cmdesci");
    QVERIFY(!d.w->isVisible());
    QVERIFY(d.prompts().shown.isEmpty());
    QVERIFY(!d.office.exists(File::Automezzi));
}

void TestFormauto::insertThroughTheWindow()
{
    Desk d;
    d.office.write(File::Associazioni, kAssociations);
    d.office.write(File::Automezzi, crlf({"ALFA,JEEP,,,,,,,L", "BETA,AMB 2,,,,,,,L"}));
    d.open("mnautains");
    QCOMPARE(entries(d.list("cmbass")), QStringList({"ALFA", "BETA", "CROCE"}));
    QVERIFY(chooseEntry(d.list("cmbass"), "BETA"));
    QCOMPARE(entries(d.list("cmbdes")), QStringList({"AMB 2"}));
    typeInto(d.list("cmbdes"), "ambulanza, 1");
    typeInto(d.f("campo"), "campo 2");
    typeInto(d.f("dataar"), "05/12/2026");
    typeInto(d.f("oraar"), "14.30");
    typeInto(d.f("note"), "sanitaria");
    typeInto(d.list("cmbstato"), "attivo");
    d.click("cmdregistra");
    QCOMPARE(d.prompts().messages(), QStringList{"Automezzo registrato correttamente."});
    QCOMPARE(d.office.read(File::Automezzi),
             crlf({"ALFA,JEEP,,,,,,,L", "BETA,AMB 2,,,,,,,L",
                   "BETA,AMBULANZA  1,CAMPO 2,05/12/2026,14.30,,,SANITARIA,A"}));
    // Ready for the next vehicle of the same arrival.
    QCOMPARE(entries(d.list("cmbdes")), QStringList({"AMB 2", "AMBULANZA  1"}));
    QCOMPARE(d.list("cmbdes")->currentText(), QString());
    QCOMPARE(d.f("campo")->text(), QString());
    QCOMPARE(d.f("note")->text(), QString());
    QCOMPARE(d.f("dataar")->text(), QString("05/12/2026"));
    QCOMPARE(d.f("oraar")->text(), QString("14.30"));
    QCOMPARE(d.list("cmbstato")->currentText(), QString("attivo"));

    typeInto(d.list("cmbdes"), "AMB 1");
    typeInto(d.f("datapa"), "06/12/2026");
    d.click("cmdregistra");
    QCOMPARE(d.office.read(File::Automezzi),
             crlf({"ALFA,JEEP,,,,,,,L", "BETA,AMB 1,,05/12/2026,14.30,06/12/2026,,,A",
                   "BETA,AMB 2,,,,,,,L", "BETA,AMBULANZA  1,CAMPO 2,05/12/2026,14.30,,,SANITARIA,A"}));

    // The same key again.
    d.prompts().clear();
    const QByteArray before = d.office.read(File::Automezzi);
    typeInto(d.list("cmbdes"), "amb 2");
    d.click("cmdregistra");
    QCOMPARE(d.prompts().messages(),
             QStringList{QString::fromUtf8("Automezzo già presente nell'archivio.")});
    QCOMPARE(d.office.read(File::Automezzi), before);
    QCOMPARE(d.list("cmbdes")->currentText(), QString("amb 2")); // the fields are not changed
    QVERIFY(d.neverBusyAtPrompt());

    // Activation empties the fields again.
    d.office.activate(d.w);
    QCOMPARE(d.f("dataar")->text(), QString());
    QCOMPARE(d.list("cmbass")->currentText(), QString());
}

void TestFormauto::refusalsLeaveTheArchive()
{
    Desk d;
    const QByteArray before = crlf({"ALFA,JEEP,,,,,,,L"});
    d.office.write(File::Automezzi, before);
    d.open("mnautains");
    struct Case {
        const char *ass, *dataar, *oraar, *datapa, *orapa, *stato, *message;
    };
    const Case cases[] = {
        {"", "x", "x", "", "", "", "Manca denominazione Associazione."},
        {"alfa", "32/01/2026", "x", "", "", "", "Data arrivo errata."},
        {"alfa", "01/01/2026", "24.00", "", "", "", "Ora arrivo errata."},
        {"alfa", "30/01/2026", "10.00", "29/01/2026", "", "", "Data partenza errata."},
        {"alfa", "30/01/2026", "10.00", "30/01/2026", "09.00", "", "Ora partenza errata."},
        {"alfa", "30/01/2026", "10.00", "", "", "", "Manca stato."},
        {"alfa", "30/01/2026", "10.00", "", "", "x", "Stato non previsto."},
    };
    for (const Case &c : cases) {
        d.prompts().clear();
        typeInto(d.list("cmbass"), c.ass);
        typeInto(d.list("cmbdes"), "nuovo");
        typeInto(d.f("dataar"), c.dataar);
        typeInto(d.f("oraar"), c.oraar);
        typeInto(d.f("datapa"), c.datapa);
        typeInto(d.f("orapa"), c.orapa);
        typeInto(d.list("cmbstato"), c.stato);
        d.click("cmdregistra");
        QCOMPARE(d.prompts().messages(), QStringList{QString(c.message)});
        QCOMPARE(d.office.read(File::Automezzi), before);
        QCOMPARE(d.f("dataar")->text(), QString(c.dataar));
    }
    // A character the archive cannot hold.
    d.prompts().clear();
    typeInto(d.list("cmbstato"), "L");
    typeInto(d.f("note"), QString::fromUtf8("gru \u2192 20t"));
    d.click("cmdregistra");
    QCOMPARE(d.prompts().messages().size(), 1);
    QVERIFY(d.prompts().messages().first().contains(QString::fromUtf8("non può essere registrato")));
    QCOMPARE(d.office.read(File::Automezzi), before);
}

void TestFormauto::modifyAndDeleteActOnTheChosenVehicle()
{
    Desk d;
    d.office.write(File::Associazioni, kAssociations);
    d.office.write(File::Automezzi,
                   crlf({"ALFA,AMB 1,C1,01/01/2026,10.00,02/01/2026,11.00,SAN,L",
                         "ALFA,AMB 2,,01/01/2026,10.00,,,,L", "BETA,JEEP,,01/01/2026,10.00,,,,A"}));
    d.open("mnautamod");
    // Nothing chosen yet: not found, nothing written.
    typeInto(d.list("cmbass"), "ALFA");
    typeInto(d.list("cmbdes"), "AMB 1");
    typeInto(d.f("dataar"), "01/01/2026");
    typeInto(d.f("oraar"), "10.00");
    typeInto(d.list("cmbstato"), "L");
    const QByteArray before = d.office.read(File::Automezzi);
    d.click("cmdregistra");
    QCOMPARE(d.prompts().messages(), QStringList{"Automezzo non trovato."});
    QCOMPARE(d.office.read(File::Automezzi), before);
    QCOMPARE(d.list("cmbdes")->currentText(), QString("AMB 1"));

    d.office.activate(d.w);
    QVERIFY(chooseEntry(d.list("cmbass"), "ALFA"));
    QCOMPARE(entries(d.list("cmbdes")), QStringList({"AMB 1", "AMB 2"}));
    QVERIFY(chooseEntry(d.list("cmbdes"), "AMB 1"));
    QCOMPARE(d.f("campo")->text(), QString("C1"));
    QCOMPARE(d.f("datapa")->text(), QString("02/01/2026"));
    QCOMPARE(d.f("orapa")->text(), QString("11.00"));
    QCOMPARE(d.f("note")->text(), QString("SAN"));
    QCOMPARE(d.list("cmbstato")->currentText(), QString("L"));
    QCOMPARE(d.w->chiaveauto().descrizione, QString("AMB 1"));

    // To a key another vehicle has: refused.
    d.prompts().clear();
    typeInto(d.list("cmbdes"), "amb 2");
    d.click("cmdregistra");
    QCOMPARE(d.prompts().messages(),
             QStringList{QString::fromUtf8("Automezzo già presente nell'archivio.")});
    QCOMPARE(d.office.read(File::Automezzi), before);

    // A new description keeps the record at its place.
    d.prompts().clear();
    typeInto(d.list("cmbdes"), "zeta");
    typeInto(d.list("cmbstato"), "b");
    d.click("cmdregistra");
    QCOMPARE(d.prompts().messages(), QStringList{"Automezzo modificato correttamente."});
    QCOMPARE(d.office.read(File::Automezzi),
             crlf({"ALFA,ZETA,C1,01/01/2026,10.00,02/01/2026,11.00,SAN,B",
                   "ALFA,AMB 2,,01/01/2026,10.00,,,,L", "BETA,JEEP,,01/01/2026,10.00,,,,A"}));
    QCOMPARE(entries(d.list("cmbdes")), QStringList({"ZETA", "AMB 2"}));
    QCOMPARE(d.f("dataar")->text(), QString());
    QCOMPARE(d.list("cmbstato")->currentText(), QString());

    // Delete in another opening acts on the vehicle chosen there.
    d.w->hide();
    d.open("mnautaann");
    QVERIFY(chooseEntry(d.list("cmbass"), "BETA"));
    QVERIFY(chooseEntry(d.list("cmbdes"), "JEEP"));
    typeInto(d.list("cmbass"), "ALFA"); // edited afterwards: the chosen one goes
    d.prompts().clear();
    d.click("cmdregistra");
    QCOMPARE(d.prompts().messages(), QStringList{"Automezzo eliminato correttamente."});
    QCOMPARE(d.office.read(File::Automezzi),
             crlf({"ALFA,ZETA,C1,01/01/2026,10.00,02/01/2026,11.00,SAN,B",
                   "ALFA,AMB 2,,01/01/2026,10.00,,,,L"}));
    d.prompts().clear();
    typeInto(d.f("dataar"), "01/01/2026");
    typeInto(d.f("oraar"), "10.00");
    typeInto(d.list("cmbstato"), "L");
    d.click("cmdregistra");
    QCOMPARE(d.prompts().messages(), QStringList{"Automezzo non trovato."});
    QVERIFY(d.neverBusyAtPrompt());
}

void TestFormauto::cercaNarrowsAndDropsRepeatedNames()
{
    Desk d;
    d.office.write(File::Associazioni, kAssociations);
    d.open("mnautains");
    typeInto(d.list("cmbass"), "e");
    d.click("cmdcercaass");
    QCOMPARE(entries(d.list("cmbass")), QStringList({"BETA", "CROCE"}));
    QCOMPARE(d.list("cmbass")->currentText(), QString());
    d.click("cmdcercaass");
    QCOMPARE(entries(d.list("cmbass")).size(), 3);
}

QTEST_MAIN(TestFormauto)
#include "tst_formauto.moc"

