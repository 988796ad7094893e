// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QLocale>
#include <QTranslator>

namespace velmora {

/// The languages the window speaks. Its texts are written in Indonesian;
/// English comes from a translation built into the program.
enum class WindowLanguage { Indonesian, English };

/// The window's language for a user whose messages are in `locale`'s
/// language: English for English in any territory, Indonesian for every
/// other language, the C locale included.
WindowLanguage windowLanguageFor(const QLocale& locale);

/// Puts the window's texts, those of its QML and of its job models, in one
/// language for as long as it lives: for English it installs the built-in
/// translation into the application, for Indonesian nothing. Make it after
/// the application object and before the QML is loaded; it removes the
/// translation again when it goes. The command line never makes one, so it
/// stays in English whatever the window speaks.
class WindowTranslation {
  public:
    explicit WindowTranslation(WindowLanguage language);
    ~WindowTranslation();
    WindowTranslation(const WindowTranslation&) = delete;
    WindowTranslation& operator=(const WindowTranslation&) = delete;

  private:
    QTranslator translator_;
    bool installed_ = false;
};

}  // namespace velmora
