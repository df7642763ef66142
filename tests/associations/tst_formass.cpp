#include "testkit.h"
#include "widgets.h"

#include "app/formvelmo.h"
#include "archive/text.h"
#include "associations/formass.h"

#include <QAction>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

using archive::File;

class TestFormass : public QObject {
    Q_OBJECT
private slots:
    void menuEntriesPrepareTheWindow();
    void insertCleansChecksAndPlacesTheRecord();
    void modifyActsOnTheLoadedNameAndCarriesIt();
    void deleteAsksTwiceAndRemovesDependents();
    void viewModeShowsTheChosenListLine();
    void cercaNarrowsTheNames();
};

namespace {

struct Desk {
    TestOffice office;
    Formvelmo *main = office.windows->get<Formvelmo>();
    Formass *w = nullptr;

    Desk() { main->setQuitHandler([] {}); }

    void open(const char *entry)
    {
        main->action(QString::fromLatin1(entry))->trigger();
        w = office.windows->get<Formass>();
        office.activate(w);
    }
    template <class T> T *c(const char *name) const
    {
        return w->findChild<T *>(QString::fromLatin1(name));
    }
    QComboBox *denom() const { return c<QComboBox>("cmbassdenom"); }
    QLineEdit *f(const char *name) const { return c<QLineEdit>(name); }
    void registra() const { QTest::mouseClick(c<QPushButton>("cmdassregistra"), Qt::LeftButton); }
    FakePrompts &prompts() { return office.fake.prompts; }
    bool neverBusyAtPrompt() const
    {
        return !office.fake.prompts.busyAtPrompt.contains(true) && office.fake.busy.depth == 0;
    }
    void fill(const QStringList &values)
    {
        typeInto(denom(), values.at(0));
        const char *names[] = {"assindir", "asscomune", "assprov", "asstel",
                               "assfax",   "assemail",  "asscampo", "assnumvol"};
        for (int i = 0; i < 8; ++i) typeInto(f(names[i]), values.at(i + 1));
    }
};

} // namespace

void TestFormass::menuEntriesPrepareTheWindow()
{
    Desk d;
    const struct {
        const char *entry, *mode, *title, *caption;
    } rows[] = {
        {"mnassains", "I", "Associazioni - Inserimento", "Registra"},
        {"mnassamod", "M", "Associazioni - Modifica", "Modifica"},
        {"mnassaann", "A", "Associazioni - Cancellazione", "Elimina"},
    };
    for (const auto &r : rows) {
        d.open(r.entry);
        QCOMPARE(d.office.ctx.g.modoass, QString(r.mode));
        QCOMPARE(d.w->windowTitle(), QString(r.title));
        auto *b = d.c<QPushButton>("cmdassregistra");
        QCOMPARE(b->text(), QString(r.caption));
        QVERIFY(b->isVisible());
        QVERIFY(d.w->isVisible());
        b->hide(); // as the list window leaves it; the menu shows it again
    }
    QCOMPARE(d.office.windows->get<Formass>(), d.w); // one window only

    // Controls, labels and tooltips.
    QCOMPARE(d.denom()->toolTip(),
             QString("Digitare il nome dell'associazione o sceglierlo dall'elenco."));
    QVERIFY(d.denom()->isEditable());
    QCOMPARE(d.f("assprov")->toolTip(),
             QString("Sigla della provincia di residenza dell'associazione"));
    QCOMPARE(d.f("assnumvol")->toolTip(),
             QString("Numero di volontari partecipanti dell'associazione"));
    QCOMPARE(d.c<QPushButton>("cmdcercaass")->text(), QString("Cerca"));
    QCOMPARE(d.c<QPushButton>("cmdassesci")->text(), QString("Esci"));
    QStringList labels;
    for (auto *l : d.w->findChildren<QLabel *>()) labels << l->text();
    for (const char *t : {"Denominazione", "Indirizzo", "Comune", "Provincia", "Telefono", "Fax",
                          "e-mail", "Campo", "N. Volontari"})
        QVERIFY2(labels.contains(QString(t)), t);
    // The name row: button at its left end, then label, then the list.
    QVERIFY(d.c<QPushButton>("cmdcercaass")->x() < d.denom()->x());
    QCOMPARE(d.c<QPushButton>("cmdcercaass")->y(), d.denom()->y());
    QVERIFY(d.f("assprov")->width() < d.f("assindir")->width());

    QTest::mouseClick(d.c<QPushButton>("cmdassesci"), Qt::LeftButton);
    QVERIFY(!d.w->isVisible());
    QVERIFY(d.prompts().shown.isEmpty());
}

