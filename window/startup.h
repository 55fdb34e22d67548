#pragma once

// How the program comes up, before its window. The language of what it prints before Qt runs
// comes from the locale variables, read as gettext reads them; once Qt runs, the translation
// installed for the window comes from the system's UI languages. Opening the display is
// watched: where Qt would abort with a core file, the program prints one line of its own,
// naming the display and why it could not be opened, and exits with status 1. The application
// then gets its name, version, desktop entry and icon.

#include <QApplication>
#include <QStringList>
#include <QTranslator>

#include <memory>

namespace bingo {

// Whether the first of `languages` ("ja_JP.UTF-8", "en-GB", "fr", ...) that is Japanese or
// English is Japanese; English where none is either.
bool PrefersJapanese(const QStringList& languages);
// The languages the locale variables ask for: LANGUAGE's list where it is set and the locale
// is not C, else the first of LC_ALL, LC_MESSAGES and LANG.
QStringList LocaleLanguages();
// Fills `translator` with the program's Japanese texts; false where this build has none.
bool LoadJapanese(QTranslator& translator);

class Startup {
public:
    Startup() = default;
    Startup(const Startup&) = delete;
    Startup& operator=(const Startup&) = delete;

    // The application, ready for the window; nothing, after one line on standard error, when
    // there is no display to open. Where Qt cannot open the display it names, the process
    // ends here with status 1.
    std::unique_ptr<QApplication> Open(int& argc, char** argv);

private:
    static void Watch(QtMsgType type, const QMessageLogContext& context, const QString& message);
    // Why the display could not be opened, in one line of the program's own, from Qt's
    // messages while it tried and all that was printed meanwhile.
    QString PlatformFailure(const QStringList& qtSaid, const QString& printed) const;
    QString Text(const char* source) const;

    QString m_display; // what -display or DISPLAY names

    QTranslator m_messages; // before Qt runs: from the locale variables
    QTranslator m_window;   // once it runs: from the system's UI languages
};

} // namespace bingo
