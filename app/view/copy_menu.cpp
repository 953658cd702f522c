#include "app/view/copy_menu.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QKeySequence>
#include <QLabel>
#include <QMenu>
#include <QPlainTextEdit>

namespace si32 {

QString selectedTextOf(const QWidget& widget) {
    if (const auto* label = qobject_cast<const QLabel*>(&widget)) return label->selectedText();
    // A list box's events arrive at its viewport.
    const QWidget* owner = qobject_cast<const QPlainTextEdit*>(widget.parentWidget()) ? widget.parentWidget() : &widget;
    if (const auto* box = qobject_cast<const QPlainTextEdit*>(owner)) {
        // A selection across lines holds paragraph separators, which other
        // programs would paste as odd characters.
        return box->textCursor().selectedText().replace(QChar::ParagraphSeparator, QLatin1Char('\n'));
    }
    return {};
}

std::unique_ptr<QMenu> copyMenu(const QWidget& widget, std::function<QString()> allText) {
    auto menu = std::make_unique<QMenu>();
    const QString selected = selectedTextOf(widget);
    QAction* copy = menu->addAction(QStringLiteral("Copy"));
    copy->setShortcut(QKeySequence::Copy);
    copy->setEnabled(!selected.isEmpty());
    QObject::connect(copy, &QAction::triggered, menu.get(),
                     [selected] { QGuiApplication::clipboard()->setText(selected); });
    QAction* all = menu->addAction(QStringLiteral("Copy All"));
    QObject::connect(all, &QAction::triggered, menu.get(),
                     [allText = std::move(allText)] { QGuiApplication::clipboard()->setText(allText()); });
    return menu;
}

}  // namespace si32
