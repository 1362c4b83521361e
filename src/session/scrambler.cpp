#include "scrambler.h"

namespace chemodesk::session {

namespace {

constexpr int StartOffset = 91;

int keyCode(const QString &key, int index)
{
    // An empty key leaves the values as they are rather than dividing by zero.
    return key.isEmpty() ? 0 : key.at(index % key.size()).unicode();
}

// Upper-case hex, right-aligned in two positions: 11 becomes " B".
QString hexPair(int value)
{
    return QString::number(value, 16).toUpper().rightJustified(2, QLatin1Char(' '));
}

// A pair that is not hex reads as 0, as the original reader did.
int hexValue(const QString &pair)
{
    bool ok = false;
    const int value = pair.trimmed().toInt(&ok, 16);
    return ok ? value : 0;
}

QString encode(const QString &key, const QString &text)
{
    int offset = StartOffset;
    QString out = hexPair(offset);
    for (int i = 0; i < text.size(); ++i) {
        int value = (text.at(i).unicode() + offset) % 255;
        value ^= keyCode(key, i);
        out += hexPair(value);
        offset = value;
    }
    return out;
}

QString decode(const QString &key, const QString &text)
{
    int offset = hexValue(text.left(2));
    QString out;
    int keyIndex = 0;
    for (int pos = 2; pos < text.size(); pos += 2) {
        const int value = hexValue(text.mid(pos, 2));
        int code = value ^ keyCode(key, keyIndex++);
        code = code <= offset ? 255 + code - offset : code - offset;
        out += QChar(code);
        offset = value;
    }
    return out;
}

} // namespace

QString Scramble(const QString &mode, const QString &key, const QString &text)
{
    if (mode == QLatin1String("E"))
        return encode(key, text);
    if (mode == QLatin1String("D"))
        return decode(key, text);
    return {};
}

} // namespace chemodesk::session
