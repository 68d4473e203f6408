#include <QApplication>

#include "window/MainWindow.h"

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    // Names the folder of the program's own data (saved sets, recent files).
    QApplication::setApplicationName(QStringLiteral("quorvex"));
    quorvex::window::MainWindow window;
    window.show();
    return app.exec();
}
