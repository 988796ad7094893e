// SPDX-License-Identifier: GPL-3.0-or-later
// velmora-window: the window application, one fixed window with the SORTER
// and COMPRESS tabs (everything it shows lives in the Velmora QML module), in
// English where the user's language is English and in Indonesian elsewhere.
// The program velmora (app/cli) starts it, beside the tools, once it has
// found a display, and keeps its own name for it: argv[0] is "velmora".
#include <QtQml/qqmlextensionplugin.h>
#include <QApplication>
#include <QLocale>
#include <QQmlApplicationEngine>
#include <QUrl>

#include "desktop_identity.h"
#include "resource_directory.h"
#include "window_language.h"
#include "window_services.h"

Q_IMPORT_QML_PLUGIN(VelmoraPlugin)
Q_IMPORT_QML_PLUGIN(Velmora_JobControlPlugin)

int main(int argc, char* argv[]) {
    // QApplication rather than QGuiApplication: its beep ends a job where no
    // sound output is found.
    QApplication app(argc, argv);
    // The installation, and in it the backend scripts and the icon, from
    // libexec/velmora.
    velmora::setPrefixFromProgram(QStringLiteral(VELMORA_PREFIX_FROM_PROGRAM));
    velmora::useWindowServices();
    velmora::applyDesktopIdentity(velmora::installationPrefix() + QStringLiteral("/share"));
    // Before the QML loads, so that every text is made in the user's language.
    const velmora::WindowTranslation translation(velmora::windowLanguageFor(QLocale::system()));

    QQmlApplicationEngine engine;
    engine.addImportPath(QStringLiteral("qrc:/"));
    engine.load(QUrl(QStringLiteral("qrc:/Velmora/Main.qml")));
    if (engine.rootObjects().isEmpty()) {
        return 1;
    }
    return QApplication::exec();
}
