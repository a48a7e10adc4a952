// The pictures are compiled into the static window library; the program and
// the tests have to ask for them, or the linker leaves them out.
#include <QtCore/qglobal.h>

static void InitQuorimResources() {
    Q_INIT_RESOURCE(quorim);
}

namespace quorim {

void InitResources() {
    ::InitQuorimResources();
}

}  // namespace quorim
