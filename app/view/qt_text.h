#pragma once
// Texts of the control model as Qt shows them.
#include <QString>
#include <string_view>

#include "platform/code_page.h"

namespace si32 {

// The model holds the platform's texts in its ANSI code page (UTF-8 on this
// system), with CR LF line breaks as the window's controls expect them.
inline QString fromModelText(std::string_view text, uint32_t codePage = CP_UTF8) {
    const std::string decoded = DecodeAnsi(text, codePage);
    QString shown = QString::fromUtf8(decoded.data(), static_cast<qsizetype>(decoded.size()));
    shown.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    shown.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    return shown;
}

// A tooltip in the one form Qt never reads as markup: Qt takes any tooltip
// that looks like HTML as rich text and loads the images it names, and the
// texts shown come from the machine, which may be a stranger's description.
// Escaped, and kept on its lines as a plain tooltip would be.
inline QString plainTooltip(const QString& text) {
    if (text.isEmpty()) return text;
    return QStringLiteral("<p style='white-space:pre'>") + text.toHtmlEscaped() + QStringLiteral("</p>");
}

}  // namespace si32
