#pragma once

#include <QPixmap>

// The About window's animated faces, 32 x 32, drawn in code: 1 neutral, 2 smiling,
// 3 laughing, 4 sad, 5 smiling with a nose. Any other number gives face 1.
inline constexpr int kFaceCount = 5;
inline constexpr int kFaceSize = 32;

QPixmap facePixmap(int image);
