// The Windows program as a user gets it, under Wine on a private Xvfb and judged by the same
// harness as the Linux program: the zip unpacked and run where it lies, and the setup program
// installed silently into a fresh Wine prefix, run from its install folder, installed again
// over itself and uninstalled. Under Wine the window repaints later than a native one, so
// every look waits for the screen to settle. The prefix has the Windows faces' stand-ins under
// their Windows names (scripts/wine-fonts.py), which Qt's DirectWrite font database sees.

#include "helpers.h"
#include "x_session.h"

#include <QDateTime>
#include <QDir>
#include <QFontDatabase>
#include <QGuiApplication>
#include <QPainter>
#include <QTemporaryDir>
#include <QtTest>

using namespace bingo::testing;

namespace {

const QString kCaption = QString::fromUtf8("TavrinのBINGOマシーン");
const QString kPersonalize =
    QStringLiteral("HKCU\\Software\\Microsoft\\Windows\\CurrentVersion\\Themes\\Personalize");
const QString kUninstallKey =
    QStringLiteral("HKCU\\Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\bingo-caller");

// Runs a Windows program (or a Wine tool) in `prefix`, then, unless a program is left running
// there, waits for the prefix to go idle, so that what it started in the background (an
// uninstaller) has finished too.
int Wine(const QString& prefix, const QStringList& command, QByteArray* out = nullptr,
         bool settle = true) {
    QProcess wine;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("BINGO_WINEPREFIX"), prefix);
    environment.insert(QStringLiteral("WINEPREFIX"), prefix);
    environment.insert(QStringLiteral("WINEPATH"), QString());
    wine.setProcessEnvironment(environment);
    wine.start(QStringLiteral(BINGO_WINE_RUN), command);
    const bool finished = wine.waitForFinished(180000);
    const int status = finished && wine.exitStatus() == QProcess::NormalExit ? wine.exitCode() : -1;
    if (out != nullptr) {
        *out = wine.readAllStandardOutput();
    }
    if (settle) {
        wine.start(QStringLiteral("wineserver"), {QStringLiteral("-w")});
        wine.waitForFinished(180000);
    }
    return status;
}

// The one folder a glob names in the prefix, or empty.
QString Find(const QString& prefix, const QString& pattern) {
    QDir users(prefix + QStringLiteral("/drive_c/users"));
    for (const QString& user : users.entryList(QDir::Dirs | QDir::NoDotAndDotDot)) {
        const QString path = users.filePath(user + QLatin1Char('/') + pattern);
        if (QFileInfo::exists(path)) {
            return path;
        }
    }
    return {};
}

// The title as its Windows face's stand-in draws it: the ink's size, where a picture of the
// window shows it from Wine's DirectWrite; drawn here by Qt's FreeType, alike to a pixel or
// two. The stand-in of the pop face's first Windows substitute, Meiryo, is IPA P Gothic.
QSize TitleInk() {
    const int id = QFontDatabase::addApplicationFont(
        QStringLiteral("/usr/share/fonts/opentype/ipafont-gothic/ipagp.ttf"));
    const QStringList families = QFontDatabase::applicationFontFamilies(id);
    if (families.isEmpty()) {
        return {};
    }
    const ControlRow& title = Control("Label2");
    QFont font(families.front());
    font.setPixelSize(qRound(title.points * 96 / 72));
    QImage picture(2 * kWindowPixels.width(), 100, QImage::Format_RGB32);
    picture.fill(Qt::white);
    QPainter painter(&picture);
    painter.setFont(font);
    painter.setPen(Qt::black);
    painter.drawText(QPoint(20, 70), QString::fromUtf8(title.text));
    painter.end();
    return InkIn(picture, picture.rect(), Dark).size();
}

// A path as a Windows program under Wine names it: Z: is the root folder.
QString WindowsPath(QString path) {
    return QStringLiteral("Z:") + path.replace(u'/', u'\\');
}

const QString kPrograms = QStringLiteral("AppData/Local/Programs/bingo-caller");
// The build's setup program, or another one (e2e-release's signed one).
const QString kSetup = qEnvironmentVariable("BINGO_WINDOWS_SETUP", BINGO_WINDOWS_SETUP);

} // namespace

