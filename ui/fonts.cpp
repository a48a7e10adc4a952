#include "ui/fonts.h"

#include <QFontDatabase>
#include <QFontInfo>
#include <QFontMetrics>
#include <QLabel>
#include <QStringList>

#include "editor/form_template.h"
#include "ui/ui_text.h"

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

// The widest piece of a caption that cannot wrap: a run of Latin letters,
// digits and brackets ("(POWER)"); Chinese text wraps between any characters.
int WidestUnbreakableRun(const QFontMetrics& fm, const QString& text) {
    int widest = 0;
    QString run;
    for (const QChar c : text + QLatin1Char(' ')) {
        if (c.isSpace() || c.unicode() >= 0x2E80) {
            widest = qMax(widest, fm.horizontalAdvance(run));
            run.clear();
            if (!c.isSpace()) {
                widest = qMax(widest, fm.horizontalAdvance(c));
            }
        } else {
            run += c;
        }
    }
    return widest;
}

}  // namespace

void PlaceLabel(QLabel* label, const DlgRect& r) {
    const QFontMetrics fm = label->fontMetrics();
    int width = qMax(r.cx, WidestUnbreakableRun(fm, label->text()));
    if (!label->wordWrap()) {
        width = qMax(width, fm.horizontalAdvance(label->text()) + 2);
    }
    const int height = label->wordWrap() ? label->heightForWidth(width) : fm.height();
    label->setGeometry(r.x, r.y, width, qMax(r.cy, height));
}

void InstallFontSubstitutions() {
    const QStringList cjkSerif = {QStringLiteral("Noto Serif CJK SC"), QStringLiteral("Noto Serif CJK"),
                                  QStringLiteral("AR PL UMing CN"), QStringLiteral("Noto Sans CJK SC")};
    const QString cjk = FirstInstalled(cjkSerif);
    // Where the template's face itself is installed (SimSun on a Chinese
    // Windows), it is used as it is.
    const bool simSun = !FirstInstalled({QStringLiteral("SimSun"), QStringLiteral("宋体")}).isEmpty();
    if (!cjk.isEmpty() && !simSun) {
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
    return TemplateFont(t.fontFace, t.pointSize);
}

QFont TemplateFont(std::string_view face, int pointSize) {
    QFont font(Q(face));
    font.setPointSize(pointSize);
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
