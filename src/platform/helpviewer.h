#pragma once

#include <QString>

class HelpViewer {
public:
    virtual ~HelpViewer() = default;
    // Opens the help file at its keyword index.
    virtual void showKeywordIndex(const QString &helpFile) = 0;
};
