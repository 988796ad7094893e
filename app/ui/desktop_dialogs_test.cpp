// SPDX-License-Identifier: GPL-3.0-or-later
// What the window asks of the desktop over D-Bus: its folder chooser through
// the XDG portal, and notifications through the portal or the notification
// server, sent when a run ends while the window is not active. Each test runs a private session bus
// with stand-ins for those services, which answer as the real ones do and keep every call they get.
#include <qpa/qwindowsysteminterface.h>
#include <QDBusArgument>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusObjectPath>
#include <QDBusVirtualObject>
#include <QDir>
#include <QGuiApplication>
#include <QProcess>
#include <QScopeGuard>
#include <QSignalSpy>
#include <QTest>

#include "desktop_folder_chooser.h"
#include "desktop_notifier.h"
#include "fake_backend.h"
#include "job_model.h"
#include "private_session_bus.h"
#include "window_harness.h"

using velmora::DesktopNotifier;
using velmora::testkit::FakeBackend;
using velmora::testkit::PrivateSessionBus;
using velmora::testkit::WindowHarness;

namespace {

const QString kPortalService = QStringLiteral("org.freedesktop.portal.Desktop");
const QString kPortalPath = QStringLiteral("/org/freedesktop/portal/desktop");
const QString kServerService = QStringLiteral("org.freedesktop.Notifications");

/// A desktop service at one object path that keeps each call and answers
/// it with reply(), or with the error `failWith` when that is set.
class StandInService : public QDBusVirtualObject {
  public:
    explicit StandInService(std::function<QDBusMessage(const QDBusMessage&)> reply)
        : reply_(std::move(reply)) {}

    QList<QDBusMessage> calls;
    QString failWith;

    QString introspect(const QString&) const override { return {}; }
    bool handleMessage(const QDBusMessage& message, const QDBusConnection& connection) override {
        calls.append(message);
        connection.send(failWith.isEmpty()
                            ? reply_(message)
                            : message.createErrorReply(failWith, QStringLiteral("stand-in")));
        return true;
    }

  private:
    std::function<QDBusMessage(const QDBusMessage&)> reply_;
};

/// The request path of a portal call, as portals since 0.9 answer.
QString requestPathOf(const QDBusMessage& call) {
    const QVariantMap options = qdbus_cast<QVariantMap>(call.arguments().value(2));
    QString sender = call.service().mid(1);
    sender.replace(u'.', u'_');
    return kPortalPath + QStringLiteral("/request/") + sender + u'/' +
           options.value(QStringLiteral("handle_token")).toString();
}

}  // namespace

class DesktopDialogsTest : public QObject {
    Q_OBJECT

  private slots:
    void initTestCase();
    void aRunEndingUnseenIsNotified_data();
    void aRunEndingUnseenIsNotified();
    void init();
    void cleanup();
    void portalChooserIsAskedForOneFolderModally();
    void portalAnswerIsTaken_data();
    void portalAnswerIsTaken();
    void portalAnsweringOnItsOwnPathIsHeard();
    void withoutAPortalTheWindowsOwnChooserIsUsed_data();
    void withoutAPortalTheWindowsOwnChooserIsUsed();
    void platformThemeDialogIsUsedWithoutAPortal();
    void notificationsGoThroughThePortal();
    void notificationsFallBackToTheServer_data();
    void notificationsFallBackToTheServer();
    void notificationsWithNoServiceAreDropped();

  private:
    /// Puts the stand-in portal (file chooser and notifications) on the bus.
    void addPortal();
    /// Puts the stand-in notification server on the bus.
    void addNotificationServer();
    /// Sends the portal's Response to `call`.
    void respond(const QDBusMessage& call, uint response, const QStringList& uris,
                 const QString& path = {});

    /// The window's session bus, for the whole program.
    std::unique_ptr<PrivateSessionBus> sessionBus_;
    std::unique_ptr<PrivateSessionBus> bus_;
    std::unique_ptr<QDBusConnection> client_;
    std::unique_ptr<QDBusConnection> desktop_;
    std::unique_ptr<StandInService> portal_;
    std::unique_ptr<StandInService> server_;
    uint nextServerId_ = 41;
    bool oldPortal_ = false;  ///< answers on a path of its own choice
};

void DesktopDialogsTest::initTestCase() {
    // Before anything connects to the session bus: the window's notifier
    // connects to this one.
    sessionBus_ = std::make_unique<PrivateSessionBus>();
    if (!sessionBus_->address().isEmpty()) {
        qputenv("DBUS_SESSION_BUS_ADDRESS", sessionBus_->address().toUtf8());
    }
}

