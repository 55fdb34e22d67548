#pragma once

// What main() does around making the application. The program's texts come in the system's UI
// languages as Qt reads them, loaded first so that a display that cannot be opened is reported
// in the same language. The display is looked at before Qt opens it: where Qt would abort with
// a core file, the program says why in one line and exits with status 1.

#include <QString>
#include <QTranslator>

namespace bingo {

// Loads the program's texts for the system's UI languages; false where they are English (the
// texts in the sources), as under the C locale.
bool LoadTexts(QTranslator& texts);

// Why Qt could not open a display here, in one line in the language of `texts`; empty where
// Qt is to go ahead (a display answers, or the command line or QT_QPA_PLATFORM leaves the
// choice to Qt).
QString DisplayProblem(int argc, char** argv, const QTranslator& texts);

} // namespace bingo