void TestFormass::insertCleansChecksAndPlacesTheRecord()
{
    Desk d;
    d.open("mnassains");
    QCOMPARE(d.f("assnumvol")->text(), QString("0"));
    d.fill({"Gruppo, \"Alfa\" Nord", "via roma, 1", "borgo", "xx", "", "", "", "campo 2", "12"});
    d.registra();
    QCOMPARE(d.office.read(File::Associazioni),
             crlf({"GRUPPO   ALFA  NORD,VIA ROMA  1,BORGO,XX,,,,CAMPO 2,12,12"}));
    QVERIFY(d.prompts().shown.isEmpty()); // no message on insert
    QCOMPARE(d.denom()->currentText(), QString());
    QCOMPARE(d.f("assindir")->text(), QString());
    QCOMPARE(d.f("assnumvol")->text(), QString("0"));
    QVERIFY(d.denom()->hasFocus() || d.denom()->lineEdit()->hasFocus());

    d.fill({"alba", "", "", "", "", "", "", "", "3"});
    d.registra();
    d.fill({"zeta", "", "", "", "", "", "", "", "-4"});
    d.registra();
    QCOMPARE(d.office.read(File::Associazioni),
             crlf({"ALBA,,,,,,,, 3 , 3 ", "GRUPPO   ALFA  NORD,VIA ROMA  1,BORGO,XX,,,,CAMPO 2, 12 , 12 ",
                   "ZETA,,,,,,,,-4,-4"}));

    // Refusals: a message, the cleaned texts in the fields, no archive touched.
    const QByteArray before = d.office.read(File::Associazioni);
    struct Case {
        QString name, num, message;
    };
    const Case cases[] = {
        {"", "x", "Manca denominazione."},
        {"nuova, una", "", "Numero volontari dell'associazione errato."},
        {"nuova", "1.5", "Numero volontari dell'associazione errato."},
        {"nuova", "40000", "Numero volontari dell'associazione errato."},
        {"alba", "1", QString::fromUtf8("Associazione già presente nell'archivio.")},
        {QString::fromUtf8("gruppo \u0141\u00f3dz"), "1",
         QString::fromUtf8("Il carattere \"\u0141\" non può essere registrato negli archivi. "
                           "Sostituirlo e riprovare.")},
    };
    for (const Case &c : cases) {
        d.prompts().clear();
        d.fill({c.name, "via, due", "", "", "", "", "", "", c.num});
        d.registra();
        QCOMPARE(d.prompts().messages(), QStringList{c.message});
        QCOMPARE(d.office.read(File::Associazioni), before);
        QCOMPARE(d.f("assindir")->text(), QString("VIA  DUE"));
        QCOMPARE(d.denom()->currentText(), text::capitals(c.name).replace(',', ' '));
    }
    QVERIFY(d.neverBusyAtPrompt());
}

