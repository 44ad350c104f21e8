// The floor for the client's start-up figures: a Qt 6 Widgets program that shows one empty
// window of the login window's size, with its title.
#include <QApplication>
#include <QWidget>

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    QWidget window;
    window.setWindowTitle(QStringLiteral("Korvane"));
    window.resize(760, 470);
    window.show();
    return QApplication::exec();
}