void DesktopDialogsTest::aRunEndingUnseenIsNotified_data() {
    QTest::addColumn<bool>("active");  // the window is active as the run ends
    QTest::newRow("window active: seen, not notified") << true;
    QTest::newRow("window inactive: notified") << false;
}

void DesktopDialogsTest::aRunEndingUnseenIsNotified() {
    QFETCH(bool, active);
    if (sessionBus_->address().isEmpty()) {
        QSKIP("dbus-daemon is not installed or did not start: no bus for the stand-ins");
    }
    QDBusConnection desktop = sessionBus_->connect(QStringLiteral("window-desktop"));
    const auto leave = qScopeGuard([&desktop] {
        desktop.unregisterService(kServerService);
        desktop.unregisterObject(QStringLiteral("/org/freedesktop/Notifications"));
    });
    StandInService server(
        [](const QDBusMessage& call) { return call.createReply(QVariant::fromValue(7u)); });
    QVERIFY(
        desktop.registerVirtualObject(QStringLiteral("/org/freedesktop/Notifications"), &server));
    QVERIFY(desktop.registerService(kServerService));

    FakeBackend backend;
    WindowHarness w;
    QVERIFY(backend.setSummary("100|50|50|0"));
    JobModel* model = w.chooseFolder(backend.scriptFolder(), QStringLiteral("/foto/acara"));
    QVERIFY(model);
    QVERIFY(w.scan());
    w.click(w.find("startButton"));
    QTRY_VERIFY(model->isRunning());
    QTRY_COMPARE(QGuiApplication::applicationState(), Qt::ApplicationActive);
    if (!active) {
        // The user has gone to another window.
        QWindowSystemInterface::handleApplicationStateChanged(Qt::ApplicationInactive);
        QWindowSystemInterface::flushWindowSystemEvents();
        QCOMPARE(QGuiApplication::applicationState(), Qt::ApplicationInactive);
    }
    QVERIFY(backend.setStatus("60|2|0|1.0|100"));
    QVERIFY(backend.finish(0));
    QTRY_VERIFY(model->showAlert());
    if (active) {
        QTest::qWait(300);
        QCOMPARE(server.calls.size(), 0);
        return;
    }
    QTRY_COMPARE(server.calls.size(), 1);
    const QVariantList told = server.calls.first().arguments();
    QCOMPARE(told.at(0).toString(), QGuiApplication::applicationDisplayName());
    QCOMPARE(told.at(2).toString(), QGuiApplication::desktopFileName());
    QCOMPARE(told.at(3).toString(), QStringLiteral("Proses Selesai"));
    QCOMPARE(told.at(4).toString(), QStringLiteral("Berhasil: 58\nGagal: 2"));
    QWindowSystemInterface::handleApplicationStateChanged(Qt::ApplicationActive);
}

void DesktopDialogsTest::init() {
    // The tests of the window ask for its own chooser; these ask the desktop.
    qunsetenv("VELMORA_FOLDER_CHOOSER");
    bus_ = std::make_unique<PrivateSessionBus>();
    if (bus_->address().isEmpty()) {
        QSKIP("dbus-daemon is not installed or did not start: no bus for the stand-ins");
    }
    static int connections = 0;
    ++connections;
    client_ = std::make_unique<QDBusConnection>(
        bus_->connect(QStringLiteral("client%1").arg(connections)));
    desktop_ = std::make_unique<QDBusConnection>(
        bus_->connect(QStringLiteral("desktop%1").arg(connections)));
    QVERIFY(client_->isConnected());
    QVERIFY(desktop_->isConnected());
    nextServerId_ = 41;
    oldPortal_ = false;
}

void DesktopDialogsTest::cleanup() {
    if (desktop_) {
        desktop_->unregisterObject(kPortalPath);
        desktop_->unregisterObject(QStringLiteral("/org/freedesktop/Notifications"));
        QDBusConnection::disconnectFromBus(desktop_->name());
        QDBusConnection::disconnectFromBus(client_->name());
    }
    portal_.reset();
    server_.reset();
    desktop_.reset();
    client_.reset();
    bus_.reset();
}

