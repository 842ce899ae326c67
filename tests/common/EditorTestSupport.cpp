#include "common/EditorTestSupport.h"

#include "app/AppResources.h"

namespace TestSupport {

void initializeEditor()
{
    AppResources::registerAll();
    initialize();
}

} // namespace TestSupport
