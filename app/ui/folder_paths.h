// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QtQml/qqml.h>
#include <QObject>
#include <QUrl>

/// Path rules of the window's own folder chooser, for its QML.
class FolderPaths : public QObject {
    Q_OBJECT
    QML_ELEMENT
    QML_SINGLETON

  public:
    using QObject::QObject;

    /// The folder that `typed` names, as the location field takes it: an
    /// absolute path, "~" or "~/…" under the home folder, a file URL, or a
    /// path relative to `shown`. Empty when it names no existing folder.
    Q_INVOKABLE QUrl typedFolder(const QString& typed, const QUrl& shown) const;
    /// The folder that holds `folder`; `folder` itself at the root.
    Q_INVOKABLE QUrl parentFolder(const QUrl& folder) const;
    /// The names of the folders right inside `folder`, hidden ones left
    /// out, in the order of the user's language, upper and lower case
    /// together; empty where it cannot be read.
    Q_INVOKABLE QStringList subfolderNames(const QUrl& folder) const;
    /// The folder `name` inside `folder`.
    Q_INVOKABLE QUrl subfolder(const QUrl& folder, const QString& name) const;
    /// The local path of `folder`, as the location field shows it.
    Q_INVOKABLE QString pathOf(const QUrl& folder) const;
};
