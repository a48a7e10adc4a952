#include "ui/ui_text.h"

namespace quorim {

namespace {

class CatalogueTexts : public TextTranslator {
public:
    std::string Translate(std::string_view context, std::string_view text) const override {
        const std::string ctx(context);
        const std::string source(text);
        return QCoreApplication::translate(ctx.c_str(), source.c_str()).toStdString();
    }
};

}  // namespace

const TextTranslator& WindowTexts() {
    static const CatalogueTexts texts;
    return texts;
}

}  // namespace quorim
