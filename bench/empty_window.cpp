// The yardstick for the caller's start-up time and memory: a bare Qt window of the same size.

#include <QApplication>
#include <QWidget>

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    QWidget window;
    window.resize(683, 433);
    window.show();
    return QApplication::exec();
}
