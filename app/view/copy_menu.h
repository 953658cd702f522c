#pragma once
// Copying out of the window: the selection of a value field or list box, or
// every fact at once in the report's words.
#include <QString>
#include <functional>
#include <memory>

class QMenu;
class QWidget;

namespace si32 {

// What is selected in widget (a value field or a list box); empty if nothing.
QString selectedTextOf(const QWidget& widget);

// The window's context menu over widget: "Copy" puts its selection on the
// clipboard (disabled without one), "Copy All" the text allText gives.
std::unique_ptr<QMenu> copyMenu(const QWidget& widget, std::function<QString()> allText);

}  // namespace si32
