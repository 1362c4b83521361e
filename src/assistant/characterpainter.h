#pragma once

// Draws the assistant in one pose: a small robed wizard with a pointed hat, a
// long beard and a wand. Every part is drawn from the colours of its character
// file, so a different file gives a different figure without new code.

#include "characterfile.h"

#include <QRectF>

class QPainter;

namespace chemodesk::assistant {

// Draws the figure scaled into `bounds`, keeping its proportions.
void paintCharacter(QPainter &painter, const CharacterDefinition &character, const Pose &pose,
                    const QRectF &bounds);

} // namespace chemodesk::assistant
