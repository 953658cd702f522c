#pragma once
// Texts of the control model as Qt shows them.
#include <QString>
#include <string_view>

namespace si32 {

// The model holds the platform's single-byte texts, which are UTF-8 on this
// system, with CR LF line breaks as the window's controls expect them.
inline QString fromModelText(std::string_view text) {
    QString shown = QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
    shown.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    shown.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    return shown;
}

}  // namespace si32