class E2eWine : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() {
        const QString missing = MissingTools({"Xvfb", "xdotool", "tesseract", "wine", "unzip"});
        QVERIFY2(missing.isEmpty(), qPrintable(missing));
    }

    // Under Windows' dark setting Qt 6.8's Windows 11 style, Windows 11's own, takes dark
    // system colours (Wine passes for Windows 10, whose Vista style stays light): what the
    // layout fixes looks the same, and the rest stays legible.
    void zipRunsWhereUnpacked_data() {
        QTest::addColumn<bool>("dark");
        QTest::newRow("light") << false;
        QTest::newRow("Windows' dark setting") << true;
    }
    void zipRunsWhereUnpacked() {
        QFETCH(bool, dark);
        QTemporaryDir dir;
        QProcess unzip;
        unzip.start(QStringLiteral("unzip"), {"-q", BINGO_WINDOWS_ZIP, "-d", dir.path()});
        QVERIFY(unzip.waitForFinished(60000) && unzip.exitCode() == 0);
        const QString exe =
            dir.filePath(QStringLiteral("bingo-caller-1.00-win64/bingo-caller.exe"));
        QVERIFY2(QFile::exists(exe), qPrintable(exe));
        // The unzipped folder alone: no Qt or MinGW folders on Wine's path.
        QStringList env{QStringLiteral("WINEPATH=")};
        QTemporaryDir prefix;
        if (dark) {
            const QStringList setting{"reg", "add",       kPersonalize, "/v", "AppsUseLightTheme",
                                      "/t",  "REG_DWORD", "/d",         "0",  "/f"};
            QCOMPARE(Wine(prefix.path(), setting), 0);
            env << QStringLiteral("BINGO_WINEPREFIX=") + prefix.path()
                << QStringLiteral("QT_STYLE_OVERRIDE=windows11");
        }
        CallsAndMarks(exe, env);
    }

    void setupInstallsRunsAndUninstalls() {
        QTemporaryDir prefix;
        const QString& setup = kSetup;
        const QString& programs = kPrograms;
        const QString shortcut =
            QStringLiteral("AppData/Roaming/Microsoft/Windows/Start Menu/Programs/%1.lnk")
                .arg(kCaption);
        QCOMPARE(Wine(prefix.path(), {setup, QStringLiteral("/S")}), 0);
        const QString installed = Find(prefix.path(), programs);
        QVERIFY2(!installed.isEmpty(), "no program folder under the user's programs");
        for (const char* file :
             {"bingo-caller.exe", "uninstall.exe", "Qt6Widgets.dll", "platforms/qwindows.dll"}) {
            QVERIFY2(QFile::exists(installed + QLatin1Char('/') + QLatin1String(file)), file);
        }
        const QString signer = qEnvironmentVariable("BINGO_SIGNED_BY"); // of a signed setup
        for (const QString& file :
             {installed + "/bingo-caller.exe", installed + "/uninstall.exe"}) {
            const QStringList verify{"verify", "-CAfile", signer, "-in", file};
            QVERIFY2(signer.isEmpty() || QProcess::execute("osslsigncode", verify) == 0,
                     qPrintable(file));
        }
        QVERIFY2(!Find(prefix.path(), shortcut).isEmpty(), "no Start-menu shortcut");
        QByteArray entry;
        QCOMPARE(Wine(prefix.path(), {"reg", "query", kUninstallKey}, &entry), 0);
        for (const char* value : {"DisplayVersion    REG_SZ    1.00", "QuietUninstallString",
                                  "EstimatedSize", "Publisher", "DisplayIcon"}) {
            QVERIFY2(entry.contains(value), entry.constData());
        }

        CallsAndMarks(
            installed + QStringLiteral("/bingo-caller.exe"),
            {QStringLiteral("WINEPATH="), QStringLiteral("BINGO_WINEPREFIX=") + prefix.path()});
        if (QTest::currentTestFailed()) {
            return;
        }

        // Again over the first: the same files, one entry.
        QCOMPARE(Wine(prefix.path(), {setup, QStringLiteral("/S")}), 0);
        QVERIFY(QFile::exists(installed + QStringLiteral("/bingo-caller.exe")));
        QCOMPARE(Wine(prefix.path(), {"reg", "query", kUninstallKey}), 0);

        // The uninstall command Windows runs for a quiet removal.
        QCOMPARE(Wine(prefix.path(), {installed + QStringLiteral("/uninstall.exe"), "/S"}), 0);
        QVERIFY2(!QFileInfo::exists(installed), "the program folder is left");
        QVERIFY2(Find(prefix.path(), shortcut).isEmpty(), "the shortcut is left");
        QVERIFY(Wine(prefix.path(), {"reg", "query", kUninstallKey}) != 0);
    }

    // Never half an installation, nor two: while the program runs the setup program and the
    // uninstaller (run in place, as Windows runs its copy) end with status 2 and change
    // nothing; a setup into another folder takes the first installation away.
    void oneWholeInstallation_data() {
        QTest::addColumn<QString>("step");
        QTest::newRow("uninstall while running") << "uninstall";
        QTest::newRow("install while running") << "install";
        QTest::newRow("install into another folder") << "elsewhere";
    }
    void oneWholeInstallation() {
        QFETCH(QString, step);
        QTemporaryDir prefix;
        const QString& setup = kSetup;
        QCOMPARE(Wine(prefix.path(), {setup, QStringLiteral("/S")}), 0);
        const QString installed = Find(prefix.path(), kPrograms);
        const QString exe = installed + QStringLiteral("/bingo-caller.exe");
        QString uninstaller = installed + QStringLiteral("/uninstall.exe");
        XSession x;
        if (step == QLatin1String("elsewhere")) {
            // As a user types it: /D takes the rest of the line, spaces and all, unquoted.
            const QString other = QString::fromUtf8("C:\\ユーザー データ\\ビンゴ");
            QCOMPARE(Wine(prefix.path(), {"cmd", "/c", WindowsPath(setup) + " /S /D=" + other}), 0);
            QVERIFY2(!QFileInfo::exists(installed), "the first installation is left");
            uninstaller =
                prefix.path() + QString::fromUtf8("/drive_c/ユーザー データ/ビンゴ/uninstall.exe");
        } else {
            Open(x, exe, {QStringLiteral("BINGO_WINEPREFIX=") + prefix.path()});
            const QDateTime built = QFileInfo(exe).lastModified();
            QCOMPARE(Wine(prefix.path(),
                          step == QLatin1String("install")
                              ? QStringList{setup, QStringLiteral("/S")}
                              : QStringList{uninstaller, "/S", "_?=" + WindowsPath(installed)},
                          nullptr, false),
                     2);
            QCOMPARE(QFileInfo(exe).lastModified(), built);
            QCOMPARE(Wine(prefix.path(), {"reg", "query", kUninstallKey}, nullptr, false), 0);
            QVERIFY(x.Close(30000).has_value());
        }
        QCOMPARE(Wine(prefix.path(), {uninstaller, QStringLiteral("/S")}), 0);
        QVERIFY(!QFileInfo::exists(QFileInfo(uninstaller).path()));
        QVERIFY(Wine(prefix.path(), {"reg", "query", kUninstallKey}) != 0);
    }

