#pragma once

// The animated assistant character that announces pending discharge notices.
// Its character file must lie beside the program; the program does not start
// without it.

#include <QString>

namespace chemodesk::platform {

class Assistant {
public:
    virtual ~Assistant() = default;

    // Loads `characterName` from the character file; true on success.
    virtual bool Load(const QString &characterName, const QString &filePath) = 0;

    virtual void Show() = 0;
    // Screen position, in pixels.
    virtual void MoveTo(int x, int y) = 0;
    virtual void Play(const QString &animation) = 0;
    virtual void Speak(const QString &text) = 0;
    virtual void Hide() = 0;
};

} // namespace chemodesk::platform
