#pragma once

// The conversions between Corvid's own types and Qt's, in one place: colours are stored as
// 0x00BBGGRR (0x80000000 | n for system colour n), document text is 8-bit and shown as
// Latin-1, file names are bytes handed to the system as they are.

#include "editor/colour_cells.h"

#include <QColor>
#include <QPalette>
#include <QString>

#include <string>
#include <string_view>

namespace corvid {

QColor ToQColor(TColor color, const QPalette& palette);
TColor FromQColor(const QColor& color);

inline QString FromBytes(std::string_view text) {
    return QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size()));
}
// Characters beyond Latin-1 become '?'.
std::string ToBytes(const QString& text);

QString FromFileName(const std::string& fileName);
std::string ToFileName(const QString& fileName);

} // namespace corvid
