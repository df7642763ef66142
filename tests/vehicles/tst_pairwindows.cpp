// The vehicle window (Formauto) and the equipment window (Formattr): two
// registers of association-and-description records, one row each in a table
// of what differs between them. The order of the checks and their messages:
// the records tests; every bad character, field by field: tst_badinput; what
// each menu entry sets: tst_menu.
#include "registerdesk.h"

#include <vector>

using archive::File;

namespace {

struct Reg {
    const char *name, *insert, *modify, *remove; // menu entries
    File archive;
    QString duplicate, notFound, inserted, modified, deleted;
    QStringList offered; // the associations on activation
    // Insert, after choosing BETA: typed, the archive, the fields ready for
    // the next record, BETA's descriptions.
    Typed typed;
    QByteArray inserted_;
    Typed kept;
    QStringList descriptions;
    Typed duplicateTyped, duplicateShown; // an insert refused
    // Modify the new record: its description, what choosing it loads, a key another
    // record has, the new values; the archive, BETA's descriptions, the fields after.
    QString newDescription;
    Typed loaded, otherKey, changed;
    QByteArray modifyAfter;
    QStringList modifyDescriptions;
    Typed modifyKept;
    // Delete: the record chosen, what is typed afterwards, the archive after.
    Typed chosen, retyped;
    QByteArray removeAfter;
};

const std::vector<Reg> &regs()
{
    static const std::vector<Reg> all = {
        {"automezzi", "mnautains", "mnautamod", "mnautaann", File::Automezzi, QString::fromUtf8("Automezzo già presente nell'archivio."), "Automezzo non trovato.", "Automezzo registrato correttamente.", "Automezzo modificato correttamente.", "Automezzo eliminato correttamente.", {"ALFA", "BETA", "CROCE BETA"}, // each name once
         // Cleaned and at its place; the arrival and the state stay for the
         // next vehicle of the same arrival.
         {{"cmbdes", "ambulanza, 1"}, {"campo", "campo 2"}, {"dataar", "05/12/2026"}, {"oraar", "14.30"}, {"datapa", "06/12/2026"}, {"orapa", "08.00"}, {"note", "sanitaria"}, {"cmbstato", "attivo"}},
         crlf({"ALFA,JEEP,,,,,,,L", "BETA,AMB 2,,,,,,,L", "BETA,AMBULANZA  1,CAMPO 2,05/12/2026,14.30,06/12/2026,08.00,SANITARIA,A"}),
         {{"cmbdes", ""}, {"campo", ""}, {"orapa", ""}, {"note", ""}, {"dataar", "05/12/2026"}, {"oraar", "14.30"}, {"cmbstato", "attivo"}},
         {"AMB 2", "AMBULANZA  1"},
         {{"cmbdes", "amb 2"}, {"campo", "C"}, {"dataar", "30/01/2026"}, {"oraar", "10.00"}, {"datapa", "31/01/2026"}, {"orapa", "11.00"}, {"note", "N"}, {"cmbstato", "L"}},
         {{"cmbdes", "amb 2"}, {"dataar", "30/01/2026"}, {"orapa", "11.00"}},
         // A new description keeps the record at its place; the fields empty.
         "AMBULANZA  1",
         {{"campo", "CAMPO 2"}, {"orapa", "08.00"}, {"note", "SANITARIA"}, {"cmbstato", "A"}},
         {{"cmbdes", "amb 2"}},
         {{"cmbdes", "abc"}, {"cmbstato", "b"}},
         crlf({"ALFA,JEEP,,,,,,,L", "BETA,AMB 2,,,,,,,L", "BETA,ABC,CAMPO 2,05/12/2026,14.30,06/12/2026,08.00,SANITARIA,B"}),
         {"AMB 2", "ABC"},
         {{"dataar", ""}, {"cmbstato", ""}},
         {{"cmbass", "BETA"}, {"cmbdes", "ABC"}},
         {{"cmbass", "ALFA"}, {"dataar", "01/01/2026"}, {"oraar", "10.00"}, {"cmbstato", "L"}},
         crlf({"ALFA,JEEP,,,,,,,L", "BETA,AMB 2,,,,,,,L"})},
        {"attrezzature", "mnatrains", "mnatramod", "mnatraann", File::Attrezzature, QString::fromUtf8("Attrezzatura già presente in archivio."), "Attrezzatura non trovata.", "Attrezzatura registrata correttamente.", "Attrezzatura modificata correttamente.", "Attrezzatura eliminata correttamente.", {"ALFA", "BETA", "BETA", "CROCE BETA"}, // every name as stored
         // The records copied meanwhile go out in number form.
         {{"cmbdes", "branda, da campo"}, {"cmbstato", "bloccato"}, {"qta", "-3"}},
         crlf({"ALFA,PALA,L, 2 ", "BETA,BRANDA  DA CAMPO,B,-3", "BETA,TENDA,L, 4 "}),
         {{"cmbdes", ""}, {"cmbstato", "bloccato"}, {"qta", "-3"}},
         {"BRANDA  DA CAMPO", "TENDA"},
         // The description shows in capitals once both names are there.
         {{"cmbdes", "tenda"}, {"cmbstato", "A"}, {"qta", "1"}},
         {{"cmbdes", "TENDA"}, {"qta", "1"}},
         // A new description moves the record to its place; the fields stay.
         "BRANDA  DA CAMPO",
         {{"cmbstato", "B"}, {"qta", "-3"}},
         {{"cmbdes", "tenda"}},
         {{"cmbdes", "zaino"}, {"cmbstato", "R = Riposo"}, {"qta", "5"}},
         crlf({"ALFA,PALA,L, 2 ", "BETA,TENDA,L, 4 ", "BETA,ZAINO,R,5"}),
         {"TENDA", "ZAINO"},
         {{"cmbstato", "R = Riposo"}, {"qta", "5"}},
         {{"cmbass", "ALFA"}, {"cmbdes", "PALA"}},
         {{"cmbass", "BETA"}, {"cmbdes", "TENDA"}, {"cmbstato", "L"}, {"qta", "1"}},
         crlf({"BETA,TENDA,L, 4 ", "BETA,ZAINO,R, 5 "})},
    };
    return all;
}

struct Office : MainOffice {
    Office()
    {
        write(File::Associazioni, crlf({"ALFA,,,,,,,,1,1", "BETA,,,,,,,,1,1", "BETA,,,,,,,,2,2",
                                        "CROCE BETA,,,,,,,,1,1"}));
    }
    QWidget *open(const char *entry) { return openEntry(*this, entry); }
    // Types into the fields and registers; the messages shown.
    QStringList registra(QWidget *w, const Typed &typed)
    {
        fake.prompts.clear();
        typeAll(w, typed);
        clickButton(w, "cmdregistra");
        return fake.prompts.messages();
    }
};

QComboBox *list(QWidget *w, const char *name) { return w->findChild<QComboBox *>(name); }

} // namespace

