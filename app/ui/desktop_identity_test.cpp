// SPDX-License-Identifier: GPL-3.0-or-later
// The window on the desktop: the icon it shows is the one the build draws
// for the desktop entry, and the entry is found under the name the window
// gives the compositor.
#include <QtTest>

#include <QGuiApplication>
#include <QIcon>
#include <QSettings>

#include "desktop_identity.h"

namespace {
const QString kShare = QStringLiteral(VELMORA_BUILT_SHARE_DIR);
}

class DesktopIdentityTest : public QObject {
    Q_OBJECT

  private slots:
    void windowMatchesItsEntry() {
        velmora::applyDesktopIdentity(kShare);
        QCOMPARE(QGuiApplication::applicationDisplayName(), QStringLiteral("Velmora"));

        const QString entryPath =
            kShare + "/applications/" + QGuiApplication::desktopFileName() + ".desktop";
        QVERIFY2(QFile::exists(entryPath), qPrintable(entryPath));
        QSettings entry(entryPath, QSettings::IniFormat);
        entry.beginGroup("Desktop Entry");
        QCOMPARE(entry.value("Exec").toString(), QStringLiteral("velmora"));
        const QString iconName = entry.value("Icon").toString();
        QCOMPARE(iconName, velmora::applicationId());
        QVERIFY(QFile::exists(kShare + "/icons/hicolor/scalable/apps/" + iconName + ".svg"));

        const QIcon icon = QGuiApplication::windowIcon();
        QCOMPARE(icon.availableSizes(), QList<QSize>{QSize(256, 256)});
        // The badge is round: its corners are clear and its middle is the white photo.
        const QImage image = icon.pixmap(256).toImage();
        QCOMPARE(qAlpha(image.pixel(2, 2)), 0);
        QCOMPARE(image.pixelColor(180, 100), QColor(Qt::white));
    }
};

QTEST_MAIN(DesktopIdentityTest)
#include "desktop_identity_test.moc"
