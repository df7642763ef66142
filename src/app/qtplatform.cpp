#include "app/qtplatform.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

bool installItalianTexts()
{
    static QTranslator *translator = nullptr;
    if (translator) return true;
    auto *t = new QTranslator(QCoreApplication::instance());
    if (!t->load(QLocale(QLocale::Italian, QLocale::Italy), QStringLiteral("qtbase"),
                 QStringLiteral("_"), QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        delete t;
        return false;
    }
    QCoreApplication::installTranslator(t);
    translator = t;
    return true;
}

QtPlatform::QtPlatform(const archive::WorkingFolder &folder)
    : m_printer(std::make_unique<QtLinePrinter>(m_prompts, folder)),
      m_help(std::make_unique<QtHelpViewer>(m_prompts))
{
}

Platform QtPlatform::platform()
{
    return {&m_prompts, &m_clock, &m_busy, m_printer.get(), m_help.get()};
}
