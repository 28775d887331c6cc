#include "app/program_icon.h"

#include <QString>

// The icon's resource sits in a static library; without this call the linker
// would leave its unreferenced object out of the program. Q_INIT_RESOURCE
// declares its function in the enclosing namespace, so this stays global.
static void LoadIconResource() { Q_INIT_RESOURCE(tarnwick); }

QIcon ProgramIcon() {
    static const bool loaded = (LoadIconResource(), true);
    static_cast<void>(loaded);
    return QIcon(QStringLiteral(":/tarnwick/tarnwick.png"));
}
