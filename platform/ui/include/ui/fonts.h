// The one place where the Windows font names of the windows' designs are
// turned into the fonts that exist here (Debian's IPA fonts).
#pragma once

#include <QFont>
#include <QString>

namespace ui {

// "ＭＳ Ｐゴシック" → "IPAPGothic", "ＭＳ Ｐ明朝" → "IPAPMincho" (and the
// fixed-pitch pair to IPAGothic / IPAMincho); other names come back as given.
QString mapFontFamily(const QString& designFamily);

// A font of the design's family and point size, mapped as above.
QFont designFont(const QString& designFamily, int pointSize = 9);

// The windows' default font: "ＭＳ Ｐゴシック" 9 pt, mapped.
QFont defaultFont();

}  // namespace ui