void TestFormass::modifyActsOnTheLoadedNameAndCarriesIt()
{
    Desk d;
    d.office.write(File::Associazioni,
                   crlf({"ALFA,,,,,,,,3,3", "BETA,VIA UNO,PISA,PI,050,051,B@X.IT,CAMPO 1, 5 , 9 "}));
    d.office.write(File::Automezzi, crlf({"BETA,AMB,,,,,,,L", "ALFA,JEEP,,,,,,,L"}));
    d.office.write(File::Attrezzature, crlf({"BETA,TENDA,L,4"}));
    d.office.write(File::Volontari, crlf({"BETA,MARIO,ROSSI,,,,,,,", "ALFA,ANNA,NERI,,,,,,,"}));
    d.open("mnassamod");
    QCOMPARE(entries(d.denom()), QStringList({"ALFA", "BETA"}));
    QVERIFY(chooseEntry(d.denom(), "BETA"));
    QCOMPARE(d.office.ctx.g.nomecaricato, QString("BETA"));
    QCOMPARE(d.f("assindir")->text(), QString("VIA UNO"));
    QCOMPARE(d.f("assemail")->text(), QString("B@X.IT"));
    QCOMPARE(d.f("asscampo")->text(), QString("CAMPO 1"));
    QCOMPARE(d.f("assnumvol")->text(), QString("5"));

    typeInto(d.denom(), "zeta");
    typeInto(d.f("assnumvol"), "6");
    d.registra();
    QCOMPARE(d.prompts().messages(), QStringList{"Associazione modificata."});
    QCOMPARE(d.office.read(File::Associazioni),
             crlf({"ALFA,,,,,,,, 3 , 3 ", "ZETA,VIA UNO,PISA,PI,050,051,B@X.IT,CAMPO 1,6,6"}));
    QCOMPARE(d.office.read(File::Automezzi), crlf({"ZETA,AMB,,,,,,,L", "ALFA,JEEP,,,,,,,L"}));
    QCOMPARE(d.office.read(File::Attrezzature), crlf({"ZETA,TENDA,L, 4 "}));
    QCOMPARE(d.office.read(File::Volontari),
             crlf({"ZETA,MARIO,ROSSI,,,,,,,", "ALFA,ANNA,NERI,,,,,,,"}));
    QCOMPARE(d.denom()->currentText(), QString("ZETA")); // fields keep their contents

    // The loaded name is still BETA, even in a later opening: a new name
    // that exists is refused and nothing changes.
    d.w->hide();
    d.open("mnassamod");
    d.prompts().clear();
    const QByteArray a = d.office.read(File::Associazioni), v = d.office.read(File::Volontari);
    d.fill({"alfa", "", "", "", "", "", "", "", "1"});
    d.registra();
    QCOMPARE(d.prompts().messages(),
             QStringList{QString::fromUtf8("Associazione già presente nell'archivio.")});
    QCOMPARE(d.office.read(File::Associazioni), a);
    QCOMPARE(d.office.read(File::Volontari), v);
    // A free name: with no record BETA left, the values go in as a new one.
    d.prompts().clear();
    d.fill({"omega", "", "", "", "", "", "", "", "2"});
    d.registra();
    QCOMPARE(d.prompts().messages(), QStringList{"Associazione modificata."});
    QCOMPARE(d.office.read(File::Associazioni),
             crlf({"ALFA,,,,,,,, 3 , 3 ", "OMEGA,,,,,,,,2,2", "ZETA,VIA UNO,PISA,PI,050,051,B@X.IT,CAMPO 1, 6 , 6 "}));
    QVERIFY(d.neverBusyAtPrompt());
}

void TestFormass::deleteAsksTwiceAndRemovesDependents()
{
    Desk d;
    const QByteArray assoc = crlf({"ALFA,,,,,,,,3,3", "BETA,,,,,,,,5,5", "GAMMA,,,,,,,,1,1"});
    const QByteArray veh = crlf({"BETA,AMB,,,,,,,L", "GAMMA,JEEP,,,,,,,L"});
    const QByteArray eq = crlf({"ALFA,PALA,L,2", "BETA,TENDA,L,4"});
    d.office.write(File::Associazioni, assoc);
    d.office.write(File::Automezzi, veh);
    d.office.write(File::Attrezzature, eq);
    d.open("mnassaann");
    const QString qEq = "Ci sono attrezzature registrate per questa associazione. Elimino tutte le "
                        "attrezzature?";
    const QString qVeh = "Ci sono Automezzi registrati per questa associazione. Elimino tutti gli "
                         "automezzi?";
    const QString giveUp = "Rinuncio ad eliminare l'associazione";
    auto untouched = [&] {
        return d.office.read(File::Associazioni) == assoc && d.office.read(File::Automezzi) == veh
            && d.office.read(File::Attrezzature) == eq;
    };

    QVERIFY(chooseEntry(d.denom(), "BETA"));
    d.prompts().answers << QList<bool>{false};
    d.registra();
    QCOMPARE(d.prompts().texts(), QStringList({qEq, giveUp}));
    QVERIFY(untouched());

    d.prompts().clear();
    d.prompts().answers << QList<bool>{true, false};
    d.registra();
    QCOMPARE(d.prompts().texts(), QStringList({qEq, qVeh, giveUp}));
    QVERIFY(untouched());

    d.prompts().clear();
    d.prompts().answers << QList<bool>{true, true};
    d.registra();
    QCOMPARE(d.prompts().texts(), QStringList({qEq, qVeh, "Associazione eliminata."}));
    QCOMPARE(d.office.read(File::Associazioni), crlf({"ALFA,,,,,,,, 3 , 3 ", "GAMMA,,,,,,,, 1 , 1 "}));
    QCOMPARE(d.office.read(File::Automezzi), crlf({"GAMMA,JEEP,,,,,,,L"}));
    QCOMPARE(d.office.read(File::Attrezzature), crlf({"ALFA,PALA,L, 2 "}));
    // The list still offers the deleted name until the next activation.
    QVERIFY(entries(d.denom()).contains("BETA"));

    // Deleting it again: not found, nothing asked, nothing written.
    d.prompts().clear();
    const QByteArray a = d.office.read(File::Associazioni);
    d.registra();
    QCOMPARE(d.prompts().texts(), QStringList{QString::fromUtf8("Associazione non trovata.")});
    QCOMPARE(d.office.read(File::Associazioni), a);

    // Only equipment: one question.
    d.prompts().clear();
    QVERIFY(chooseEntry(d.denom(), "ALFA"));
    d.prompts().answers << QList<bool>{true};
    d.registra();
    QCOMPARE(d.prompts().texts(), QStringList({qEq, "Associazione eliminata."}));
    QCOMPARE(d.office.read(File::Attrezzature), QByteArray());
    QCOMPARE(d.office.read(File::Automezzi), crlf({"GAMMA,JEEP,,,,,,,L"}));

    // Nothing depending on it: no question.
    d.office.write(File::Automezzi, QByteArray());
    d.prompts().clear();
    QVERIFY(chooseEntry(d.denom(), "GAMMA"));
    d.registra();
    QCOMPARE(d.prompts().texts(), QStringList({"Associazione eliminata."}));
    QCOMPARE(d.office.read(File::Associazioni), QByteArray());
    QCOMPARE(d.prompts().unexpected, 0);
    QVERIFY(d.neverBusyAtPrompt());
}

