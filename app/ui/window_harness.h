#pragma once

#include <QQmlApplicationEngine>
#include <QQuickItem>
#include <QQuickWindow>
#include <QString>

/// The real Velmora window, loaded from the Velmora QML module the way the
/// application loads it, with helpers to find its controls by objectName and
/// to press them with the mouse.
class WindowHarness {
  public:
    /// Loads the main window; check window() before use.
    WindowHarness();

    /// The main window, or nullptr when it failed to load.
    QQuickWindow* window() const { return window_; }
    /// The screen of the selected tab (the tab Loader's item).
    QQuickItem* screen() const;
    /// The model owned by the shown screen, cast to `Model`; nullptr if none.
    template <class Model>
    Model* model() const {
        QQuickItem* shown = screen();
        return shown == nullptr ? nullptr
                                : qobject_cast<Model*>(shown->property("model").value<QObject*>());
    }
    /// The first item named `objectName` under `root` (the whole window by
    /// default), searched depth first through child items; nullptr if none.
    QQuickItem* find(const QString& objectName, QQuickItem* root = nullptr) const;
    /// `find` for an item named `child` inside the item named `parent`.
    QQuickItem* find(const QString& parent, const QString& child) const;
    /// A property of the item (or other object, such as a popup) named
    /// `objectName`, or an invalid value.
    QVariant value(const QString& objectName, const char* property) const;
    /// Text of the item named `objectName` (a Text, or a control's `text`).
    QString text(const QString& objectName) const;
    /// Text of the item named `child` inside the item named `parent`.
    QString text(const QString& parent, const QString& child) const;
    /// Clicks the middle of `item` with the left button.
    void click(QQuickItem* item) const;
    /// Selects the segment labelled `option` of the picker named `picker`.
    void choose(const QString& picker, const QString& option) const;
    /// Saves a picture of the window to `path`; false when it cannot be written.
    bool grab(const QString& path) const;

  private:
    QQmlApplicationEngine engine_;
    QQuickWindow* window_ = nullptr;
};

/// A loaded component from the Velmora module in a window of its own, for
/// the tests of the shared components: `qml` is the component's declaration
/// without imports, for example "StatBox { value: \"12\" }".
class ComponentHarness {
  public:
    ComponentHarness(const QString& qml, int width = 380);

    QQuickWindow* window() { return &window_; }
    /// The component's root item, or nullptr when it failed to load.
    QQuickItem* root() const { return root_; }
    /// The first item named `objectName` under the root; nullptr if none.
    QQuickItem* find(const QString& objectName) const;

  private:
    QQmlEngine engine_;
    QQuickWindow window_;
    QQuickItem* root_ = nullptr;
};

/// Depth-first search through the child items of `root` for `objectName`.
QQuickItem* findItem(QQuickItem* root, const QString& objectName);
