// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QtQml/qqml.h>
#include <QDBusConnection>
#include <QObject>
#include <QPointer>
#include <QUrl>
#include <QWindow>

class QPlatformFileDialogHelper;

/// The desktop's own folder chooser, where the desktop offers one: the XDG
/// desktop portal's FileChooser on the session bus, else the dialog of the
/// platform theme (GTK's, say). open() asks the first of them that answers;
/// where none does, it emits ownDialogNeeded() for the window to show its
/// own. VELMORA_FOLDER_CHOOSER=own in the environment always takes the
/// window's own.
class DesktopFolderChooser : public QObject {
    Q_OBJECT
    QML_ELEMENT
    Q_PROPERTY(QString title MEMBER title_ NOTIFY titleChanged)
    Q_PROPERTY(QUrl folder MEMBER folder_ NOTIFY folderChanged)
    Q_PROPERTY(QString acceptLabel MEMBER acceptLabel_ NOTIFY acceptLabelChanged)
    Q_PROPERTY(bool opened READ opened NOTIFY openedChanged)

  public:
    /// Which chooser answered the latest open().
    enum class Kind { None, Portal, PlatformTheme, Own };
    Q_ENUM(Kind)

    explicit DesktopFolderChooser(QObject* parent = nullptr);
    ~DesktopFolderChooser() override;

    /// Asks for one folder under `title`, starting in `folder`, modal to
    /// `parent`; the answer comes by chosen(), by nothing on a cancel, or by
    /// ownDialogNeeded(). Nothing while a desktop dialog is still open.
    Q_INVOKABLE void open(QWindow* parent);
    /// True from open() until the desktop's dialog has answered.
    bool opened() const { return opened_; }
    Kind kind() const { return kind_; }

    /// The bus on which the portal is looked for: the session bus unless a
    /// test gives another.
    void setBus(const QDBusConnection& bus) { bus_ = bus; }

  signals:
    void titleChanged();
    void folderChanged();
    void acceptLabelChanged();
    void openedChanged();
    /// The user chose `folder` in the desktop's dialog.
    void chosen(const QUrl& folder);
    /// No desktop dialog answered: the window shows its own.
    void ownDialogNeeded();

  private slots:
    void portalResponded(uint response, const QVariantMap& results);

  private:
    void askPortal();
    bool askPlatformTheme();
    void askOwnDialog();
    void setOpened(bool opened);
    /// Listens for the portal's answer on the request object at `path`.
    void listenOn(const QString& path);
    void stopListening();

    QString title_;
    QUrl folder_;
    QString acceptLabel_;
    QDBusConnection bus_;
    bool opened_ = false;
    Kind kind_ = Kind::None;
    QString requestPath_;
    QPointer<QWindow> parent_;
    QPlatformFileDialogHelper* themeDialog_ = nullptr;
};
