#include "ui/windows.h"

#include "ui/folderwatch.h"
#include "ui/placement.h"

#include <QApplication>
#include <QEvent>
#include <QTimer>

namespace {

class ActivationFilter : public QObject {
public:
    ActivationFilter(Context &ctx, QWidget *window, std::function<void()> work)
        : QObject(window), m_ctx(ctx), m_window(window), m_work(std::move(work))
    {
    }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (watched == m_window && event->type() == QEvent::WindowActivate
            && m_ctx.lastActive != m_window) {
            m_ctx.lastActive = m_window;
            m_work();
        } else if (watched == m_window && event->type() == QEvent::Hide
                   && m_ctx.lastActive == m_window) {
            // Shown again later, the window is activated anew.
            m_ctx.lastActive = nullptr;
        }
        return false;
    }

private:
    Context &m_ctx;
    QWidget *m_window;
    std::function<void()> m_work;
};

// Runs a window's work after a change of the folder, once no message box,
// dialog or popup of the program is up.
class FolderFollower : public QObject {
public:
    FolderFollower(QWidget *window, std::function<void()> work)
        : QObject(window), m_window(window), m_work(std::move(work))
    {
        m_wait.setSingleShot(true);
        m_wait.setInterval(250);
        connect(&m_wait, &QTimer::timeout, this, &FolderFollower::follow);
    }

    void follow()
    {
        if (!m_window->isVisible()) return;
        if (QApplication::activeModalWidget() || QApplication::activePopupWidget()) {
            m_wait.start();
            return;
        }
        m_work();
    }

private:
    QWidget *m_window;
    std::function<void()> m_work;
    QTimer m_wait;
};

} // namespace

Windows::Windows(Context &ctx) : m_ctx(ctx) { ctx.windows = this; }

FolderWatch *Windows::folderWatch()
{
    if (!m_folderWatch) m_folderWatch = std::make_unique<FolderWatch>(m_ctx.folder);
    return m_folderWatch.get();
}

Windows::~Windows()
{
    for (const auto &item : m_items)
        if (auto *w = qobject_cast<QWidget *>(item.object.data()); w && w->isVisible())
            ui::keepPlace(w);
    for (auto it = m_items.rbegin(); it != m_items.rend(); ++it) delete it->object;
}

void present(QWidget *w, const QWidget *opener)
{
    // A window already open stays where it is.
    if (!w->isVisible()) ui::place(w, opener);
    w->show();
    w->raise();
    w->activateWindow();
}

void onActivation(Context &ctx, QWidget *window, std::function<void()> work)
{
    window->installEventFilter(new ActivationFilter(ctx, window, std::move(work)));
}

void onFolderChange(Context &ctx, QWidget *window, std::function<void()> work)
{
    auto *follower = new FolderFollower(window, std::move(work));
    QObject::connect(ctx.windows->folderWatch(), &FolderWatch::changed, follower,
                     &FolderFollower::follow);
}

void onDiaryChange(Context &ctx, QWidget *window, std::function<void()> work)
{
    auto *follower = new FolderFollower(window, std::move(work));
    QObject::connect(ctx.windows->folderWatch(), &FolderWatch::diaryChanged, follower,
                     &FolderFollower::follow);
}