void DesktopDialogsTest::addPortal() {
    portal_ = std::make_unique<StandInService>([this](const QDBusMessage& call) {
        if (call.member() == QLatin1String("OpenFile")) {
            const QString path =
                oldPortal_ ? kPortalPath + QStringLiteral("/request/old/1") : requestPathOf(call);
            return call.createReply(QVariant::fromValue(QDBusObjectPath(path)));
        }
        return call.createReply();
    });
    QVERIFY(desktop_->registerVirtualObject(kPortalPath, portal_.get()));
    QVERIFY(desktop_->registerService(kPortalService));
}

void DesktopDialogsTest::addNotificationServer() {
    server_ = std::make_unique<StandInService>([this](const QDBusMessage& call) {
        return call.createReply(QVariant::fromValue(nextServerId_++));
    });
    QVERIFY(desktop_->registerVirtualObject(QStringLiteral("/org/freedesktop/Notifications"),
                                            server_.get()));
    QVERIFY(desktop_->registerService(kServerService));
}

void DesktopDialogsTest::respond(const QDBusMessage& call, uint response, const QStringList& uris,
                                 const QString& path) {
    QDBusMessage answer = QDBusMessage::createSignal(
        path.isEmpty() ? requestPathOf(call) : path,
        QStringLiteral("org.freedesktop.portal.Request"), QStringLiteral("Response"));
    answer << response << QVariantMap{{QStringLiteral("uris"), uris}};
    QVERIFY(desktop_->send(answer));
}

void DesktopDialogsTest::portalChooserIsAskedForOneFolderModally() {
    addPortal();
    DesktopFolderChooser chooser;
    chooser.setBus(*client_);
    chooser.setProperty("title", QStringLiteral("Pilih Folder Sumber"));
    chooser.setProperty("folder", QUrl::fromLocalFile(QStringLiteral("/foto/acara")));
    chooser.setProperty("acceptLabel", QStringLiteral("Buka"));
    QSignalSpy own(&chooser, &DesktopFolderChooser::ownDialogNeeded);
    chooser.open(nullptr);
    QTRY_COMPARE(portal_->calls.size(), 1);
    const QDBusMessage call = portal_->calls.first();
    QCOMPARE(call.interface(), QStringLiteral("org.freedesktop.portal.FileChooser"));
    QCOMPARE(call.member(), QStringLiteral("OpenFile"));
    QCOMPARE(call.signature(), QStringLiteral("ssa{sv}"));
    QCOMPARE(call.arguments().at(0).toString(), QString());  // no X11 window offscreen
    QCOMPARE(call.arguments().at(1).toString(), QStringLiteral("Pilih Folder Sumber"));
    const QVariantMap options = qdbus_cast<QVariantMap>(call.arguments().at(2));
    QCOMPARE(options.value("directory"), QVariant(true));
    QCOMPARE(options.value("multiple"), QVariant(false));
    QCOMPARE(options.value("modal"), QVariant(true));
    QCOMPARE(options.value("accept_label"), QVariant(QStringLiteral("Buka")));
    QCOMPARE(options.value("current_folder").toByteArray(), QByteArray("/foto/acara\0", 12));
    QVERIFY(!options.value("handle_token").toString().isEmpty());
    QCOMPARE(chooser.kind(), DesktopFolderChooser::Kind::Portal);
    QVERIFY(chooser.opened());
    // While its dialog is open, a second BROWSE asks nothing more.
    chooser.open(nullptr);
    QTest::qWait(200);
    QCOMPARE(portal_->calls.size(), 1);
    QCOMPARE(own.size(), 0);
}

void DesktopDialogsTest::portalAnswerIsTaken_data() {
    QTest::addColumn<uint>("response");
    QTest::addColumn<QStringList>("uris");
    QTest::addColumn<QString>("chosen");
    QTest::newRow("a folder") << 0u << QStringList{"file:///media/rani/EOS_DIGITAL/DCIM"}
                              << "/media/rani/EOS_DIGITAL/DCIM";
    QTest::newRow("a folder with a space, escaped")
        << 0u << QStringList{"file:///home/rani/Wisuda%202024"} << "/home/rani/Wisuda 2024";
    QTest::newRow("cancelled") << 1u << QStringList{} << "";
    QTest::newRow("ended otherwise") << 2u << QStringList{} << "";
    QTest::newRow("a network folder is not a local one")
        << 0u << QStringList{"sftp://host/foto"} << "";
}

