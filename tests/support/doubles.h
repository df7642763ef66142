#pragma once

#include "platform/platform.h"

#include <QList>
#include <QQueue>
#include <QStringList>

class FakePrompts : public Prompts {
public:
    struct Shown {
        enum Kind { Info,
                    Question,
                    OpenFile,
                    SaveFile };
        Kind kind;
        QString text;   // message, question or dialog title
        QString folder; // dialogs only
        QString filter; // dialogs only
    };

    void info(const QString &text) override { record({Shown::Info, text, {}, {}}); }
    bool question(const QString &text) override { return answer({Shown::Question, text, {}, {}}, answers); }
    QString openFile(const QString &title, const QString &folder, const QString &filter) override
    {
        return answer({Shown::OpenFile, title, folder, filter}, files);
    }
    QString saveFile(const QString &title, const QString &folder, const QString &filter) override
    {
        return answer({Shown::SaveFile, title, folder, filter}, files);
    }

    QQueue<bool> answers;       // answers to the next questions (Yes = true)
    QQueue<QString> files;      // answers to the next file dialogs ("" = cancel)
    QList<Shown> shown;         // everything shown, in order
    int unexpected = 0;         // questions or dialogs asked with no scripted answer
    BusyCursor *busy = nullptr; // when set, records whether it was busy at each prompt
    QList<bool> busyAtPrompt;

    QStringList texts() const { return textsOf(-1); }             // every text shown, in order
    QStringList messages() const { return textsOf(Shown::Info); } // the info texts only
    QStringList questions() const { return textsOf(Shown::Question); }
    void clear();

private:
    QStringList textsOf(int kind) const;
    void record(const Shown &s);
    template <class T>
    T answer(const Shown &s, QQueue<T> &queue)
    {
        record(s);
        if (queue.isEmpty()) return ++unexpected, T();
        return queue.dequeue();
    }
};

class FakeClock : public Clock {
public:
    QDateTime now() const override { return time; }
    QDateTime time = QDateTime(QDate(2025, 3, 3), QTime(9, 5));
};

class FakeBusyCursor : public BusyCursor {
public:
    void push() override
    {
        ++depth;
        ++pushes;
    }
    void pop() override { --depth; }
    int depth = 0;
    int pushes = 0;
};

class RecordingPrinter : public LinePrinter {
public:
    struct Job {
        QString font;
        int points = 0;
        Orientation orientation = Orientation::Portrait;
        QStringList lines;
        bool ended = false;
        bool drawn = false; // a page drawn, not written in lines
    };
    bool begin(const QString &font, int points, Orientation orientation) override;
    void line(const QString &text) override;
    bool end() override;
    bool page(Orientation orientation, const PagePainter &paint) override;

    QList<Job> jobs;
};

class RecordingHelp : public HelpViewer {
public:
    void showKeywordIndex(const QString &helpFile) override { calls << helpFile; }
    QStringList calls;
};

class FakePlatform {
public:
    FakePlatform() { prompts.busy = &busy; }
    Platform platform() { return {&prompts, &clock, &busy, &printer, &help}; }

    FakePrompts prompts;
    FakeClock clock;
    FakeBusyCursor busy;
    RecordingPrinter printer;
    RecordingHelp help;
};
