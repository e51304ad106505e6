#include "ui/fonts.h"

#include <QHash>

namespace ui {

QString mapFontFamily(const QString& designFamily) {
    static const QHash<QString, QString> map = {
        {QStringLiteral("ＭＳ Ｐゴシック"), QStringLiteral("IPAPGothic")},
        {QStringLiteral("ＭＳ Ｐ明朝"), QStringLiteral("IPAPMincho")},
        {QStringLiteral("ＭＳ ゴシック"), QStringLiteral("IPAGothic")},
        {QStringLiteral("ＭＳ 明朝"), QStringLiteral("IPAMincho")},
        {QStringLiteral("MS PGothic"), QStringLiteral("IPAPGothic")},
        {QStringLiteral("MS PMincho"), QStringLiteral("IPAPMincho")},
        {QStringLiteral("MS Gothic"), QStringLiteral("IPAGothic")},
        {QStringLiteral("MS Mincho"), QStringLiteral("IPAMincho")},
    };
    return map.value(designFamily.trimmed(), designFamily);
}

QFont designFont(const QString& designFamily, int pointSize) {
    QFont font(mapFontFamily(designFamily), pointSize);
    font.setStyleHint(QFont::SansSerif);
    return font;
}

QFont defaultFont() { return designFont(QStringLiteral("ＭＳ Ｐゴシック"), 9); }

}  // namespace ui
