#pragma once

#include "session/context.h"

#include <QMetaObject>
#include <QPointer>
#include <QWidget>
#include <functional>
#include <vector>

// Every window of the program exists at most once: it is created the first
// time anything touches it and lives until the program ends. Windows reach
// each other, and the activity being edited that several of them show,
// through here: `ctx.windows->get<Formattivita>()`. A class kept here is a
// QObject that takes (Context &) in its constructor; the last created goes
// first.
class Windows {
public:
    explicit Windows(Context &ctx) : m_ctx(ctx) { ctx.windows = this; }
    // The program ends: the places of the windows still open are kept.
    ~Windows();
    Windows(const Windows &) = delete;
    Windows &operator=(const Windows &) = delete;

    template <class W> W *get()
    {
        if (W *w = existing<W>()) return w;
        auto *w = new W(m_ctx);
        m_items.push_back({&W::staticMetaObject, w});
        return w;
    }

    // The window if it was ever created, nullptr otherwise.
    template <class W> W *existing() const
    {
        for (const auto &item : m_items)
            if (item.meta == &W::staticMetaObject) return static_cast<W *>(item.object.data());
        return nullptr;
    }

private:
    struct Item {
        const QMetaObject *meta;
        QPointer<QObject> object;
    };
    Context &m_ctx;
    std::vector<Item> m_items;
};

// Shows a window without blocking the others and makes it the active one.
// A window that was hidden opens where the operator last left it or, the
// first time, beside `opener`, the window it is opened from (ui/placement.h).
void present(QWidget *w, const QWidget *opener = nullptr);

// Runs `work` each time `window` becomes the program's active window coming
// from another window of the program. The re-activation that follows the
// closing of one of its own message boxes or file dialogs is no activation
// and does not run it.
void onActivation(Context &ctx, QWidget *window, std::function<void()> work);