void DesktopDialogsTest::portalAnswerIsTaken() {
    QFETCH(uint, response);
    QFETCH(QStringList, uris);
    QFETCH(QString, chosen);
    addPortal();
    DesktopFolderChooser chooser;
    chooser.setBus(*client_);
    QSignalSpy picked(&chooser, &DesktopFolderChooser::chosen);
    QSignalSpy own(&chooser, &DesktopFolderChooser::ownDialogNeeded);
    chooser.open(nullptr);
    QTRY_COMPARE(portal_->calls.size(), 1);
    respond(portal_->calls.first(), response, uris);
    QTRY_VERIFY(!chooser.opened());
    QCOMPARE(picked.size(), chosen.isEmpty() ? 0 : 1);
    if (!chosen.isEmpty()) {
        QCOMPARE(picked.first().first().toUrl().toLocalFile(), chosen);
    }
    QCOMPARE(own.size(), 0);  // a cancel is the user's answer: no second dialog
    // A later BROWSE asks again.
    chooser.open(nullptr);
    QTRY_COMPARE(portal_->calls.size(), 2);
}

void DesktopDialogsTest::portalAnsweringOnItsOwnPathIsHeard() {
    oldPortal_ = true;
    addPortal();
    DesktopFolderChooser chooser;
    chooser.setBus(*client_);
    QSignalSpy picked(&chooser, &DesktopFolderChooser::chosen);
    chooser.open(nullptr);
    QTRY_COMPARE(portal_->calls.size(), 1);
    QTest::qWait(200);  // the reply, with the path, reaches the chooser first
    respond(portal_->calls.first(), 0, {"file:///foto"}, kPortalPath + "/request/old/1");
    QTRY_COMPARE(picked.size(), 1);
    QCOMPARE(picked.first().first().toUrl(), QUrl("file:///foto"));
}

void DesktopDialogsTest::withoutAPortalTheWindowsOwnChooserIsUsed_data() {
    QTest::addColumn<QString>("portal");  // "none", or the error the portal answers with
    QTest::addColumn<QString>("setting");
    QTest::newRow("no portal on the bus") << "none"
                                          << "";
    QTest::newRow("a portal without a file chooser") << "org.freedesktop.DBus.Error.UnknownMethod"
                                                     << "";
    QTest::newRow("a portal that fails") << "org.freedesktop.portal.Error.Failed"
                                         << "";
    QTest::newRow("the own chooser asked for") << ""
                                               << "own";
}

void DesktopDialogsTest::withoutAPortalTheWindowsOwnChooserIsUsed() {
    QFETCH(QString, portal);
    QFETCH(QString, setting);
    if (portal != QLatin1String("none")) {
        addPortal();
        portal_->failWith = portal;
    }
    qputenv("VELMORA_FOLDER_CHOOSER", setting.toUtf8());
    DesktopFolderChooser chooser;
    chooser.setBus(*client_);
    QSignalSpy own(&chooser, &DesktopFolderChooser::ownDialogNeeded);
    chooser.open(nullptr);
    // Offscreen, the platform theme offers no dialog of its own either.
    QTRY_COMPARE(own.size(), 1);
    QCOMPARE(chooser.kind(), DesktopFolderChooser::Kind::Own);
    QVERIFY(!chooser.opened());
    if (setting == QLatin1String("own") && portal_) {
        QCOMPARE(portal_->calls.size(), 0);
    }
    qunsetenv("VELMORA_FOLDER_CHOOSER");
}

void DesktopDialogsTest::platformThemeDialogIsUsedWithoutAPortal() {
    // Run by the test desktop_dialogs_gtk under Xvfb with GTK's platform
    // theme, whose dialog is a GTK window of its own.
    if (QGuiApplication::platformName() != QLatin1String("xcb")) {
        QSKIP("needs an X display and a platform theme with its own dialog (desktop_dialogs_gtk)");
    }
    QWindow window;
    window.resize(420, 580);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    DesktopFolderChooser chooser;
    chooser.setBus(*client_);  // no portal on it
    chooser.setProperty("title", QStringLiteral("Pilih Folder Sumber"));
    chooser.setProperty("folder", QUrl::fromLocalFile(QDir::tempPath()));
    QSignalSpy own(&chooser, &DesktopFolderChooser::ownDialogNeeded);
    chooser.open(&window);
    if (own.size() == 1) {
        QSKIP("the platform theme here offers no folder dialog of its own");
    }
    QCOMPARE(chooser.kind(), DesktopFolderChooser::Kind::PlatformTheme);
    QVERIFY(chooser.opened());
    // The toolkit's dialog is on the display, under the chooser's title.
    QTRY_VERIFY_WITH_TIMEOUT(
        [] {
            QProcess tree;
            tree.start(QStringLiteral("xwininfo"),
                       {QStringLiteral("-root"), QStringLiteral("-tree")});
            tree.waitForFinished(5000);
            return tree.readAllStandardOutput().contains("\"Pilih Folder Sumber\"");
        }(),
        10000);
}

