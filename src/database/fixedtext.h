#pragma once

#include <QString>

#include <cstddef>

namespace chemodesk::db {

// A text the program holds as a literal (u"..."): its characters stay where they
// are, unchanged, for the program's life, so what the connection learns of it is
// kept by its address instead of hashing the whole text at every call. Only a
// literal can make one: the constructor runs at compile time.
class FixedText {
public:
    template <std::size_t N>
    explicit consteval FixedText(const char16_t (&text)[N])
        : text_(text), size_(static_cast<qsizetype>(N - 1))
    {
    }

    // The text itself, its characters not copied.
    QString text() const
    {
        return QString::fromRawData(reinterpret_cast<const QChar *>(text_), size_);
    }
    const char16_t *data() const { return text_; }
    qsizetype size() const { return size_; }

private:
    const char16_t *text_;
    qsizetype size_;
};

} // namespace chemodesk::db
