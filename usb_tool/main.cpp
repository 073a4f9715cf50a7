#include <QApplication>

#include "usb_tool/form1.h"

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    dotwall::usb_tool::Form1 window;
    window.show();
    return application.exec();
}
