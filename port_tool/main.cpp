#include <QApplication>
#include <QCommandLineParser>

#include "port_tool/start.h"

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    QCommandLineParser parser;
    parser.setApplicationDescription(
        "Streams a picture to a single-scan LCD panel on the "
        "parallel port.");
    parser.addHelpOption();
    parser.addPositionalArgument("PICTURE", "A picture to show instead of the stored one.",
                                 "[PICTURE]");
    parser.process(application);
    const QStringList pictures = parser.positionalArguments();
    if (pictures.size() > 1) {
        parser.showHelp(2);
    }
    return dotwall::port_tool::runDotwallLpt({}, pictures.value(0));
}
