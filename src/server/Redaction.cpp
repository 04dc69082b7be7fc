#include "server/Redaction.h"

#include <QJsonArray>
#include <QJsonDocument>

#include <optional>

namespace {

/// The code point that ends just before `end`, or the one that starts at `at`.
char32_t codePointBefore(const QString& text, qsizetype end)
{
    const QChar low = text.at(end - 1);
    if (low.isLowSurrogate() && end >= 2 && text.at(end - 2).isHighSurrogate())
        return QChar::surrogateToUcs4(text.at(end - 2), low);
    return low.unicode();
}

char32_t codePointAt(const QString& text, qsizetype at)
{
    const QChar high = text.at(at);
    if (high.isHighSurrogate() && at + 1 < text.size() && text.at(at + 1).isLowSurrogate())
        return QChar::surrogateToUcs4(high, text.at(at + 1));
    return high.unicode();
}

bool isWordCharacter(char32_t c)
{
    return QChar::isLetterOrNumber(c) || QChar::isMark(c) || c == U'_';
}

/// Whether the occurrence of `secret` at [from, from + secret.size()) is glued to a letter or
/// digit on a side where the secret itself begins or ends with one.
bool isInsideAWord(const QString& text, qsizetype from, const QString& secret)
{
    const qsizetype to = from + secret.size();
    if (from > 0 && isWordCharacter(codePointAt(secret, 0)) && isWordCharacter(codePointBefore(text, from)))
        return true;
    return to < text.size() && isWordCharacter(codePointBefore(secret, secret.size()))
        && isWordCharacter(codePointAt(text, to));
}

/// Decodes the JSON string whose opening quote is at `open`; sets `close` to its closing
/// quote. Nothing when the string never closes.
std::optional<QString> decodeJsonString(const QString& text, qsizetype open, qsizetype& close)
{
    QString out;
    for (qsizetype i = open + 1; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (c == u'"') {
            close = i;
            return out;
        }
        if (c != u'\\' || i + 1 >= text.size()) {
            out.append(c);
            continue;
        }
        const QChar e = text.at(++i);
        switch (e.unicode()) {
        case u'b':
            out.append(u'\b');
            break;
        case u'f':
            out.append(u'\f');
            break;
        case u'n':
            out.append(u'\n');
            break;
        case u'r':
            out.append(u'\r');
            break;
        case u't':
            out.append(u'\t');
            break;
        case u'u': {
            bool ok = false;
            const ushort unit = i + 4 < text.size() ? text.mid(i + 1, 4).toUShort(&ok, 16) : 0;
            if (ok) {
                // Surrogate pairs arrive as two escapes and join up in the QString.
                out.append(QChar(unit));
                i += 4;
            } else {
                out.append(u'\\').append(e);
            }
            break;
        }
        default: // '"', '\\', '/' and whatever a sloppy server escapes needlessly
            out.append(e);
        }
    }
    return std::nullopt;
}

QString encodeJsonString(const QString& value)
{
    // A one-element array is the shortest document QJsonDocument writes; strip "[" and "]".
    const QByteArray json = QJsonDocument(QJsonArray { value }).toJson(QJsonDocument::Compact);
    return QString::fromUtf8(json.mid(1, json.size() - 2));
}

} // namespace

QString Redaction::inText(const QString& text, const QString& secret)
{
    if (secret.isEmpty())
        return text;
    // A password this long is no everyday word or number: masked wherever it stands, also
    // when a server glues it to other characters.
    const bool maskedEverywhere = QStringView(secret).toUcs4().size() >= Redaction::wholeWordOnlyBelow;
    QString out;
    qsizetype done = 0;
    for (qsizetype at = text.indexOf(secret); at >= 0; at = text.indexOf(secret, at + 1)) {
        if (at < done || (!maskedEverywhere && isInsideAWord(text, at, secret)))
            continue;
        out.append(QStringView(text).sliced(done, at - done)).append(mask);
        done = at + secret.size();
    }
    if (done == 0)
        return text;
    return out.append(QStringView(text).sliced(done));
}

QString Redaction::inReply(const QString& reply, const QString& secret)
{
    if (secret.isEmpty())
        return reply;
    QString out;
    qsizetype from = 0;
    while (from < reply.size()) {
        const qsizetype open = reply.indexOf(u'"', from);
        qsizetype close = -1;
        const std::optional<QString> value = open < 0 ? std::nullopt : decodeJsonString(reply, open, close);
        if (!value) {
            out.append(inText(reply.sliced(from), secret));
            break;
        }
        out.append(inText(reply.sliced(from, open - from), secret));
        const QString masked = inText(*value, secret);
        if (masked == *value)
            out.append(QStringView(reply).sliced(open, close + 1 - open));
        else
            out.append(encodeJsonString(masked));
        from = close + 1;
    }
    return out;
}
