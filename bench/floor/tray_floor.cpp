// The floor of the desktop benchmark: a bare Qt 6 program that docks tray icons and does nothing else,
// so that start-up, memory and wake-ups above its figures are Driftmark's own.
//
//   tray_floor [COUNT]   docks COUNT (1 to 10, default 1) blue discs
#include <QApplication>
#include <QPainter>
#include <QPixmap>
#include <QSystemTrayIcon>
#include <algorithm>
#include <cstdlib>
#include <memory>
#include <vector>

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    const int count = argc > 1 ? std::clamp(std::atoi(argv[1]), 1, 10) : 1;

    QPixmap disc(22, 22);
    disc.fill(Qt::transparent);
    {
        QPainter painter(&disc);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.setPen(Qt::NoPen);
        painter.setBrush(QColor(0, 122, 255));
        painter.drawEllipse(3, 3, 16, 16);
    }
    std::vector<std::unique_ptr<QSystemTrayIcon>> icons;
    for (int i = 0; i < count; ++i) {
        icons.push_back(std::make_unique<QSystemTrayIcon>(QIcon(disc)));
        icons.back()->show();
    }
    return QApplication::exec();
}
