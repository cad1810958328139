// KtLayerList: orders print areas by their priority field.
#include "KtLayerList.h"
#include "KtPrintArea.h"

int KtLayerList::priorityOf(void* object)
{
    return static_cast<KtPrintArea*>(object)->priority;
}
