#include "platform/qt/resources.h"

#include <QtGlobal>

// The resources are compiled into a static library, so nothing would pull them in
// unless someone asks for them by name.
static void initCompiledResources() { Q_INIT_RESOURCE(brenavo); }

namespace brenavo {

void registerResources() { initCompiledResources(); }

}  // namespace brenavo
