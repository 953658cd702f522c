#pragma once
// What a screen reader learns of the window's own widgets through Qt's
// accessibility interfaces: the window is a frame, a section frame a group
// named by its caption, a value field static text labelled by its row's
// caption (and the caption labelling it), the drive list a combo box named
// by its accessible name, a meter a read-only progress bar whose name
// carries its percentage, and a spoken notice a notification.
#include <QWidget>

namespace si32 {

// A change a screen reader is to announce though the focus stays where it
// is: the bridge tells screen readers when a notification appears, and they
// speak it, while a change of name or description of the focused control
// is not passed on as text by every toolkit version. It draws nothing and
// never takes the focus or a click.
class SpokenNotice : public QWidget {
public:
    explicit SpokenNotice(QWidget* parent);

    // Has what, then its details, spoken as the notice appears anew.
    void announce(const QString& what, const QString& details);
};

// A control's description for screen readers, set without telling them of
// the change: newer bridges speak every change of the focused control's
// description, and a notice already says what changed. The drive list
// gives it as its description.
void setQuietDescription(QWidget& widget, const QString& description);
QString quietDescription(const QWidget& widget);

// Registers the interfaces with Qt; once is enough, more is harmless.
void installAccessibleInterfaces();

}  // namespace si32
