#pragma once

#include "platform/prompts.h"

class QtPrompts : public Prompts {
public:
    void info(const QString &text) override;
    bool question(const QString &text) override;
    QString openFile(const QString &title, const QString &folder, const QString &filter) override;
    QString saveFile(const QString &title, const QString &folder, const QString &filter) override;
};
