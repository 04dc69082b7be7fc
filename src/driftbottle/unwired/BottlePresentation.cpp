#include "driftbottle/unwired/BottlePresentation.h"

#include "widgets/GraphemeText.h"

using namespace Qt::StringLiterals;

namespace BottlePresentation {

QString typeMark(BottleType type)
{
    switch (type) {
    case BottleType::normal:
        return u"🍾"_s;
    case BottleType::colorful:
        return u"🎨"_s;
    case BottleType::wish:
        return u"\u2B50\uFE0F"_s;
    case BottleType::lucky:
        return u"🍀"_s;
    }
    return u"🍾"_s;
}

QString typeName(BottleType type)
{
    switch (type) {
    case BottleType::normal:
        return u"普通瓶子"_s;
    case BottleType::colorful:
        return u"彩色瓶子"_s;
    case BottleType::wish:
        return u"许愿瓶"_s;
    case BottleType::lucky:
        return u"幸运瓶"_s;
    }
    return u"普通瓶子"_s;
}

StatusBadge statusBadge(BottleStatus status)
{
    switch (status) {
    case BottleStatus::floating:
        return { u"🌊"_s, u"漂流中"_s, QColor(0x00, 0x7a, 0xff) };
    case BottleStatus::picked:
        return { u"👋"_s, u"已被捡起"_s, QColor(0x28, 0xa7, 0x45) };
    case BottleStatus::replied:
        return { u"💬"_s, u"已回复"_s, QColor(0xaf, 0x52, 0xde) };
    }
    return { u"🌊"_s, u"漂流中"_s, QColor(0x00, 0x7a, 0xff) };
}

QStringList tagTexts(const QStringList& theme)
{
    QStringList tags;
    for (const QString& entry : theme.mid(0, 2))
        tags.append(u"#"_s + entry);
    if (theme.size() > 2)
        tags.append(u"+"_s + QString::number(theme.size() - 2));
    return tags;
}

QString rowDate(const QDateTime& time)
{
    return time.toLocalTime().toString(u"MM-dd HH:mm"_s);
}

QString detailDate(const QDateTime& time)
{
    return time.toLocalTime().toString(u"yyyy-MM-dd HH:mm"_s);
}

QString logPreview(const QString& content)
{
    return GraphemeText::truncated(content, 20) + u"..."_s;
}

} // namespace BottlePresentation