class TestPairWindows : public QObject {
    Q_OBJECT
private slots:
    void cercaInsertModifyRemove_data() { registers(); }
    void cercaInsertModifyRemove()
    {
        QFETCH(int, reg);
        const Reg &r = regs()[reg];
        Office o;
        QWidget *w = o.open(r.insert);
        QComboBox *ass = list(w, "cmbass");
        QCOMPARE(entries(ass), r.offered);
        QCOMPARE(entries(list(w, "cmbstato")), QStringList({"A = Attivo", "B = Bloccato", "L = Libero", "R = Riposo"}));
        // Cerca narrows the names, in small letters, and empties the text;
        // with no text it lists each name once.
        typeInto(ass, "beta");
        clickButton(w, "cmdcercaass");
        QCOMPARE(entries(ass), QStringList({"BETA", "CROCE BETA"}));
        QCOMPARE(ass->currentText(), QString());
        clickButton(w, "cmdcercaass");
        QCOMPARE(entries(ass), QStringList({"ALFA", "BETA", "CROCE BETA"}));
        QVERIFY(!o.exists(r.archive));

        o.write(File::Automezzi, crlf({"ALFA,JEEP,,,,,,,L", "BETA,AMB 2,,,,,,,L"}));
        o.write(File::Attrezzature, crlf({"ALFA,PALA,L,2", "BETA,TENDA,L,4"}));
        QVERIFY(chooseEntry(ass, "BETA"));
        QCOMPARE(o.registra(w, r.typed), QStringList{r.inserted});
        QCOMPARE(o.read(r.archive), r.inserted_);
        QCOMPARE(shownIn(w, r.kept), r.kept);
        QCOMPARE(entries(list(w, "cmbdes")), r.descriptions);
        // The same key again: refused, nothing written, the fields as typed.
        QCOMPARE(o.registra(w, r.duplicateTyped), QStringList{r.duplicate});
        QCOMPARE(o.read(r.archive), r.inserted_);
        QCOMPARE(shownIn(w, r.duplicateShown), r.duplicateShown);

        // Another entry starts the window empty, once the user abandons
        // what was typed and not registered.
        o.fake.prompts.answers << true;
        w = o.open(r.modify);
        QCOMPARE(o.fake.prompts.questions().size(), 1);
        Typed empty = r.duplicateTyped;
        for (auto &field : empty) field.second.clear();
        QCOMPARE(shownIn(w, empty), empty);
        QVERIFY(chooseEntry(list(w, "cmbass"), "BETA"));
        QVERIFY(chooseEntry(list(w, "cmbdes"), r.newDescription));
        QCOMPARE(shownIn(w, r.loaded), r.loaded);
        // To a key another record has: refused.
        QCOMPARE(o.registra(w, r.otherKey), QStringList{r.duplicate});
        QCOMPARE(o.read(r.archive), r.inserted_);
        QCOMPARE(o.registra(w, r.changed), QStringList{r.modified});
        QCOMPARE(o.read(r.archive), r.modifyAfter);
        QCOMPARE(entries(list(w, "cmbdes")), r.modifyDescriptions);
        QCOMPARE(shownIn(w, r.modifyKept), r.modifyKept);

        // Delete acts on the record chosen, whatever is typed after; then
        // the record is gone: not found, nothing written.
        w = o.open(r.remove);
        for (const auto &[field, text] : r.chosen) QVERIFY(chooseEntry(list(w, qPrintable(field)), text));
        for (const QString &message : {r.deleted, r.notFound}) {
            QCOMPARE(o.registra(w, r.retyped), QStringList{message});
            QCOMPARE(o.read(r.archive), r.removeAfter);
        }
        QVERIFY(neverBusyAtPrompt(o));
        clickButton(w, "cmdesci");
        QVERIFY(!w->isVisible());
    }

