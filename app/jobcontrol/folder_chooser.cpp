#include "folder_chooser.h"

#include <QFileDialog>

namespace velmora {

QString choosePlatformFolder(const QString& title) {
    return QFileDialog::getExistingDirectory(nullptr, title, QString(), QFileDialog::ShowDirsOnly);
}

}  // namespace velmora
