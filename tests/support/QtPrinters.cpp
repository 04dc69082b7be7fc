#include "support/QtPrinters.h"

namespace {

std::ostream& quoted(std::ostream& os, const QString& text)
{
    return os << '"' << text.toStdString() << '"';
}

} // namespace

void PrintTo(const QString& value, std::ostream* os)
{
    if (value.isNull())
        *os << "QString()";
    else
        quoted(*os, value);
}

void PrintTo(const QStringList& value, std::ostream* os)
{
    *os << '{';
    for (qsizetype i = 0; i < value.size(); ++i) {
        if (i)
            *os << ", ";
        quoted(*os, value.at(i));
    }
    *os << '}';
}

void PrintTo(const QByteArray& value, std::ostream* os)
{
    // Escaped the way a C string literal would be, so control bytes stay visible.
    *os << "b\"";
    for (const char c : value) {
        const auto byte = static_cast<unsigned char>(c);
        if (c == '\n')
            *os << "\\n";
        else if (c == '"' || c == '\\')
            *os << '\\' << c;
        else if (byte < 0x20 || byte == 0x7f)
            *os << "\\x"
                << "0123456789abcdef"[byte >> 4] << "0123456789abcdef"[byte & 0xf];
        else
            *os << c;
    }
    *os << '"';
}

void PrintTo(const QUrl& value, std::ostream* os)
{
    *os << "QUrl(" << value.toString().toStdString() << ')';
}

void PrintTo(const QPoint& value, std::ostream* os)
{
    *os << "QPoint(" << value.x() << ", " << value.y() << ')';
}

void PrintTo(const QPointF& value, std::ostream* os)
{
    *os << "QPointF(" << value.x() << ", " << value.y() << ')';
}

void PrintTo(const QSize& value, std::ostream* os)
{
    *os << "QSize(" << value.width() << " x " << value.height() << ')';
}

void PrintTo(const QSizeF& value, std::ostream* os)
{
    *os << "QSizeF(" << value.width() << " x " << value.height() << ')';
}

void PrintTo(const QRect& value, std::ostream* os)
{
    *os << "QRect(" << value.x() << ", " << value.y() << ' ' << value.width() << " x " << value.height() << ')';
}

void PrintTo(const QRectF& value, std::ostream* os)
{
    *os << "QRectF(" << value.x() << ", " << value.y() << ' ' << value.width() << " x " << value.height() << ')';
}

void PrintTo(const QColor& value, std::ostream* os)
{
    if (!value.isValid())
        *os << "QColor(invalid)";
    else
        *os << "QColor(" << value.name(QColor::HexArgb).toStdString() << ')';
}

void PrintTo(const QDateTime& value, std::ostream* os)
{
    if (!value.isValid())
        *os << "QDateTime(invalid)";
    else
        *os << "QDateTime(" << value.toString(Qt::ISODateWithMs).toStdString() << ')';
}
