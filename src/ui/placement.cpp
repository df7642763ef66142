#include "ui/placement.h"

#include <QApplication>
#include <QEvent>
#include <QLayout>
#include <QMainWindow>
#include <QMenuBar>
#include <QScreen>
#include <QSettings>
#include <QTimer>
#include <QWidget>
#include <algorithm>
#include <optional>

namespace ui {

namespace {

const QMargins kUsualFrame(4, 30, 4, 4);
constexpr int kUsualPanel = 40;
constexpr int kKeepAfterMs = 500; // a move is kept once the window stands still
const QString kKeeper = QStringLiteral("PlaceKeeper");

// `v` moved into lo..hi; lo when the range is empty.
int within(int v, int lo, int hi) { return std::max(lo, std::min(v, hi)); }

// `r` moved into `area` (its top-left corner when it is larger).
QRect inside(QRect r, const QRect &area)
{
    r.moveLeft(within(r.left(), area.left(), area.right() - r.width() + 1));
    r.moveTop(within(r.top(), area.top(), area.bottom() - r.height() + 1));
    return r;
}

QMargins marginsOf(const QWidget *w)
{
    const QRect f = w->frameGeometry(), g = w->geometry();
    return {g.left() - f.left(), g.top() - f.top(), f.right() - g.right(), f.bottom() - g.bottom()};
}

bool resizable(const QWidget *w) { return w->minimumSize() != w->maximumSize(); }

// The windows of the program that are shown.
QList<const QWidget *> shownWindows()
{
    QList<const QWidget *> out;
    for (const QWidget *t : QApplication::topLevelWidgets())
        if (t->windowType() == Qt::Window && t->isVisible()) out << t;
    return out;
}

// The menu bars of the shown main windows, on the screen.
QList<QRect> menuBars()
{
    QList<QRect> out;
    for (const QWidget *t : shownWindows())
        if (const auto *main = qobject_cast<const QMainWindow *>(t))
            if (const QMenuBar *bar = main->menuBar(); bar && bar->isVisible())
                out << QRect(bar->mapToGlobal(QPoint(0, 0)), bar->size());
    return out;
}

QRect frameRect(const QWidget *w) { return QRect(w->pos(), frameSize(w)); }

// The file where the places are kept.
class Places : public QSettings {
public:
    Places()
        : QSettings(QSettings::IniFormat, QSettings::UserScope, QStringLiteral("velmora"),
                    QStringLiteral("finestre"))
    {
    }
};

QRect roomOf(const QScreen *screen)
{
    if (!screen) screen = QGuiApplication::primaryScreen();
    QRect area = screen->availableGeometry();
    if (area == screen->geometry()) area.setBottom(area.bottom() - kUsualPanel);
    return area;
}

struct Kept {
    std::optional<QPoint> pos;
    std::optional<QSize> size;
};

Kept keptPlace(const QWidget *w)
{
    Kept kept;
    if (w->objectName().isEmpty()) return kept;
    Places s;
    s.beginGroup(w->objectName());
    if (const QVariant p = s.value(QStringLiteral("posizione")); p.typeId() == QMetaType::QPoint)
        kept.pos = p.toPoint();
    if (const QSize size = s.value(QStringLiteral("dimensione")).toSize(); size.isValid())
        kept.size = size;
    return kept;
}

// Keeps the place of its window each time the window is hidden, and once
// the operator has stopped moving or resizing it.
class PlaceKeeper : public QObject {
public:
    explicit PlaceKeeper(QWidget *w) : QObject(w), m_window(w)
    {
        setObjectName(kKeeper);
        m_later.setSingleShot(true);
        m_later.setInterval(kKeepAfterMs);
        connect(&m_later, &QTimer::timeout, this, [this] { keepPlace(m_window); });
        w->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (watched != m_window) return false;
        if (event->type() == QEvent::Hide) {
            m_later.stop();
            keepPlace(m_window);
        } else if ((event->type() == QEvent::Move || event->type() == QEvent::Resize)
                   && m_window->isVisible()) {
            m_later.start();
        }
        return false;
    }

private:
    QWidget *m_window;
    QTimer m_later;
};

} // namespace

QRect room(const QWidget *w) { return roomOf(w->screen()); }

QMargins frameMargins(const QWidget *w)
{
    if (w->isVisible() && !marginsOf(w).isNull()) return marginsOf(w);
    for (const QWidget *t : shownWindows())
        if (!marginsOf(t).isNull()) return marginsOf(t);
    return kUsualFrame;
}

QSize frameSize(const QWidget *w) { return w->size().grownBy(frameMargins(w)); }

QPoint besideOpener(QSize size, const QRect &opener, const QRect &room, const QList<QRect> &menus)
{
    const auto clear = [&](QRect r) {
        for (const QRect &m : menus)
            if (r.intersects(m)) r.moveTop(m.bottom() + 1);
        return r;
    };
    const auto fits = [&](const QRect &r) {
        return room.contains(r) && std::none_of(menus.begin(), menus.end(), [&](const QRect &m) {
                   return r.intersects(m);
               });
    };
    const QRect right(QPoint(opener.right() + 1, opener.top()), size);
    const QRect left(QPoint(opener.left() - size.width(), opener.top()), size);
    const QRect below(QPoint(opener.left(), opener.bottom() + 1), size);
    const auto slidVertically = [&](QRect r) {
        r.moveTop(within(r.top(), room.top(), room.bottom() - r.height() + 1));
        return clear(r);
    };
    const auto slidHorizontally = [&](QRect r) {
        r.moveLeft(within(r.left(), room.left(), room.right() - r.width() + 1));
        return clear(r);
    };
    for (const QRect &r : {slidVertically(right), slidVertically(left), slidHorizontally(below)})
        if (fits(r)) return r.topLeft();

    // No room beside it: what hides the least of the opener.
    const QRect corners[] = {
        QRect(room.topRight() - QPoint(size.width() - 1, 0), size), QRect(room.topLeft(), size),
        QRect(room.bottomRight() - QPoint(size.width(), size.height()) + QPoint(1, 1), size),
        QRect(room.bottomLeft() - QPoint(0, size.height() - 1), size)};
    std::optional<QRect> best;
    qint64 hidden = 0;
    for (const QRect &candidate :
         {right, left, below, corners[0], corners[1], corners[2], corners[3]}) {
        const QRect r = clear(inside(candidate, room));
        if (!fits(r)) continue;
        const QRect covered = r.intersected(opener);
        const qint64 area = covered.isEmpty() ? 0 : qint64(covered.width()) * covered.height();
        if (!best || area < hidden) best = r, hidden = area;
    }
    return best ? best->topLeft() : inside(right, room).topLeft();
}

void place(QWidget *w, const QWidget *opener)
{
    if (!w->findChild<QObject *>(kKeeper, Qt::FindDirectChildrenOnly)) new PlaceKeeper(w);
    // The size the window opens with, its layout done.
    w->ensurePolished();
    if (QLayout *layout = w->layout()) layout->activate();

    const Kept kept = keptPlace(w);
    if (kept.size && resizable(w)) w->resize(*kept.size);
    const bool beside = !kept.pos && opener && opener->isVisible();
    const QRect area = kept.pos ? roomOf(QGuiApplication::screenAt(*kept.pos))
                       : beside ? room(opener)
                                : room(w);
    const QSize frame = frameSize(w);
    if (resizable(w) && (frame.width() > area.width() || frame.height() > area.height()))
        w->resize(w->size().boundedTo(area.size().shrunkBy(frameMargins(w))));

    if (kept.pos) {
        w->move(inside(QRect(*kept.pos, frameSize(w)), area).topLeft());
    } else if (beside) {
        const QList<QRect> menus = menuBars();
        QPoint p = besideOpener(frameSize(w), frameRect(opener), area, menus);
        const auto overMenus = [&] {
            const QRect r(p, frameSize(w));
            return std::any_of(menus.begin(), menus.end(),
                               [&](const QRect &m) { return r.intersects(m); });
        };
        if (resizable(w) && overMenus()) {
            // Too tall to stand below the menu bars: as tall as the room
            // below them.
            int top = area.top();
            for (const QRect &m : menus) top = std::max(top, m.bottom() + 1);
            const QMargins margins = frameMargins(w);
            w->resize(w->width(), area.bottom() + 1 - top - margins.top() - margins.bottom());
            p = besideOpener(frameSize(w), frameRect(opener), area, menus);
        }
        w->move(p);
    }
}

void keepPlace(const QWidget *w)
{
    if (w->objectName().isEmpty() || w->isMinimized() || w->isMaximized() || w->isFullScreen())
        return;
    Places s;
    s.beginGroup(w->objectName());
    // Written only when it changed: windows are hidden and shown often.
    const auto keep = [&s](const QString &key, const QVariant &value) {
        if (s.value(key) != value) s.setValue(key, value);
    };
    keep(QStringLiteral("posizione"), w->pos());
    if (resizable(w)) keep(QStringLiteral("dimensione"), w->size());
}

} // namespace ui