void DesktopDialogsTest::notificationsGoThroughThePortal() {
    addPortal();
    addNotificationServer();
    DesktopNotifier notifier(*client_, "io.github.velmora.Velmora", "Velmora");
    QSignalSpy sent(&notifier, &DesktopNotifier::sent);
    notifier.notify("Proses Selesai", "Berhasil: 118\nGagal: 2");
    QTRY_COMPARE(sent.size(), 1);
    QCOMPARE(sent.first().first().toBool(), true);
    QCOMPARE(portal_->calls.size(), 1);
    QCOMPARE(server_->calls.size(), 0);
    const QDBusMessage call = portal_->calls.first();
    QCOMPARE(call.interface(), QStringLiteral("org.freedesktop.portal.Notification"));
    QCOMPARE(call.member(), QStringLiteral("AddNotification"));
    QCOMPARE(call.signature(), QStringLiteral("sa{sv}"));
    const QVariantMap shown = qdbus_cast<QVariantMap>(call.arguments().at(1));
    QCOMPARE(shown.value("title").toString(), QStringLiteral("Proses Selesai"));
    QCOMPARE(shown.value("body").toString(), QStringLiteral("Berhasil: 118\nGagal: 2"));
    // A second run's end replaces the first's.
    notifier.notify("Proses Dihentikan", "Berhasil: 3\nGagal: 0");
    QTRY_COMPARE(portal_->calls.size(), 2);
    QCOMPARE(portal_->calls.at(1).arguments().at(0), call.arguments().at(0));
}

void DesktopDialogsTest::notificationsFallBackToTheServer_data() {
    QTest::addColumn<bool>("portal");  // a portal without notifications is there
    QTest::newRow("no portal") << false;
    QTest::newRow("a portal without notifications") << true;
}

void DesktopDialogsTest::notificationsFallBackToTheServer() {
    QFETCH(bool, portal);
    if (portal) {
        addPortal();
        portal_->failWith = QStringLiteral("org.freedesktop.DBus.Error.UnknownMethod");
    }
    addNotificationServer();
    DesktopNotifier notifier(*client_, "io.github.velmora.Velmora", "Velmora");
    QSignalSpy sent(&notifier, &DesktopNotifier::sent);
    notifier.notify("Proses Selesai", "Berhasil: 5\nGagal: 0");
    QTRY_COMPARE(sent.size(), 1);
    QCOMPARE(sent.first().first().toBool(), true);
    QCOMPARE(server_->calls.size(), 1);
    const QDBusMessage call = server_->calls.first();
    QCOMPARE(call.interface(), kServerService);
    QCOMPARE(call.member(), QStringLiteral("Notify"));
    QCOMPARE(call.signature(), QStringLiteral("susssasa{sv}i"));
    const QVariantList args = call.arguments();
    QCOMPARE(args.at(0).toString(), QStringLiteral("Velmora"));
    QCOMPARE(args.at(1).toUInt(), 0u);
    QCOMPARE(args.at(2).toString(), QStringLiteral("io.github.velmora.Velmora"));
    QCOMPARE(args.at(3).toString(), QStringLiteral("Proses Selesai"));
    QCOMPARE(args.at(4).toString(), QStringLiteral("Berhasil: 5\nGagal: 0"));
    QCOMPARE(qdbus_cast<QVariantMap>(args.at(6)).value("desktop-entry").toString(),
             QStringLiteral("io.github.velmora.Velmora"));
    // The next replaces the one the server shows.
    notifier.notify("Proses Selesai", "Berhasil: 6\nGagal: 0");
    QTRY_COMPARE(server_->calls.size(), 2);
    QCOMPARE(server_->calls.at(1).arguments().at(1).toUInt(), 41u);
}

void DesktopDialogsTest::notificationsWithNoServiceAreDropped() {
    DesktopNotifier notifier(*client_, "io.github.velmora.Velmora", "Velmora");
    QSignalSpy sent(&notifier, &DesktopNotifier::sent);
    notifier.notify("Proses Selesai", "Berhasil: 5\nGagal: 0");
    QTRY_COMPARE(sent.size(), 1);
    QCOMPARE(sent.first().first().toBool(), false);
}

QTEST_MAIN(DesktopDialogsTest)
#include "desktop_dialogs_test.moc"
