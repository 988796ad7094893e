#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

/// Writes each file of `relativePaths` under `root`, making folders as
/// needed; a file's content is its own relative path, so moved files can be
/// recognised by their bytes. False when any file cannot be written.
bool writePhotoTree(const QString& root, const QStringList& relativePaths);

/// Every regular file under `root`, as sorted relative paths.
QStringList listPhotoTree(const QString& root);

/// The whole content of a file; empty when it cannot be read.
QByteArray readWholeFile(const QString& path);
