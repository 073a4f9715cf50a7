// Build step: writes a program's window icon (an .ico file) as the PNG a desktop's icon
// theme takes. Usage: icon_to_png ICON.ico OUT.png
#include <QImage>
#include <cstdio>

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fputs("Usage: icon_to_png ICON.ico OUT.png\n", stderr);
        return 2;
    }
    const QImage icon(QString::fromLocal8Bit(argv[1]));
    if (icon.isNull() || !icon.save(QString::fromLocal8Bit(argv[2]), "PNG")) {
        std::fprintf(stderr, "icon_to_png: cannot turn %s into %s\n", argv[1], argv[2]);
        return 1;
    }
    return 0;
}
