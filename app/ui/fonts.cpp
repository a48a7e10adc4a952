#include "app/ui/fonts.h"

#include <QFontDatabase>
#include <QFontInfo>
#include <QFontMetrics>
#include <QStringList>

#include "app/ui/ui_text.h"
#include "editor/form_template.h"

namespace quorim {

namespace {

QString FirstInstalled(const QStringList& faces) {
    const QStringList families = QFontDatabase::families();
    for (const QString& face : faces) {
        if (families.contains(face, Qt::CaseInsensitive)) {
            return face;
        }
    }
    return {};
}

}  // namespace

void InstallFontSubstitutions() {
    const QStringList cjkSerif = {QStringLiteral("Noto Serif CJK SC"), QStringLiteral("Noto Serif CJK"),
                                  QStringLiteral("AR PL UMing CN"), QStringLiteral("Noto Sans CJK SC")};
    const QString cjk = FirstInstalled(cjkSerif);
    if (!cjk.isEmpty()) {
        for (const QString& face :
             {QStringLiteral("宋体"), QStringLiteral("SimSun"), QStringLiteral("NSimSun")}) {
            QFont::insertSubstitution(face, cjk);
        }
    }
    const QString times = QStringLiteral("Times New Roman");
    if (!QFontDatabase::families().contains(times, Qt::CaseInsensitive)) {
        const QString serif =
            FirstInstalled({QStringLiteral("Liberation Serif"), QStringLiteral("DejaVu Serif")});
        QStringList chain;
        if (!serif.isEmpty()) {
            chain << serif;
        }
        // Chinese texts in the grid (headers, "是", "否") fall back to the CJK face.
        if (!cjk.isEmpty()) {
            chain << cjk;
        }
        QFont::insertSubstitutions(times, chain);
    } else if (!cjk.isEmpty()) {
        QFont::insertSubstitution(times, cjk);
    }
}

QFont TemplateFont(const DialogTemplate& t) {
    QFont font(Q(t.fontFace));
    font.setPointSize(t.pointSize);
    font.setWeight(QFont::Normal);
    return font;
}

QFont GridCellFont() {
    QFont font(Q(kGridFontFace));
    font.setPointSizeF(kGridFontCentiPoints / 100.0);
    font.setWeight(QFont::Normal);
    return font;
}

DialogBaseUnits BaseUnitsOf(const QFont& font) {
    const QFontMetrics fm(font);
    const int em = QFontInfo(font).pixelSize();
    const int fullWidth = fm.horizontalAdvance(QChar(0x5B8B));  // 宋
    DialogBaseUnits base;
    base.cx = fullWidth > 0 ? (fullWidth + 1) / 2
                            : AverageCharWidth(fm.horizontalAdvance(
                                  QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz")));
    base.cy = em > 0 ? em : fm.height();
    return base;
}

}  // namespace quorim
