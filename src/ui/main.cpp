#include "qserapp.h"

#include <QApplication>
#include <QIcon>

int main(int argc, char* argv[]) {
    const QStringList arguments = CQSERApp::TakeArguments(argc, argv);
    if (const std::optional<int> status = CQSERApp::AnswerWithoutWindow(argc, argv, arguments)) {
        return *status;
    }
    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("qser"));
    QApplication::setOrganizationName(QStringLiteral("QSER"));
    QApplication::setApplicationVersion(QStringLiteral(QSER_VERSION));
    QGuiApplication::setDesktopFileName(QStringLiteral("io.qser.Qser"));
    QApplication::setWindowIcon(QIcon(QStringLiteral(":/icons/app.svg")));

    CQSERApp qser;
    const int status = qser.InitInstance(arguments);
    if (status != 0) {
        return status;
    }
    return QApplication::exec();
}
