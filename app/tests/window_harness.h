// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QQmlApplicationEngine>
#include <QQuickItem>
#include <QQuickWindow>
#include <QString>

#include "job_model.h"
#include "window_language.h"

namespace velmora::testkit {

/// The real Velmora window, loaded from the Velmora QML module the way the
/// application loads it, with helpers to find its controls by objectName and
/// to press them with the mouse. Its texts are in the language it is given,
/// Indonesian unless asked otherwise, whatever the language of the desktop
/// the tests run on.
class WindowHarness {
  public:
    /// Loads the main window in `language`; check window() before use.
    explicit WindowHarness(WindowLanguage language = WindowLanguage::Indonesian);

    /// The main window, or nullptr when it failed to load.
    QQuickWindow* window() const { return window_; }
    /// The screen of the selected tab (the item of "tabContent").
    QQuickItem* screen() const;
    /// The model owned by the shown screen, cast to `Model`; nullptr if none.
    template <class Model>
    Model* model() const {
        QQuickItem* shown = screen();
        return shown == nullptr ? nullptr
                                : qobject_cast<Model*>(shown->property("model").value<QObject*>());
    }
    /// Points the shown screen's model at the backend scripts in `scripts`
    /// and chooses `folder` through the BROWSE button; the model, or nullptr.
    JobModel* chooseFolder(const QString& scripts, const QString& folder) const;
    /// Presses SCAN FOLDER and waits until the scan is over; false when it
    /// did not start or did not end in time.
    bool scan() const;
    /// The item at `path` ("name", or "outer/inner" for an item named
    /// "inner" inside the one named "outer"), each name searched depth first
    /// through child items of the window; nullptr if none.
    QQuickItem* find(const QString& path) const;
    /// The item at `path`, or else the object named `path` (such as a
    /// popup), looked for in the shown screen first; nullptr if none.
    QObject* object(const QString& path) const;
    /// A property of the item at `path` (or of another object, such as a
    /// popup, with that objectName), or an invalid value.
    QVariant value(const QString& path, const char* property) const;
    /// Text of the item at `path` (a Text, or a control's `text`).
    QString text(const QString& path) const;
    /// `expected`, a list of "path=text", with each text replaced by the one
    /// shown now: equal to `expected` when every text is as expected.
    QStringList shownTexts(const QStringList& expected) const;
    /// Clicks the middle of `item` with the left button.
    void click(QQuickItem* item) const;
    /// Moves the pointer onto the middle of `item`.
    void hover(QQuickItem* item) const;
    /// The rectangle `item` covers in the window.
    static QRectF sceneRect(const QQuickItem* item);
    /// True when a visible text reading `text` is drawn in the window,
    /// popups and tooltips included.
    bool showsText(const QString& text) const;
    /// The visible texts that are cut off without a tooltip that shows them
    /// whole, or that reach past the window's sides.
    QStringList cutOffTexts() const;
    /// What is wrong with the drawing of the open dialog `name`: nothing
    /// when its panel has a real height and lies inside the window, with its
    /// title (NAMETitle) above its message (NAMEMessage, where it shows one)
    /// above each of `buttons`, all inside the panel.
    QString dialogLayoutFault(const QString& name, const QStringList& buttons) const;
    /// Selects the segment labelled `option` of the picker named `picker`.
    void choose(const QString& picker, const QString& option) const;
    /// Every visible item of the window, popups included, depth first.
    QList<QQuickItem*> visibleItems() const;
    /// Saves a picture of the window as NAME.png in the build's screenshot
    /// folder, to be checked by eye; false when it cannot be written.
    bool saveScreenshot(const QString& name) const;

  private:
    WindowTranslation translation_;  ///< made before the window, removed after it
    QQmlApplicationEngine engine_;
    QQuickWindow* window_ = nullptr;
};

/// Depth-first search through the child items of `root` for `objectName`.
QQuickItem* findItem(QQuickItem* root, const QString& objectName);

}  // namespace velmora::testkit
