#pragma once

#include <QString>

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
