#include <QApplication>

#include "port_tool/start.h"

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    return dotwall::port_tool::runDotwallLpt();
}