private:
    void Open(XSession& x, const QString& exe, const QStringList& env) {
        QString error;
        x.FindByTitle(kCaption);
        QVERIFY2(x.Open(&error, env, {BINGO_WINE_RUN}, 180000, exe), qPrintable(error));
    }

    // Opens `exe` under Wine, checks the board and its look, and calls three numbers.
    void CallsAndMarks(const QString& exe, const QStringList& env) {
        XSession x;
        Open(x, exe, env);
        QImage picture = x.WaitForStill({}, 20000);
        QCOMPARE(picture.size(), kWindowPixels);
        QCOMPARE(WhiteCells(picture), 75);
        // The title in its Windows face's stand-in, not a face the host lends.
        const QSize ink = InkIn(picture, Pixels(Control("Label2")), Dark).size();
        const QSize want = TitleInk();
        QVERIFY2(qAbs(ink.width() - want.width()) <= 3 && qAbs(ink.height() - want.height()) <= 2,
                 qPrintable(QString::asprintf("title ink %dx%d, its stand-in's %dx%d", ink.width(),
                                              ink.height(), want.width(), want.height())));

        for (int call = 1; call <= 3; ++call) {
            picture = x.CallNumbers(1, 20000);
            QCOMPARE(int(RedCells(picture).size()), call);
        }
        // With Windows-like faces the letters stand clear and two digits fit a cell.
        for (const char* strip : {"Label3", "Label4", "Label5", "Label6", "Label7"}) {
            QCOMPARE(LetterAboveCells(picture, strip), QString());
        }
        QCOMPARE(DigitsInsideCells(picture, 2), QString());

        const QString number = ReadNumber(picture);
        const QString letter = ReadLetter(picture);
        QVERIFY2(!number.isEmpty(), "no number in the number box");
        const std::vector<int> red = RedCells(picture);
        QVERIFY2(std::find(red.begin(), red.end(), number.toInt()) != red.end(),
                 qPrintable(QStringLiteral("%1 is shown but its cell is not red").arg(number)));
        QCOMPARE(letter, LetterText(number.toInt()));

        const QRect box = Pixels(Control("Text1"));
        const QRect beside(box.right() + 8, box.top(), 40, box.height()); // where the menu opens
        // Whether the board beside the box comes to show the menu (or no longer does).
        const auto menuShown = [&x, &beside, &picture](bool shown) {
            return QTest::qWaitFor(
                [&] { return (x.Grab().copy(beside) != picture.copy(beside)) == shown; }, 20000);
        };
        for (const char* key : {"", "shift+F10", "Menu"}) {
            *key ? x.Key(key) : x.Click(box.center(), 3);
            QVERIFY2(menuShown(true), key);
            x.Key("Escape");
            QVERIFY2(menuShown(false), key);
        }
        QVERIFY(x.Close(30000).has_value());
    }
};

// Fonts without a display, through an argument: the Windows program inherits QT_ variables.
int main(int argc, char* argv[]) {
    char platform[] = "-platform";
    char offscreen[] = "offscreen";
    std::vector<char*> args(argv, argv + argc);
    args.insert(args.begin() + 1, {platform, offscreen});
    int count = static_cast<int>(args.size());
    QGuiApplication app(count, args.data());
    E2eWine test;
    return QTest::qExec(&test, argc, argv);
}

#include "e2e_wine.moc"