    void vehicleClockAndModifyWithNothingChosen()
    {
        Office o;
        o.write(File::Automezzi, crlf({"ALFA,JEEP,,,,,,,L"}));
        QWidget *w = o.open("mnautamod");
        // The date and time buttons read the clock (03/03/2025 09.05); a
        // date button sets the time below it too.
        clickButton(w, "cmddataar");
        o.fake.clock.time = QDateTime(QDate(2026, 12, 5), QTime(23, 7));
        clickButton(w, "cmdorapa");
        const Typed one{{"dataar", "03/03/2025"}, {"oraar", "09.05"}, {"datapa", ""}, {"orapa", "23.07"}};
        QCOMPARE(shownIn(w, one), one);
        clickButton(w, "cmddatapa");
        clickButton(w, "cmdoraar");
        const Typed two{{"oraar", "23.07"}, {"datapa", "05/12/2026"}};
        QCOMPARE(shownIn(w, two), two);

        // Modify acts on the vehicle chosen from the lists: none yet.
        QCOMPARE(o.registra(w, {{"cmbass", "ALFA"}, {"cmbdes", "JEEP"}, {"cmbstato", "L"}}),
                 QStringList{"Automezzo non trovato."});
        QCOMPARE(o.read(File::Automezzi), crlf({"ALFA,JEEP,,,,,,,L"}));
        QCOMPARE(shownIn(w, {{"cmbdes", ""}}), (Typed{{"cmbdes", "JEEP"}}));
    }

