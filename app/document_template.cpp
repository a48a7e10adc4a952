#include "app/document_template.h"

#include "base/translation.h"

namespace quorim {

const DocumentTemplate& DocTemplate() {
    static const DocumentTemplate t{"",
                                    QUORIM_TR("Quorim", "Halvoren数据文件"),
                                    QUORIM_TR("Quorim", "Halvoren数据文件"),
                                    QUORIM_TR("Quorim", "Tarvolin数据文件 (*.szt)"),
                                    ".szt",
                                    "SZT_CH.Document",
                                    "Mquori Document"};
    return t;
}

}  // namespace quorim
