// SPDX-License-Identifier: GPL-3.0-or-later
#include "window_language.h"

#include <QCoreApplication>

namespace velmora {

namespace {
/// The English translation, compiled from velmora_en.ts into the program.
const QString kEnglishTranslation = QStringLiteral(":/i18n/velmora_en.qm");
}  // namespace

WindowLanguage windowLanguageFor(const QLocale& locale) {
    return locale.language() == QLocale::English ? WindowLanguage::English
                                                 : WindowLanguage::Indonesian;
}

WindowTranslation::WindowTranslation(WindowLanguage language) {
    if (language == WindowLanguage::English && translator_.load(kEnglishTranslation) &&
        QCoreApplication::installTranslator(&translator_)) {
        installed_ = true;
    }
}

WindowTranslation::~WindowTranslation() {
    if (installed_) {
        QCoreApplication::removeTranslator(&translator_);
    }
}

}  // namespace velmora