void TestFormass::viewModeShowsTheChosenListLine()
{
    Desk d;
    d.office.write(File::Associazioni,
                   crlf({"ALFA,,,,,,,,3,3", "BETA,VIA UNO,PISA,PI,050,051,B@X.IT,CAMPO 1,-5 , 9 "}));
    d.open("mnassamod"); // fills the list once
    const QStringList listed = entries(d.denom());
    d.w->hide();
    d.office.activate(d.main); // the list window stands here

    // What the association list does when a line is chosen.
    d.office.ctx.g.nomecaricato = "BETA";
    d.office.ctx.g.modoass = "L";
    d.w->setWindowTitle("Associazioni ");
    d.w->findChild<QPushButton *>("cmdassregistra")->hide();
    d.w->setSelectedLine(text::fit("BETA", 50) + " -5");
    d.office.activate(d.w);
    QCOMPARE(d.denom()->currentText(), QString("BETA"));
    QCOMPARE(d.f("assindir")->text(), QString("VIA UNO"));
    QCOMPARE(d.f("assnumvol")->text(), QString("-5"));
    QVERIFY(!d.c<QPushButton>("cmdassregistra")->isVisible());
    QCOMPARE(entries(d.denom()), listed);
    QCOMPARE(d.office.ctx.g.nomecaricato, QString("BETA"));

    // A line that matches nothing (the heading) loads nothing.
    d.w->setSelectedLine(" ELENCO ASSOCIAZIONI ");
    d.office.activate(d.w);
    QCOMPARE(d.denom()->currentText(), QString("BETA"));
    QVERIFY(d.prompts().shown.isEmpty());
}

void TestFormass::cercaNarrowsTheNames()
{
    Desk d;
    d.office.write(File::Associazioni,
                   crlf({"ANPAS,,,,,,,,1,1", "CROCE ROSSA,,,,,,,,1,1", "MISERICORDIA,,,,,,,,1,1",
                         "SOCCORSO CRO,,,,,,,,1,1"}));
    d.open("mnassains");
    QCOMPARE(entries(d.denom()).size(), 4);
    typeInto(d.denom(), "cro");
    QTest::mouseClick(d.c<QPushButton>("cmdcercaass"), Qt::LeftButton);
    QCOMPARE(entries(d.denom()), QStringList({"CROCE ROSSA", "SOCCORSO CRO"}));
    typeInto(d.denom(), "");
    QTest::mouseClick(d.c<QPushButton>("cmdcercaass"), Qt::LeftButton);
    QCOMPARE(entries(d.denom()).size(), 4);
    // A new activation lists all names again and empties the fields.
    typeInto(d.f("assindir"), "x");
    d.office.activate(d.w);
    QCOMPARE(d.f("assindir")->text(), QString());
    QVERIFY(d.prompts().shown.isEmpty());
}

QTEST_MAIN(TestFormass)
#include "tst_formass.moc"
