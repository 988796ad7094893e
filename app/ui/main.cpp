// SPDX-License-Identifier: GPL-3.0-or-later
// velmora: the window application, one fixed window with the SORTER and
// COMPRESS tabs (everything it shows lives in the Velmora QML module), in
// English where the user's language is English and in Indonesian elsewhere,
// and before any window exists its command line (always in English):
// --help, --version and the subcommands that need no display.
#include <QtQml/qqmlextensionplugin.h>
#include <QApplication>
#include <QLocale>
#include <QQmlApplicationEngine>
#include <QUrl>

#include <cstdio>

#include "command_dispatch.h"
#include "desktop_identity.h"
#include "display_check.h"
#include "window_language.h"

Q_IMPORT_QML_PLUGIN(VelmoraPlugin)
Q_IMPORT_QML_PLUGIN(Velmora_JobControlPlugin)

int main(int argc, char* argv[]) {
    if (const auto exitStatus = velmora::cli::runWithoutWindow(argc, argv)) {
        return *exitStatus;
    }
    // Without a display Qt would abort; say what to do instead.
    if (!velmora::cli::hasDisplay()) {
        std::fputs(velmora::cli::noDisplayMessage().toLocal8Bit().constData(), stderr);
        return 1;
    }

    // QApplication rather than QGuiApplication: its beep ends a job where no
    // sound output is found.
    QApplication app(argc, argv);
    velmora::applyDesktopIdentity(velmora::programDataDirectory());
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
