// SPDX-License-Identifier: GPL-3.0-or-later
#include "desktop_folder_chooser.h"

#include <private/qguiapplication_p.h>
#include <qpa/qplatformdialoghelper.h>
#include <qpa/qplatformtheme.h>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDBusObjectPath>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <QFile>
#include <QGuiApplication>
#include <QWindow>

#include "bus_service.h"

namespace {

using velmora::kDesktopPortalService;

const QString kPortalPath = QStringLiteral("/org/freedesktop/portal/desktop");
const QString kFileChooser = QStringLiteral("org.freedesktop.portal.FileChooser");
const QString kRequest = QStringLiteral("org.freedesktop.portal.Request");

/// How the portal names the window its dialog belongs to: "x11:" and the
/// window's id in hexadecimal. Elsewhere (Wayland) the window would need an
/// exported handle; an empty name leaves the dialog unparented.
QString portalWindowName(QWindow* window) {
    if (!window || QGuiApplication::platformName() != QLatin1String("xcb")) {
        return {};
    }
    return QStringLiteral("x11:") + QString::number(window->winId(), 16);
}

/// The request object on which the portal answers a call made with `token`
/// from the connection named `uniqueName` (":1.42" answers under "1_42").
QString requestPath(const QString& uniqueName, const QString& token) {
    QString sender = uniqueName.mid(1);
    sender.replace(u'.', u'_');
    return kPortalPath + QStringLiteral("/request/") + sender + u'/' + token;
}

}  // namespace

DesktopFolderChooser::DesktopFolderChooser(QObject* parent)
    : QObject(parent), bus_(QDBusConnection::sessionBus()) {}

DesktopFolderChooser::~DesktopFolderChooser() {
    stopListening();
    delete themeDialog_;
}

void DesktopFolderChooser::open(QWindow* parent) {
    if (opened_) {
        return;
    }
    parent_ = parent;
    if (qEnvironmentVariable("VELMORA_FOLDER_CHOOSER") == QLatin1String("own")) {
        askOwnDialog();
    } else if (velmora::serviceOnBus(bus_, kDesktopPortalService)) {
        askPortal();
    } else if (!askPlatformTheme()) {
        askOwnDialog();
    }
}

void DesktopFolderChooser::askPortal() {
    static int calls = 0;
    const QString token = QStringLiteral("velmora%1").arg(++calls);
    // Listening before the call: the answer may come before the call's reply.
    listenOn(requestPath(bus_.baseService(), token));
    QByteArray startFolder = QFile::encodeName(folder_.toLocalFile());
    startFolder.append('\0');  // the portal takes a C string
    QVariantMap options{
        {QStringLiteral("handle_token"), token},
        {QStringLiteral("directory"), true},
        {QStringLiteral("multiple"), false},
        {QStringLiteral("modal"), true},
        {QStringLiteral("current_folder"), startFolder},
    };
    if (!acceptLabel_.isEmpty()) {
        options.insert(QStringLiteral("accept_label"), acceptLabel_);
    }
    QDBusMessage call = QDBusMessage::createMethodCall(kDesktopPortalService, kPortalPath,
                                                       kFileChooser, QStringLiteral("OpenFile"));
    call << portalWindowName(parent_) << title_ << options;
    kind_ = Kind::Portal;
    setOpened(true);
    auto* watcher = new QDBusPendingCallWatcher(bus_.asyncCall(call), this);
    connect(watcher, &QDBusPendingCallWatcher::finished, this, [this](QDBusPendingCallWatcher* w) {
        w->deleteLater();
        const QDBusPendingReply<QDBusObjectPath> reply = *w;
        if (reply.isError()) {
            // A portal without a file chooser of its own, or one that failed.
            qWarning("Folder chooser: the desktop portal answered %s; using another dialog",
                     qPrintable(reply.error().name()));
            stopListening();
            setOpened(false);
            if (!askPlatformTheme()) {
                askOwnDialog();
            }
            return;
        }
        // Portals before version 0.9 answer on a path of their own choice.
        const QString handle = reply.value().path();
        if (opened_ && handle != requestPath_) {
            stopListening();
            listenOn(handle);
        }
    });
}

void DesktopFolderChooser::portalResponded(uint response, const QVariantMap& results) {
    stopListening();
    setOpened(false);
    // 0 is a choice, 1 a cancel, 2 a dialog that ended otherwise.
    const QStringList uris = results.value(QStringLiteral("uris")).toStringList();
    const QUrl folder = uris.isEmpty() ? QUrl() : QUrl(uris.first());
    if (response == 0 && folder.isLocalFile()) {
        emit chosen(folder);
    }
}

bool DesktopFolderChooser::askPlatformTheme() {
    QPlatformTheme* theme = QGuiApplicationPrivate::platformTheme();
    if (!theme || !theme->usePlatformNativeDialog(QPlatformTheme::FileDialog)) {
        return false;
    }
    delete themeDialog_;
    themeDialog_ = static_cast<QPlatformFileDialogHelper*>(
        theme->createPlatformDialogHelper(QPlatformTheme::FileDialog));
    if (!themeDialog_) {
        return false;
    }
    const QSharedPointer<QFileDialogOptions> options = QFileDialogOptions::create();
    options->setWindowTitle(title_);
    options->setFileMode(QFileDialogOptions::Directory);
    options->setAcceptMode(QFileDialogOptions::AcceptOpen);
    options->setOption(QFileDialogOptions::ShowDirsOnly);
    if (!acceptLabel_.isEmpty()) {
        options->setLabelText(QFileDialogOptions::Accept, acceptLabel_);
    }
    themeDialog_->setOptions(options);
    themeDialog_->setDirectory(folder_);
    connect(themeDialog_, &QPlatformDialogHelper::accept, this, [this] {
        const QList<QUrl> files = themeDialog_->selectedFiles();
        themeDialog_->hide();
        setOpened(false);
        if (!files.isEmpty() && files.first().isLocalFile()) {
            emit chosen(files.first());
        }
    });
    connect(themeDialog_, &QPlatformDialogHelper::reject, this, [this] {
        themeDialog_->hide();
        setOpened(false);
    });
    kind_ = Kind::PlatformTheme;
    setOpened(true);
    if (!themeDialog_->show(Qt::Dialog, Qt::WindowModal, parent_)) {
        setOpened(false);
        return false;
    }
    return true;
}

void DesktopFolderChooser::askOwnDialog() {
    kind_ = Kind::Own;
    emit ownDialogNeeded();
}

void DesktopFolderChooser::setOpened(bool opened) {
    if (opened_ != opened) {
        opened_ = opened;
        emit openedChanged();
    }
}

void DesktopFolderChooser::listenOn(const QString& path) {
    requestPath_ = path;
    bus_.connect(kDesktopPortalService, requestPath_, kRequest, QStringLiteral("Response"), this,
                 SLOT(portalResponded(uint, QVariantMap)));
}

void DesktopFolderChooser::stopListening() {
    if (!requestPath_.isEmpty()) {
        bus_.disconnect(kDesktopPortalService, requestPath_, kRequest, QStringLiteral("Response"),
                        this, SLOT(portalResponded(uint, QVariantMap)));
        requestPath_.clear();
    }
}
