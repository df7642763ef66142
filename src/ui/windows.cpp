#include "ui/windows.h"

#include <QEvent>

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

} // namespace

void present(QWidget *w)
{
    w->show();
    w->raise();
    w->activateWindow();
}

void onActivation(Context &ctx, QWidget *window, std::function<void()> work)
{
    window->installEventFilter(new ActivationFilter(ctx, window, std::move(work)));
}
