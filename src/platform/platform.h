#pragma once

#include <QDateTime>
#include <QRectF>
#include <QString>
#include <functional>

class QPainter;

// The program reaches the user, the clock, the pointer, the printer and the
// help only through these interfaces, so that tests can stand in for each.

class Prompts {
public:
    virtual ~Prompts() = default;
    // A message with the OK button only.
    virtual void info(const QString &text) = 0;
    // A question with Yes and No, Yes the default; true for Yes.
    virtual bool question(const QString &text) = 0;
    // File dialogs: the full path chosen, or the empty text when cancelled.
    virtual QString openFile(const QString &title, const QString &folder, const QString &filter) = 0;
    virtual QString saveFile(const QString &title, const QString &folder, const QString &filter) = 0;
};

class Clock {
public:
    virtual ~Clock() = default;
    virtual QDateTime now() const = 0;
};

class BusyCursor {
public:
    virtual ~BusyCursor() = default;
    virtual void push() = 0;
    virtual void pop() = 0;
};

// Shows the busy pointer for a scope; release() gives it back earlier, for
// instance before a message.
class BusyGuard {
public:
    explicit BusyGuard(BusyCursor &busy) : m_busy(&busy) { m_busy->push(); }
    ~BusyGuard() { release(); }
    void release()
    {
        if (m_busy) m_busy->pop();
        m_busy = nullptr;
    }
    BusyGuard(const BusyGuard &) = delete;
    BusyGuard &operator=(const BusyGuard &) = delete;

private:
    BusyCursor *m_busy;
};

enum class Orientation { Portrait, Landscape };

class LinePrinter {
public:
    virtual ~LinePrinter() = default;
    // Starts a job; false when there is nowhere to print (the user declined).
    virtual bool begin(const QString &font, int points, Orientation orientation) = 0;
    virtual void line(const QString &text) = 0;
    // Ends the job; false when it could not be printed.
    virtual bool end() = 0;

    // A page drawn rather than written in lines (charts): `paint` draws
    // inside `area`. False when nothing was printed (a printer that only
    // writes lines prints no such page).
    using PagePainter = std::function<void(QPainter &painter, const QRectF &area)>;
    virtual bool page(Orientation, const PagePainter &) { return false; }
};

class HelpViewer {
public:
    virtual ~HelpViewer() = default;
    // Opens the help file at its keyword index.
    virtual void showKeywordIndex(const QString &helpFile) = 0;
};

struct Platform {
    Prompts *prompts = nullptr;
    Clock *clock = nullptr;
    BusyCursor *busy = nullptr;
    LinePrinter *printer = nullptr;
    HelpViewer *help = nullptr;
};
