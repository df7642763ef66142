// The lists' column headings over the columns of their lines, and where
// windows open on the 1366x768 screen ctest gives: beside their opener,
// clear of the main menu, inside the screen, and where the operator last
// left them, in a new run too.
#include "desks.h"
#include "listwindows.h"
#include "pickoffice.h"

#include "activities/lists.h"
#include "printing/printout.h"
#include "ui/placement.h"

#include <QFontInfo>
#include <QLabel>
#include <QMenuBar>
#include <QScrollBar>
#include <QSettings>

namespace {

QRect frame(const QWidget *w) { return QRect(w->pos(), ui::frameSize(w)); }

void moveTo(QWidget *w, QPoint p)
{
    w->move(p);
    QTRY_COMPARE(w->pos(), p);
}

QLabel *headingsOf(const LineList *l) { return l->findChild<QLabel *>("intestazioni"); }

// The x of every pixel column holding ink within `r` of `image`.
QList<int> ink(const QImage &image, const QRect &r)
{
    QList<int> out;
    for (int x = r.left(); x <= r.right(); ++x)
        for (int y = r.top(); y <= r.bottom() && !out.contains(x); ++y)
            if (qGray(image.pixel(x, y)) < 64) out << x;
    return out;
}

} // namespace

class TestWindowLayout : public QObject {
    Q_OBJECT
private slots:
    // Each character of the headings is drawn where the same character of a
    // line is (within a pixel of smoothing); a longer line is cut, never
    // scrolled away from its headings.
    void headingsDrawnOverTheLines()
    {
        LineList l;
        l.setFont(printing::courier(9.75));
        l.resize(300, 200);
        const QString text = "ABC   DEFG  H" + QString(80, 'x');
        l.setLines({text, "due"});
        l.setHeadings(text);
        l.show();
        QVERIFY(QTest::qWaitForWindowExposed(&l));
        QCOMPARE(l.horizontalScrollBar()->maximum(), 0);
        const QImage image = l.grab().toImage();
        const QRect lines = l.viewport()->geometry();
        const int right = lines.left() + lines.width() * 2 / 3; // short of the ellipsis
        const QRect band = headingsOf(&l)->parentWidget()->geometry(), first = l.visualRect(l.model()->index(0, 0)).translated(lines.topLeft());
        const QList<int> heads = ink(image, QRect(QPoint(lines.left(), band.top()), QPoint(right, band.bottom())));
        const QList<int> line = ink(image, QRect(QPoint(lines.left(), first.top()), QPoint(right, first.bottom())));
        QVERIFY(heads.size() > 20);
        for (const auto &[a, b] : {std::pair{heads, line}, {line, heads}})
            for (int x : a) QVERIFY2(b.contains(x - 1) || b.contains(x) || b.contains(x + 1), qPrintable(QString::number(x)));
    }

    // In the list's font, each heading starts (or, right-aligned, ends) in
    // the column of what it names.
    void headingsOverTheirColumns()
    {
        MainOffice o;
        seedOffice(o);
        const struct {
            const char *entry;
            int row;
            QList<std::tuple<QString, QString, bool>> over; // heading, data under it, ends aligned
        } rows[] = {
            {"", 0, {{"Prot.", "7", true}, {"Data ric.", "01/03/2025", false}, {"Ora", "09.00", false}, {QString::fromUtf8("Località"), "PIAZZA", false}}},
            {"mnattvgen", 2, {{"Prot.", "7", true}, {"Richiesta", "Data ric.", false}}},
            {"mnassvel", 2, {{"Associazione", "ALFA", false}, {"Volontari", "10", false}}},
            {"mnautvelg", 2, {{"Descrizione", "JEEP", false}, {"Stato", "L", true}}},
            {"mnatrvelg", 2, {{"Descrizione", "TENDA", false}, {"Stato", "L", true}, {QString::fromUtf8("Quantità"), "20", false}}},
        };
        for (const auto &r : rows) {
            o.activate(o.main);
            QWidget *w = *r.entry ? openEntry(o, r.entry) : o.main;
            LineList *l = w->findChild<LineList *>("List1");
            QVERIFY2(headingsOf(l)->isVisible() && QFontInfo(l->font()).fixedPitch() && QFontInfo(headingsOf(l)->font()).family() == QFontInfo(l->font()).family(), r.entry);
            const QString h = l->headings(), line = l->text(r.row);
            for (const auto &[heading, data, ends] : r.over)
                QCOMPARE(ends ? h.indexOf(heading) + heading.size() : h.indexOf(heading), ends ? line.lastIndexOf(data) + data.size() : line.indexOf(data));
        }
        auto *w = o.fromMenu<Formattlist>("mnattvgen");
        listwin::click(w, "cmdcerca"); // a search shows short lines
        QCOMPARE(listwin::list(w)->headings(), activities::shortHeadings());
    }

