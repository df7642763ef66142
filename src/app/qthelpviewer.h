#pragma once

#include "platform/helpviewer.h"
#include "platform/prompts.h"

#include <QPointer>
#include <QStringList>
#include <QTextBrowser>

// The program's own help window, showing the HTML guide "velmora.hlp".
class QtHelpViewer : public HelpViewer {
public:
    explicit QtHelpViewer(Prompts &prompts) : m_prompts(prompts) {}
    ~QtHelpViewer() override;
    void showKeywordIndex(const QString &helpFile) override;

    // Folders searched for the help file, in order.
    static QStringList searchFolders();
    static QString locate(const QString &helpFile);
    QTextBrowser *window() const { return m_browser; }

private:
    Prompts &m_prompts;
    QPointer<QTextBrowser> m_browser;
};
