#pragma once

#include "session/context.h"

#include <QMetaObject>
#include <QPointer>
#include <QWidget>
#include <functional>
#include <memory>
#include <vector>

class FolderWatch;

// Every window of the program exists at most once: it is created the first
// time anything touches it and lives until the program ends. Windows reach
// each other, and the activity being edited that several of them show,
// through here: `ctx.windows->get<Formattivita>()`. A class kept here is a
// QObject that takes (Context &) in its constructor; the last created goes
// first.
class Windows {
public:
    explicit Windows(Context &ctx);
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

    // What tells the windows that the working folder's data files changed
    // on disk, created the first time it is asked for.
    FolderWatch *folderWatch();

private:
    struct Item {
        const QMetaObject *meta;
        QPointer<QObject> object;
    };
    Context &m_ctx;
    std::vector<Item> m_items;
    std::unique_ptr<FolderWatch> m_folderWatch;
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

// Runs `work` when the working folder's data files changed on disk while
// `window` is shown, so that what it shows follows what another copy of the
// program wrote. The work only reads: it must keep what the operator typed,
// chose or scrolled to, and never move the focus or show a message. While a
// message box, a dialog or an open menu or drop-down list of the program is
// up, it waits for it to close. A hidden window does nothing: it reads the
// archives anew when it is next activated.
void onFolderChange(Context &ctx, QWidget *window, std::function<void()> work);
// The same when the room's diary changed (any change of the archives, or a
// note, by any desk).
void onDiaryChange(Context &ctx, QWidget *window, std::function<void()> work);