    // Left when the right has no room, slid along the opener's side to stay
    // on the screen, clear of the menu bar, and with no room beside it, where
    // it hides the least of the opener.
    void besideTheOpenerByRule()
    {
        const QList<QRect> menus{QRect(0, 30, 800, 22)};
        for (const auto &[opener, size, expected] : {std::tuple{QRect(600, 100, 700, 500), QSize(300, 200), QPoint(300, 100)},
                                                     {QRect(0, 500, 600, 228), QSize(500, 300), QPoint(600, 428)},
                                                     {QRect(100, 0, 200, 100), QSize(300, 200), QPoint(300, 52)},
                                                     {QRect(0, 0, 1366, 700), QSize(400, 300), QPoint(0, 428)}})
            QCOMPARE(ui::besideOpener(size, opener, QRect(0, 0, 1366, 728), menus), expected);
    }

    // Beside the opener the first time; then where the operator left it,
    // hidden or open at the end, in the next run too, its size as well when
    // it can be resized; nothing of it in the working folder.
    void besideTheOpenerThenWhereLeft()
    {
        PickOffice o;
        moveTo(o.main, QPoint(0, 0));
        auto *prot = o.fromMenu<Formprot>("mnrippro");
        QCOMPARE(frame(prot).topLeft(), QPoint(frame(o.main).right() + 1, 0));
        o.openInsert();
        o.pressForResource("cmdvol");
        auto *list = o.shown<Formlist>();
        list->resize(640, 300);
        moveTo(list, QPoint(0, 80));
        QVERIFY(clickLineStarting(listwin::list(list), "ALFA"));
        QTRY_VERIFY(o.ris()->isVisible());
        QCOMPARE(frame(o.ris()).topLeft(), QPoint(0, frame(list).bottom() + 1)); // too wide for its sides
        listwin::click(list, "cmdlistesci");
        moveTo(prot, QPoint(420, 260));

        const QMap<QString, QByteArray> folder = o.files();
        o.windows.reset();
        QCOMPARE(o.files(), folder);
        o.windows = std::make_unique<Windows>(o.ctx);
        o.main = o.windows->get<Formvelmo>();
        o.ctx.lastActive = nullptr;
        o.activate(o.main);
        list = o.fromMenu<Formlist>("mnassvel");
        QCOMPARE(list->geometry().size(), QSize(640, 300));
        QCOMPARE(list->pos(), QPoint(0, 80));
        QCOMPARE(o.fromMenu<Formprot>("mnrippro")->pos(), QPoint(420, 260));
    }

    // Every window of the menu opens inside the screen and clear of the main
    // menu bar, a place kept for a larger screen too; the board's charts
    // shrink so that its buttons show.
    void everyWindowFitsTheScreen()
    {
        MainOffice o;
        seedOffice(o);
        moveTo(o.main, QPoint(0, 0));
        QSettings(QSettings::IniFormat, QSettings::UserScope, "velmora", "finestre").setValue("Formattlist/dimensione", QSize(2500, 1500));
        const QMenuBar *bar = o.main->menuBar();
        for (const MenuEntry &e : menuTable()) {
            if (!*e.window) continue;
            QWidget *w = openEntry(o, e.name);
            QVERIFY2(ui::room(w).contains(frame(w)), e.name);
            QVERIFY2(!frame(w).intersects(QRect(bar->mapToGlobal(QPoint(0, 0)), bar->size())), e.name);
        }
        auto *board = o.fromMenu<Formrapquadro>("mnrapquadro");
        QVERIFY(board->rect().contains(board->findChild<QPushButton *>("cmdlistesci")->geometry()));
    }
};

QTEST_MAIN(TestWindowLayout)
#include "tst_windowlayout.moc"
