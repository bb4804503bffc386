// The yardstick: a bare Qt main window with the details window's client size and a
// menu bar like its own, and nothing else.
#include <QApplication>
#include <QMainWindow>
#include <QMenuBar>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QMainWindow window;
    window.setWindowTitle(QStringLiteral("Bare v1.15"));
    QMenu *file = window.menuBar()->addMenu(QStringLiteral("&File"));
    file->addAction(QStringLiteral("Take The &Brain Test Now"));
    file->addAction(QStringLiteral("E&xit"));
    QMenu *help = window.menuBar()->addMenu(QStringLiteral("&Help"));
    help->addAction(QStringLiteral("&Online Help"));
    help->addAction(QStringLiteral("&About Software"));
    window.menuBar()->addAction(QStringLiteral("&Donate"));
    auto *central = new QWidget;
    central->setFixedSize(377, 338);
    window.setCentralWidget(central);
    window.show();
    return app.exec();
}