    // The dates and times through the window (the clock: 03/03/2025 09.05): a
    // refusal names the field and its form, puts the keyboard there and writes
    // nothing; what is registered is written and shown in the archive's form.
    void vehicleDatesAndTimes_data()
    {
        QTest::addColumn<QStringList>("typed"); // dataar, oraar, datapa, orapa
        QTest::addColumn<QString>("message");
        QTest::addColumn<QString>("focus"); // registered: the keyboard ready for the next vehicle
        QTest::newRow("forgiving forms") << QStringList{"5/12/26", "1430", "6.12.2026", "8:00"} << "Automezzo registrato correttamente."
                                         << "cmbdes";
        QTest::newRow("31/02") << QStringList{"31/02/2026", "14.30", "", ""} << "Data arrivo errata: scrivere GG/MM/AAAA, per esempio 03/03/2025."
                               << "dataar";
        QTest::newRow("25.99") << QStringList{"05/12/2026", "25.99", "", ""} << "Ora arrivo errata: scrivere hh.mm, da 00.00 a 23.59, per esempio 09.05."
                               << "oraar";
        QTest::newRow("earlier") << QStringList{"05/12/2026", "14.30", "5/12/2026", "1400"} << "La partenza (05/12/2026 14.00) precede l'arrivo (05/12/2026 14.30)."
                                 << "orapa";
    }
    void vehicleDatesAndTimes()
    {
        QFETCH(QStringList, typed);
        QFETCH(QString, message);
        QFETCH(QString, focus);
        Office o;
        QWidget *w = o.open("mnautains");
        const char *fields[] = {"dataar", "oraar", "datapa", "orapa"};
        Typed all{{"cmbass", "BETA"}, {"cmbdes", "ambulanza"}, {"cmbstato", "L"}};
        for (int i = 0; i < 4; ++i) all.append({fields[i], typed.at(i)});
        QCOMPARE(o.registra(w, all), QStringList{message});
        const bool registered = focus == "cmbdes";
        QCOMPARE(QApplication::focusWidget(), registered ? static_cast<QWidget *>(list(w, "cmbdes")) : lineOf(w, qPrintable(focus)));
        QCOMPARE(o.read(File::Automezzi), registered ? crlf({"BETA,AMBULANZA,,05/12/2026,14.30,06/12/2026,08.00,,L"}) : QByteArray("<missing>"));
        // The arrival stays, written as the archive has it.
        QCOMPARE(shownIn(w, {{"dataar", ""}, {"oraar", ""}}), (Typed{{"dataar", registered ? "05/12/2026" : typed.at(0)}, {"oraar", registered ? "14.30" : typed.at(1)}}));
    }

    // Typing an existing description and leaving the field loads nothing;
    // the arrow keys choose, as a click in the list does.
    void typingIsNoChoiceTheArrowsAre()
    {
        Office o;
        o.write(File::Attrezzature, crlf({"BETA,BRANDA,L,12", "BETA,TENDA,L,4"}));
        QWidget *w = o.open("mnatrains");
        QVERIFY(chooseEntry(list(w, "cmbass"), "BETA"));
        QComboBox *des = list(w, "cmbdes");
        des->setFocus();
        typeInto(des, "TENDA");
        QTest::keyClick(des, Qt::Key_Return);
        typeInto(lineOf(w, "qta"), "9");
        lineOf(w, "qta")->setFocus();
        QCOMPARE(shownIn(w, {{"qta", ""}}), (Typed{{"qta", "9"}}));
        des->setCurrentIndex(-1);
        QTest::keyClick(des, Qt::Key_Down);
        QCOMPARE(shownIn(w, {{"cmbdes", ""}, {"qta", ""}}), (Typed{{"cmbdes", "BRANDA"}, {"qta", "12"}}));
    }

    void modifyOverARecordChangedMeanwhile_data() { registers(); } // an activity took or gave it back: not undone unseen
    void modifyOverARecordChangedMeanwhile()
    {
        QFETCH(int, reg);
        const QByteArray after = crlf({reg ? "ALFA,PALA,L,1" : "ALFA,JEEP,,01/03/2025,08.00,,,,L"});
        Office o;
        o.write(regs()[reg].archive, crlf({reg ? "ALFA,PALA,L,2" : "ALFA,JEEP,,01/03/2025,08.00,,,,A"}));
        QWidget *w = o.open(regs()[reg].modify);
        QVERIFY(chooseEntry(list(w, "cmbass"), "ALFA") && chooseEntry(list(w, "cmbdes"), reg ? "PALA" : "JEEP"));
        o.write(regs()[reg].archive, after);
        QVERIFY(o.registra(w, {{reg ? "cmbstato" : "note", "B"}}).value(0).contains(QString::fromUtf8("cambiat")));
        QCOMPARE(o.read(regs()[reg].archive), after);
    }

private:
    static void registers()
    {
        QTest::addColumn<int>("reg");
        for (int i = 0; i < int(regs().size()); ++i) QTest::newRow(regs()[i].name) << i;
    }
};

QTEST_MAIN(TestPairWindows)
#include "tst_pairwindows.moc"
