#include <QApplication>

#include "window/PatternForm.h"

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    quorvex::window::PatternForm form;
    form.show();
    return app.exec();
}
