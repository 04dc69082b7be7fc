#include "pet/DoubleText.h"

#include "platform/NumberFormat.h"

QString doubleText(double value)
{
    return NumberFormat::swiftDouble(value);
}
