#include "ui/qt_conversions.h"

#include <QFile>

namespace corvid {

namespace {

constexpr TColor SystemColourFlag = 0x80000000;

QPalette::ColorRole SystemColourRole(TColor index) {
    switch (index) {
    case 0x05:
        return QPalette::Base;
    case 0x08:
        return QPalette::Text;
    case 0x0D:
        return QPalette::Highlight;
    case 0x0E:
        return QPalette::HighlightedText;
    default:
        return QPalette::Button;
    }
}

} // namespace

QColor ToQColor(TColor color, const QPalette& palette) {
    if ((color & SystemColourFlag) != 0)
        return palette.color(SystemColourRole(color & 0xFF));
    return QColor(static_cast<int>(color & 0xFF), static_cast<int>((color >> 8) & 0xFF),
                  static_cast<int>((color >> 16) & 0xFF));
}

TColor FromQColor(const QColor& color) {
    return static_cast<TColor>(color.red()) | static_cast<TColor>(color.green()) << 8 |
           static_cast<TColor>(color.blue()) << 16;
}

std::string ToBytes(const QString& text) {
    std::string bytes;
    bytes.reserve(static_cast<size_t>(text.size()));
    for (const QChar c : text)
        bytes += c.unicode() < 256 ? static_cast<char>(c.unicode()) : '?';
    return bytes;
}

QString FromFileName(const std::string& fileName) {
    return QFile::decodeName(QByteArray::fromStdString(fileName));
}

std::string ToFileName(const QString& fileName) {
    return QFile::encodeName(fileName).toStdString();
}

} // namespace corvid
