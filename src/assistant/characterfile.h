#pragma once

// The assistant's character file: a small INI-like text of ours that names the
// character, its size and colours, the poses it can strike and the animations
// made of them. The painter draws a pose; the widget plays the animations.
//
//   ; comment
//   [character]          name, width, height, frameMs (default frame time)
//   [colours]            name=#rrggbb for each part of the figure
//   [pose NAME]          leftArm, rightArm (degrees from hanging down),
//                        eyes (open|closed|wide|left|right), mouth
//                        (closed|open|smile), bob, lean, glow (0..3)
//   [animation NAME]     frames=pose[:ms], pose[:ms], ...

#include <QColor>
#include <QHash>
#include <QSize>
#include <QString>
#include <QStringList>

#include <optional>
#include <vector>

namespace chemodesk::assistant {

struct Pose {
    int leftArm = 15;
    int rightArm = 15;
    QString eyes = QStringLiteral("open");
    QString mouth = QStringLiteral("closed");
    int bob = 0;
    int lean = 0;
    int glow = 0;
};

struct Frame {
    QString pose;
    int ms = 0;
};

struct CharacterDefinition {
    QString name;
    QSize size;
    int frameMs = 120;
    QHash<QString, QColor> colours;
    QHash<QString, Pose> poses;
    QStringList poseOrder;
    QHash<QString, std::vector<Frame>> animations;

    // The named colour, or `fallback` when the file leaves it out.
    QColor colour(const QString &part, const QColor &fallback) const
    {
        return colours.value(part, fallback);
    }
    // The pose the figure rests in: "rest", else the first one defined.
    QString restPose() const;
};

// Parses the text of a character file. On failure returns nothing and, when
// asked, says which line was wrong.
std::optional<CharacterDefinition> parseCharacterFile(const QString &text,
                                                      QString *error = nullptr);

// Reads and parses the file; a missing or unreadable file fails like a bad one.
std::optional<CharacterDefinition> readCharacterFile(const QString &path, QString *error = nullptr);

} // namespace chemodesk::assistant
