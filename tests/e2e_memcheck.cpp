// The real program under valgrind memcheck on a private Xvfb: start, 75 calls, a reset, one
// more call, then the window closed as a person closes it. Any memcheck error or definite
// leak fails. Suppressions, each with its reason: tests/valgrind.supp.

#include "x_session.h"

#include <QTemporaryDir>
#include <QtTest>

using namespace bingo::testing;

class E2eMemcheck : public QObject {
    Q_OBJECT

private slots:
    void wholeGameUnderMemcheck() {
        const QString missing = MissingTools({"Xvfb", "valgrind"});
        QVERIFY2(missing.isEmpty(), qPrintable(missing));
        XSession x;
        QString error;
        QTemporaryDir dir;
        const QString log = dir.filePath(QStringLiteral("memcheck.log"));
        // No session bus here: without one, libdbus would fork dbus-launch, whose copy of the
        // process valgrind also reports.
        QVERIFY2(x.Open(&error, {QStringLiteral("DBUS_SESSION_BUS_ADDRESS=disabled:")},
                        {"valgrind", "--error-exitcode=3", "--leak-check=full",
                         "--show-leak-kinds=definite", "--errors-for-leak-kinds=definite",
                         "--suppressions=" + QStringLiteral(BINGO_VALGRIND_SUPPRESSIONS),
                         "--log-file=" + log},
                        120000),
                 qPrintable(error));

        const QImage picture = x.CallNumbers(75, 20000);
        QCOMPARE(RedCells(picture).size(), 75u);
        x.ClickControl("Command1");
        QVERIFY(
            QTest::qWaitFor([&x] { return WhiteCells(x.WaitForStill({}, 20000)) == 75; }, 60000));
        QCOMPARE(RedCells(x.CallNumbers(1, 20000)).size(), 1u);

        const auto status = x.Close(120000);
        QFile report(log);
        QVERIFY(report.open(QIODevice::ReadOnly));
        const QByteArray text = report.readAll();
        for (const QByteArray& line : text.split('\n')) {
            if (line.contains("ERROR SUMMARY") || line.contains("definitely lost")) {
                qInfo("%s", line.constData());
            }
        }
        QVERIFY2(status.has_value(), "the program did not end after its window was closed");
        QVERIFY2(*status == 0, text.constData());
    }
};

QTEST_GUILESS_MAIN(E2eMemcheck)
#include "e2e_memcheck.moc"
