// Bad input, swept over every field of every register window: a comma, a
// double quote, a line break, a character Windows-1252 cannot hold and a
// 300-character text in each text field; a non-number, a decimal and 40000
// in each number field. A refusal names what is wrong and leaves every file
// as it was; a text the window accepts is stored cleaned (separators become
// blanks) and whole, so its record always reads back.
#include "desks.h"

#include "archive/encoding.h"

#include <QApplication>
#include <QClipboard>
#include <QTest>

using archive::File;

class TestBadInput : public QObject {
    Q_OBJECT
private slots:
    void everyFieldOfEveryWindow();
};

namespace {

struct Bad {
    const char *what;
    QString typed;
    QString stored; // for a text field without a check of its own; "" = refused
};

const QList<Bad> kTextValues{
    {"virgola", "UNO,DUE", "UNO DUE"},
    {"virgolette", "UNO\"DUE", "UNO DUE"},
    {"a capo", "UNO\nDUE", "UNO DUE"},
    {"fuori da Windows-1252", QString::fromUtf8("UNO\xF0\x9F\x98\x80" "DUE"), QString()}, // U+1F600
    {"300 caratteri", QString(300, QLatin1Char('X')), QString(300, QLatin1Char('X'))},
};
const QList<Bad> kNumberValues{
    {"non numero", "DUE", QString()}, {"decimale", "2.5", QString()}, {"oltre 16 bit", "40000", QString()}};

// Types `value` as the user would, one key per character (a character beyond
// 16 bits is one key too); a line break can only come in pasted.
void enter(QWidget *w, const char *field, const QString &value)
{
    QLineEdit *line = lineOf(w, field);
    QVERIFY2(line, field);
    typeInto(line, QString());
    if (value.contains(QLatin1Char('\n'))) {
        QGuiApplication::clipboard()->setText(value);
        QTest::keyClick(line, Qt::Key_V, Qt::ControlModifier);
    } else {
        for (const char32_t c : value.toUcs4()) {
            if (c < 0x80) QTest::keyClick(line, char(c));
            else QTest::sendKeyEvent(QTest::Click, line, Qt::Key_unknown, QString::fromUcs4(&c, 1), Qt::NoModifier);
        }
    }
    QVERIFY2(line->text() == value, qPrintable(line->text()));
}

} // namespace

void TestBadInput::everyFieldOfEveryWindow()
{
    int cases = 0;
    for (const WindowRow &row : registerWindows()) {
        MainOffice o;
        for (const FieldRow &field : row.fields) {
            for (const Bad &bad : field.number ? kNumberValues : kTextValues) {
                const QString where = QStringLiteral("%1.%2, %3").arg(row.window, field.name, bad.what);
                seedOffice(o);
                QWidget *w = row.open(o);
                fillGood(w, row);
                enter(w, field.name, bad.typed);
                const auto before = folderState(o);
                o.fake.prompts.clear();
                clickButton(w, row.button);
                ++cases;

                if (!field.ownCheck.isEmpty() || bad.stored.isEmpty()) {
                    const QString expected = !field.ownCheck.isEmpty() ? field.ownCheck : cp1252::refusal(bad.typed);
                    QVERIFY2(!expected.isEmpty(), qPrintable(where));
                    QVERIFY2(o.fake.prompts.messages() == QStringList{expected},
                             qPrintable(where + ": " + o.fake.prompts.messages().join('|')));
                    QVERIFY2(folderState(o) == before, qPrintable(where + ": a file changed"));
                    continue;
                }
                const QString done = field.doneInstead.isEmpty() ? row.done : field.doneInstead;
                QVERIFY2(o.fake.prompts.messages() == (done.isEmpty() ? QStringList{} : QStringList{done}),
                         qPrintable(where + ": " + o.fake.prompts.messages().join('|')));
                // One line more in the archive, ended by CR LF, and it reads back whole.
                const QString name = archive::fileName(row.archive);
                const QList<QByteArray> was = before.value(name).split('\n'), now = o.read(row.archive).split('\n');
                QVERIFY2(now.size() == was.size() + 1, qPrintable(where));
                QByteArray added;
                for (const QByteArray &l : now)
                    if (!was.contains(l)) added = l;
                QVERIFY2(added.endsWith('\r') && !added.chopped(1).contains('\r'), qPrintable(where));
                const QStringList items = cp1252::decode(added.chopped(1)).split(QLatin1Char(','));
                QVERIFY2(items.size() == int(row.fields.size()) + (row.archive == File::Associazioni ? 1 : 0)
                             || row.archive == File::Attivita,
                         qPrintable(where + ": " + items.join('|')));
                QVERIFY2(items.value(field.recordIndex).trimmed() == bad.stored,
                         qPrintable(where + ": " + items.value(field.recordIndex)));
                // Nothing else was touched but what a registration writes.
                for (auto it = before.begin(); it != before.end(); ++it) {
                    const QString &file = it.key();
                    const bool activityWrites = row.archive == File::Attivita
                        && (file.endsWith(".sav") || file == "numeroprot.dat" || file == "risorse.csv");
                    if (file != name && !file.endsWith(".wrk") && !activityWrites)
                        QVERIFY2(o.read(file) == it.value(), qPrintable(where + ": " + file));
                }
            }
        }
    }
    qInfo("%d casi", cases);
}

QTEST_MAIN(TestBadInput)
#include "tst_badinput.moc"
