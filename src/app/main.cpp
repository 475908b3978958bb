#include <QApplication>
#include <QLabel>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Quillbox"));
    QLabel label(QStringLiteral("Quillbox"));
    label.show();
    return QApplication::exec();
}
