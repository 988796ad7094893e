// Velmora, the window application: one fixed window with the SORTER and
// COMPRESS tabs. Everything it shows lives in the Velmora QML module.
#include <QtQml/qqmlextensionplugin.h>
#include <QApplication>
#include <QQmlApplicationEngine>
#include <QUrl>

Q_IMPORT_QML_PLUGIN(VelmoraPlugin)
Q_IMPORT_QML_PLUGIN(Velmora_JobControlPlugin)

int main(int argc, char* argv[]) {
    // QApplication rather than QGuiApplication: the folder chooser is a widget dialog.
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Velmora"));

    QQmlApplicationEngine engine;
    engine.addImportPath(QStringLiteral("qrc:/"));
    engine.load(QUrl(QStringLiteral("qrc:/Velmora/Main.qml")));
    if (engine.rootObjects().isEmpty()) {
        return 1;
    }
    return QApplication::exec();
}
